// SPDX-License-Identifier: MIT
#include "numbers.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace ztc;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
}

class TestNumbers : public QObject {
    Q_OBJECT
  private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void val_data();
    void val();
    void valNeverReadsNegativeZero();
    void valOnLongAndOddTexts();
    void money_data();
    void money();
    void currency_data();
    void currency();
    void cLocaleFallsBackToUnitedStates();
};

void TestNumbers::val_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain runner number") << "20" << 20.0;
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("placeholder reads 0") << "Select Field Size" << 0.0;
    QTest::newRow("All reads 0") << "All" << 0.0;
    QTest::newRow("empty reads 0") << "" << 0.0;
    QTest::newRow("blanks skipped between digits") << " 2 45 7" << 2457.0;
    QTest::newRow("street address") << "    1615 198th Street N.E." << 1615198.0;
    QTest::newRow("tab, line feed and CR skipped") << "\t1\n2\r3" << 123.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("second sign ends it") << "--5" << 0.0;
    QTest::newRow("decimal point") << "5.5" << 5.5;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("comma is no decimal point") << "1,5" << 1.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("D exponent") << "2D2" << 200.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("blanks inside exponent") << "1 e + 2" << 100.0;
    QTest::newRow("incomplete exponent") << "1e" << 1.0;
    QTest::newRow("incomplete signed exponent") << "7e+" << 7.0;
    QTest::newRow("hexadecimal") << "&HFF" << 255.0;
    QTest::newRow("lower-case hex") << "&hff" << 255.0;
    QTest::newRow("hex of 4 digits wraps 16-bit") << "&HFFFF" << -1.0;
    QTest::newRow("hex 8000") << "&H8000" << -32768.0;
    QTest::newRow("hex of 3 digits") << "&HFFF" << 4095.0;
    QTest::newRow("hex of 8 digits wraps 32-bit") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex of 5 digits") << "&H10000" << 65536.0;
    QTest::newRow("hex of 16 digits wraps 64-bit") << "&HFFFFFFFFFFFFFFFF" << -1.0;
    QTest::newRow("hex stops at non-hex") << "&H1G" << 1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal wraps 16-bit") << "&O177777" << -1.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("ampersand then other letter") << "&X12" << 0.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("beyond a double is infinity") << "1e400" << kInf;
    QTest::newRow("negative beyond a double") << "-1e400" << -kInf;
    QTest::newRow("long digit run beyond a double") << QString(400, u'9') << kInf;
    QTest::newRow("below a double is zero") << "1e-400" << 0.0;
    QTest::newRow("huge exponent of zero") << "0e99999999999" << 0.0;
    QTest::newRow("dollar amount reads 0") << "$2.00" << 0.0;
    QTest::newRow("other script digits stop") << "1\u0662" << 1.0;
}

void TestNumbers::val() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Val(text), value);
}

void TestNumbers::valNeverReadsNegativeZero() {
    for (const char *text : {"-0", "-0.0", "-&H0", "-1e-400", "-"}) {
        const double v = Val(QString::fromLatin1(text));
        QCOMPARE(v, 0.0);
        QVERIFY2(!std::signbit(v), text);
    }
}

void TestNumbers::valOnLongAndOddTexts() {
    // A hundred thousand digits still read, finitely or as infinity, without failing.
    QCOMPARE(Val(QString(100000, u'1')), kInf);
    QCOMPARE(Val(QStringLiteral("0.") + QString(100000, u'0') + u'1'), 0.0);
    QCOMPARE(Val(QString(100000, u' ') + u'3'), 3.0);
    QCOMPARE(Val(QString::fromUtf16(u"4\0005", 3)), 4.0);
    QCOMPARE(Val(QStringLiteral("1") + QString(20, u'0') + QStringLiteral("e-20")), 1.0);
}

void TestNumbers::money_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<double>("value");
    QTest::newRow("offered item") << "en_US"
                                  << "$2.00" << true << 2.0;
    QTest::newRow("smallest offered item") << "en_US"
                                           << "$0.10" << true << 0.1;
    QTest::newRow("largest offered item") << "en_US"
                                          << "$500.00" << true << 500.0;
    QTest::newRow("no symbol") << "en_US"
                               << "3.5" << true << 3.5;
    QTest::newRow("group separator") << "en_US"
                                     << "$1,234.50" << true << 1234.5;
    QTest::newRow("surrounding blanks") << "en_US"
                                        << "  $4.00  " << true << 4.0;
    QTest::newRow("leading minus") << "en_US"
                                   << "-$2.00" << true << -2.0;
    QTest::newRow("minus after symbol") << "en_US"
                                        << "$-2.00" << true << -2.0;
    QTest::newRow("trailing minus") << "en_US"
                                    << "$2.00-" << true << -2.0;
    QTest::newRow("parentheses") << "en_US"
                                 << "($2.00)" << true << -2.0;
    QTest::newRow("exponent") << "en_US"
                              << "$1e2" << true << 100.0;
    QTest::newRow("placeholder") << "en_US"
                                 << "Select Base Amt" << false << 0.0;
    QTest::newRow("empty") << "en_US"
                           << "" << false << 0.0;
    QTest::newRow("symbol alone, first key typed") << "en_US"
                                                   << "$" << false << 0.0;
    QTest::newRow("letters") << "en_US"
                             << "abc" << false << 0.0;
    QTest::newRow("two signs") << "en_US"
                               << "--2" << false << 0.0;
    QTest::newRow("sign and parentheses") << "en_US"
                                          << "(-2)" << false << 0.0;
    QTest::newRow("beyond a double") << "en_US"
                                     << "1e400" << false << 0.0;
    QTest::newRow("infinity spelled out") << "en_US"
                                          << "inf" << false << 0.0;
    QTest::newRow("NaN spelled out") << "en_US"
                                     << "nan" << false << 0.0;
    QTest::newRow("symbol twice") << "en_US"
                                  << "$$2" << false << 0.0;
    QTest::newRow("German amount") << "de_DE"
                                   << "2,50 €" << true << 2.5;
    QTest::newRow("German grouping") << "de_DE"
                                     << "1.234,50 €" << true << 1234.5;
    QTest::newRow("offered item in Germany") << "de_DE"
                                             << "$2.00" << true << 2.0;
    QTest::newRow("offered large item in Germany") << "de_DE"
                                                   << "$500.00" << true << 500.0;
    QTest::newRow("symbol alone in Germany") << "de_DE"
                                             << "€" << false << 0.0;
    QTest::newRow("offered item in Japan") << "ja_JP"
                                           << "$0.50" << true << 0.5;
    QTest::newRow("yen amount") << "ja_JP"
                                << "￥300" << true << 300.0;
    QTest::newRow("French amount") << "fr_FR"
                                   << "2,50 €" << true << 2.5;
}

void TestNumbers::money() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(double, value);
    const std::optional<double> v = toMoney(text, QLocale(locale));
    QCOMPARE(v.has_value(), converts);
    if (converts)
        QCOMPARE(*v, value);
}

void TestNumbers::currency_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole dollars") << "en_US" << 2.0 << "$2.00";
    QTest::newRow("grouping and cents") << "en_US" << 1234.5 << "$1,234.50";
    QTest::newRow("binary fraction rounds for display") << "en_US" << 0.1 * 3 << "$0.30";
    QTest::newRow("zero") << "en_US" << 0.0 << "$0.00";
    QTest::newRow("German") << "de_DE" << 1234.5 << "1.234,50\u00a0€";
}

void TestNumbers::currency() {
    QFETCH(QString, locale);
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(formatCurrency(amount, QLocale(locale)), text);
}

void TestNumbers::cLocaleFallsBackToUnitedStates() {
    QLocale::setDefault(QLocale::c());
    QCOMPARE(effectiveLocale().name(), "en_US");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(effectiveLocale().name(), "de_DE");
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
