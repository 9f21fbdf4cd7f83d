// SPDX-License-Identifier: MIT
// Unusable and hostile texts typed or pasted into every box: no crash, no hang, and the last
// good state kept.
#include "numbers.h"
#include "windowtest.h"

#include <QApplication>

using namespace ztc;

class TestHostile : public WindowTest {
    Q_OBJECT

    // Short texts are typed key by key; long ones pasted, as nobody types them.
    static void enter(ComboBox *combo, const QString &text) {
        if (text.size() > 1000)
            driver::pasteOver(combo->lineEdit(), text);
        else
            driver::retype(combo, text);
    }

  private slots:
    void fieldSize_data();
    void fieldSize();
    void baseAmount_data();
    void baseAmount();
    void wagerType_data();
    void wagerType();
    void wagerNameWithNul();
    void megabyteTicketTextSurvivesHelp();
};

void TestHostile::fieldSize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("runners"); // after the last key; -1: lists untouched
    QTest::newRow("eight") << "8" << 8;
    QTest::newRow("digits then letters") << "12abc" << 12;
    QTest::newRow("letters") << "abc" << -1;
    QTest::newRow("largest double") << "1e308" << 99;
    QTest::newRow("beyond a double") << "1e400" << 99;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("one half") << "0.5" << 0;
    QTest::newRow("five and a half") << "5.5" << 5;
    QTest::newRow("hex minus one, after &HFFF filled 99") << "&HFFFF" << 99;
    QTest::newRow("hex 32767") << "&H7FFF" << 99;
    QTest::newRow("octal 511") << "&O777" << 99;
    QTest::newRow("four hundred nines") << QString(400, u'9') << 99;
    QTest::newRow("blanks between digits") << " 1 2" << 12;
    QTest::newRow("incomplete exponent") << "1e" << 1;
    QTest::newRow("nan") << "nan" << -1;
    QTest::newRow("inf") << "inf" << -1;
    QTest::newRow("Arabic-Indic digit") << "\u0663" << -1;
    QTest::newRow("emoji") << "\U0001F3C7" << -1;
    QTest::newRow("100,000 characters pasted") << QString(100000, u'8') << 99;
}

void TestHostile::fieldSize() {
    QFETCH(QString, text);
    QFETCH(int, runners);
    driver::pick(w->Combo2, "Double");
    driver::clickRunner(w->List1, "2");
    const QString ticket = w->Text1->text();
    calcs->clear();
    enter(w->Combo1, text);
    QVERIFY(text.startsWith(w->Combo1->text())); // a long paste is cut at the field's limit
    for (int leg = 1; leg <= kLegCount; ++leg) {
        if (runners < 0) {
            QCOMPARE(driver::items(w->list(leg)), runnerListItems(20));
            QCOMPARE(driver::selectedRows(w->list(leg)), leg == 1 ? QList<int>{1} : QList<int>{});
        } else {
            QCOMPARE(driver::items(w->list(leg)), runnerListItems(runners));
        }
    }
    QCOMPARE(w->Text1->text(), ticket);
    QCOMPARE(calcs->count(), 0);
    // The lists still work: a full leg is counted.
    driver::click(w->Command8);
    driver::clickRunner(w->List2, "All");
    QVERIFY(w->Text1->text().startsWith("$2.00 Double\r\nLegA: "));
}

void TestHostile::baseAmount_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("amount"); // the last good amount read while typing
    QTest::newRow("symbol alone") << "en_US"
                                  << "$" << 5.0;
    QTest::newRow("emptied") << "en_US"
                             << "" << 5.0;
    QTest::newRow("symbol and sign") << "en_US"
                                     << "$-" << 5.0;
    QTest::newRow("leading minus") << "en_US"
                                   << "-$5.00" << -5.0;
    QTest::newRow("parentheses") << "en_US"
                                 << "($5.00)" << -5.0;
    QTest::newRow("misplaced separators, $1 read on the way") << "en_US"
                                                              << "$1,2,3" << 1.0;
    QTest::newRow("beyond a double, 1e40 read on the way") << "en_US"
                                                           << "1e400" << 1e40;
    QTest::newRow("trailing blank") << "en_US"
                                    << "$0.10 " << 0.1;
    QTest::newRow("euro amount in the US, 2 read on the way") << "en_US"
                                                              << "2,50 €" << 2.0;
    QTest::newRow("euro amount in Germany") << "de_DE"
                                            << "2,50 €" << 2.5;
    QTest::newRow("dollar item in Germany") << "de_DE"
                                            << "$7.50" << 7.5;
    QTest::newRow("100,000 characters pasted") << "en_US"
                                               << "$" + QString(99999, u'1') << 5.0;
}

void TestHostile::baseAmount() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, amount);
    QLocale::setDefault(QLocale(locale));
    driver::pick(w->Combo2, "Exacta");
    driver::pick(w->Combo3, "$5.00");
    driver::clickRunner(w->List1, "1");
    driver::clickRunner(w->List2, "2");
    enter(w->Combo3, text);
    QCOMPARE(w->state().dblBaseAmt, amount);
    driver::click(w->Command8);
    const QLocale shown(locale);
    QCOMPARE(w->Text1->text(), shown.toCurrencyString(amount) +
                                   " Exacta\r\nLegA: 1\r\nLegB: 2\r\n\r\n"
                                   "Total Ticket Cost: " +
                                   shown.toCurrencyString(amount));
}

void TestHostile::wagerType_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("recognised");
    QTest::newRow("leading blank") << " Double" << false;
    QTest::newRow("capitals") << "DOUBLE" << true;
    QTest::newRow("trailing blank") << "Double " << false;
    QTest::newRow("dotted capital I") << "\u0130" << false;
    QTest::newRow("100,000 characters pasted") << QString(100000, u'x') << false;
}

void TestHostile::wagerType() {
    QFETCH(QString, text);
    QFETCH(bool, recognised);
    driver::pick(w->Combo2, "Pick 3");
    driver::clickRunner(w->List1, "3");
    const QString before = w->Text1->text();
    enter(w->Combo2, text);
    driver::click(w->Command8);
    if (recognised)
        QCOMPARE(w->Text1->text(), "$2.00 " + text +
                                       "\r\nLegA: 3\r\nLegB: \r\n\r\n"
                                       "Total Ticket Cost: $0.00");
    else
        QCOMPARE(w->Text1->text(), before);
    QCOMPARE(w->state().intIdexA, qint16(0));
}

void TestHostile::wagerNameWithNul() {
    // The NUL reaches the box or is dropped by it; either way the text the box holds decides.
    driver::pick(w->Combo2, "Pick 4");
    driver::pasteOver(w->Combo2->lineEdit(), QString::fromUtf16(u"Dou\0ble", 7));
    driver::click(w->Command8);
    QCOMPARE(w->Text1->text().startsWith("$2.00 Double\r\n"),
             w->Combo2->text() == QLatin1String("Double"));
    QVERIFY(w->Text1->text().startsWith("$2.00 Pick 4\r\n") ||
            w->Text1->text().startsWith("$2.00 Double\r\n"));
}

void TestHostile::megabyteTicketTextSurvivesHelp() {
    QString big;
    for (int line = 0; big.size() < 1'000'000; ++line)
        big += QStringLiteral("line %1 ").arg(line) + QString(90, QChar(u'a' + line % 26)) + '\n';
    driver::pasteOver(w->Text1, big);
    const QString pasted = w->Text1->text();
    QCOMPARE(pasted, QString(big).replace("\n", "\r\n"));
    driver::click(w->Command9);
    QCOMPARE(w->Text1->text(), helpText());
    driver::click(w->Command9);
    QCOMPARE(w->Text1->text(), pasted);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
