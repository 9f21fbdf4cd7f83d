// SPDX-License-Identifier: MIT
// The window through assistive technology and the keyboard alone.
#include "windowtest.h"

#include <QAccessible>
#include <QApplication>

using namespace ztc;

class TestAccess : public WindowTest {
    Q_OBJECT

    static void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
    static void tabTo(QWidget *control) {
        for (int i = 0; i < 40 && !control->isAncestorOf(QApplication::focusWidget()) &&
                        QApplication::focusWidget() != control;
             ++i)
            key(Qt::Key_Tab);
        QVERIFY2(QApplication::focusWidget() == control ||
                     control->isAncestorOf(QApplication::focusWidget()),
                 qPrintable(control->objectName()));
    }
    // Opens the focused box's list with the keyboard, moves to the item and picks it.
    void pickByKeyboard(ComboBox *combo, const QString &text) {
        tabTo(combo);
        key(Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(combo->view()->isVisible());
        key(Qt::Key_Home);
        while (combo->view()->currentIndex().data().toString() != text) {
            const int row = combo->view()->currentIndex().row();
            key(Qt::Key_Down);
            QVERIFY2(combo->view()->currentIndex().row() != row, qPrintable(text));
        }
        key(Qt::Key_Return);
        QTRY_VERIFY(!combo->view()->isVisible());
        QApplication::setActiveWindow(w.get()); // as a desktop does when the popup closes
    }
    void toggleRunner(ListBox *list, int row) {
        tabTo(list);
        key(Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            key(Qt::Key_Down);
        key(Qt::Key_Space);
    }

  private slots:
    void everyControlHasAName();
    void runnerItemsReportSelection();
    void ticketIsReadableAsText();
    void wholeTicketByKeyboardAlone();
    void enterAndSpacePressTheFocusedButton_data();
    void enterAndSpacePressTheFocusedButton();
};

void TestAccess::everyControlHasAName() {
    driver::pick(w->Combo2, "Pick 6");
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(w.get());
    QVERIFY(window);
    QStringList named;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *child = window->child(i);
        const QString name = child->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(child->object()->objectName()));
        named << name;
    }
    QCOMPARE(named.size(), 31);
    for (const char *name : {"Leg A runners", "Leg F runners", "Clear leg B", "Ticket description",
                             "Calculate ticket", "Clear all legs"})
        QVERIFY2(named.contains(name), name);
    // A combo box's name is its text here; its caption comes through the labelled-by relation.
    const std::pair<QWidget *, const char *> captions[] = {
        {w->Combo1, "Field Size"}, {w->Combo2, "Wager Type"}, {w->Combo3, "Base Amt"}};
    for (const auto &[combo, caption] : captions) {
        const auto labels =
            QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), caption);
    }
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(w->List1);
    QVERIFY(!list->text(QAccessible::Description).isEmpty());
}

void TestAccess::runnerItemsReportSelection() {
    driver::pick(w->Combo2, "Exacta");
    driver::clickRunner(w->List2, "3");
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(w->List2);
    QVERIFY(list->tableInterface());
    QCOMPARE(list->tableInterface()->rowCount(), 21);
    QAccessibleInterface *third = list->tableInterface()->cellAt(2, 0);
    QAccessibleInterface *fourth = list->tableInterface()->cellAt(3, 0);
    QCOMPARE(third->text(QAccessible::Name), "3");
    QVERIFY(third->state().selected);
    QVERIFY(!fourth->state().selected);
    QVERIFY(third->state().selectable && third->state().multiSelectable);
}

void TestAccess::ticketIsReadableAsText() {
    driver::pick(w->Combo2, "Double");
    driver::clickRunner(w->List1, "5");
    QAccessibleTextInterface *text =
        QAccessible::queryAccessibleInterface(w->Text1)->textInterface();
    QVERIFY(text);
    const QString all = text->text(0, text->characterCount());
    QCOMPARE(all, w->Text1->toPlainText());
    QVERIFY(all.startsWith("$2.00 Double\nLegA: 5\n"));
    QVERIFY(all.endsWith("Total Ticket Cost: $0.00"));
}

void TestAccess::wholeTicketByKeyboardAlone() {
    pickByKeyboard(w->Combo2, "Pick 3");
    QVERIFY(w->Command8->hasFocus());
    toggleRunner(w->List1, 3); // 4
    toggleRunner(w->List1, 0); // 1
    toggleRunner(w->List2, 6); // 7
    for (int row : {4, 1, 2})  // 5, 2, 3
        toggleRunner(w->List3, row);
    QCOMPARE(w->Text1->text(), "$2.00 Pick 3\r\nLegA: 1,4\r\nLegB: 7\r\nLegC: 2,3,5\r\n\r\n"
                               "Total Ticket Cost: $12.00");
    QCOMPARE(calcs->count(), 1 + 6);

    // "All" from the keyboard, then CLEAR ALL pressed with Enter.
    toggleRunner(w->List2, 20);
    QCOMPARE(driver::selectedRows(w->List2).size(), 20);
    tabTo(w->Command7);
    key(Qt::Key_Return);
    QVERIFY(w->Text1->text().endsWith("Total Ticket Cost: $0.00"));
    pickByKeyboard(w->Combo3, "$5.00");
    QCOMPARE(w->state().dblBaseAmt, 5.0);
}

void TestAccess::enterAndSpacePressTheFocusedButton_data() {
    QTest::addColumn<int>("keyCode");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void TestAccess::enterAndSpacePressTheFocusedButton() {
    QFETCH(int, keyCode);
    tabTo(w->Command9);
    key(Qt::Key(keyCode));
    QCOMPARE(w->state().intHelpMode, qint16(1));
    key(Qt::Key(keyCode));
    QCOMPARE(w->state().intHelpMode, qint16(0));
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
