// SPDX-License-Identifier: MIT
#include "playtext.h"

#include "ticket.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace ztc {

namespace {

// Longer than any play a person writes; a longer text is no play.
constexpr qsizetype kLongestText = 100000;

const QString kNewLine = QStringLiteral("\r\n");

// "a Pick 4", "an Exacta".
QString aWager(const WagerType &wager) {
    const QString name = QString::fromLatin1(wager.display);
    return (QStringLiteral("AEIOU").contains(name[0]) ? QStringLiteral("an ")
                                                      : QStringLiteral("a ")) +
           name;
}

QString runnersText(const QList<int> &runners) {
    QStringList numbers;
    for (int runner : runners)
        numbers << QString::number(runner);
    return numbers.join(u',');
}

QString raceLine(const Race &race, const QString &leg) {
    QString line =
        QStringLiteral("Race%1: %2 %3")
            .arg(leg.isEmpty() ? QString() : u' ' + leg)
            .arg(race.runners)
            .arg(race.runners == 1 ? QStringLiteral("runner") : QStringLiteral("runners"));
    QList<int> scratched = race.scratched.values();
    std::sort(scratched.begin(), scratched.end());
    if (!scratched.isEmpty())
        line += QStringLiteral(", scratched ") + runnersText(scratched);
    QStringList grades;
    for (const char grade : QByteArray("ABC")) {
        QList<int> graded = race.grades.keys(grade);
        std::sort(graded.begin(), graded.end());
        if (!graded.isEmpty())
            grades << QChar::fromLatin1(grade) + u' ' + runnersText(graded);
    }
    if (!grades.isEmpty())
        line += QStringLiteral(", graded ") + grades.join(u' ');
    return line;
}

// A line as a message may quote it: short, and with nothing that is not text.
QString quoted(QStringView line) {
    QString shown;
    for (QChar c : line.left(40))
        shown += c.isPrint() ? c : u'?';
    return u'\'' + shown + (line.size() > 40 ? QStringLiteral("…'") : QStringLiteral("'"));
}

// A line's words, where a wager type's name may hold spaces.
const QRegularExpression &ticketPattern() {
    static const QRegularExpression pattern = [] {
        QStringList names;
        for (const WagerType &w : wagerTypes())
            names << QRegularExpression::escape(QString::fromLatin1(w.display))
                         .replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
        std::sort(names.begin(), names.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
        return QRegularExpression(
            QStringLiteral("^(.+?)\\s+(%1)\\s+(\\S.*)$").arg(names.join(u'|')),
            QRegularExpression::CaseInsensitiveOption);
    }();
    return pattern;
}

const QRegularExpression kRacePattern(
    QStringLiteral("^Race(?:\\s+([A-F]))?\\s*:\\s*(\\d{1,3})\\s+runners?"
                   "(?:\\s*,\\s*scratched\\s+(\\d{1,3}(?:\\s*,\\s*\\d{1,3})*))?"
                   "(?:\\s*,\\s*graded((?:\\s+[ABC]\\s+\\d{1,3}(?:\\s*,\\s*\\d{1,3})*)+))?$"),
    QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kTotalsPattern(
    QStringLiteral("^(?:\\S.* combinations? bought, \\S.* different|Total Play Cost:.*)$"),
    QRegularExpression::CaseInsensitiveOption);

struct TicketRead {
    int line = 0;
    const WagerType *wager = nullptr;
    Money base{};
    std::array<QStringList, kLegCount> legs; // as written: numbers, or "ALL"
};

struct RaceRead {
    int line = 0;
    int leg = 0; // 0: the one race of a same-race exotic
    Race race;
};

QString at(int line, const QString &what) {
    return QStringLiteral("Line %1: %2").arg(line).arg(what);
}

// Reads the legs of a ticket line; the problem, or nothing.
QString readLegs(const QString &written, TicketRead &ticket, bool asWritten) {
    QString legsText = written;
    legsText.remove(QRegularExpression(QStringLiteral("\\s")));
    const QStringList legs = legsText.split(u'/');
    const WagerType &wager = *ticket.wager;
    if (legs.size() != wager.legs)
        return QStringLiteral("%1 has %2 legs, this ticket %3")
            .arg(aWager(wager))
            .arg(wager.legs)
            .arg(legs.size());
    static const QRegularExpression number(QStringLiteral("^\\d{1,3}$"));
    for (int leg = 1; leg <= wager.legs; ++leg) {
        const QString &text = legs[leg - 1];
        QStringList &runners = ticket.legs[std::size_t(leg - 1)];
        if (asWritten && text == u"-")
            continue;
        if (text.isEmpty() || text == u"-")
            return QStringLiteral("leg %1 has no runner").arg(legLetter(leg));
        if (text.compare(QLatin1String("ALL"), Qt::CaseInsensitive) == 0) {
            if (wager.isExotic())
                return QStringLiteral("ALL stands for a whole race of a multi-race wager; %1's "
                                      "legs name their runners")
                    .arg(aWager(wager));
            runners << QStringLiteral("ALL");
            continue;
        }
        for (const QString &runner : text.split(u',')) {
            if (!number.match(runner).hasMatch() || runner.toInt() < 1)
                return QStringLiteral("leg %1: %2 is no runner's number")
                    .arg(legLetter(leg))
                    .arg(quoted(runner));
            runners << runner;
        }
    }
    return {};
}

// A ticket's base as its line writes it: in cents, or with as many decimals as a base typed
// with more has ($0.502), so that the play reads back the same.
QString baseText(const Money &base, const QLocale &locale) {
    QString text = formatCurrency(base.amount, locale, base.usDollars);
    const QString symbol = base.usDollars ? QStringLiteral("$") : locale.currencySymbol();
    for (int decimals = 3; decimals <= 17; ++decimals) {
        const std::optional<Money> read = toMoney(text, locale);
        if (read && read->amount == base.amount)
            break;
        text = locale.toCurrencyString(base.amount, symbol, decimals);
    }
    return text;
}

} // namespace

QString ticketLine(const Ticket &ticket, const Card &card, const QLocale &locale) {
    QStringList legs;
    for (int leg = 1; ticket.wager && leg <= ticket.wager->legs; ++leg) {
        const QList<int> &chosen = ticket.legs[std::size_t(leg - 1)];
        const QList<int> running = card.race(leg).running();
        legs << (chosen.isEmpty() ? QStringLiteral("-")
                 : !ticket.wager->isExotic() && !running.isEmpty() && chosen == running
                     ? QStringLiteral("ALL")
                     : runnersText(chosen));
    }
    return baseText(ticket.base, locale) + u' ' +
           QString::fromLatin1(ticket.wager ? ticket.wager->display : "") + u' ' + legs.join(u'/');
}

QString playText(const Play &play, const QLocale &locale, bool wholeCard) {
    QStringList lines;
    for (const Ticket &ticket : play.tickets)
        lines << ticketLine(ticket, play.card, locale);
    if (play.wager && play.card.oneRace())
        lines << raceLine(play.card.race(1), {});
    const int legs = wholeCard ? kLegCount : play.wager ? play.wager->legs : 0;
    for (int leg = 1; play.wager && !play.card.oneRace() && leg <= legs; ++leg)
        lines << raceLine(play.card.race(leg), legLetter(leg));
    const PlayCount count = play.count();
    lines << describeCombinations(count.bought, locale) + QStringLiteral(" bought, ") +
                 locale.toString(count.different, 'f', 0) + QStringLiteral(" different");
    const bool dollars = play.tickets.isEmpty() || play.tickets.first().base.usDollars;
    lines << QStringLiteral("Total Play Cost: ") + formatCurrency(count.cost, locale, dollars);
    return lines.join(kNewLine);
}

PlayReading readPlay(const QString &text, const QLocale &locale,
                     const std::function<Card(const WagerType &)> &cardFor, bool asWritten) {
    PlayReading reading;
    const auto fail = [&](const QString &problem) {
        reading = {};
        reading.problem = problem;
        return reading;
    };
    if (text.size() > kLongestText)
        return fail(QStringLiteral("The text is too long to be a play: %1 characters")
                        .arg(locale.toString(text.size())));
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    const QStringList lines = text.split(lineBreak);

    QList<TicketRead> tickets;
    QList<RaceRead> races;
    for (int n = 1; n <= lines.size(); ++n) {
        const QString line = lines[n - 1].trimmed();
        if (line.isEmpty() || kTotalsPattern.match(line).hasMatch())
            continue;
        if (const auto race = kRacePattern.match(line); race.hasMatch()) {
            RaceRead read{
                n,
                race.captured(1).isEmpty() ? 0 : race.captured(1).toUpper()[0].unicode() - u'A' + 1,
                {}};
            read.race.runners = race.captured(2).toInt();
            // The calculator's own play may hold a race a field size of nothing emptied.
            if (read.race.runners < (asWritten ? 0 : 1) || read.race.runners > kMaxField)
                return fail(at(n, QStringLiteral("a race has 1 to %1 runners").arg(kMaxField)));
            for (const QString &runner : race.captured(3).split(u',', Qt::SkipEmptyParts)) {
                const int scratched = runner.trimmed().toInt();
                if (scratched < 1 || scratched > read.race.runners)
                    return fail(at(n, QStringLiteral("runner %1 is scratched from a race of %2")
                                          .arg(scratched)
                                          .arg(read.race.runners)));
                read.race.scratched << scratched;
            }
            static const QRegularExpression graded(QStringLiteral("([ABC])\\s+([\\d,\\s]+)"),
                                                   QRegularExpression::CaseInsensitiveOption);
            for (auto it = graded.globalMatch(race.captured(4)); it.hasNext();) {
                const auto grade = it.next();
                for (const QString &runner : grade.captured(2).split(u',', Qt::SkipEmptyParts)) {
                    const int number = runner.trimmed().toInt();
                    if (number < 1 || number > read.race.runners)
                        return fail(at(n, QStringLiteral("runner %1 is graded in a race of %2")
                                              .arg(number)
                                              .arg(read.race.runners)));
                    read.race.grades.insert(number, grade.captured(1).toUpper()[0].toLatin1());
                }
            }
            races << read;
            continue;
        }
        const auto ticket = ticketPattern().match(line);
        if (!ticket.hasMatch())
            return fail(at(n, QStringLiteral("%1 is no ticket, race or total of a play; a ticket "
                                             "reads like '$1.00 Exacta 1/2,3'")
                                  .arg(quoted(line))));
        TicketRead read{n, findWagerType(ticket.captured(2).simplified()), {}, {}};
        const auto base = toMoney(ticket.captured(1), locale);
        if (!base || !(base->amount > 0 || (asWritten && std::isfinite(base->amount))))
            return fail(
                at(n, QStringLiteral("%1 is no base amount").arg(quoted(ticket.captured(1)))));
        read.base = *base;
        if (const QString problem = readLegs(ticket.captured(3), read, asWritten);
            !problem.isEmpty())
            return fail(at(n, problem));
        if (!tickets.isEmpty() && tickets.first().wager != read.wager)
            return fail(at(n, QStringLiteral("a play holds one wager type: this is %1, line %2 %3")
                                  .arg(aWager(*read.wager))
                                  .arg(tickets.first().line)
                                  .arg(aWager(*tickets.first().wager))));
        if (!tickets.isEmpty() && tickets.first().base.usDollars != read.base.usDollars)
            return fail(at(n, QStringLiteral("a play is priced in one currency, as line %1 is")
                                  .arg(tickets.first().line)));
        if (tickets.size() == kMostTickets)
            return fail(at(n, QStringLiteral("a play holds at most %1 tickets").arg(kMostTickets)));
        tickets << read;
    }
    if (tickets.isEmpty())
        return fail(
            QStringLiteral("No ticket in the text: a ticket reads like '$1.00 Exacta 1/2,3'"));

    const WagerType &wager = *tickets.first().wager;
    Card card = cardFor(wager);
    if (card.kind() != wager.kind)
        card = Card(wager.kind, card.race(1).runners);
    QSet<int> given;
    for (const RaceRead &read : std::as_const(races)) {
        if (wager.isExotic() != (read.leg == 0))
            return fail(at(read.line, wager.isExotic()
                                          ? QStringLiteral("%1's legs are one race, written "
                                                           "'Race: 8 runners'")
                                                .arg(aWager(wager))
                                          : QStringLiteral("%1's races are written by leg, "
                                                           "'Race A: 8 runners'")
                                                .arg(aWager(wager))));
        if (read.leg > (asWritten ? kLegCount : wager.legs))
            return fail(
                at(read.line,
                   QStringLiteral("%1 has no leg %2").arg(aWager(wager)).arg(legLetter(read.leg))));
        if (given.contains(read.leg))
            return fail(at(read.line, QStringLiteral("a second race for the same leg")));
        given << read.leg;
        card.change(std::max(1, read.leg), [&](Race &race) { race = read.race; });
    }
    reading.cardGiven = !races.isEmpty();
    for (int leg = 1; reading.cardGiven && !wager.isExotic() && leg <= wager.legs; ++leg)
        if (!given.contains(leg))
            return fail(QStringLiteral("The races given have none for leg %1").arg(legLetter(leg)));

    reading.play.wager = &wager;
    reading.play.card = card;
    for (const TicketRead &read : std::as_const(tickets)) {
        Ticket ticket{&wager, read.base, {}};
        for (int leg = 1; leg <= wager.legs; ++leg) {
            const Race &race = card.race(leg);
            QList<int> &chosen = ticket.legs[std::size_t(leg - 1)];
            for (const QString &runner : read.legs[std::size_t(leg - 1)]) {
                if (runner == u"ALL") {
                    chosen << race.running();
                    if (chosen.isEmpty())
                        return fail(at(read.line, QStringLiteral("leg %1 is ALL of a race whose "
                                                                 "every runner is scratched")
                                                      .arg(legLetter(leg))));
                } else if (runner.toInt() > (asWritten ? kMaxField : race.runners)) {
                    return fail(at(read.line, QStringLiteral("leg %1 names runner %2; its race has "
                                                             "%3 runners")
                                                  .arg(legLetter(leg))
                                                  .arg(runner.toInt())
                                                  .arg(race.runners)));
                } else {
                    chosen << runner.toInt();
                }
            }
            std::sort(chosen.begin(), chosen.end());
            chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
        }
        reading.play.tickets << ticket;
    }
    return reading;
}

} // namespace ztc
