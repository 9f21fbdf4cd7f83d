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
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

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

inline void clickItem(ListBox *list, int row) {
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// A click into the box's text, which gives it the focus.
inline void focusBox(ComboBox *combo) {
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
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
