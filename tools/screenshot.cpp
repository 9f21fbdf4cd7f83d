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
    // A play of three: a key, its backup and a press of the key, and a ticket being made.
    const auto toggle = [&](ztc::ListBox *list, std::initializer_list<int> runners) {
        for (int runner : runners)
            clickItem(list, runner - 1);
    };
    toggle(w.List1, {1});
    toggle(w.List2, {2, 3});
    toggle(w.List3, {2, 3, 4, 5});
    click(w.CommandKeep);
    toggle(w.List1, {1, 2, 3});
    toggle(w.List2, {1, 2, 3});
    click(w.CommandKeep);
    toggle(w.List1, {1, 2, 3});
    toggle(w.List2, {1, 2, 3, 4});
    click(w.CommandKeep);
    toggle(w.List3, {6});
    if (phone)
        if (auto *play = w.findChild<QPushButton *>(QStringLiteral("CommandPlay")))
            click(play);
    QTest::qWait(200);
    // A phone's at twice the pixels, as its screen draws it.
    const qreal ratio = phone ? 2 : w.devicePixelRatio();
    QImage shot(w.size() * ratio, QImage::Format_RGB32);
    shot.setDevicePixelRatio(ratio);
    w.render(&shot);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
