// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace ztc {

// The leading-number reading: never fails, ignores the locale, reads 0 where no number starts
// the text, and ±infinity beyond the range of a double.
double Val(QStringView text);

// The locale in effect: the user's, or United States English where none is set.
QLocale effectiveLocale();

// An amount in the locale's currency format: in the locale's own currency, or in US dollars with
// the locale's digits and separators.
QString formatCurrency(double amount, const QLocale &locale, bool usDollars = false);

struct Money {
    double amount;
    bool usDollars; // else the locale's own currency
};

// A base-amount text read as money: in the locale's own currency format first, then as US
// dollars, so that the offered "$x.xx" items read in every locale, and last as US dollars in the
// locale's digits, as formatCurrency writes them ("0,50 $"). Empty when the text is
// neither, or when even the largest ticket at that amount would cost no finite sum.
std::optional<Money> toMoney(const QString &text, const QLocale &locale);

} // namespace ztc
