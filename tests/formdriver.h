// SPDX-License-Identifier: MIT
#pragma once

// Real user actions on the calculator window. Every mouse button, key and wheel event enters
// through the window system, as a real device's does, so that Qt's own delivery applies: focus
// policies, shortcuts, popups and the widget under the pointer.

// QTest's mouse functions then send a widget's events through its window.
#define QTEST_QPA_MOUSE_HANDLING

#include "form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>

#if QT_CONFIG(scroller)
#include <QScroller>
#endif
#ifdef Q_OS_WASM
#include <emscripten/val.h>

#include <string>
#endif

namespace ztc::driver {

inline QWindow *windowOf(const QWidget *widget) {
    return widget->window()->windowHandle();
}

// A key as the keyboard sends it: to the window, which hands it to the widget with the focus.
inline void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus, "a key typed with the focus nowhere");
    QTest::keyClick(windowOf(focus), key, modifiers);
}

// One notch of the mouse wheel over the widget's middle; down, towards the user, when by > 0.
inline void wheel(QWidget *over, int by) {
    QWindow *window = windowOf(over);
    const QPointF at = window->mapFromGlobal(over->mapToGlobal(over->rect().center()));
    QWindowSystemInterface::handleWheelEvent(window, at, window->mapToGlobal(at), {},
                                             {0, -120 * by});
    QCoreApplication::processEvents();
}

// Brings the widget's rect into sight where the window scrolls (a phone's arrangement), with the
// wheel over the scrolled sheet's margin, where no box is to step. Says whether a click at the
// rect's centre reaches the widget: something in front of it (a dock in help mode) may hide it.
inline bool reveal(QWidget *widget, const QRect &rect) {
    QWidget *scrolled = widget->parentWidget();
    while (scrolled && !scrolled->inherits("QScrollArea"))
        scrolled = scrolled->parentWidget();
    if (auto *area = static_cast<QAbstractScrollArea *>(scrolled)) {
        QWidget *view = area->viewport();
        QWindow *window = windowOf(view);
        const QPointF margin =
            window->mapFromGlobal(view->mapToGlobal(QPoint(2, view->height() / 2)));
        for (int before = -1; before != area->verticalScrollBar()->value();) {
            const QRect shown(widget->mapTo(view, rect.topLeft()), rect.size());
            if (view->rect().contains(shown))
                break;
            before = area->verticalScrollBar()->value();
            QWindowSystemInterface::handleWheelEvent(window, margin, window->mapToGlobal(margin),
                                                     {}, {0, shown.top() < 0 ? 120 : -120});
            QWindowSystemInterface::flushWindowSystemEvents();
        }
    }
    const QPoint centre = widget->mapTo(widget->window(), rect.center());
    const QWidget *hit = widget->window()->childAt(centre);
    return hit && (hit == widget || widget->isAncestorOf(hit));
}

inline void click(QWidget *widget) {
    if (reveal(widget, widget->rect()))
        QTest::mouseClick(widget, Qt::LeftButton);
}

inline void clickItem(ListBox *list, int row) {
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    if (reveal(list->viewport(), rect))
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// A finger's drag from the point by dy, through the window's own coordinates. What it set
// gliding or springing back is brought to rest at once: in a browser a test cannot wait for the
// page's timers that move it.
inline void drag(QWidget *widget, QPoint from, int dy) {
    if (!reveal(widget, QRect(from, QSize(1, 1))))
        return;
    QWindow *window = windowOf(widget);
    const QPoint start = widget->mapTo(widget->window(), from);
    // A finger stays on the screen: where there is no room for the drag, it goes the other way.
    if (start.y() + dy < 0 || start.y() + dy >= window->height())
        dy = -dy;
    dy = std::clamp(start.y() + dy, 0, window->height() - 1) - start.y();
    QTest::mousePress(window, Qt::LeftButton, {}, start);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window, start + QPoint(0, dy * step / 4));
    QTest::mouseRelease(window, Qt::LeftButton, {}, start + QPoint(0, dy));
#if QT_CONFIG(scroller)
    for (QScroller *scroller : QScroller::activeScrollers())
        scroller->stop();
#endif
}

// The screen the window fills resized, as a phone turned sideways: a desktop's window resized.
inline void resizeScreen(QWidget *window, QSize size) {
#ifdef Q_OS_WASM
    using emscripten::val;
    val screen = val::global("document").call<val>("getElementById", std::string("screen"));
    screen["style"].set("width", std::to_string(size.width()) + "px");
    screen["style"].set("height", std::to_string(size.height()) + "px");
    val::module_property("qtResizeContainerElement")(screen);
#else
    window->resize(size);
#endif
    if (window->isVisible())
        QTRY_COMPARE(window->size(), size);
}

// A click into the box's text, which gives it the focus.
inline void focusBox(ComboBox *combo) {
    click(combo->lineEdit());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(combo));
}

// Clicks into the box, opens its list with F4 and clicks the item.
inline void pick(ComboBox *combo, const QString &text) {
    focusBox(combo);
    key(Qt::Key_F4);
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = combo->model()->index(combo->findText(text), 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QTRY_VERIFY(!view->isVisible());
    // A desktop hands activation back to the window when its popup closes; offscreen does not,
    // and may still deliver the popup's own activation late.
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(combo->window());
}

// Prefixes of the text that end on a whole character: what the box holds after each key.
inline QStringList typedPrefixes(const QString &text) {
    QStringList prefixes{QString()};
    for (qsizetype n = 1; n <= text.size(); ++n)
        if (n == text.size() || !text.at(n).isLowSurrogate())
            prefixes << text.left(n);
    return prefixes;
}

// Empties the focused box, then types the text one character at a time.
inline void retype(ComboBox *combo, const QString &text) {
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(combo));
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Backspace);
    const QStringList prefixes = typedPrefixes(text);
    for (qsizetype i = 1; i < prefixes.size(); ++i)
        QTest::sendKeyEvent(QTest::Click, windowOf(combo), Qt::Key_unknown,
                            prefixes[i].mid(prefixes[i - 1].size()), Qt::NoModifier);
}

// Pastes the text from the clipboard into the focused widget, over its whole contents when asked.
inline void paste(const QString &text, bool over) {
    QGuiApplication::clipboard()->setText(text);
    key(over ? Qt::Key_A : Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_V, Qt::ControlModifier);
}

} // namespace ztc::driver
