// SPDX-License-Identifier: MIT
#pragma once

// A play: several tickets of one wager type over the same races, kept together, priced each at
// its own base amount and counted together: the combinations bought, how many of them are
// different, and how many are held by more than one ticket.

#include "card.h"
#include "numbers.h"

#include <QList>

#include <array>
#include <span>

namespace ztc {

// More tickets than a player keeps for one set of races; it bounds the counting too.
inline constexpr int kMostTickets = 64;

struct Ticket {
    const WagerType *wager = nullptr;
    Money base{0, false};
    // The runners chosen in each leg, in number order. A runner scratched later stays chosen and
    // simply runs in no combination; restored, he counts again.
    std::array<QList<int>, kLegCount> legs{};

    // Those of the leg's chosen who run in the card's race.
    QList<int> running(int leg, const Card &card) const;
    // Its combinations over the card: for a same-race exotic, without a horse twice.
    double combinations(const Card &card) const;
    // Whether some leg it uses has no runner who runs.
    bool hasEmptyLeg(const Card &card) const;

    bool operator==(const Ticket &other) const {
        return wager == other.wager && base.amount == other.base.amount &&
               base.usDollars == other.base.usDollars && legs == other.legs;
    }
};

struct PlayCount {
    double bought = 0;    // every ticket's combinations, added up
    double different = 0; // a combination in several tickets counted once
    double heldTwice = 0; // the different combinations that more than one ticket holds
    double cost = 0;      // every ticket at its own base amount
    // Tickets may overlap in too tangled a way to count their different combinations in a
    // moment: then neither those nor the ones held twice are known.
    bool overlapCounted = true;

    bool operator==(const PlayCount &) const = default;
};

struct Play {
    const WagerType *wager = nullptr;
    Card card;
    QList<Ticket> tickets;

    PlayCount count() const;
};

// The different combinations of tickets of one wager type over a card, and those that more than
// one of them holds (at most kMostTickets tickets). Counted by the tickets' overlaps, never by
// listing the combinations one by one; not counted at all where the overlaps are so tangled that
// the count would take more than a moment.
struct Overlap {
    double different = 0;
    double heldTwice = 0;
    bool counted = true;
};
Overlap countOverlap(const WagerType &wager, const Card &card, std::span<const Ticket> tickets);

} // namespace ztc
