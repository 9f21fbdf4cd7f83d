// SPDX-License-Identifier: MIT
// The window-free core: a table per unit, and the fast exotic counter against plain enumeration.
#include "numbers.h"
#include "oracle.h"
#include "playtext.h"
#include "rules.h"
#include "ticket.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace ztc;

namespace {

const QLocale kUS(QLocale::English, QLocale::UnitedStates);
using Legs = QList<QList<int>>;

QString number(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

// Six lists "1".."field" and "All", with the given runners selected; 0 stands for "All", -1 for
// every runner.
TicketInput input(const QString &wager, const Legs &legs, int field = 20) {
    TicketInput in{wager, {}};
    for (int leg = 1; leg <= kLegCount; ++leg)
        for (const QString &text : runnerListItems(field))
            in.leg(leg).append({text, legs.value(leg - 1).contains(text.toInt()) ||
                                          (text != u"All" && legs.value(leg - 1).contains(-1))});
    return in;
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
    void exoticCounter();
    void raceCount_data();
    void raceCount();
    void countText();
    void play_data();
    void play();
    void playAtRandom();
    void unreadable_data();
    void unreadable();
    void rules_data();
    void rules();
    void abc();
};

void TestCore::leadingNumber_data() {
    // Each row is a text, "=" and its reading (a negative zero would read "-0"): decimal
    // numbers, "&H" and "&O" numbers, and numbers beyond a double.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reading");
    const QStringList rows = {"20=20", "12abc=12", "All=0", "=0", " 2 45 7=2457", "\t1\n2=12",
                              "- 5=-5", "+7=7", "--5=0", "-0=0", "1.2.3=1.2", "1,5=1", ".=0",
                              "2D2=200", "25e-1=2.5", "1 e + 2=100", "7e+=7", "1\r2=1", "1\u0662=1",
                              // hexadecimal and octal
                              "&hff=255", "&HFFFF=-1", "&H10000=65536", "&H0FFFF=65535",
                              "&HFFFFFFFF=-1", "&H100000000=4294967296", "&HFFFFFFFFFFFFFFFF=-1",
                              "&H1G=1", "&O17=15", "&O177777=-1", "&O200000=65536",
                              "&O37777777777=-1", "&X12=0", "-&H10=0",
                              // beyond a double
                              "1e400=inf", "-1e400=-inf", "-1e-400=0", "0e99999999999=0"};
    for (const QString &row : rows)
        QTest::newRow(qPrintable(row)) << row.section(u'=', 0, 0) << row.section(u'=', 1);
    QTest::newRow("400 nines") << QString(400, u'9') << "inf";
    QTest::newRow("100,000 blanks, 3") << QString(100000, u' ') + "3"
                                       << "3";
    QTest::newRow("4 NUL 5") << QString::fromUtf16(u"4\0005", 3) << "4";
}

void TestCore::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(QString, reading);
    QCOMPARE(number(Val(text)), reading);
}

void TestCore::money_data() {
    // Each row is a text, "=" and its amount, and "=" and how a ticket shows it where it says;
    // no amount after "=" when the text is none.
    QTest::addColumn<QString>("row");
    const std::pair<const char *, QStringList> rows[] = {
        {"en_US",
         {"$2.00=2=$2.00", "$1,234.50=1234.5=$1,234.50", "  $4.00  =4", "-$2.00=-2=($2.00)",
          "$-2.00=-2", "$2.00-=-2", "$+2=2", "2+=2", "($1.25)=-1.25", "(-2)=", "-$-2=", "-2-=",
          "()=", "$$2=", "Select Base Amt=", "$=", "nan=", "1.9e296=1.9e+296", "1.91e296="}},
        {"en_GB", {"$2.00=2=$2.00", "£2.00=2=£2.00", "2.5=2.5=£2.50", "-$1,000=-1000=($1,000.00)"}},
        {"de_DE",
         {"$2.00=2=2,00\u00a0$", "2,50 €=2.5=2,50\u00a0€", "€=", "-$0.10=-0.1=-0,10\u00a0$"}},
        {"fr_FR",
         {"$1,234.50=1234.5=1\u202f234,50\u00a0$", "1 234,50 €=1234.5=1\u202f234,50\u00a0€"}},
        {"ja_JP", {"$0.50=0.5=$0.50", "￥300=300=￥300"}},
        {"sv_SE", {"−2,50 kr=-2.5=−2,50\u00a0kr", "-kr 2,50=-2.5"}},
        {"ar_EG", {"$2.00=2=\u0662\u066b\u0660\u0660\u00a0$"}},
    };
    for (const auto &[locale, texts] : rows)
        for (const QString &row : texts)
            QTest::newRow(locale) << row;
}

void TestCore::money() {
    QFETCH(QString, row);
    const QLocale locale(QTest::currentDataTag());
    const QString text = row.section(u'=', 0, 0);
    const std::optional<Money> read = toMoney(text, locale);
    QString got = text + '=' + (read ? number(read->amount) : QString());
    if (row.count(u'=') > 1)
        got += '=' + formatCurrency(read->amount, locale, read->usDollars);
    QCOMPARE(got, row);
}

void TestCore::catalogue() {
    // A wager type is named by its box text in any case, but with no blank or letter more.
    const QStringList wagers = wagerTypeItems();
    const int legs[] = {0, 2, 3, 4, 5, 6, 2, 3, 4, 5};
    for (int i = 0; i < 10; ++i) {
        const QString &wager = wagers[i];
        QCOMPARE(legsFor(wager), legs[i]);
        QCOMPARE(legsFor(wager.toUpper()), legs[i]);
        QCOMPARE(legsFor(' ' + wager), 0);
        QCOMPARE(legsFor(wager + 's'), 0);
        QCOMPARE(findWagerType(wager) && findWagerType(wager)->isExotic(), i > 5);
    }
    QCOMPARE(fieldSizeItems().join(','),
             "Select Field Size,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
    const QStringList amounts = baseAmountItems();
    QCOMPARE(amounts.size(), 42);
    QCOMPARE(amounts.first(), "Select Base Amt");
    QCOMPARE(amounts.at(1), "$0.10");
    QCOMPARE(amounts.last(), "$500.00");
    // Runner lists: the whole numbers up to the size, at most 99, then "All".
    const std::pair<double, const char *> lists[] = {
        {2, "1,2,All"}, {5.5, "1,2,3,4,5,All"}, {0.5, "All"}, {-3, "All"}, {qQNaN(), "All"}};
    for (const auto &[size, items] : lists)
        QCOMPARE(runnerListItems(size).join(','), items);
    QCOMPARE(runnerListItems(99.9).value(98), "99");
    QCOMPARE(runnerListItems(qInf()).size(), 100);
}

void TestCore::ticket_data() {
    // wager|base amount|the runners selected in each leg, "/" between legs, 0 for "All" and * for
    // every runner|the total cost, empty for no ticket|the field size, when not 20
    QTest::addColumn<QStringList>("row");
    const QStringList groups[] = {
        {"Pick 3|2|4,1/7/5,2,3|$12.00", "Double|2|3,5//1|$0.00", "Pick 4|1|1/1,2/1,2,3/4|$6.00",
         "Pick 5|0.5|1/2/3/4/5,6|$1.00", "Pick 6|500|*/*/*/*/*/*|$32,000,000,000.00"},
        {"Exacta|2|1,2,3/1,2,3|$12.00", "Exacta|0.1|1,0/2,3,4,0/5|$0.30",
         "Trifecta|1|1,2/1,2,3/1,2,3,4|$8.00", "Trifecta|1|1/1/2,3,4|$0.00",
         "Superfecta|1|9,2,7/1/4,0//5|$0.00", "Superfecta|1|1,2/1,2/3/4|$2.00",
         "super high 5|1|1/2/3/4/5,6/7|$2.00", "Super High 5|1|*/*/*/*/*|$120.00|5",
         "Super High 5|1|1,2/1,2/3/4/1,2,3,4|$0.00",
         "Super High 5|1|*/*/*/*/*|$8,582,777,280.00|99"},
        {"Exacta|2|0/0|$0.00|0", "PICK 3|0|1/2/3|$0.00", "Double|-2|1/2|($2.00)",
         "Select Wager Type|2|1/2|", " Superfecta|2|1/2/3/4|"}};
    for (const QStringList &rows : groups)
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row)) << row.split(u'|');
}

void TestCore::ticket() {
    QFETCH(QStringList, row);
    const QString wager = row[0], total = row[3];
    const double base = row[1].toDouble();
    Legs legs; // "*" for every runner
    for (const QString &leg : row[2].split(u'/')) {
        legs << QList<int>();
        for (const QString &runner : leg.split(u',', Qt::SkipEmptyParts))
            legs.last() << (runner == u"*" ? -1 : runner.toInt());
    }
    const int field = row.size() > 4 ? row[4].toInt() : 20;
    CalcState s; // new, then with leftovers of an earlier run
    QCOMPARE(s.dblBaseAmt, 0.0);
    QCOMPARE(s.strTextPersisted, QString());
    QCOMPARE(s.bolAutoListPopulateUnderway, false);
    QCOMPARE(s.intHelpMode, qint16(0));
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QCOMPARE(s.idex(leg), qint16(0));
        QVERIFY2(s.runners(leg) == RunnerArray{}, "a new record holds a stored runner");
        s.runners(leg).fill(5);
        s.idex(leg) = 4;
    }
    s.dblBaseAmt = base;
    const TicketInput in = input(wager, legs, field);

    // The text lists each leg's runners in list order, never its last item. Superfecta and
    // Super High 5 also store them; every run resets the rest of the store but position 0.
    const WagerType *type = findWagerType(wager);
    const bool stores = type && type->isExotic() && type->legs >= 4;
    QStringList lines{formatCurrency(base, kUS) + ' ' + wager};
    std::array<RunnerArray, kLegCount> store{};
    QList<int> counts;
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QStringList runners;
        for (qsizetype i = 0; i + 1 < in.leg(leg).size(); ++i)
            if (in.leg(leg)[i].selected)
                runners << in.leg(leg)[i].text;
        if (leg <= legsFor(wager))
            lines << QStringLiteral("Leg%1: %2").arg(legLetter(leg), runners.join(','));
        counts << (stores && leg <= type->legs ? int(runners.size()) : 0);
        store[leg - 1][0] = 5;
        for (int n = 0; n < counts.last(); ++n)
            store[leg - 1][std::size_t(n + 1)] = runners[n].toDouble();
    }
    lines << QString() << "Total Ticket Cost: " + total;
    const std::optional<QString> text = calculateTicket(in, s, kUS);
    QCOMPARE(text.value_or(""), total.isEmpty() ? "" : lines.join("\r\n"));
    QCOMPARE((QList<int>{s.intIdexA, s.intIdexB, s.intIdexC, s.intIdexD, s.intIdexE, s.intIdexF}),
             counts);
    for (int leg = 1; leg <= kLegCount; ++leg)
        QVERIFY2(s.runners(leg) == store[leg - 1],
                 qPrintable(QString("runners stored for leg %1").arg(leg)));

    // A recalculation nested in this one describes the wager again and stores nothing twice.
    if (type) {
        const CalcState once = s;
        QCOMPARE(describeTicket(*type, in, s, kUS), *text);
        QVERIFY2(s == once, "the nested description changed the record");
    }
    // In help mode nothing is read or written.
    s.intHelpMode = 1;
    const CalcState before = s;
    QVERIFY2(!calculateTicket(in, s, kUS), "a ticket described in help mode");
    QVERIFY2(s == before, "the record changed in help mode");
}

void TestCore::exoticCounter() {
    const TicketInput box = input({}, {{1, 2, 3}, {1, 2, 3}});
    const std::pair<std::optional<QString>, double> texts[] = {
        {"EXACTA", 6}, {"Exacta ", 0}, {"Double", 0}, {"", 0}, {QString(), 0}, {std::nullopt, 0}};
    for (const auto &[text, count] : texts)
        QCOMPARE(CountExoticCombos(text, box, CalcState{}), count);

    // The arrays are read up to each leg's count, kept within the array.
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
    // Only a hand-made list holds more runners than the arrays: storing stops at their end.
    TicketInput huge{"Superfecta", {}};
    for (int r = 1; r <= 150; ++r)
        huge.leg(1).append({QString::number(r), true});
    calculateTicket(huge, s, kUS);
    QCOMPARE(s.intIdexA, qint16(kMaxField));

    // Random positions with small ranges, so that runners repeat; with zeros, negatives, halves.
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

void TestCore::raceCount_data() {
    // wager|each leg's race as runners:scratched:chosen, "/" between legs, "*" for "All"|the
    // count as the window shows it, where a ticket's own figures say it
    QTest::addColumn<QStringList>("row");
    const QStringList rows = {
        "Pick 4|9::1,2/12:3:*/7::*/10::4|2 × 11 × 7 × 1 = 154 combinations",
        "Pick 4|12::1,2/12::*/12::*/12::4|2 × 12 × 12 × 1 = 288 combinations",
        "Double|6:2,6:*/14::*|4 × 14 = 56 combinations",
        "Pick 6|9::1/9::2/9::3/9::4/9:5:5/9::6|1 × 1 × 1 × 1 × 0 × 1 = 0 combinations",
        "Pick 3|2::*/99:1,99:*/5:1,2,3,4,5:*|",
        "Exacta|20::1,2,3/20::1,2,3|3 × 2 = 6 combinations",
        "Trifecta|8:3:1,2,3,4/8:3:1,2,3,4/8:3:1,2,3,4|3 × 2 × 1 = 6 combinations",
        "Trifecta|20::5/20::1,2,3,4/20::1,2,3,4|1 × 4 × 3 = 12 combinations",
        "Trifecta|20::1,2/20::1,2,3/20::1,2,3,4|2 × 2 × 2 = 8 combinations",
        "Trifecta|20::1,2/20::2,3/20::1,3|2 × 2 × 2 = 8; 6 use a horse twice: 2 combinations",
        "Trifecta|9::1/9::2,3/9::2,3,4,5|1 × 2 × 3 = 6 combinations",
        "Exacta|9::1/9::1|1 × 0 = 0 combinations",
        "Exacta|5:1,2,3,4,5:*/5::*|0 × 5 = 0 combinations",
        "Superfecta|10:5:*/10:5:1,2,5/10:5:3,4/10:5:*|",
        "Superfecta|6::1,2/6:2:1,2/6::3/6::4|1 × 1 × 1 × 1 = 1 combination",
        "Super High 5|12:3,7:*/12:3,7:*/12:3,7:*/12:3,7:*/12:3,7:*|10 × 9 × 8 × 7 × 6 = 30,240 "
        "combinations",
        "Super High 5|7::1,2/7:1:1,2,3/7::*/7:4:4,5/7::*|",
        "Select Wager Type|9::1/9::2|"};
    for (const QString &row : rows)
        QTest::newRow(qPrintable(row.section(u'|', 0, 1))) << row.split(u'|');
}

// The count of a ticket over races as they are run, against plain enumeration of the runners
// chosen who run; and its combinations are what the ticket's total charges for.
void TestCore::raceCount() {
    QFETCH(QStringList, row);
    TicketInput in{row[0], {}};
    std::vector<std::vector<double>> running;
    double choices = 1;
    const QStringList legs = row[1].split(u'/');
    for (int leg = 1; leg <= int(legs.size()); ++leg) {
        const QStringList race = legs[leg - 1].split(u':');
        Race r{race[0].toInt(), {}, {}};
        for (const QString &n : race[1].split(u',', Qt::SkipEmptyParts))
            r.scratched << n.toInt();
        QSet<int> chosen;
        for (int n = 1; n <= r.runners; ++n)
            if (race[2] == u"*" || race[2].split(u',').contains(QString::number(n)))
                chosen << n;
        in.leg(leg) = raceList(r, chosen);
        QCOMPARE(in.leg(leg).size(), qsizetype(r.runners) + 1);
        running.emplace_back();
        for (const ListItem &item : in.leg(leg))
            if (item.selected) {
                QVERIFY2(r.runs(item.text.toInt()), "a runner who does not run is selected");
                running.back().push_back(item.text.toDouble());
            }
        choices *= double(running.back().size());
    }
    const std::optional<TicketCount> count = countTicket(in);
    const WagerType *wager = findWagerType(row[0]);
    QCOMPARE(count.has_value(), wager != nullptr);
    if (!wager)
        return;
    const double expected = wager->isExotic() ? oracle::bruteForceCount(running) : choices;
    QCOMPARE(count->combinations, expected);
    // The maths shown: each leg's runners, or where legs nest each position's runners left.
    QCOMPARE(count->factors.size(), qsizetype(wager->legs));
    QVERIFY2(count->product() == choices || count->product() == expected,
             qPrintable(describeCount(*count, kUS)));
    if (!row[2].isEmpty())
        QCOMPARE(describeCount(*count, kUS), row[2]);
    CalcState s;
    s.dblBaseAmt = 0.5;
    QVERIFY(calculateTicket(in, s, kUS)->endsWith(formatCurrency(expected * 0.5, kUS)));
}

void TestCore::countText() {
    const std::tuple<TicketCount, const char *, const char *> rows[] = {
        {{1, {1, 1}}, "en_US", "1 × 1 = 1 combination"},
        {{1860480, {20, 20, 20, 20, 20}},
         "de_DE",
         "20 × 20 × 20 × 20 × 20 = 3.200.000; 1.339.520 use a horse twice: 1.860.480 combinations"},
        {{12, {3, 4}}, "ar_EG", "٣ × ٤ = ١٢ combinations"},
    };
    for (const auto &[count, locale, text] : rows)
        QCOMPARE(describeCount(count, QLocale(locale)), text);
}

namespace {

// Races of 12 runners, where a text gives none.
PlayReading read(const QString &text, const QLocale &locale = kUS) {
    return readPlay(text, locale, [](const WagerType &wager) { return Card(wager.kind, 12); });
}

} // namespace

void TestCore::play_data() {
    // A play as text; what it comes to: bought, different, held twice, and the cost; and its first
    // ticket as the play writes it back.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("counted");
    QTest::addColumn<QString>("first");
    const QString fourLegs = "$0.50 Pick 4 3,4,5,8/1,2,4,5,8,9/7/6\n"
                             "$0.50 Pick 4 3,4,5,8/1,2,4,5,8,9/7/1,3\n"
                             "$0.50 Pick 4 1,2,3,4,5,8/1,2,4,5,8,9/8/1,3,6\n"
                             "$0.50 Pick 4 1,2,4/8,9/8/1,3,6";
    QTest::newRow("published Pick 4 set") << fourLegs << "198 180 18 $99.00"
                                          << "$0.50 Pick 4 3,4,5,8/1,2,4,5,8,9/7/6";
    QTest::newRow("A-B-C Pick 4") << "$2 Pick 4 1,2/3/2,6/8\n$0.50 Pick 4 1,2,5/3/2,6/8\n"
                                     "$0.50 Pick 4 1,2/3,4,7/2,6/8\n$0.50 Pick 4 1,2/3/1,2,6/8\n"
                                     "$0.50 Pick 4 1,2/3/2,6/3,8,9"
                                  << "40 24 4 $26.00"
                                  << "$2.00 Pick 4 1,2/3/2,6/8";
    const QString key = "$1 Trifecta 1/2,3/2,3,4,5\n$1 Trifecta 2,3/1/2,3,4,5";
    QTest::newRow("Trifecta key and backup") << key << "12 12 0 $12.00"
                                             << "$1.00 Trifecta 1/2,3/2,3,4,5";
    QTest::newRow("… with 3 scratched") << key + "\nRace: 12 runners, scratched 3"
                                        << "4 4 0 $4.00"
                                        << "$1.00 Trifecta 1/2,3/2,3,4,5";
    QTest::newRow("Trifecta keys overlapping")
        << "$1 Trifecta 1/2,3/2,3,4,5\n$1 Trifecta 1/2,3,4/2,3,4,5"
        << "15 9 6 $15.00"
        << "$1.00 Trifecta 1/2,3/2,3,4,5";
    QTest::newRow("a base typed past cents") << "$0.502 Exacta 1,2/1,2\n$0.5 Exacta 1/2"
                                             << "3 2 1 $1.50"
                                             << "$0.502 Exacta 1,2/1,2";
    QTest::newRow("a press: one ticket twice") << "$1 Exacta 1,2/1,2\n $2 Exacta 1,2/1,2 \n\n"
                                               << "4 2 2 $6.00"
                                               << "$1.00 Exacta 1,2/1,2";
    QTest::newRow("a leg scratched away, kept at 0")
        << "$1 Double 4/1,2\n$1 Double 5/1\nRace A: 8 runners, scratched 5\nRace B: 8 runners"
        << "2 2 0 $2.00"
        << "$1.00 Double 4/1,2";
    QTest::newRow("ALL over a scratch")
        << "$0.20 Pick 3 ALL/1/1\nRace A: 6 runners, scratched 2,4\nRace B: 6 runners\n"
           "Race C: 6 runners\n4 combinations bought, 4 different\nTotal Play Cost: $0.80"
        << "4 4 0 $0.80"
        << "$0.20 Pick 3 ALL/1/1";
    QTest::newRow("every runner but a scratch, picked")
        << "$0.20 Pick 3 1,3,5,6/1/1\n"
           "Race A: 6 runners, scratched 2,4\nRace B: 6 runners\nRace C: 6 runners"
        << "4 4 0 $0.80"
        << "$0.20 Pick 3 ALL/1/1";
    QTest::newRow("the field's last runner")
        << "$1 Double 99/1\n$1 Double 1,99/1\nRace A: 99 runners\nRace B: 99 runners"
        << "3 2 1 $3.00"
        << "$1.00 Double 99/1";
    QTest::newRow("a whole race in an Exacta") << "$1 Exacta 1,2,3,4/1\nRace: 4 runners"
                                               << "3 3 0 $3.00"
                                               << "$1.00 Exacta 1,2,3,4/1";
}

// A play as text: read, counted as the window shows it, against every combination looked for in
// every ticket, and written again as the same text reads.
void TestCore::play() {
    QFETCH(QString, text);
    QFETCH(QString, counted);
    QFETCH(QString, first);
    const PlayReading reading = read(text);
    QVERIFY2(reading.problem.isEmpty(), qPrintable(reading.problem));
    const Play &play = reading.play;
    const PlayCount count = play.count();
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(count.bought)
                 .arg(count.different)
                 .arg(count.heldTwice)
                 .arg(formatCurrency(count.cost, kUS)),
             counted);
    const Overlap brute = oracle::bruteForceOverlap(*play.wager, play.card, play.tickets);
    QCOMPARE(count.different, brute.different);
    QCOMPARE(count.heldTwice, brute.heldTwice);
    QCOMPARE(playText(play, kUS).section(QStringLiteral("\r\n"), 0, 0), first);
    for (const char *locale : {"en_US", "de_DE"}) {
        const QString written = playText(play, QLocale(locale));
        QVERIFY2(written.endsWith(QStringLiteral("%1 different\r\nTotal Play Cost: %2")
                                      .arg(QLocale(locale).toString(count.different, 'f', 0),
                                           formatCurrency(count.cost, QLocale(locale)))),
                 qPrintable(written));
        const PlayReading again = read(written, QLocale(locale));
        QVERIFY2(again.cardGiven && again.play.card == play.card, qPrintable(written));
        QVERIFY2(again.play.tickets == play.tickets, qPrintable(written));
    }
}

// Plays made at random over small races, some runners scratched, against every combination.
void TestCore::playAtRandom() {
    QRandomGenerator rng(20261209);
    const std::span<const WagerType> wagers = wagerTypes();
    for (int round = 0; round < 400; ++round) {
        const WagerType &wager = wagers[rng.bounded(qsizetype(wagers.size()))];
        Play play{&wager, Card(wager.kind, 2 + int(rng.bounded(wager.legs > 4 ? 4 : 6))), {}};
        for (int n = int(rng.bounded(3)); n > 0; --n)
            play.card.scratch(1 + int(rng.bounded(wager.legs)), 1 + int(rng.bounded(7)), true);
        for (int t = 1 + int(rng.bounded(round % 10 ? 6 : 20)); t > 0; --t) {
            // A base as the text writes it, to the cent.
            const QString cents = QString::number(1 + rng.bounded(2000));
            Ticket ticket{&wager, *toMoney('$' + cents + "e-2", kUS), {}};
            for (int leg = 1; leg <= wager.legs; ++leg)
                for (int runner = 1; runner <= play.card.race(leg).runners; ++runner)
                    if (rng.bounded(3) == 0 || runner == 1)
                        ticket.legs[std::size_t(leg - 1)] << runner;
            play.tickets << ticket;
        }
        const PlayCount count = play.count();
        const Overlap brute = oracle::bruteForceOverlap(wager, play.card, play.tickets);
        QVERIFY2(count.overlapCounted && count.different == brute.different &&
                     count.heldTwice == brute.heldTwice,
                 qPrintable(playText(play, kUS)));
        double bought = 0;
        for (const Ticket &ticket : std::as_const(play.tickets))
            bought += ticket.combinations(play.card);
        QCOMPARE(count.bought, bought);
        // The races of the legs it uses; the others are the reader's.
        const PlayReading again = read(playText(play, kUS));
        bool sameRaces = true;
        for (int leg = 1; leg <= wager.legs; ++leg)
            sameRaces = sameRaces && again.play.card.race(leg) == play.card.race(leg);
        QVERIFY2(again.play.tickets == play.tickets && sameRaces,
                 qPrintable(playText(play, kUS) + "\n" + again.problem));
    }
}

void TestCore::unreadable_data() {
    // Text that is no play, and what the reader says of it.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");
    const QString ticket = "a ticket reads like '$1.00 Exacta 1/2,3'";
    QStringList many;
    for (int n = 0; n < 10000; ++n)
        many << "$1 Exacta 1/2";
    const std::pair<QString, QString> rows[] = {
        {"", "No ticket in the text: " + ticket},
        {"$1 Pick 4 1,2//3/4", "Line 1: leg B has no runner"},
        {"$1 Pick 4 1/2/3", "Line 1: a Pick 4 has 4 legs, this ticket 3"},
        {"\n$1 Pick 4 1/2/3/14", "Line 2: leg D names runner 14; its race has 12 runners"},
        {"$1 Exacta 1/9\nRace: 8 runners", "Line 1: leg B names runner 9; its race has 8 runners"},
        {"$1 Exacta ALL/1", "Line 1: ALL stands for a whole race of a multi-race wager; an "
                            "Exacta's legs name their runners"},
        {"$1 Exacta 1/2x", "Line 1: leg B: '2x' is no runner's number"},
        {"2,50 € Exacta 1/2", "Line 1: '2,50 €' is no base amount"},
        {"$0 Exacta 1/2", "Line 1: '$0' is no base amount"},
        {"$1 Exacta 1/2\n$1 Trifecta 1/2/3",
         "Line 2: a play holds one wager type: this is a Trifecta, line 1 an Exacta"},
        {"$1 Exacta 1/2\nRace A: 8 runners",
         "Line 2: an Exacta's legs are one race, written 'Race: 8 runners'"},
        {"$1 Double 1/2\nRace A: 8 runners", "The races given have none for leg B"},
        {"$1 Double 1/2\nRace A: 8 runners, scratched 9\nRace B: 8 runners",
         "Line 2: runner 9 is scratched from a race of 8"},
        {QString::fromLatin1("\x01\x02\xff\x00", 4),
         "Line 1: '??\u00ff?' is no ticket, race or total of a play; " + ticket},
        {many.mid(0, 65).join('\n'), "Line 65: a play holds at most 64 tickets"},
        {many.join('\n'), "The text is too long to be a play: 139,999 characters"},
    };
    for (const auto &[text, problem] : rows)
        QTest::newRow(qPrintable(problem.left(50))) << text << problem;
}

// Text that is no play says which line and why, and gives no play.
void TestCore::unreadable() {
    QFETCH(QString, text);
    QFETCH(QString, problem);
    const PlayReading reading = read(text);
    QCOMPARE(reading.problem, problem);
    QVERIFY2(reading.play.tickets.isEmpty() && !reading.play.wager, "a play read from bad text");
}

void TestCore::rules_data() {
    // Tickets as text; a change to the common minimums ("Exacta 1.00 2.00": its least base and
    // ticket); a budget, or none; and what follows: the first ticket's shortfall, or the bases
    // the budget buys and their cost, or the least budget that would do.
    QTest::addColumn<QString>("tickets");
    QTest::addColumn<QString>("minimums");
    QTest::addColumn<double>("budget");
    QTest::addColumn<QString>("follows");
    const QString abc = "$2 Pick 4 1,2/3/2,6/8\n$0.50 Pick 4 1,2,5/3/2,6/8\n"
                        "$0.50 Pick 4 1,2/3,4,7/2,6/8\n$0.50 Pick 4 1,2/3/1,2,6/8\n"
                        "$0.50 Pick 4 1,2/3/2,6/3,8,9";
    const std::tuple<const char *, QString, const char *, double, const char *> rows[] = {
        {"a $1 Exacta at its minimum", "$1 Exacta 1/2", "", 0, ""},
        {"a $0.10 Pick 4", "$0.10 Pick 4 1/2/3/4", "", 0,
         "Under the $0.50 minimum for a Pick 4: this base is $0.10"},
        {"a $1 Exacta under a $2 ticket", "$1 Exacta 1/2", "Exacta 1.00 2.00", 0,
         "Under the $2.00 minimum ticket for an Exacta: this ticket costs $1.00"},
        {"a $1 Exacta box at a $2 ticket", "$1 Exacta 1,2/1,2", "Exacta 1.00 2.00", 0, ""},
        {"a base beyond counting in cents", "$1e290 Pick 3 1/2/3", "", 0, ""},
        {"six combinations for $10", "$2 Trifecta 1,2,3/1,2,3/1,2,3", "", 10, "$1.60 costs $9.60"},
        {"a Double of 100 for $10", "$2 Double ALL/ALL\nRace A: 10 runners\nRace B: 10 runners", "",
         10, "needs $100.00"},
        {"the A-B-C set for $30", abc, "", 30, "$2.00 $0.50 $0.50 $0.50 $0.50 costs $26.00"},
        {"the A-B-C set for $20", abc, "", 20, "needs $26.00"},
        {"a budget not even of the step", "$2 Superfecta 1/2/3/4", "", 0.25, "$0.20 costs $0.20"},
        {"the least Exacta under its minimum", "$2 Exacta 1/2", "", 0.25, "needs $1.00"},
    };
    for (const auto &[what, tickets, minimums, budget, follows] : rows)
        QTest::newRow(what) << tickets << QString(minimums) << budget << QString(follows);
}

// A play within the track's minimums and a budget.
void TestCore::rules() {
    QFETCH(QString, tickets);
    QFETCH(QString, minimums);
    QFETCH(double, budget);
    QFETCH(QString, follows);
    const Play play = read(tickets).play;
    QVERIFY(play.wager);
    MinimumTable table = commonMinimums();
    if (!minimums.isEmpty()) {
        const QStringList change = minimums.split(' ');
        table[std::size_t(findWagerType(change[0]) - wagerTypes().data())] = {change[1].toDouble(),
                                                                              change[2].toDouble()};
    }
    const Minimums &least = minimumsFor(table, *play.wager);
    std::vector<double> combinations;
    for (const Ticket &ticket : play.tickets)
        combinations.push_back(ticket.combinations(play.card));
    if (budget == 0) {
        QCOMPARE(shortfall(play.tickets.first(), combinations.front(), least, kUS), follows);
        return;
    }
    const Fit fit = fitBudget(play.tickets, combinations, least, budget);
    QStringList bases;
    for (double base : fit.bases)
        bases << formatCurrency(base, kUS);
    QCOMPARE(fit.bases.isEmpty() ? "needs " + formatCurrency(fit.cost, kUS)
                                 : bases.join(' ') + " costs " + formatCurrency(fit.cost, kUS),
             follows);
    // What it buys, bought: within the budget and the minimums, and no step more would be.
    for (qsizetype i = 0; i < fit.bases.size(); ++i) {
        Ticket bought = play.tickets[i];
        bought.base.amount = fit.bases[i];
        QCOMPARE(shortfall(bought, combinations[std::size_t(i)], least, kUS), QString());
    }
}

// A-B-C tickets from graded runners: the all-A ticket and a backup for each leg with B horses,
// each at its own base; and nothing where a leg has no A horse.
void TestCore::abc() {
    const WagerType &pick4 = *findWagerType("Pick 4");
    Card card(WagerKind::MultiRace, 12);
    const QStringList a = {"1,2", "3", "2,6", "8"}, b = {"5", "4,7", "1", "3,9"};
    for (int leg = 1; leg <= 4; ++leg)
        for (const auto &[grades, grade] : {std::pair(a, 'A'), std::pair(b, 'B')})
            for (const QString &runner : grades[leg - 1].split(','))
                card.grade(leg, runner.toInt(), grade);
    card.scratch(2, 7, true); // a graded runner scratched takes no part
    card.scratch(2, 7, false);
    const auto made = abcTickets(pick4, card, {2, false}, {0.5, false}, false);
    QVERIFY(std::holds_alternative<QList<Ticket>>(made));
    const Play play{&pick4, card, std::get<QList<Ticket>>(made)};
    QCOMPARE(
        playText(play, kUS).section("\r\nRace", 0, 0),
        "$2.00 Pick 4 1,2/3/2,6/8\r\n$0.50 Pick 4 1,2,5/3/2,6/8\r\n$0.50 Pick 4 1,2/3,4,7/2,6/8"
        "\r\n$0.50 Pick 4 1,2/3/1,2,6/8\r\n$0.50 Pick 4 1,2/3/2,6/3,8,9");
    const PlayCount count = play.count();
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(count.bought).arg(count.different).arg(count.cost),
             "40 24 26");
    QCOMPARE(count.different, oracle::bruteForceOverlap(pick4, card, play.tickets).different);
    // The grades go with the card into the play's text, and come back.
    QCOMPARE(read(playText(play, kUS)).play.card, card);
    // With C horses too; and a leg without an A horse makes nothing, and says so.
    card.grade(3, 11, 'C');
    QCOMPARE(
        std::get<QList<Ticket>>(abcTickets(pick4, card, {2, false}, {0.5, false}, true)).size(), 6);
    card.grade(4, 8, 0);
    QCOMPARE(std::get<QString>(abcTickets(pick4, card, {2, false}, {0.5, false}, true)),
             "Leg D has no A horse: grade one there first");
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
