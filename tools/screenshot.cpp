// SPDX-License-Identifier: MIT
// Draws the window with a real ticket on it, for the README: screenshot OUTPUT.png
#include "formdriver.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qCritical("usage: screenshot OUTPUT.png");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ztc::Form1 w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    using namespace ztc::driver;
    pick(w.Combo2, QStringLiteral("Trifecta"));
    pick(w.Combo1, QStringLiteral("12"));
    pick(w.Combo3, QStringLiteral("$1.00"));
    clickItem(w.List1, 3); // runner 4
    for (int runner : {2, 4, 7})
        clickItem(w.List2, runner - 1);
    for (int runner : {2, 4, 7, 9, 11})
        clickItem(w.List3, runner - 1);
    QTest::qWait(200);
    return w.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
