// SPDX-License-Identifier: MIT
#include "numbers.h"

#include "catalogue.h"

#include <cmath>
#include <cstdint>

namespace ztc {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Walks the text, skipping blanks wherever they stand.
class Reader {
  public:
    explicit Reader(QStringView text) : m_text(text) {}

    QChar peek() {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos] : QChar();
    }
    void next() { ++m_pos; }

  private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

// "&H…" or "&O…", the ampersand already read. Wider literals wrap to wider signed integers.
double readRadix(Reader &in) {
    const QChar kind = in.peek().toUpper();
    const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (base == 0)
        return 0;
    in.next();
    std::uint64_t value = 0;
    int digits = 0;
    for (int d; (d = digitValue(in.peek(), base)) >= 0; in.next()) {
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        ++digits;
    }
    if (base == 16) {
        if (digits <= 4)
            return static_cast<std::int16_t>(value);
        if (digits <= 8)
            return static_cast<std::int32_t>(value);
        return static_cast<double>(static_cast<std::int64_t>(value));
    }
    if (value <= 0xFFFFu)
        return static_cast<std::int16_t>(value);
    if (value <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(value);
    return static_cast<double>(static_cast<std::int64_t>(value));
}

} // namespace

double Val(QStringView text) {
    Reader in(text);
    if (in.peek() == u'&') {
        in.next();
        return readRadix(in);
    }

    QString number;
    if (in.peek() == u'+' || in.peek() == u'-') {
        if (in.peek() == u'-')
            number += u'-';
        in.next();
    }
    bool point = false, anyDigit = false;
    for (;; in.next()) {
        const QChar c = in.peek();
        if (c == u'.' && !point) {
            point = true;
            number += c;
            continue;
        }
        const int d = digitValue(c, 10);
        if (d < 0)
            break;
        anyDigit = true;
        number += QChar(u'0' + d);
    }
    if (!anyDigit)
        return 0;

    const QChar e = in.peek();
    if (e == u'e' || e == u'E' || e == u'd' || e == u'D') {
        in.next();
        bool negative = false;
        if (in.peek() == u'+' || in.peek() == u'-') {
            negative = in.peek() == u'-';
            in.next();
        }
        long long exponent = 0;
        for (int d; (d = digitValue(in.peek(), 10)) >= 0; in.next()) {
            // Saturate: far beyond any double either way.
            if (exponent < 100000)
                exponent = exponent * 10 + d;
        }
        number += u'e' + QString::number(negative ? -exponent : exponent);
    }
    // Beyond the range of a double this reads as infinity, below it as 0.
    const double value = QLocale::c().toDouble(number);
    return value == 0 ? 0.0 : value; // never a negative zero
}

QLocale effectiveLocale() {
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
#ifdef Q_OS_WIN
    // Qt formats the user's own locale through Windows (GetCurrencyFormatW and its kin), which
    // need not agree with Qt's data: Wine's loses the grouping beyond the first thousands. Qt's
    // data for the same locale reads and shows money exactly as on Linux.
    return QLocale(locale.name());
#else
    return locale;
#endif
}

QString formatCurrency(double amount, const QLocale &locale, bool usDollars) {
    return usDollars ? locale.toCurrencyString(amount, QStringLiteral("$"), 2)
                     : locale.toCurrencyString(amount);
}

namespace {

bool isSign(QStringView s, const QLocale &locale, bool *negative) {
    if (s.isEmpty())
        return false;
    if (s.startsWith(locale.negativeSign()) || s.front() == u'-') {
        *negative = true;
        return true;
    }
    if (s.startsWith(locale.positiveSign()) || s.front() == u'+') {
        *negative = false;
        return true;
    }
    return false;
}

std::optional<double> readMoney(QStringView text, const QLocale &locale, const QString &symbol) {
    QStringView s = text.trimmed();
    bool negative = false, signSeen = false;

    if (s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
        negative = signSeen = true;
        s = s.sliced(1, s.size() - 2).trimmed();
    }
    auto takeLeadingSign = [&] {
        bool neg = false;
        if (signSeen || !isSign(s, locale, &neg))
            return;
        const qsizetype len = s.startsWith(locale.negativeSign())   ? locale.negativeSign().size()
                              : s.startsWith(locale.positiveSign()) ? locale.positiveSign().size()
                                                                    : 1;
        s = s.sliced(len).trimmed();
        negative = neg;
        signSeen = true;
    };
    auto takeTrailingSign = [&] {
        if (signSeen || s.isEmpty())
            return;
        for (const QString &sign : {locale.negativeSign(), locale.positiveSign(),
                                    QStringLiteral("-"), QStringLiteral("+")}) {
            if (!sign.isEmpty() && s.endsWith(sign)) {
                negative = sign == locale.negativeSign() || sign == u"-";
                signSeen = true;
                s = s.chopped(sign.size()).trimmed();
                return;
            }
        }
    };

    takeLeadingSign();
    if (!symbol.isEmpty()) {
        if (s.startsWith(symbol))
            s = s.sliced(symbol.size()).trimmed();
        else if (s.endsWith(symbol))
            s = s.chopped(symbol.size()).trimmed();
    }
    takeLeadingSign(); // "$-2.00"
    takeTrailingSign();

    // A sign left over would be a second one.
    bool ignored;
    if (s.isEmpty() || isSign(s, locale, &ignored))
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(s, &ok);
    if (!ok || !std::isfinite(value * kMostCombinations))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::optional<Money> toMoney(const QString &text, const QLocale &locale) {
    if (const auto local = readMoney(text, locale, locale.currencySymbol()))
        return Money{*local, false};
    static const QLocale us(QLocale::English, QLocale::UnitedStates);
    if (const auto dollars = readMoney(text, us, QStringLiteral("$")))
        return Money{*dollars, true};
    // US dollars as formatCurrency writes them in this locale: "0,50 $".
    if (const auto dollars = readMoney(text, locale, QStringLiteral("$")))
        return Money{*dollars, true};
    return std::nullopt;
}

} // namespace ztc
