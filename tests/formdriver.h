// SPDX-License-Identifier: MIT
#pragma once

// Real user actions on the calculator window: mouse clicks on list items and buttons, keys typed
// into the boxes and picks from the combo popups.

#include "form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace ztc::driver {

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

// Empties the edit field, then types the text key by key.
inline void retype(ComboBox *combo, const QString &text) {
    QLineEdit *edit = combo->lineEdit();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
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
