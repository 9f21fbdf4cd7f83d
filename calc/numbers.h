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

// An amount in the locale's currency format.
QString formatCurrency(double amount, const QLocale &locale);

// A base-amount text read as money: the locale's own currency format first, then a US-dollar
// amount so that the offered "$x.xx" items read in every locale. Empty when the text is no
// finite amount in either.
std::optional<double> toMoney(const QString &text, const QLocale &locale);

} // namespace ztc
