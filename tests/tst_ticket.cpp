// SPDX-License-Identifier: MIT
#include "numbers.h"
#include "ticket.h"

#include <QTest>

using namespace ztc;

namespace {

const QLocale kUS(QLocale::English, QLocale::UnitedStates);

RunnerList listWith(QList<int> selected, int field = 20) {
    RunnerList list;
    for (const QString &text : runnerListItems(field))
        list.append({text, false});
    for (int runner : selected)
        list[runner == 0 ? field : runner - 1].selected = true; // 0 stands for "All"
    return list;
}

TicketInput input(const QString &wager, QList<QList<int>> legs, int field = 20) {
    TicketInput in{wager, {}};
    for (int leg = 1; leg <= kLegCount; ++leg)
        in.leg(leg) = listWith(leg <= legs.size() ? legs[leg - 1] : QList<int>{}, field);
    return in;
}

CalcState withBase(double base) {
    CalcState s;
    s.dblBaseAmt = base;
    return s;
}

QString lastLine(const QString &text) {
    return text.split("\r\n").last();
}

} // namespace

class TestTicket : public QObject {
    Q_OBJECT
  private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void workedExample();
    void totals_data();
    void totals();
    void legLines_data();
    void legLines();
    void unrecognisedWagerWritesNothingButResets_data();
    void unrecognisedWagerWritesNothingButResets();
    void helpModeTouchesNothing();
    void superfectaFillsArrays();
    void superHigh5FillsFiveLegsAndOthersStayEmpty();
    void multiRaceAndShortExoticsLeaveArraysEmpty_data();
    void multiRaceAndShortExoticsLeaveArraysEmpty();
    void describingTwiceStoresRunnersOnce();
    void fullLargestFieldIsStoredExactly();
    void storingStopsAtTheArrayEnd();
    void germanLocale();
    void emptyAndAllOnlyLists();
};

void TestTicket::workedExample() {
    CalcState s = withBase(2.0);
    const auto text = calculateTicket(input("Pick 3", {{4, 1}, {7}, {5, 2, 3}}), s, kUS);
    QVERIFY(text);
    QCOMPARE(*text, "$2.00 Pick 3\r\nLegA: 1,4\r\nLegB: 7\r\nLegC: 2,3,5\r\n\r\n"
                    "Total Ticket Cost: $12.00");
}

void TestTicket::totals_data() {
    QTest::addColumn<QString>("wager");
    QTest::addColumn<double>("base");
    QTest::addColumn<QList<QList<int>>>("legs");
    QTest::addColumn<QString>("total");
    using L = QList<QList<int>>;
    QTest::newRow("double is a product") << "Double" << 2.0 << L{{1, 2}, {3, 4, 5}} << "$12.00";
    QTest::newRow("double with an empty leg is zero")
        << "Double" << 2.0 << L{{3, 5}, {}} << "$0.00";
    QTest::newRow("pick 4 product") << "Pick 4" << 1.0 << L{{1}, {1, 2}, {1, 2, 3}, {4}} << "$6.00";
    QTest::newRow("pick 5 product") << "Pick 5" << 0.5 << L{{1}, {2}, {3}, {4}, {5, 6}} << "$1.00";
    QTest::newRow("pick runners may repeat across legs")
        << "Pick 3" << 1.0 << L{{1}, {1}, {1}} << "$1.00";
    QTest::newRow("exacta box") << "Exacta" << 1.0 << L{{1, 2, 3}, {1, 2, 3}} << "$6.00";
    QTest::newRow("exacta key") << "Exacta" << 2.0 << L{{1}, {2, 3, 4}} << "$6.00";
    QTest::newRow("trifecta box") << "Trifecta" << 1.0 << L{{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}
                                  << "$6.00";
    QTest::newRow("trifecta key") << "Trifecta" << 1.0 << L{{1}, {2, 3, 4}, {2, 3, 4}} << "$6.00";
    QTest::newRow("trifecta part wheel")
        << "Trifecta" << 1.0 << L{{1, 2}, {1, 2, 3}, {4, 5}} << "$8.00";
    QTest::newRow("superfecta box of four")
        << "Superfecta" << 0.1 << L{{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}
        << "$2.40";
    QTest::newRow("superfecta key")
        << "Superfecta" << 1.0 << L{{7}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}} << "$6.00";
    QTest::newRow("superfecta part wheel")
        << "Superfecta" << 1.0 << L{{1, 2}, {1, 2}, {3}, {4}} << "$2.00";
    QTest::newRow("super high 5 box of five")
        << "Super High 5" << 1.0
        << L{{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}}
        << "$120.00";
    QTest::newRow("super high 5 key")
        << "Super High 5" << 1.0 << L{{9}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}
        << "$24.00";
    QTest::newRow("super high 5 four distinct runners")
        << "Super High 5" << 1.0 << L{{1, 2}, {1, 2}, {3}, {4}, {1, 2, 3, 4}} << "$0.00";
    QTest::newRow("All with runners counts only runners")
        << "Pick 3" << 1.0 << L{{1, 2, 0}, {3, 0}, {4}} << "$2.00";
    QTest::newRow("All with runners in an exacta")
        << "Exacta" << 1.0 << L{{1, 0}, {2, 0}} << "$1.00";
    QTest::newRow("legs beyond the wager are ignored")
        << "Double" << 1.0 << L{{1}, {2}, {1, 2, 3}, {4}} << "$1.00";
    QTest::newRow("ten cents times three") << "Exacta" << 0.1 << L{{1}, {2, 3, 4}} << "$0.30";
    QTest::newRow("base amount zero") << "Double" << 0.0 << L{{1}, {2}} << "$0.00";
    QTest::newRow("capitals are recognised") << "PICK 3" << 2.0 << L{{1}, {2}, {3}} << "$2.00";
    QTest::newRow("a negative typed amount is carried through")
        << "Double" << -2.0 << L{{1}, {2}} << "($2.00)";
}

void TestTicket::totals() {
    QFETCH(QString, wager);
    QFETCH(double, base);
    QFETCH(QList<QList<int>>, legs);
    QFETCH(QString, total);
    CalcState s = withBase(base);
    const auto text = calculateTicket(input(wager, legs), s, kUS);
    QVERIFY(text);
    QCOMPARE(lastLine(*text), "Total Ticket Cost: " + total);
    QVERIFY(text->startsWith(formatCurrency(base, kUS) + u' ' + wager + "\r\n"));
}

void TestTicket::legLines_data() {
    QTest::addColumn<QString>("wager");
    QTest::addColumn<QList<QList<int>>>("legs");
    QTest::addColumn<QStringList>("lines");
    using L = QList<QList<int>>;
    QTest::newRow("runners in list order, All left out")
        << "Double" << L{{9, 0, 3}, {}} << QStringList{"LegA: 3,9", "LegB: "};
    QTest::newRow("a selection in a leg beyond the wager appears nowhere")
        << "Exacta" << L{{1}, {2}, {3}} << QStringList{"LegA: 1", "LegB: 2"};
    QTest::newRow("six legs of a pick 6")
        << "Pick 6" << L{{1}, {2}, {3}, {4}, {5}, {6}}
        << QStringList{"LegA: 1", "LegB: 2", "LegC: 3", "LegD: 4", "LegE: 5", "LegF: 6"};
}

void TestTicket::legLines() {
    QFETCH(QString, wager);
    QFETCH(QList<QList<int>>, legs);
    QFETCH(QStringList, lines);
    CalcState s = withBase(1);
    const QStringList got = calculateTicket(input(wager, legs), s, kUS)->split("\r\n");
    QCOMPARE(got.size(), lines.size() + 3);
    QCOMPARE(got.mid(1, lines.size()), lines);
    QCOMPARE(got.at(lines.size() + 1), QString());
}

void TestTicket::unrecognisedWagerWritesNothingButResets_data() {
    QTest::addColumn<QString>("wager");
    QTest::newRow("placeholder") << "Select Wager Type";
    QTest::newRow("empty") << "";
    QTest::newRow("leading blank") << " Pick 3";
    QTest::newRow("trailing blank") << "Trifecta ";
}

void TestTicket::unrecognisedWagerWritesNothingButResets() {
    QFETCH(QString, wager);
    CalcState s = withBase(2);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        s.runners(leg).fill(5);
        s.idex(leg) = 4;
    }
    QVERIFY(!calculateTicket(input(wager, {{1}, {2}, {3}}), s, kUS));
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QCOMPARE(s.idex(leg), qint16(0));
        QCOMPARE(s.runners(leg)[0], 5.0); // position 0 is never touched
        QCOMPARE(s.runners(leg)[1], 0.0);
        QCOMPARE(s.runners(leg)[kMaxField], 0.0);
    }
}

void TestTicket::helpModeTouchesNothing() {
    CalcState s = withBase(2);
    s.intHelpMode = 1;
    s.runners(3).fill(5);
    s.intIdexC = 4;
    const CalcState before = s;
    QVERIFY(!calculateTicket(input("Pick 3", {{1}, {2}, {3}}), s, kUS));
    QVERIFY(s == before);
}

void TestTicket::superfectaFillsArrays() {
    CalcState s = withBase(1);
    s.dblRunnersE.fill(3);
    s.intIdexE = 2;
    calculateTicket(input("Superfecta", {{9, 2, 7}, {1}, {4, 0}, {}}), s, kUS);
    QCOMPARE(s.intIdexA, qint16(3));
    QCOMPARE(s.dblRunnersA[1], 2.0);
    QCOMPARE(s.dblRunnersA[2], 7.0);
    QCOMPARE(s.dblRunnersA[3], 9.0);
    for (std::size_t i = 4; i <= kMaxField; ++i)
        QCOMPARE(s.dblRunnersA[i], 0.0);
    QCOMPARE(s.intIdexB, qint16(1));
    QCOMPARE(s.intIdexC, qint16(1)); // "All" is not stored
    QCOMPARE(s.dblRunnersC[1], 4.0);
    QCOMPARE(s.intIdexD, qint16(0));
    QCOMPARE(s.intIdexE, qint16(0));
    QCOMPARE(s.dblRunnersE[1], 0.0);
    QCOMPARE(s.intIdexF, qint16(0));
}

void TestTicket::superHigh5FillsFiveLegsAndOthersStayEmpty() {
    CalcState s = withBase(1);
    calculateTicket(input("super high 5", {{1}, {2}, {3}, {4}, {5, 6}, {7}}), s, kUS);
    QCOMPARE(s.intIdexE, qint16(2));
    QCOMPARE(s.dblRunnersE[2], 6.0);
    QCOMPARE(s.intIdexF, qint16(0));
    QCOMPARE(s.dblRunnersF[1], 0.0);
}

void TestTicket::multiRaceAndShortExoticsLeaveArraysEmpty_data() {
    QTest::addColumn<QString>("wager");
    for (const char *w : {"Double", "Pick 3", "Pick 4", "Pick 5", "Pick 6", "Exacta", "Trifecta"})
        QTest::newRow(w) << w;
}

void TestTicket::multiRaceAndShortExoticsLeaveArraysEmpty() {
    QFETCH(QString, wager);
    CalcState s = withBase(1);
    s.intIdexA = 3;
    s.dblRunnersA[1] = 8;
    QVERIFY(calculateTicket(input(wager, {{1, 2}, {3}, {4}, {5}, {6}, {7}}), s, kUS));
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QCOMPARE(s.idex(leg), qint16(0));
        QCOMPARE(s.runners(leg)[1], 0.0);
    }
}

void TestTicket::describingTwiceStoresRunnersOnce() {
    // A recalculation nested in another one describes the same wager again.
    const TicketInput in = input("Superfecta", {{1, 2}, {1, 2, 3}, {3, 4}, {4, 5}});
    CalcState s = withBase(1);
    const QString once = describeTicket(*findWagerType("Superfecta"), in, s, kUS);
    const CalcState after = s;
    QCOMPARE(describeTicket(*findWagerType("Superfecta"), in, s, kUS), once);
    QVERIFY(s == after);
    QCOMPARE(s.intIdexB, qint16(3));
}

void TestTicket::fullLargestFieldIsStoredExactly() {
    CalcState s = withBase(1);
    QList<int> all;
    for (int r = 1; r <= kMaxField; ++r)
        all << r;
    const auto text =
        calculateTicket(input("Super High 5", {all, all, all, all, all}, kMaxField), s, kUS);
    QCOMPARE(s.intIdexE, qint16(kMaxField));
    QCOMPARE(s.dblRunnersE[kMaxField], double(kMaxField));
    QCOMPARE(lastLine(*text), "Total Ticket Cost: $8,582,777,280.00");

    CalcState p6 = withBase(500);
    QList<int> twenty;
    for (int r = 1; r <= 20; ++r)
        twenty << r;
    const auto big =
        calculateTicket(input("Pick 6", {twenty, twenty, twenty, twenty, twenty, twenty}), p6, kUS);
    QCOMPARE(lastLine(*big), "Total Ticket Cost: $32,000,000,000.00");
}

void TestTicket::storingStopsAtTheArrayEnd() {
    // Only a hand-made list can hold more runners than the largest field.
    RunnerList huge;
    for (int r = 1; r <= 150; ++r)
        huge.append({QString::number(r), true});
    huge.append({"All", false});
    TicketInput in{"Superfecta", {huge, huge, huge, huge}};
    CalcState s = withBase(1);
    QVERIFY(calculateTicket(in, s, kUS));
    QCOMPARE(s.intIdexA, qint16(kMaxField));
    QCOMPARE(s.dblRunnersA[kMaxField], double(kMaxField));
}

void TestTicket::germanLocale() {
    CalcState s = withBase(500);
    QList<int> twenty;
    for (int r = 1; r <= 20; ++r)
        twenty << r;
    const auto text = calculateTicket(
        input("Pick 6", {twenty, twenty, twenty, twenty, twenty, twenty}), s, QLocale("de_DE"));
    QVERIFY(text->startsWith(QStringLiteral("500,00\u00a0€ Pick 6\r\n")));
    QCOMPARE(lastLine(*text), QStringLiteral("Total Ticket Cost: 32.000.000.000,00\u00a0€"));
}

void TestTicket::emptyAndAllOnlyLists() {
    CalcState s = withBase(2);
    TicketInput in{"Exacta", {RunnerList{}, RunnerList{{"All", true}}}};
    QCOMPARE(*calculateTicket(in, s, kUS),
             "$2.00 Exacta\r\nLegA: \r\nLegB: \r\n\r\nTotal Ticket Cost: $0.00");
}

QTEST_GUILESS_MAIN(TestTicket)
#include "tst_ticket.moc"
