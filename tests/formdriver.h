// SPDX-License-Identifier: MIT
#pragma once

// Real user actions on the calculator window: mouse clicks on list items and buttons, keys typed
// or text pasted into the boxes, and picks from the box lists.

#include "form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

namespace ztc::driver {

inline void clickItem(ListBox *list, int row) {
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// Focuses the box, opens its list, moves to the item and picks it with Enter.
inline void pick(ComboBox *combo, const QString &text) {
    combo->setFocus();
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(combo->findText(text), 0));
    QTest::keyClick(view, Qt::Key_Return);
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

// Empties the box, then types the text one character at a time.
inline void retype(ComboBox *combo, const QString &text) {
    QLineEdit *edit = combo->lineEdit();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    const QStringList prefixes = typedPrefixes(text);
    for (qsizetype i = 1; i < prefixes.size(); ++i)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown,
                            prefixes[i].mid(prefixes[i - 1].size()), Qt::NoModifier);
}

// Pastes the text from the clipboard, over the whole contents when asked.
inline void paste(QWidget *edit, const QString &text, bool over) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, over ? Qt::Key_A : Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

} // namespace ztc::driver
