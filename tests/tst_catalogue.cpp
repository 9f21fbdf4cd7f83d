// SPDX-License-Identifier: MIT
#include "catalogue.h"
#include "state.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace ztc;

class TestCatalogue : public QObject {
    Q_OBJECT
  private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void lookup_data();
    void lookup();
    void everyWagerTypeHasItsKindAndLegs_data();
    void everyWagerTypeHasItsKindAndLegs();
    void calcOrderTestsDoubleThenExoticsThenPicks();
    void boxItems();
    void runnerList_data();
    void runnerList();
    void legAccessReachesTheNamedFields();
    void clearingALegLeavesOthersAndPositionZero();
};

void TestCatalogue::lookup_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("legs");
    QTest::newRow("display text names the wager") << "Double" << 2;
    QTest::newRow("all capitals name it too") << "DOUBLE" << 2;
    QTest::newRow("all lower case names it too") << "double" << 2;
    QTest::newRow("a leading blank names none") << " Double" << 0;
    QTest::newRow("a trailing blank names none") << "Double " << 0;
    QTest::newRow("a letter added names none") << "Doubles" << 0;
    QTest::newRow("a prefix names none") << "Doub" << 0;
    QTest::newRow("placeholder names none") << "Select Wager Type" << 0;
    QTest::newRow("empty text names none") << "" << 0;
    QTest::newRow("mixed case exotic") << "sUpEr HiGh 5" << 5;
    QTest::newRow("dotted capital I lower-cases away from the key") << "P\u0130CK 3" << 0;
}

void TestCatalogue::lookup() {
    QFETCH(QString, text);
    QFETCH(int, legs);
    QCOMPARE(legsFor(text), legs);
    QCOMPARE(findWagerType(text) != nullptr, legs > 0);
}

void TestCatalogue::everyWagerTypeHasItsKindAndLegs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("legs");
    QTest::addColumn<bool>("exotic");
    QTest::newRow("Double") << "Double" << 2 << false;
    QTest::newRow("Pick 3") << "Pick 3" << 3 << false;
    QTest::newRow("Pick 4") << "Pick 4" << 4 << false;
    QTest::newRow("Pick 5") << "Pick 5" << 5 << false;
    QTest::newRow("Pick 6") << "Pick 6" << 6 << false;
    QTest::newRow("Exacta") << "Exacta" << 2 << true;
    QTest::newRow("Trifecta") << "Trifecta" << 3 << true;
    QTest::newRow("Superfecta") << "Superfecta" << 4 << true;
    QTest::newRow("Super High 5") << "Super High 5" << 5 << true;
}

void TestCatalogue::everyWagerTypeHasItsKindAndLegs() {
    QFETCH(QString, text);
    QFETCH(int, legs);
    QFETCH(bool, exotic);
    const WagerType *w = findWagerType(text);
    QVERIFY(w);
    QCOMPARE(w->legs, legs);
    QCOMPARE(w->isExotic(), exotic);
    QCOMPARE(QString::fromLatin1(w->key), text.toLower());
    QVERIFY(wagerTypeItems().contains(text));
}

void TestCatalogue::calcOrderTestsDoubleThenExoticsThenPicks() {
    QStringList order;
    for (const WagerType *w : calcOrder())
        order << QString::fromLatin1(w->key);
    QCOMPARE(order, QStringList({"double", "exacta", "trifecta", "superfecta", "super high 5",
                                 "pick 3", "pick 4", "pick 5", "pick 6"}));
}

void TestCatalogue::boxItems() {
    const QStringList sizes = fieldSizeItems();
    QCOMPARE(sizes.size(), 20);
    QCOMPARE(sizes.first(), "Select Field Size");
    QCOMPARE(sizes.at(1), "2");
    QCOMPARE(sizes.last(), "20");

    QCOMPARE(wagerTypeItems(),
             QStringList({"Select Wager Type", "Double", "Pick 3", "Pick 4", "Pick 5", "Pick 6",
                          "Exacta", "Trifecta", "Superfecta", "Super High 5"}));

    const QStringList amounts = baseAmountItems();
    QCOMPARE(amounts.size(), 42);
    QCOMPARE(amounts.first(), "Select Base Amt");
    QCOMPARE(amounts.at(1), "$0.10");
    QCOMPARE(amounts.at(5), "$2.00");
    QCOMPARE(amounts.at(19), "$20.00");
    QCOMPARE(amounts.at(31), "$100.00");
    QCOMPARE(amounts.last(), "$500.00");

    QCOMPARE(kFieldSizeStart, "20");
    QCOMPARE(kWagerTypeStart, "Select Wager Type");
    QCOMPARE(kBaseAmountStart, "$2.00");
}

void TestCatalogue::runnerList_data() {
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("runners");
    QTest::newRow("two runners") << 2.0 << 2;
    QTest::newRow("largest offered field") << 20.0 << 20;
    QTest::newRow("fractional size rounds down") << 5.5 << 5;
    QTest::newRow("below one leaves All alone") << 0.5 << 0;
    QTest::newRow("zero leaves All alone") << 0.0 << 0;
    QTest::newRow("negative leaves All alone") << -3.0 << 0;
    QTest::newRow("largest field we fill") << 99.0 << 99;
    QTest::newRow("beyond it stops at 99") << 150.0 << 99;
    QTest::newRow("just below 100") << 99.9 << 99;
    QTest::newRow("infinity stops at 99") << std::numeric_limits<double>::infinity() << 99;
    QTest::newRow("NaN leaves All alone") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestCatalogue::runnerList() {
    QFETCH(double, size);
    QFETCH(int, runners);
    const QStringList items = runnerListItems(size);
    QCOMPARE(items.size(), runners + 1);
    QCOMPARE(items.last(), "All");
    for (int i = 0; i < runners; ++i)
        QCOMPARE(items.at(i), QString::number(i + 1));
}

void TestCatalogue::legAccessReachesTheNamedFields() {
    CalcState s;
    for (int leg = 1; leg <= kLegCount; ++leg) {
        s.idex(leg) = qint16(leg * 10);
        s.runners(leg)[1] = leg;
    }
    QCOMPARE(s.intIdexA, qint16(10));
    QCOMPARE(s.intIdexC, qint16(30));
    QCOMPARE(s.intIdexF, qint16(60));
    QCOMPARE(s.dblRunnersB[1], 2.0);
    QCOMPARE(s.dblRunnersE[1], 5.0);
    QCOMPARE(s.runners(4).size(), std::size_t(kMaxField + 1));
}

void TestCatalogue::clearingALegLeavesOthersAndPositionZero() {
    CalcState s;
    for (int leg = 1; leg <= kLegCount; ++leg) {
        s.runners(leg).fill(7);
        s.idex(leg) = 3;
    }
    s.clearLeg(2);
    QCOMPARE(s.intIdexB, qint16(0));
    QCOMPARE(s.dblRunnersB[0], 7.0);
    QCOMPARE(s.dblRunnersB[1], 0.0);
    QCOMPARE(s.dblRunnersB[kMaxField], 0.0);
    QCOMPARE(s.intIdexA, qint16(3));
    QCOMPARE(s.dblRunnersC[kMaxField], 7.0);

    s.clearAllLegs();
    for (int leg = 1; leg <= kLegCount; ++leg) {
        QCOMPARE(s.idex(leg), qint16(0));
        QCOMPARE(s.runners(leg)[0], 7.0);
        QCOMPARE(s.runners(leg)[50], 0.0);
    }
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
