// SPDX-License-Identifier: MIT
#include "catalogue.h"

#include <algorithm>
#include <cmath>

namespace ztc {

namespace {

constexpr std::array<WagerType, 9> kWagers{{
    {"Double", "double", WagerKind::MultiRace, 2},
    {"Pick 3", "pick 3", WagerKind::MultiRace, 3},
    {"Pick 4", "pick 4", WagerKind::MultiRace, 4},
    {"Pick 5", "pick 5", WagerKind::MultiRace, 5},
    {"Pick 6", "pick 6", WagerKind::MultiRace, 6},
    {"Exacta", "exacta", WagerKind::SameRaceExotic, 2},
    {"Trifecta", "trifecta", WagerKind::SameRaceExotic, 3},
    {"Superfecta", "superfecta", WagerKind::SameRaceExotic, 4},
    {"Super High 5", "super high 5", WagerKind::SameRaceExotic, 5},
}};

constexpr std::array<const WagerType *, 9> kCalcOrder{
    &kWagers[0], &kWagers[5], &kWagers[6], &kWagers[7], &kWagers[8],
    &kWagers[1], &kWagers[2], &kWagers[3], &kWagers[4],
};

constexpr const char *kBaseAmounts[] = {
    "$0.10",   "$0.20",   "$0.50",   "$1.00",   "$2.00",   "$3.00",   "$4.00",
    "$5.00",   "$6.00",   "$7.00",   "$8.00",   "$9.00",   "$10.00",  "$11.00",
    "$12.00",  "$13.00",  "$14.00",  "$15.00",  "$20.00",  "$25.00",  "$30.00",
    "$35.00",  "$40.00",  "$45.00",  "$50.00",  "$55.00",  "$60.00",  "$65.00",
    "$70.00",  "$75.00",  "$100.00", "$125.00", "$150.00", "$175.00", "$200.00",
    "$250.00", "$300.00", "$350.00", "$400.00", "$450.00", "$500.00",
};

} // namespace

bool WagerType::matches(const QString &text) const {
    return text.toLower() == QLatin1String(key);
}

std::span<const WagerType> wagerTypes() {
    return kWagers;
}

std::span<const WagerType *const> calcOrder() {
    return kCalcOrder;
}

const WagerType *findWagerType(const QString &text) {
    const QString lower = text.toLower();
    const auto it = std::find_if(kWagers.begin(), kWagers.end(),
                                 [&](const WagerType &w) { return lower == QLatin1String(w.key); });
    return it == kWagers.end() ? nullptr : &*it;
}

int legsFor(const QString &text) {
    const WagerType *w = findWagerType(text);
    return w ? w->legs : 0;
}

QStringList fieldSizeItems() {
    QStringList items{QStringLiteral("Select Field Size")};
    for (int n = 2; n <= 20; ++n)
        items << QString::number(n);
    return items;
}

QStringList wagerTypeItems() {
    QStringList items{kWagerTypeStart};
    for (const WagerType &w : kWagers)
        items << QString::fromLatin1(w.display);
    return items;
}

QStringList baseAmountItems() {
    QStringList items{QStringLiteral("Select Base Amt")};
    for (const char *amount : kBaseAmounts)
        items << QString::fromLatin1(amount);
    return items;
}

QStringList runnerListItems(double n) {
    // NaN compares false and so gives no runner, like any size below 1.
    const int runners = n >= kMaxField ? kMaxField : n >= 1 ? static_cast<int>(std::floor(n)) : 0;
    QStringList items;
    items.reserve(runners + 1);
    for (int i = 1; i <= runners; ++i)
        items << QString::number(i);
    items << QString::fromLatin1(kAllItem);
    return items;
}

QChar legLetter(int leg) {
    return QChar(u'A' + (leg - 1));
}

} // namespace ztc
