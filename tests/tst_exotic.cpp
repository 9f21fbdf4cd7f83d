// SPDX-License-Identifier: MIT
#include "oracle.h"
#include "ticket.h"

#include <QRandomGenerator>
#include <QTest>

using namespace ztc;

namespace {

// A runner list "1".."field" and "All", with the given runners selected.
RunnerList listWith(std::initializer_list<int> selected, int field = 20) {
    RunnerList list;
    for (const QString &text : runnerListItems(field))
        list.append({text, false});
    for (int runner : selected)
        list[runner == 0 ? field : runner - 1].selected = true; // 0 stands for "All"
    return list;
}

void store(CalcState &s, int leg, std::initializer_list<double> values) {
    s.idex(leg) = 0;
    for (double v : values)
        s.runners(leg)[static_cast<std::size_t>(++s.idex(leg))] = v;
}

using Positions = std::vector<std::vector<double>>;

} // namespace

class TestExotic : public QObject {
    Q_OBJECT
  private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void listRules_data();
    void listRules();
    void arrayRules();
    void wagerTextMatching_data();
    void wagerTextMatching();
    void entriesBeyondTheCountAreNeverRead();
    void fullFieldsGiveFallingFactorials_data();
    void fullFieldsGiveFallingFactorials();
    void matchesBruteForceOnRandomSelections();
};

void TestExotic::listRules_data() {
    QTest::addColumn<QString>("wager");
    QTest::addColumn<RunnerList>("first");
    QTest::addColumn<RunnerList>("second");
    QTest::addColumn<RunnerList>("third");
    QTest::addColumn<double>("count");
    QTest::newRow("exacta same runner both places")
        << "Exacta" << listWith({5}) << listWith({5}) << RunnerList() << 0.0;
    QTest::newRow("exacta All adds nothing")
        << "Exacta" << listWith({1, 0}) << listWith({2, 0}) << RunnerList() << 1.0;
    QTest::newRow("exacta empty position")
        << "Exacta" << listWith({1, 2}) << listWith({}) << RunnerList() << 0.0;
    QTest::newRow("trifecta blocked by first two")
        << "Trifecta" << listWith({1}) << listWith({1}) << listWith({2, 3, 4}) << 0.0;
    QTest::newRow("exacta counts a selected last item that is a runner")
        << "Exacta" << RunnerList{{"1", true}, {"2", true}} << RunnerList{{"3", true}}
        << RunnerList() << 2.0;
    QTest::newRow("repeated value in one list counts twice")
        << "Exacta" << RunnerList{{"1", true}, {"1", true}} << RunnerList{{"2", true}}
        << RunnerList() << 2.0;
    QTest::newRow("values are compared as numbers")
        << "Exacta" << RunnerList{{"3", true}} << RunnerList{{"3.0", true}, {" 3", true}}
        << RunnerList() << 0.0;
    QTest::newRow("negative values never take part")
        << "Exacta" << RunnerList{{"-1", true}, {"2", true}} << RunnerList{{"1", true}}
        << RunnerList() << 1.0;
}

void TestExotic::listRules() {
    QFETCH(QString, wager);
    QFETCH(RunnerList, first);
    QFETCH(RunnerList, second);
    QFETCH(RunnerList, third);
    QFETCH(double, count);
    TicketInput in{wager, {first, second, third}};
    QCOMPARE(CountExoticCombos(wager, in, CalcState{}), count);
}

void TestExotic::arrayRules() {
    const TicketInput none;
    CalcState s;
    store(s, 1, {1, 2});
    store(s, 2, {1, 2});
    store(s, 3, {3});
    store(s, 4, {4});
    QCOMPARE(CountExoticCombos(QString("Superfecta"), none, s), 2.0);

    store(s, 5, {1, 2, 3, 4});
    QCOMPARE(CountExoticCombos(QString("Super High 5"), none, s), 0.0); // four runners in all
    store(s, 5, {5, 6});
    QCOMPARE(CountExoticCombos(QString("Super High 5"), none, s), 4.0);

    s.intIdexC = 0;
    QCOMPARE(CountExoticCombos(QString("Superfecta"), none, s), 0.0);
    s.intIdexC = -4; // a count below 0 reads nothing, like 0
    QCOMPARE(CountExoticCombos(QString("Super High 5"), none, s), 0.0);
    s.intIdexC = 32000; // never read past the array
    QCOMPARE(CountExoticCombos(QString("Superfecta"), none, s), 2.0);
}

void TestExotic::wagerTextMatching_data() {
    QTest::addColumn<std::optional<QString>>("wager");
    QTest::addColumn<double>("count");
    QTest::newRow("capitals count") << std::optional<QString>("EXACTA") << 6.0;
    QTest::newRow("trailing blank gives 0") << std::optional<QString>("Exacta ") << 0.0;
    QTest::newRow("a multi-race wager gives 0") << std::optional<QString>("Double") << 0.0;
    QTest::newRow("empty text gives 0") << std::optional<QString>("") << 0.0;
    QTest::newRow("text without value gives 0") << std::optional<QString>(QString()) << 0.0;
    QTest::newRow("no argument gives 0") << std::optional<QString>() << 0.0;
}

void TestExotic::wagerTextMatching() {
    QFETCH(std::optional<QString>, wager);
    QFETCH(double, count);
    TicketInput in{{}, {listWith({1, 2, 3}), listWith({1, 2, 3})}};
    QCOMPARE(CountExoticCombos(wager, in, CalcState{}), count);
}

void TestExotic::entriesBeyondTheCountAreNeverRead() {
    CalcState s;
    for (int leg = 1; leg <= 5; ++leg)
        s.runners(leg).fill(leg); // garbage everywhere
    store(s, 1, {1});
    store(s, 2, {2});
    store(s, 3, {3});
    store(s, 4, {4});
    store(s, 5, {5});
    QCOMPARE(CountExoticCombos(QString("Super High 5"), {}, s), 1.0);
}

void TestExotic::fullFieldsGiveFallingFactorials_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("positions");
    QTest::addColumn<double>("count");
    QTest::newRow("20 runners, superfecta") << 20 << 4 << 20.0 * 19 * 18 * 17;
    QTest::newRow("20 runners, super high 5") << 20 << 5 << 1860480.0;
    QTest::newRow("99 runners, super high 5") << 99 << 5 << 8582777280.0;
}

void TestExotic::fullFieldsGiveFallingFactorials() {
    QFETCH(int, field);
    QFETCH(int, positions);
    QFETCH(double, count);
    CalcState s;
    for (int leg = 1; leg <= positions; ++leg) {
        for (int r = 1; r <= field; ++r)
            s.runners(leg)[static_cast<std::size_t>(r)] = r;
        s.idex(leg) = qint16(field);
    }
    QCOMPARE(CountExoticCombos(QString(positions == 4 ? "Superfecta" : "Super High 5"), {}, s),
             count);
}

void TestExotic::matchesBruteForceOnRandomSelections() {
    QRandomGenerator rng(20261206);
    for (int round = 0; round < 3000; ++round) {
        const int k = 1 + int(rng.bounded(5));
        const int span = 1 + int(rng.bounded(9)); // small ranges force shared runners
        Positions p(static_cast<std::size_t>(k));
        for (auto &values : p) {
            const int n = int(rng.bounded(7));
            for (int i = 0; i < n; ++i)
                values.push_back(double(int(rng.bounded(span + 2)) - 1) / (rng.bounded(4) ? 1 : 2));
        }
        QCOMPARE(countDistinctTuples(p), oracle::bruteForceCount(p));
    }
}

QTEST_GUILESS_MAIN(TestExotic)
#include "tst_exotic.moc"
