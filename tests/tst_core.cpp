// SPDX-License-Identifier: MIT
// The window-free core: one table per unit, and the fast exotic counter against plain
// enumeration.
#include "numbers.h"
#include "oracle.h"
#include "ticket.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using namespace ztc;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const QLocale kUS(QLocale::English, QLocale::UnitedStates);
using Legs = QList<QList<int>>;

// Six runner lists "1".."field" and "All", with the given runners selected; 0 stands for "All".
TicketInput input(const QString &wager, const Legs &legs, int field = 20) {
    TicketInput in{wager, {}};
    for (int leg = 1; leg <= kLegCount; ++leg) {
        for (const QString &text : runnerListItems(field))
            in.leg(leg).append({text, false});
        for (int runner : legs.value(leg - 1))
            in.leg(leg)[runner ? runner - 1 : in.leg(leg).size() - 1].selected = true;
    }
    return in;
}

// The selected runners of a leg in list order, without "All".
QList<int> runnersOf(QList<int> leg) {
    leg.removeAll(0);
    std::sort(leg.begin(), leg.end());
    return leg;
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT
  private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void leadingNumber_data();
    void leadingNumber();
    void money_data();
    void money();
    void catalogue();
    void ticket_data();
    void ticket();
    void runnerStore_data();
    void runnerStore();
    void exoticCounter();
};

void TestCore::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    const std::pair<const char *, double> rows[] = {
        {"20", 20},
        {"12abc", 12},
        {"Select Field Size", 0},
        {"", 0},
        {" 2 45 7", 2457},
        {"\t1\n2", 12},
        {"- 5", -5},
        {"+7", 7},
        {"--5", 0},
        {"-0", 0},
        {"5.5", 5.5},
        {"1.2.3", 1.2},
        {"1,5", 1},
        {".5", 0.5},
        {".", 0},
        {"1e3", 1000},
        {"2D2", 200},
        {"25e-1", 2.5},
        {"1 e + 2", 100},
        {"1e", 1},
        {"7e+", 7},
        {"&HFF", 255},
        {"&hff", 255},
        {"&HFFF", 4095},
        {"&HFFFF", -1},
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&HFFFFFFFFFFFFFFFF", -1},
        {"&H1G", 1},
        {"&O17", 15},
        {"&O177777", -1},
        {"&O200000", 65536},
        {"&O37777777777", -1},
        {"&O18", 1},
        {"&X12", 0},
        {"&", 0},
        {"&H", 0},
        {"-&H10", 0},
        {"$2.00", 0},
        {"1e400", kInf},
        {"-1e400", -kInf},
        {"10e307", 1e308},
        {"100e307", kInf},
        {"0.01e310", 1e308},
        {"0.01e311", kInf},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"0e99999999999", 0},
        {"1\u0662", 1},
    };
    for (const auto &[text, value] : rows)
        QTest::newRow(text) << QString::fromUtf8(text) << value;
    QTest::newRow("400 nines") << QString(400, u'9') << kInf;
    QTest::newRow("100,000 ones") << QString(100000, u'1') << kInf;
    QTest::newRow("100,000 zeros after the point") << "0." + QString(100000, u'0') + "1" << 0.0;
    QTest::newRow("100,000 blanks") << QString(100000, u' ') + "3" << 3.0;
    QTest::newRow("NUL") << QString::fromUtf16(u"4\0005", 3) << 4.0;
    QTest::newRow("twenty zeros") << "1" + QString(20, u'0') + "e-20" << 1.0;
}

void TestCore::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Val(text), value);
    QCOMPARE(std::signbit(Val(text)), std::signbit(value)); // never a negative zero
}

void TestCore::money_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("amount"); // NaN: no amount
    QTest::addColumn<QString>("shown"); // the amount as a ticket shows it
    const double none = qQNaN();
    auto row = [](const char *locale, const char *text, double amount, const char *shown = "") {
        QTest::addRow("%s %s", locale, text)
            << QString::fromLatin1(locale) << QString::fromUtf8(text) << amount
            << QString::fromUtf8(shown);
    };
    row("en_US", "$2.00", 2, "$2.00");
    row("en_US", "$0.10", 0.1, "$0.10");
    row("en_US", "$500.00", 500);
    row("en_US", "3.5", 3.5);
    row("en_US", "$1,234.50", 1234.5, "$1,234.50");
    row("en_US", "  $4.00  ", 4);
    row("en_US", "-$2.00", -2, "($2.00)");
    row("en_US", "$-2.00", -2);
    row("en_US", "$2.00-", -2);
    row("en_US", "+$2", 2);
    row("en_US", "$+2", 2);
    row("en_US", "2+", 2);
    row("en_US", "($1.25)", -1.25);
    row("en_US", "$1e2", 100);
    for (const char *text : {"(-2)", "--2", "-$-2", "-2-", "()", "(", "$$2", "Select Base Amt", "",
                             "$", "abc", "1e400", "inf", "nan", "2,50 \u20ac"})
        row("en_US", text, none);
    row("de_DE", "2,50 \u20ac", 2.5, "2,50\u00a0\u20ac");
    row("de_DE", "1.234,50 \u20ac", 1234.5, "1.234,50\u00a0\u20ac");
    row("de_DE", "-2,50 \u20ac", -2.5, "-2,50\u00a0\u20ac");
    row("de_DE", "$2.00", 2);
    row("de_DE", "\u20ac", none);
    row("fr_FR", "2,50 \u20ac", 2.5, "2,50\u00a0\u20ac");
    row("ja_JP", "$0.50", 0.5);
    row("ja_JP", "\uffe5300", 300, "\uffe5300");
    row("sv_SE", "\u22122,50 kr", -2.5, "\u22122,50\u00a0kr");
    row("sv_SE", "-kr 2,50", -2.5);
}

void TestCore::money() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, amount);
    QFETCH(QString, shown);
    const std::optional<double> read = toMoney(text, QLocale(locale));
    QCOMPARE(read.value_or(qQNaN()), amount);
    if (!shown.isEmpty())
        QCOMPARE(formatCurrency(*read, QLocale(locale)), shown);
}

void TestCore::catalogue() {
    // Wager types by their box text: any case, but no blank or letter more.
    const QStringList wagers = wagerTypeItems();
    const int legs[] = {0, 2, 3, 4, 5, 6, 2, 3, 4, 5};
    QCOMPARE(wagers.size(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(legsFor(wagers[i]), legs[i]);
        QCOMPARE(legsFor(wagers[i].toUpper()), legs[i]);
        QCOMPARE(legsFor(' ' + wagers[i]) + legsFor(wagers[i] + 's'), 0);
        QCOMPARE(findWagerType(wagers[i]) && findWagerType(wagers[i])->isExotic(), i > 5);
    }
    QCOMPARE(fieldSizeItems().join(','),
             "Select Field Size,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
    const QStringList amounts = baseAmountItems();
    QCOMPARE(amounts.size(), 42);
    QCOMPARE(amounts.first() + amounts.at(1) + amounts.last(), "Select Base Amt$0.10$500.00");
    // Runner lists: the whole numbers up to the size, at most 99, then "All".
    const std::pair<double, int> sizes[] = {{2, 2},     {20, 20},  {5.5, 5},   {0.5, 0},    {-3, 0},
                                            {99.9, 99}, {150, 99}, {kInf, 99}, {qQNaN(), 0}};
    for (const auto &[size, runners] : sizes) {
        QStringList expected;
        for (int r = 1; r <= runners; ++r)
            expected << QString::number(r);
        QCOMPARE(runnerListItems(size), expected << "All");
    }
}

void TestCore::ticket_data() {
    QTest::addColumn<QString>("wager");
    QTest::addColumn<double>("base");
    QTest::addColumn<Legs>("legs");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("total"); // empty: no ticket
    auto row = [](const char *wager, double base, const Legs &legs, const char *total,
                  int field = 20) {
        QTest::addRow("%s %s", wager, total)
            << QString::fromLatin1(wager) << base << legs << field << QString::fromLatin1(total);
    };
    QList<int> all;
    for (int r = 1; r <= kMaxField; ++r)
        all << r;
    const QList<int> twenty = all.first(20), five = all.first(5);
    row("Pick 3", 2, {{4, 1}, {7}, {5, 2, 3}}, "$12.00");
    row("Double", 2, {{3, 5}, {}}, "$0.00");
    row("Pick 4", 1, {{1}, {1, 2}, {1, 2, 3}, {4}}, "$6.00");
    row("Pick 5", 0.5, {{1}, {2}, {3}, {4}, {5, 6}}, "$1.00");
    row("Pick 6", 1, {{1}, {2}, {3}, {4}, {5}, {6}}, "$1.00");
    row("Pick 6", 500, {twenty, twenty, twenty, twenty, twenty, twenty}, "$32,000,000,000.00");
    row("Double", 1, {{1}, {1}, {2, 3}, {4}}, "$1.00");
    row("Exacta", 1, {{1, 2, 3}, {1, 2, 3}}, "$6.00");
    row("Exacta", 2, {{1, 2}, {3}}, "$4.00");
    row("Exacta", 1, {{5}, {5}}, "$0.00");
    row("Exacta", 1, {{1, 0}, {2, 0}, {3}}, "$1.00");
    row("Exacta", 0.1, {{1}, {2, 3, 4}}, "$0.30");
    row("Trifecta", 1, {{1, 2}, {1, 2, 3}, {1, 2, 3, 4}}, "$8.00");
    row("Trifecta", 1, {{1}, {1}, {2, 3, 4}}, "$0.00");
    row("Superfecta", 0.1, {{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}, "$2.40");
    row("Superfecta", 1, {{1, 2}, {1, 2}, {3}, {4}}, "$2.00");
    row("Super High 5", 1, {five, five, five, five, five}, "$120.00");
    row("Super High 5", 1, {{9}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}, "$24.00");
    row("Super High 5", 1, {{1, 2}, {1, 2}, {3}, {4}, {1, 2, 3, 4}}, "$0.00");
    row("Super High 5", 1, {all, all, all, all, all}, "$8,582,777,280.00", kMaxField);
    row("Exacta", 2, {{0}, {0}}, "$0.00", 0);
    row("PICK 3", 0, {{1}, {2}, {3}}, "$0.00");
    row("Double", -2, {{1}, {2}}, "($2.00)");
    for (const char *wager : {"Select Wager Type", "", " Pick 3", "Trifecta "})
        row(wager, 2, {{1}, {2}, {3}}, "");
}

void TestCore::ticket() {
    QFETCH(QString, wager);
    QFETCH(double, base);
    QFETCH(Legs, legs);
    QFETCH(int, field);
    QFETCH(QString, total);
    CalcState s;
    s.dblBaseAmt = base;
    const std::optional<QString> text = calculateTicket(input(wager, legs, field), s, kUS);
    QCOMPARE(text.has_value(), !total.isEmpty());
    if (!text)
        return;
    QStringList lines{formatCurrency(base, kUS) + ' ' + wager};
    for (int leg = 1; leg <= legsFor(wager); ++leg) {
        QStringList runners;
        for (int runner : runnersOf(legs.value(leg - 1)))
            runners << QString::number(runner);
        lines << QStringLiteral("Leg%1: %2").arg(legLetter(leg), runners.join(','));
    }
    QCOMPARE(*text, (lines << QString() << "Total Ticket Cost: " + total).join("\r\n"));
}

void TestCore::runnerStore_data() {
    QTest::addColumn<QString>("wager");
    QTest::addColumn<Legs>("legs");
    QTest::addColumn<QList<int>>("stored"); // runners stored per leg
    QTest::newRow("superfecta") << "Superfecta" << Legs{{9, 2, 7}, {1}, {4, 0}, {}, {5}}
                                << QList<int>{3, 1, 1, 0, 0, 0};
    QTest::newRow("super high 5") << "super high 5" << Legs{{1}, {2}, {3}, {4}, {5, 6}, {7}}
                                  << QList<int>{1, 1, 1, 1, 2, 0};
    for (const char *wager : {"Trifecta", "Pick 6", " Superfecta"})
        QTest::newRow(wager) << wager << Legs{{1, 2}, {3}, {4}, {5}, {6}, {7}} << QList<int>(6);
}

void TestCore::runnerStore() {
    QFETCH(QString, wager);
    QFETCH(Legs, legs);
    QFETCH(QList<int>, stored);
    CalcState s;
    QVERIFY(s.dblBaseAmt == 0 && !s.bolAutoListPopulateUnderway && s.strTextPersisted.isEmpty() &&
            s.intHelpMode == 0);
    for (int leg = 1; leg <= kLegCount; ++leg) { // a new record is all zero; then leftovers
        QVERIFY(s.idex(leg) == 0 && s.runners(leg) == RunnerArray{});
        s.runners(leg).fill(5);
        s.idex(leg) = 4;
    }
    const TicketInput in = input(wager, legs);
    const std::optional<QString> text = calculateTicket(in, s, kUS);
    QCOMPARE((QList<int>{s.intIdexA, s.intIdexB, s.intIdexC, s.intIdexD, s.intIdexE, s.intIdexF}),
             stored);
    const RunnerArray *arrays[] = {&s.dblRunnersA, &s.dblRunnersB, &s.dblRunnersC,
                                   &s.dblRunnersD, &s.dblRunnersE, &s.dblRunnersF};
    for (int leg = 1; leg <= kLegCount; ++leg) {
        const RunnerArray &r = *arrays[leg - 1];
        QCOMPARE(r[0], 5.0); // never touched
        const QList<int> runners = runnersOf(legs.value(leg - 1));
        for (int i = 1; i <= kMaxField; ++i)
            QCOMPARE(r[std::size_t(i)], i <= stored[leg - 1] ? runners[i - 1] : 0.0);
    }
    // A recalculation nested in this one describes the same wager again and stores nothing twice.
    if (const WagerType *found = findWagerType(wager)) {
        const CalcState once = s;
        QCOMPARE(describeTicket(*found, in, s, kUS), *text);
        QVERIFY(s == once);
    }
    // In help mode nothing is read or written.
    s.intHelpMode = 1;
    const CalcState before = s;
    QVERIFY(!calculateTicket(input("Double", {{1}, {2}}), s, kUS));
    QVERIFY(s == before);
    // Only a hand-made list holds more runners than the arrays: storing stops at their end.
    TicketInput huge{"Superfecta", {}};
    for (int r = 1; r <= 150; ++r)
        huge.leg(1).append({QString::number(r), true});
    s.intHelpMode = 0;
    calculateTicket(huge, s, kUS);
    QCOMPARE(s.intIdexA, qint16(kMaxField));
}

void TestCore::exoticCounter() {
    const TicketInput box = input({}, {{1, 2, 3}, {1, 2, 3}});
    const std::pair<std::optional<QString>, double> texts[] = {
        {"EXACTA", 6}, {"Exacta ", 0}, {"Double", 0}, {"", 0}, {QString(), 0}, {std::nullopt, 0}};
    for (const auto &[text, count] : texts)
        QCOMPARE(CountExoticCombos(text, box, CalcState{}), count);

    // Superfecta and Super High 5 read each leg's array up to its count, kept within the array.
    CalcState s;
    for (int leg = 1; leg <= 5; ++leg) {
        s.runners(leg).fill(leg);
        s.idex(leg) = 1;
    }
    QCOMPARE(CountExoticCombos(QString("Super High 5"), {}, s), 1.0);
    s.intIdexC = -4;
    QCOMPARE(CountExoticCombos(QString("Superfecta"), {}, s), 0.0);
    s.intIdexC = 32000;
    QCOMPARE(CountExoticCombos(QString("superfecta"), {}, s), double(kMaxField));

    // Random positions, with small ranges so that runners repeat, and zeros, negatives and halves.
    QRandomGenerator rng(20261206);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::vector<double>> p(rng.bounded(6));
        const int span = 1 + int(rng.bounded(9));
        for (auto &values : p)
            for (int i = int(rng.bounded(7)); i > 0; --i)
                values.push_back(double(int(rng.bounded(span + 2)) - 1) / (rng.bounded(4) ? 1 : 2));
        QCOMPARE(countDistinctTuples(p), oracle::bruteForceCount(p));
    }
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
