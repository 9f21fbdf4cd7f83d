// SPDX-License-Identifier: MIT
// Random user actions on the window, each checked against the reference model; and clicks that
// arrive while a handler is still running.
#include "model.h"
#include "windowtest.h"

#include <QApplication>
#include <QRandomGenerator>

using namespace ztc;

namespace {

const QStringList kTypedSizes = {
    "",      "1",  "2",   "5",     "12",     "20",     "5.5",  "0.5", "0",      "-3",        "abc",
    "12abc", "99", "150", "1e400", "&H7FFF", "&HFFFF", " 1 2", "nan", "\u0663", "\U0001F40E"};
const QStringList kTypedWagers = {"DOUBLE", " Double", "Double ",      "pick 3",
                                  "\u0130", "x",       "Super High 5", "exacta"};
const QStringList kTypedAmounts = {"",       "$",       "$2",        "$2.5",  "$0.10", "3",
                                   "-$5.00", "($5.00)", "$1,000.00", "1e400", "abc",   "\u20ac3"};

class Soak {
  public:
    Soak(Form1 &w, quint64 seed) : w(w), rng(seed) {}

    // One random action; returns what it was, for the failure message.
    QString step() {
        const int roll = int(rng.bounded(100));
        if (roll < 40)
            return clickRunner(false);
        if (roll < 45)
            return clickRunner(true);
        if (roll < 50)
            return clickButton(nullptr);
        if (roll < 53)
            return clickButton(w.Command7);
        if (roll < 56)
            return clickButton(w.Command8);
        if (roll < 60)
            return clickButton(w.Command9);
        if (roll < 66)
            return pick(w.Combo1);
        if (roll < 75)
            return pick(w.Combo2);
        if (roll < 80)
            return pick(w.Combo3);
        if (roll < 86)
            return type(w.Combo1, any(kTypedSizes) + digits());
        if (roll < 89)
            return type(w.Combo2, any(kTypedWagers + wagerTypeItems()));
        if (roll < 95)
            return type(w.Combo3, any(kTypedAmounts));
        return typeNote();
    }

    WindowModel model;

  private:
    QString any(const QStringList &pool) { return pool.at(int(rng.bounded(pool.size()))); }
    QString digits() { return rng.bounded(4) ? QString() : QString::number(rng.bounded(40)); }

    QString clickRunner(bool all) {
        if (model.legsShown == 0)
            return clickButton(w.Command8);
        const int leg = 1 + int(rng.bounded(model.legsShown));
        ListBox *list = w.list(leg);
        const int row = all ? list->count() - 1 : int(rng.bounded(list->count()));
        driver::clickItem(list, row);
        if (!model.help())
            model.clickRunner(leg, row);
        return QStringLiteral("click item %1 of leg %2").arg(row).arg(leg);
    }

    // A null button means a random leg's Clear.
    QString clickButton(QPushButton *button) {
        int leg = 0;
        if (!button) {
            if (model.legsShown == 0)
                return clickButton(w.Command7);
            leg = 1 + int(rng.bounded(model.legsShown));
            button = w.clearButton(leg);
        }
        driver::click(button);
        if (button == w.Command9)
            model.toggleHelp();
        else if (model.help())
            ; // disabled
        else if (leg)
            model.clear(leg);
        else if (button == w.Command7)
            model.clearAll();
        else
            model.calc();
        return QStringLiteral("click %1").arg(button->objectName());
    }

    QString pick(ComboBox *combo) {
        const QString item = combo->itemText(int(rng.bounded(combo->count())));
        if (model.help()) { // a disabled box opens no list
            QTest::mouseClick(combo, Qt::LeftButton);
            return QStringLiteral("click disabled %1").arg(combo->objectName());
        }
        driver::pick(combo, item);
        if (combo == w.Combo1)
            model.pickFieldSize(item);
        else if (combo == w.Combo2)
            model.pickWager(item);
        else
            model.pickBase(item);
        return QStringLiteral("pick '%1' from %2").arg(item, combo->objectName());
    }

    QString type(ComboBox *combo, const QString &text) {
        driver::retype(combo, text);
        if (!model.help()) {
            if (combo == w.Combo1)
                model.typeFieldSize(text);
            else if (combo == w.Combo2)
                model.wager = text;
            else
                model.typeBase(text);
        }
        return QStringLiteral("type '%1' into %2").arg(text, combo->objectName());
    }

    QString typeNote() {
        const QString note = QStringLiteral("note %1").arg(rng.bounded(1000));
        QTest::keyClick(w.Text1, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(w.Text1, note);
        model.text += note;
        return QStringLiteral("type a note into Text1");
    }

    Form1 &w;
    QRandomGenerator rng;
};

void postClick(ListBox *list, int row) {
    const QPointF at = list->visualItemRect(list->item(row)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            list->viewport(),
            new QMouseEvent(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
}

// The ticket the core computes for what the window shows now.
std::optional<QString> ticketOnScreen(const Form1 &w) {
    TicketInput in{w.Combo2->text(), {}};
    for (int leg = 1; leg <= kLegCount; ++leg)
        for (int i = 0; i < w.list(leg)->count(); ++i)
            in.leg(leg).append({w.list(leg)->itemText(i), w.list(leg)->isSelected(i)});
    CalcState scratch = w.state();
    return calculateTicket(in, scratch, effectiveLocale());
}

} // namespace

class TestSoak : public WindowTest {
    Q_OBJECT

  private slots:
    void randomActionsMatchTheModel_data();
    void randomActionsMatchTheModel();
    void clickQueuedDuringClearAll();
    void pickQueuedDuringARunnerClick();
    void clicksQueuedDuringAll();
};

void TestSoak::randomActionsMatchTheModel_data() {
    // ZTC_SOAK_ACTIONS sets the actions per seed, for a long soak by hand.
    const int actions = qEnvironmentVariableIntValue("ZTC_SOAK_ACTIONS") > 0
                            ? qEnvironmentVariableIntValue("ZTC_SOAK_ACTIONS")
                            : 5000;
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("actions");
    for (quint64 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("seed %llu", seed) << seed << actions;
}

void TestSoak::randomActionsMatchTheModel() {
    QFETCH(quint64, seed);
    QFETCH(int, actions);
    Soak soak(*w, seed);
    QCOMPARE(soak.model.differenceFrom(*w), QString());
    for (int n = 1; n <= actions; ++n) {
        const QString action = soak.step();
        const QString difference = soak.model.differenceFrom(*w);
        if (!difference.isEmpty())
            QFAIL(qPrintable(QStringLiteral("seed %1, action %2 (%3): %4")
                                 .arg(seed)
                                 .arg(n)
                                 .arg(action, difference)));
    }
    qInfo("seed %llu: %d actions checked", seed, actions);
}

void TestSoak::clickQueuedDuringClearAll() {
    driver::pick(w->Combo2, "Pick 3");
    for (int leg = 1; leg <= 3; ++leg)
        driver::clickRunner(w->list(leg), "2");
    postClick(w->List1, 6); // dispatched inside CLEAR ALL's event passes
    postClick(w->List3, 0);
    driver::click(w->Command7);
    QCOMPARE(driver::selectedRows(w->List1), QList<int>{6});
    QCOMPARE(w->Text1->text(), *ticketOnScreen(*w));
}

void TestSoak::pickQueuedDuringARunnerClick() {
    // The lists keep their selections through a wager pick while the field size is unreadable.
    driver::pick(w->Combo2, "Superfecta");
    for (int leg = 1; leg <= 4; ++leg)
        for (const char *runner : {"1", "2", "3", "4"})
            driver::clickRunner(w->list(leg), runner);
    driver::retype(w->Combo1, "many");
    driver::pick(w->Combo2, "Trifecta");
    // Down on the closed box picks the next wager, Superfecta, inside the click's recalculation.
    QCoreApplication::postEvent(w->Combo2, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, {}));
    driver::clickRunner(w->List1, "5");
    QCOMPARE(w->Combo2->text(), "Superfecta");
    QCOMPARE(w->Text1->text(), *ticketOnScreen(*w));
    QVERIFY(w->Text1->text().endsWith("Total Ticket Cost: $96.00"));
    QCOMPARE(w->state().intIdexA, qint16(5));
}

void TestSoak::clicksQueuedDuringAll() {
    driver::pick(w->Combo2, "Exacta");
    postClick(w->List2, 3); // arrives while "All" is selecting leg A
    postClick(w->List1, 20);
    driver::clickRunner(w->List1, "All");
    QCOMPARE(driver::selectedRows(w->List2), QList<int>{3});
    QCOMPARE(w->Text1->text(), *ticketOnScreen(*w));
    QVERIFY(!w->state().bolAutoListPopulateUnderway);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
