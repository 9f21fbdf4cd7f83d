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
#include <functional>
#include <optional>

#if QT_CONFIG(scroller)
#include "finger.h"

#include <QScroller>
#include <QSignalSpy>
#endif
#ifdef Q_OS_WASM
#include <emscripten/val.h>

#include <string>
#endif

namespace ztc::driver {

inline QWindow *windowOf(const QWidget *widget) {
    return widget->window()->windowHandle();
}

// A phone's user, who taps with a finger where others click.
inline bool g_finger = false;
inline void useFinger(bool finger) {
    g_finger = finger;
}

// The touch screen the finger touches.
inline QPointingDevice *touchScreen() {
    static QPointingDevice *const screen = QTest::createTouchDevice();
    return screen;
}

// A touch on the widget's window. Each finger that lands is a new one, as a browser numbers them.
struct Touch {
    explicit Touch(QWidget *widget)
        : window(windowOf(widget)), top(widget->window()),
          sequence(QTest::touchEvent(window, touchScreen(), false)) {}
    QWindow *window;
    QWidget *top;
    QTest::QTouchEventSequence sequence;

    QPoint at(QWidget *widget, QPoint point) const { return widget->mapTo(top, point); }
    Touch &press(int id, QPoint point, QWidget *widget) {
        sequence.press(id, at(widget, point), window);
        return *this;
    }
    Touch &move(int id, QPoint point, QWidget *widget) {
        sequence.move(id, at(widget, point), window);
        return *this;
    }
    Touch &release(int id, QPoint point, QWidget *widget) {
        sequence.release(id, at(widget, point), window);
        return *this;
    }
    Touch &stationary(int id) {
        sequence.stationary(id);
        return *this;
    }
    void commit(bool processEvents = true) { sequence.commit(processEvents); }
};
inline Touch touch(QWidget *widget) {
    return Touch(widget);
}
inline int newFinger() {
    static int fingers = 0;
    return ++fingers;
}

// A key as the keyboard sends it: to the window, which hands it to the widget with the focus.
inline void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus, "a key typed with the focus nowhere");
    QTest::keyClick(windowOf(focus), key, modifiers);
}

// The sheet that scrolls the widget (in a phone's arrangement), or none.
inline QAbstractScrollArea *sheetOf(const QWidget *widget) {
    QWidget *scrolled = widget->parentWidget();
    while (scrolled && !scrolled->inherits("QScrollArea"))
        scrolled = scrolled->parentWidget();
    return static_cast<QAbstractScrollArea *>(scrolled);
}

// Brings the widget's rect into sight where the window scrolls (a phone's arrangement), with the
// wheel over the scrolled sheet's margin, where no box is to step. Says whether a click at the
// rect's centre reaches the widget: something in front of it (a dock in help mode) may hide it.
inline bool reveal(QWidget *widget, const QRect &rect) {
    if (QAbstractScrollArea *area = sheetOf(widget)) {
        QWidget *view = area->viewport();
        QWindow *window = windowOf(view);
        const QPointF margin =
            window->mapFromGlobal(view->mapToGlobal(QPoint(2, view->height() / 2)));
        // Towards the rect until it shows, the sheet ends, or (taller than the view) it turns.
        for (int before = -1, towards = 0; before != area->verticalScrollBar()->value();) {
            const QRect shown(widget->mapTo(view, rect.topLeft()), rect.size());
            const int way = shown.top() < 0 ? 1 : -1;
            if (view->rect().contains(shown) || way == -towards)
                break;
            before = area->verticalScrollBar()->value();
            towards = way;
            QWindowSystemInterface::handleWheelEvent(window, margin, window->mapToGlobal(margin),
                                                     {}, {0, 120 * way});
            QWindowSystemInterface::flushWindowSystemEvents();
        }
    }
    const QPoint centre = widget->mapTo(widget->window(), rect.center());
    const QWidget *hit = widget->window()->childAt(centre);
    return hit && (hit == widget || widget->isAncestorOf(hit));
}

// One notch of the mouse wheel over the widget's middle, brought into sight first; down,
// towards the user, when by > 0. Says whether it reached the widget.
inline bool wheel(QWidget *over, int by) {
    if (!reveal(over, QRect(over->rect().center(), QSize(1, 1))))
        return false;
    QWindow *window = windowOf(over);
    const QPointF at = window->mapFromGlobal(over->mapToGlobal(over->rect().center()));
    QWindowSystemInterface::handleWheelEvent(window, at, window->mapToGlobal(at), {},
                                             {0, -120 * by});
    QCoreApplication::processEvents();
    return true;
}

// A finger lifted where it landed on the widget's point.
inline void tap(QWidget *widget, QPoint at) {
    auto finger = touch(widget);
    const int id = newFinger();
    // Nothing else happens between the two, as for a click.
    finger.press(id, at, widget).commit(false);
    finger.release(id, at, widget).commit();
}

// A click as the user makes it: with the mouse, or on a phone with a finger.
inline void clickAt(QWidget *widget, QPoint at) {
    if (g_finger)
        tap(widget, at);
    else
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

inline void click(QWidget *widget) {
    if (reveal(widget, widget->rect()))
        clickAt(widget, widget->rect().center());
}

inline void clickItem(ListBox *list, int row) {
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    if (reveal(list->viewport(), rect))
        clickAt(list->viewport(), rect.center());
}

// Brings to rest at once what a finger set gliding or springing back: in a browser a test cannot
// wait for the page's timers that move it.
inline void settle() {
#if QT_CONFIG(scroller)
    for (QScroller *scroller : QScroller::activeScrollers())
        scroller->stop();
#endif
}

// The offset a finger can drag by from the widget's point and stay on the window: where there
// is no room for it, it goes the other way.
inline QPoint onWindow(const QWidget *widget, QPoint from, QPoint by) {
    const QRect window = widget->window()->rect();
    const QPoint start = widget->mapTo(widget->window(), from);
    for (int *d : {&by.rx(), &by.ry()}) {
        const int along = d == &by.rx() ? start.x() : start.y();
        const int room = d == &by.rx() ? window.width() : window.height();
        if (along + *d < 0 || along + *d >= room)
            *d = -*d;
        *d = std::clamp(along + *d, 0, room - 1) - along;
    }
    return by;
}

// A finger's drag from the widget's point by the offset, in four steps, after resting there for
// the milliseconds given; it stays still before it lifts (a scroll, not a fling) until what it
// scrolls shows, where the caller says what that is. The scroller moves on its frames, which a
// test outside a browser can wait for. Says whether the point was in sight and, lifted, the
// finger let go of what it scrolled: it glides on or stops, and follows no more.
inline bool drag(QWidget *widget, QPoint from, QPoint by, int rest = 0,
                 const std::function<bool()> &scrolled = {}) {
    if (!reveal(widget, QRect(from, QSize(1, 1))))
        return false;
    auto finger = touch(widget);
    const int id = newFinger();
    finger.press(id, from, widget).commit();
    if (rest > 0)
        QTest::qWait(rest);
    for (int step = 1; step <= 4; ++step)
        finger.move(id, from + by * step / 4, widget).commit();
    if (!scrolled || !QTest::qWaitFor(scrolled, 2000))
        QTest::qWait(25);
    finger.release(id, from + by, widget).commit();
    bool letGo = true;
#if QT_CONFIG(scroller)
    for (const QScroller *scroller : QScroller::activeScrollers())
        letGo = letGo && scroller->state() != QScroller::Pressed &&
                scroller->state() != QScroller::Dragging;
#endif
    settle();
    return letGo;
}

// A finger held still on the widget's point until the window has taken it for a long press,
// however long a busy machine keeps it from its timer, then lifted.
inline void hold(QWidget *widget, QPoint at) {
    auto finger = touch(widget);
    const int id = newFinger();
#if QT_CONFIG(scroller)
    QSignalSpy held(widget->window()->findChild<Finger *>(), &Finger::held);
#endif
    finger.press(id, at, widget).commit();
#if QT_CONFIG(scroller)
    QVERIFY2(held.wait(10000), "a finger held still was never taken for a long press");
#endif
    finger.release(id, at, widget).commit();
}

// Two fingers on the widget's points, landing together or one after the other, drawn apart and
// lifted one after the other: a pinch.
inline void pinch(QWidget *widget, QPoint a, QPoint b, bool together) {
    auto fingers = touch(widget);
    const int one = newFinger(), two = newFinger();
    fingers.press(one, a, widget);
    if (!together) {
        fingers.commit();
        fingers.stationary(one);
    }
    fingers.press(two, b, widget).commit();
    const QPoint apart = (b - a) / 4;
    fingers.move(one, a - apart, widget).move(two, b + apart, widget).commit();
    fingers.release(two, b + apart, widget).stationary(one).commit();
    fingers.release(one, a - apart, widget).commit();
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

// The list focused as Tab would focus it, and its current runner moved to the row with the
// arrow keys.
inline void focusList(ListBox *list, int row) {
    list->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        key(Qt::Key_Down);
}

// Clicks into the box, opens its list with F4 and clicks the item.
inline void pick(ComboBox *combo, const QString &text) {
    focusBox(combo);
    key(Qt::Key_F4);
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = combo->model()->index(combo->findText(text), 0);
    view->scrollTo(index);
    clickAt(view->viewport(), view->visualRect(index).center());
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
