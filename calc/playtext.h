// SPDX-License-Identifier: MIT
#pragma once

// A play as text a person reads and a teller or an advance-deposit app understands, and read
// back:
//   $0.50 Pick 4 3,4,5,8/1,2,4,5,8,9/7/6      a ticket: base, wager type, legs by slashes,
//   $0.50 Pick 4 1,2,4/8,9/ALL/1,3,6           runners by commas, ALL for every runner running
//   Race A: 12 runners                          the card: each leg's race (a same-race exotic's
//   Race B: 12 runners, scratched 3,7           one race is "Race: 8 runners")
//   198 combinations bought, 180 different      the totals, which reading leaves aside
//   Total Play Cost: $99.00

#include "play.h"

#include <QLocale>
#include <QString>

#include <functional>

namespace ztc {

// A ticket as one line, money in the locale's format as in the ticket.
QString ticketLine(const Ticket &ticket, const Card &card, const QLocale &locale);

// The whole play: its tickets, its card and its totals, lines separated by CR LF.
// With wholeCard, every leg's race of a multi-race card, those of legs the wager leaves out too.
QString playText(const Play &play, const QLocale &locale, bool wholeCard = false);

struct PlayReading {
    Play play;
    bool cardGiven = false; // else the tickets were read over the card asked for
    QString problem;        // which line could not be read and why; empty when all could
};

// Reads a whole play, or ticket lines alone (one typed from a tip sheet), which are then read
// over the card cardFor gives for their wager type. All its tickets are of one wager type, at
// most kMostTickets of them. The calculator's own text (asWritten) may hold what it keeps but a
// ticket typed may not: a leg with no runner yet, written "-", a runner of a race since made
// smaller, a base not yet above nothing.
PlayReading readPlay(const QString &text, const QLocale &locale,
                     const std::function<Card(const WagerType &)> &cardFor, bool asWritten = false);

} // namespace ztc
