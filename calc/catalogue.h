// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <span>

namespace ztc {

// Six legs, numbered 1 to 6 (A to F).
inline constexpr int kLegCount = 6;

// Largest field we fill lists for: real fields stay far below it and saddle-cloth numbers stay
// two digits.
inline constexpr int kMaxField = 99;

inline constexpr char kAllItem[] = "All";

// No ticket covers more combinations than a Pick 6 with the largest field in every leg.
inline constexpr double kMostCombinations =
    1.0 * kMaxField * kMaxField * kMaxField * kMaxField * kMaxField * kMaxField;

enum class WagerKind { MultiRace, SameRaceExotic };

struct WagerType {
    const char *display;
    const char *key; // the lower-cased display text
    WagerKind kind;
    int legs;

    bool isExotic() const { return kind == WagerKind::SameRaceExotic; }
    // Whole text lower-cased, then compared exactly: no trimming, no prefixes.
    bool matches(const QString &text) const;
};

// The nine wager types in the order the wager-type box lists them.
std::span<const WagerType> wagerTypes();

// The same nine in the order the ticket calculation tests them.
std::span<const WagerType *const> calcOrder();

// Null when the text names no wager type.
const WagerType *findWagerType(const QString &text);

// Legs used by the wager type the text names; 0 when it names none.
int legsFor(const QString &text);

// Items of the three selection boxes, placeholder first.
QStringList fieldSizeItems();
QStringList wagerTypeItems();
QStringList baseAmountItems();

inline const QString kFieldSizeStart = QStringLiteral("20");
inline const QString kWagerTypeStart = QStringLiteral("Select Wager Type");
inline const QString kBaseAmountStart = QStringLiteral("$2.00");

// "1" up to the largest whole number not above n (at most kMaxField), then "All".
QStringList runnerListItems(double n);

// Leg letters and the labels used in the ticket text.
QChar legLetter(int leg);

} // namespace ztc
