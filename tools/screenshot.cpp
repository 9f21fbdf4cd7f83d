// SPDX-License-Identifier: MIT
// Draws the window with a real ticket on it, for the README: screenshot OUTPUT.png [phone]
// (phone: arranged for a phone's touch screen, 390 by 844, as the browser shows it there, at twice
// the pixels).
#include "formdriver.h"
#if QT_CONFIG(scroller)
#include "touch.h"
#endif

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const bool phone = argc == 3 && QByteArray(argv[2]) == "phone";
    if (argc != 2 && !phone) {
        qCritical("usage: screenshot OUTPUT.png [phone]");
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ztc::Form1 w;
    if (phone) {
#if QT_CONFIG(scroller)
        new ztc::TouchArrangement(w);
        w.resize(390, 844);
#else
        qCritical("this build has no arrangement for phones");
        return 2;
#endif
    }
    w.show();
    // A bare X server has no window manager to make the window active and give it the focus.
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    QApplication::setActiveWindow(&w);
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
    // A phone's at twice the pixels, as its screen draws it.
    const qreal ratio = phone ? 2 : w.devicePixelRatio();
    QImage shot(w.size() * ratio, QImage::Format_RGB32);
    shot.setDevicePixelRatio(ratio);
    w.render(&shot);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
