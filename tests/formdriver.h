// SPDX-License-Identifier: MIT
#pragma once

// Real user actions on the calculator window: mouse clicks on list items and buttons, keys typed
// into the boxes and picks from the combo popups.

#include "form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace ztc::driver {

// The offscreen platform notes that it cannot raise windows or grab the keyboard for popups;
// those notes are about the test platform, so they are dropped and every other message still
// reaches Qt Test (which fails a test on any warning it is told to).
inline void dropOffscreenNotes() {
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                next(type, context, message);
        });
}

// Called from each test's init(): any Qt warning fails the test.
inline void failOnAnyWarning() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

inline void clickItem(ListBox *list, int row) {
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

inline void clickRunner(ListBox *list, const QString &text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    clickItem(list, list->row(found.first()));
}

inline void click(QAbstractButton *button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// Opens the popup, moves to the item and picks it with Enter, as a keyboard user does.
inline void pick(ComboBox *combo, const QString &text) {
    const int index = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    // A desktop hands activation back to the window when its popup closes; offscreen does not.
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

// Types any text one character at a time, as a keyboard with that character would.
inline void typeText(QWidget *widget, const QString &text) {
    const QStringList prefixes = typedPrefixes(text);
    for (qsizetype i = 1; i < prefixes.size(); ++i)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown,
                            prefixes[i].mid(prefixes[i - 1].size()), Qt::NoModifier);
}

// Empties the edit field, then types the text key by key.
inline void retype(ComboBox *combo, const QString &text) {
    QLineEdit *edit = combo->lineEdit();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    typeText(edit, text);
}

// Replaces the whole text of an edit field or text box with a paste from the clipboard.
inline void pasteOver(QWidget *edit, const QString &text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

inline QStringList items(const ListBox *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

inline QList<int> selectedRows(const ListBox *list) {
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows << i;
    return rows;
}

} // namespace ztc::driver
