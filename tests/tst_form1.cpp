// SPDX-License-Identifier: MIT
#include "windowtest.h"

#include <QApplication>
#include <QScrollBar>

using namespace ztc;
using namespace ztc::driver;

namespace {

QString crlf(const QStringList &lines) {
    return lines.join(QStringLiteral("\r\n"));
}

// A combo box keeps the focus itself or in its edit field.
bool hasFocus(const QWidget *control) {
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == control || focus->parentWidget() == control);
}

} // namespace

class TestForm1 : public WindowTest {
    Q_OBJECT

    int legsShown() const {
        int shown = 0;
        for (int leg = 1; leg <= kLegCount; ++leg) {
            const bool visible = w->legLabel(leg)->isVisible();
            if (w->list(leg)->isVisible() != visible || w->clearButton(leg)->isVisible() != visible)
                return -1; // a leg half shown
            shown += visible;
        }
        return shown;
    }

  private slots:
    void startUp();
    void geometry_data();
    void geometry();
    void fontsAndColours();
    void captionsAndAFullFieldFit();
    void tabOrder();
    void pickingAWagerShowsItsLegs_data();
    void pickingAWagerShowsItsLegs();
    void pickingAFieldSize();
    void enterOrLeavingABoxPicksNothing();
    void pickingWithTheMouseRunsClickOnly();
    void workedExampleByClicks();
    void allSelectsEveryRunner_data();
    void allSelectsEveryRunner();
    void clearOneLeg();
    void clearAll();
    void helpAndBack();
    void helpModeHandlersDoNothing();
    void textBoxKeepsCrLfText();
};

void TestForm1::startUp() {
    QCOMPARE(w->windowTitle(), "Zandrel Ticket Calculator - www.zandrel.example");
    QCOMPARE(w->Label8->text(), "Zandrel Ticket Calculator");
    QCOMPARE(w->Label9->text(), "www.zandrel.example");
    QCOMPARE(legsShown(), 0);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QCOMPARE(items(w->list(leg)), runnerListItems(20));
        QVERIFY(selectedRows(w->list(leg)).isEmpty());
    }
    QCOMPARE(w->Combo1->text(), "20");
    QCOMPARE(w->Combo2->text(), "Select Wager Type");
    QCOMPARE(w->Combo3->text(), "$2.00");
    QCOMPARE(w->Combo1->count(), 20);
    QCOMPARE(w->Combo2->count(), 10);
    QCOMPARE(w->Combo3->count(), 42);
    QCOMPARE(w->state().dblBaseAmt, 2.0);
    QCOMPARE(w->state().intHelpMode, qint16(0));
    QVERIFY(w->Text1->text().isEmpty());
    QCOMPARE(calcs->count(), 0);
    QVERIFY(hasFocus(w->Combo1));
    QCOMPARE(w->size(), QSize(763, 492));
}

void TestForm1::geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption"); // as created, where start-up leaves it
    auto row = [](const char *name, const char *kind, int l, int t, int wd, int h,
                  const char *caption = "") {
        QTest::newRow(name) << name << kind << QRect(l, t, wd, h) << caption;
    };
    row("Combo1", "ztc::ComboBox", 360, 1560, 1215, 315);
    row("List1", "ztc::ListBox", 360, 2400, 495, 4155);
    row("Label1", "QLabel", 360, 2160, 615, 255, "Leg A");
    row("Label0", "QLabel", 360, 1320, 975, 255, "Field Size");
    row("Combo2", "ztc::ComboBox", 360, 840, 2535, 315);
    row("Label00", "QLabel", 360, 600, 975, 255, "Wager Type");
    row("List2", "ztc::ListBox", 1080, 2400, 495, 4155);
    row("List3", "ztc::ListBox", 1800, 2400, 495, 4155);
    row("List4", "ztc::ListBox", 2520, 2400, 495, 4155);
    row("List5", "ztc::ListBox", 3240, 2400, 495, 4155);
    row("List6", "ztc::ListBox", 3960, 2400, 495, 4155);
    row("Label2", "QLabel", 1080, 2160, 615, 255, "Leg B");
    row("Label3", "QLabel", 1800, 2160, 615, 255, "Leg C");
    row("Label4", "QLabel", 2520, 2160, 615, 255, "Leg D");
    row("Label5", "QLabel", 3240, 2160, 615, 255, "Leg E");
    row("Label6", "QLabel", 3960, 2160, 615, 255, "Leg F");
    row("Combo3", "ztc::ComboBox", 1680, 1560, 1215, 315);
    row("Label000", "QLabel", 1680, 1320, 975, 255, "Base Amt");
    row("Command1", "QPushButton", 360, 6600, 495, 255, "Clear");
    row("Command2", "QPushButton", 1080, 6600, 495, 255, "Clear");
    row("Command3", "QPushButton", 1800, 6600, 495, 255, "Clear");
    row("Command4", "QPushButton", 2520, 6600, 495, 255, "Clear");
    row("Command5", "QPushButton", 3240, 6600, 495, 255, "Clear");
    row("Command6", "QPushButton", 3960, 6600, 495, 255, "Clear");
    row("Command7", "QPushButton", 4680, 6600, 855, 495, "CLEAR ALL");
    row("Command8", "QPushButton", 5640, 6600, 855, 495, "CALC");
    row("Text1", "ztc::TextBox", 4680, 840, 6375, 5655);
    row("Label7", "QLabel", 4680, 600, 1695, 255, "Ticket Descritpion");
    row("Label8", "QLabel", 360, 240, 2535, 255, "Zandrel Ticket Calculator");
    row("Label9", "QLabel", 4680, 240, 2895, 255, "www.zandrel.example");
    row("Command9", "QPushButton", 6600, 6600, 855, 495, "Help");
}

void TestForm1::geometry() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    const auto matches = w->findChildren<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QCOMPARE(matches.size(), 1);
    QWidget *c = matches.first();
    QCOMPARE(c->metaObject()->className(), kind);
    QCOMPARE(c->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    if (auto *label = qobject_cast<QLabel *>(c))
        QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<QPushButton *>(c))
        QCOMPARE(button->text(), caption);
    // Exactly the 31 controls, no more.
    int controls = 0;
    for (QObject *child : w->children())
        controls += child->isWidgetType();
    QCOMPARE(controls, 31);
}

void TestForm1::fontsAndColours() {
    struct Expect {
        QWidget *control;
        int pixels;
        bool bold;
    };
    const Expect expected[] = {
        {w->Combo1, 11, false},   {w->List1, 11, false},   {w->Label1, 11, false},
        {w->Command1, 11, false}, {w->Command7, 11, true}, {w->Command8, 11, true},
        {w->Command9, 11, true},  {w->Text1, 11, false},   {w->Label8, 13, true},
        {w->Label9, 12, false},
    };
    for (const Expect &e : expected) {
        QCOMPARE(e.control->font().pixelSize(), e.pixels);
        QCOMPARE(e.control->font().bold(), e.bold);
        QVERIFY(!e.control->font().italic());
    }
    QCOMPARE(w->Label8->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(w->Label9->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(w->Label7->palette().color(QPalette::WindowText) != QColor(0, 0, 255));
}

void TestForm1::captionsAndAFullFieldFit() {
    // Run again at QT_SCALE_FACTOR=2: the same logical layout drawn at twice the size.
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(w->devicePixelRatio(), scale);
    QCOMPARE(w->grab().size(), w->size() * scale);
    pick(w->Combo2, "Pick 6");
    for (QLabel *label : w->findChildren<QLabel *>()) {
        const QRect needed = label->fontMetrics().boundingRect(label->text());
        QVERIFY2(needed.width() <= label->width() &&
                     label->fontMetrics().height() <= label->height(),
                 qPrintable(label->objectName()));
    }
    for (QPushButton *button : w->findChildren<QPushButton *>()) {
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <=
                     button->width() - 2 * frame,
                 qPrintable(button->objectName()));
        QVERIFY(button->fontMetrics().height() <= button->height());
    }
    for (int leg = 1; leg <= kLegCount; ++leg) {
        ListBox *list = w->list(leg);
        QCOMPARE(list->count(), 21);
        QVERIFY(!list->verticalScrollBar()->isVisible());
        const QRect last = list->visualItemRect(list->item(20));
        QVERIFY2(list->viewport()->rect().contains(last), qPrintable(list->objectName()));
        QCOMPARE(list->item(20)->text(), "All");
    }
}

void TestForm1::tabOrder() {
    pick(w->Combo2, "Pick 6");
    w->Combo1->setFocus();
    const QList<QWidget *> chain = {w->List1,    w->Combo2,   w->List2,    w->List3,    w->List4,
                                    w->List5,    w->List6,    w->Combo3,   w->Command1, w->Command2,
                                    w->Command3, w->Command4, w->Command5, w->Command6, w->Command7,
                                    w->Command8, w->Text1,    w->Command9, w->Combo1};
    for (QWidget *next : chain) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(hasFocus(next), qPrintable(next->objectName()));
    }
    // Hidden legs are skipped.
    pick(w->Combo2, "Double");
    w->List2->setFocus();
    QTest::keyClick(w->List2, Qt::Key_Tab);
    QVERIFY(hasFocus(w->Combo3));
}

void TestForm1::pickingAWagerShowsItsLegs_data() {
    QTest::addColumn<QString>("wager");
    QTest::addColumn<int>("legs");
    QTest::newRow("Double") << "Double" << 2;
    QTest::newRow("Exacta") << "Exacta" << 2;
    QTest::newRow("Pick 3") << "Pick 3" << 3;
    QTest::newRow("Trifecta") << "Trifecta" << 3;
    QTest::newRow("Pick 4") << "Pick 4" << 4;
    QTest::newRow("Superfecta") << "Superfecta" << 4;
    QTest::newRow("Pick 5") << "Pick 5" << 5;
    QTest::newRow("Super High 5") << "Super High 5" << 5;
    QTest::newRow("Pick 6") << "Pick 6" << 6;
    QTest::newRow("placeholder hides all and still refills") << "Select Wager Type" << 0;
}

void TestForm1::pickingAWagerShowsItsLegs() {
    QFETCH(QString, wager);
    QFETCH(int, legs);
    pick(w->Combo2, "Pick 6");
    clickRunner(w->List1, "3");
    clickRunner(w->List6, "4");
    const int before = calcs->count();
    pick(w->Combo2, wager);
    QCOMPARE(legsShown(), legs);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QCOMPARE(items(w->list(leg)), runnerListItems(20));
        QVERIFY(selectedRows(w->list(leg)).isEmpty());
    }
    QVERIFY(hasFocus(w->Command8));
    QCOMPARE(calcs->count(), before + 1);
    if (legs > 0)
        QVERIFY(w->Text1->text().startsWith("$2.00 " + wager + "\r\n"));
}

void TestForm1::pickingAFieldSize() {
    pick(w->Combo2, "Exacta");
    clickRunner(w->List2, "5");
    const int before = calcs->count();
    pick(w->Combo1, "8");
    QCOMPARE(items(w->List2), runnerListItems(8));
    QVERIFY(selectedRows(w->List2).isEmpty());
    QVERIFY(hasFocus(w->Command8));
    QCOMPARE(calcs->count(), before + 1);
    QCOMPARE(w->Text1->text(), "$2.00 Exacta\r\nLegA: \r\nLegB: \r\n\r\nTotal Ticket Cost: $0.00");

    clickRunner(w->List1, "3");
    pick(w->Combo1, "Select Field Size");
    QCOMPARE(items(w->List1), runnerListItems(8));
    QCOMPARE(selectedRows(w->List1), QList<int>{2});
    QCOMPARE(calcs->count(), before + 3);
}

void TestForm1::enterOrLeavingABoxPicksNothing() {
    pick(w->Combo2, "Double");
    const int before = calcs->count();
    for (ComboBox *combo : {w->Combo1, w->Combo2, w->Combo3}) {
        QTest::keyClick(combo, Qt::Key_Return);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Enter);
        combo->lineEdit()->clearFocus(); // leaving the field picks nothing either
        QCOMPARE(combo->count(), combo == w->Combo2 ? 10 : combo == w->Combo1 ? 20 : 42);
    }
    QCOMPARE(calcs->count(), before);
}

void TestForm1::pickingWithTheMouseRunsClickOnly() {
    w->Combo3->showPopup();
    QAbstractItemView *view = w->Combo3->view();
    QTRY_VERIFY(view->isVisible());
    // The popup ignores a release that comes too soon after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QModelIndex item = w->Combo3->model()->index(9, 0); // "$6.00"
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(w->Combo3->text(), "$6.00");
    QCOMPARE(w->state().dblBaseAmt, 6.0);
    QCOMPARE(calcs->count(), 1);
}

void TestForm1::workedExampleByClicks() {
    pick(w->Combo2, "Pick 3");
    clickRunner(w->List1, "4");
    clickRunner(w->List3, "5");
    clickRunner(w->List1, "1");
    clickRunner(w->List2, "7");
    clickRunner(w->List3, "2");
    clickRunner(w->List3, "3");
    QCOMPARE(w->Text1->text(), crlf({"$2.00 Pick 3", "LegA: 1,4", "LegB: 7", "LegC: 2,3,5", "",
                                     "Total Ticket Cost: $12.00"}));
    QCOMPARE(calcs->count(), 1 + 6);
}

void TestForm1::allSelectsEveryRunner_data() {
    QTest::addColumn<QString>("fieldSize");
    QTest::addColumn<int>("runners");
    QTest::newRow("a full field") << "20" << 20;
    QTest::newRow("a short field") << "6" << 6;
    QTest::newRow("All alone") << "0.5" << 0;
}

void TestForm1::allSelectsEveryRunner() {
    QFETCH(QString, fieldSize);
    QFETCH(int, runners);
    pick(w->Combo2, "Trifecta");
    retype(w->Combo1, fieldSize);
    for (int round = 0; round < 2; ++round) { // a second click re-selects, never deselects
        const int before = calcs->count();
        clickRunner(w->List3, "All");
        QList<int> all;
        for (int i = 0; i < runners; ++i)
            all << i;
        QCOMPARE(selectedRows(w->List3), all);
        QCOMPARE(calcs->count(), before + 1);
        QVERIFY(selectedRows(w->List2).isEmpty());
    }
}

void TestForm1::clearOneLeg() {
    pick(w->Combo2, "Superfecta");
    clickRunner(w->List1, "1");
    clickRunner(w->List2, "2");
    clickRunner(w->List2, "3");
    w->List2->setSelected(20, true); // "All" selected too
    QCOMPARE(w->state().intIdexB, qint16(2));
    const int before = calcs->count();
    click(w->Command2);
    QVERIFY(selectedRows(w->List2).isEmpty());
    QCOMPARE(selectedRows(w->List1), QList<int>{0});
    QCOMPARE(w->state().intIdexB, qint16(0));
    QCOMPARE(w->state().dblRunnersB[1], 0.0);
    QCOMPARE(w->state().intIdexA, qint16(1));
    QVERIFY(hasFocus(w->Command8));
    QCOMPARE(calcs->count(), before + 1);
}

void TestForm1::clearAll() {
    pick(w->Combo2, "Pick 6");
    for (int leg = 1; leg <= kLegCount; ++leg)
        clickRunner(w->list(leg), QString::number(leg));
    pick(w->Combo1, "20"); // refill, then select again so that hidden legs hold selections too
    for (int leg = 1; leg <= kLegCount; ++leg)
        clickRunner(w->list(leg), QString::number(leg + 1));
    pick(w->Combo2, "Super High 5"); // leg F hidden, but ...
    w->List6->setSelected(3, true);  // ... still holding a selection
    clickRunner(w->List1, "9");
    const int before = calcs->count();
    click(w->Command7);
    QCOMPARE(calcs->count(), before + 7);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QVERIFY(selectedRows(w->list(leg)).isEmpty());
        QCOMPARE(w->state().idex(leg), qint16(0));
        QCOMPARE(w->state().runners(leg)[1], 0.0);
    }
    QVERIFY(w->Text1->text().endsWith("LegE: \r\n\r\nTotal Ticket Cost: $0.00"));
    QVERIFY(hasFocus(w->Command8));
    QVERIFY(!w->state().bolAutoListPopulateUnderway);
}

void TestForm1::helpAndBack() {
    pick(w->Combo2, "Double");
    clickRunner(w->List1, "3");
    QTest::keyClicks(w->Text1, "my note");
    const QString saved = w->Text1->text();
    const int before = calcs->count();

    click(w->Command9);
    QCOMPARE(w->state().intHelpMode, qint16(1));
    QCOMPARE(w->Command9->text(), "Back");
    QCOMPARE(w->Text1->text(), helpText());
    const QStringList lines = helpText().split("\r\n");
    QCOMPARE(lines.size(), 25);
    QCOMPARE(lines.first(), "Tixomat Operating Instructions");
    QVERIFY(lines.at(8).endsWith("leg "));
    QCOMPARE(lines.at(9), "    corresponding to that runner. Selected runners within a given leg "
                          "are visually");
    QCOMPARE(lines.at(21), "8. To exit Help Mode, click the BACK button.");
    QCOMPARE(lines.at(24), "www.zandrel.example");
    for (int i : {1, 3, 5, 7, 11, 14, 17, 20, 22})
        QVERIFY(lines.at(i).isEmpty());
    int disabled = 0;
    for (QWidget *c : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        disabled += !c->isEnabled();
    QCOMPARE(disabled, 17);
    QVERIFY(!w->Command8->isEnabled() && !w->List6->isEnabled() && !w->Combo3->isEnabled());
    QVERIFY(w->Text1->isEnabled() && w->Command9->isEnabled());

    QTest::keyClicks(w->Text1, "lost edit");
    click(w->Command9);
    QCOMPARE(w->state().intHelpMode, qint16(0));
    QCOMPARE(w->Command9->text(), "Help");
    QCOMPARE(w->Text1->text(), saved);
    for (QWidget *c : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY(c->isEnabled());
    QCOMPARE(selectedRows(w->List1), QList<int>{2});
    QCOMPARE(calcs->count(), before);
}

void TestForm1::helpModeHandlersDoNothing() {
    pick(w->Combo2, "Pick 3");
    clickRunner(w->List1, "1");
    click(w->Command9);
    const int before = calcs->count();
    const CalcState state = w->state();
    w->Combo1->setText("5");
    w->Combo1_Change();
    w->Combo2_Click();
    w->Combo3->setText("$9.00");
    w->Command1_Click();
    w->Command8_Click();
    w->List1_Click();
    QCOMPARE(items(w->List1), runnerListItems(20));
    QCOMPARE(selectedRows(w->List1), QList<int>{0});
    QCOMPARE(legsShown(), 3);
    QCOMPARE(w->Text1->text(), helpText());
    QVERIFY(w->state() == state);
    QCOMPARE(calcs->count(), before);
}

void TestForm1::textBoxKeepsCrLfText() {
    const QString text = crlf({"first", "", "  third  ", "\tfourth", "2,00\u00a0€"});
    w->Text1->setText(text);
    QCOMPARE(w->Text1->text(), text);
    QCOMPARE(w->Text1->blockCount(), 5);
    // A long line does not wrap.
    w->Text1->setText(QString(500, u'x'));
    QCOMPARE(w->Text1->document()->lineCount(), 1);
    QVERIFY(w->Text1->horizontalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
