// SPDX-License-Identifier: MIT
// The window's play: tickets kept and brought back, the play as text both ways and in the page's
// address, and the track's minimums, the budget and the A-B-C tickets it is made within.
#include "form1.h"

#include "asking.h"
#include "playpanel.h"
#include "playtext.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>

#include <cmath>

namespace ztc {

namespace {

constexpr int kTwipsPerPixel = 15;

// Where the track's minimums are kept between runs: the desktop's settings, the browser's local
// storage. Each wager type's as whole cents, "50 0": its least base and its least ticket.
QSettings kept() {
    return QSettings(QStringLiteral("Zandrel Racing Software"),
                     QStringLiteral("Zandrel Ticket Calculator"));
}

QString centsOf(const Minimums &minimums) {
    return QStringLiteral("%1 %2")
        .arg(std::llround(minimums.base * 100))
        .arg(std::llround(minimums.ticket * 100));
}

} // namespace

void Form1::loadMinimums() {
    QSettings settings = kept();
    const auto wagers = wagerTypes();
    for (std::size_t i = 0; i < wagers.size(); ++i) {
        const QStringList kept =
            settings.value(QStringLiteral("minimums/") + QString::fromLatin1(wagers[i].key))
                .toString()
                .split(u' ');
        bool base = false, ticket = false;
        const Minimums read{kept.value(0).toInt(&base) / 100.0,
                            kept.value(1).toInt(&ticket) / 100.0};
        // One missing, spoilt or absurd is the common one.
        const bool sound = base && ticket && read.base >= 0 && read.ticket >= 0 &&
                           read.base <= kMostMinimum && read.ticket <= kMostMinimum;
        m_minimums[i] = sound ? read : commonMinimums()[i];
    }
}

void Form1::editMinimums() {
    if (m_state.intHelpMode == 1)
        return;
    const QLocale locale = effectiveLocale();
    std::vector<AmountsDialog::Row> rows;
    const auto wagers = wagerTypes();
    for (std::size_t i = 0; i < wagers.size(); ++i)
        rows.push_back(
            {QString::fromLatin1(wagers[i].display),
             {formatCurrency(m_minimums[i].base, locale, true),
              m_minimums[i].ticket > 0 ? formatCurrency(m_minimums[i].ticket, locale, true)
                                       : QString()}});
    auto *dialog =
        new AmountsDialog(this, tr("Track minimums"), {tr("Least base"), tr("Least ticket")}, rows);
    dialog->mayBeEmpty(1);
    dialog->ok = [this](const std::vector<std::optional<Money>> &read, bool) {
        MinimumTable table;
        for (std::size_t i = 0; i < table.size(); ++i) {
            table[i] = {read[2 * i]->amount, read[2 * i + 1] ? read[2 * i + 1]->amount : 0};
            const QString name = QString::fromLatin1(wagerTypes()[i].display);
            if (table[i].base < 0 || table[i].ticket < 0 || table[i].base > kMostMinimum ||
                table[i].ticket > kMostMinimum)
                return tr("%1: a minimum is between nothing and %2.")
                    .arg(name, formatCurrency(kMostMinimum, effectiveLocale(), true));
        }
        m_minimums = table;
        QSettings settings = kept();
        for (std::size_t i = 0; i < table.size(); ++i)
            settings.setValue(QStringLiteral("minimums/") +
                                  QString::fromLatin1(wagerTypes()[i].key),
                              centsOf(table[i]));
        Command8_Click();
        showPlayView();
        return QString();
    };
    openDialog(dialog);
}

void Form1::openDialog(QDialog *dialog) {
    if (m_forFingers)
        forFingers(dialog);
    dialog->open();
}

void Form1::showCount(const TicketCount &count) {
    const QLocale locale = effectiveLocale();
    const QString maths = describeCount(count, locale);
    const std::optional<Ticket> ticket = windowTicket();
    const QString warning = ticket ? shortfall(*ticket, count.combinations,
                                               minimumsFor(m_minimums, *ticket->wager), locale)
                                   : QString();
    QString shown = warning.isEmpty() ? maths : maths + u'\n' + warning;
    // Where the count's sum and the warning do not both fit beside the buttons, the warning
    // does, with the count alone.
    const QRect room = LabelCount->contentsRect();
    if (!warning.isEmpty() && LabelCount->parentWidget() == this &&
        LabelCount->fontMetrics().boundingRect(room, Qt::TextWordWrap, shown).height() >
            room.height())
        shown = describeCombinations(count.combinations, locale) + u'\n' + warning;
    LabelCount->setText(shown);
}

void Form1::showBase(Money base) {
    // The amount as the box offers it where it does, else in the desktop's format.
    const QLocale locale = effectiveLocale();
    QString amount = formatCurrency(base.amount, locale, base.usDollars);
    for (int i = 0; i < Combo3->count(); ++i)
        if (const auto offered = toMoney(Combo3->itemText(i), locale);
            offered && offered->amount == base.amount && offered->usDollars == base.usDollars)
            amount = Combo3->itemText(i);
    Combo3->setText(amount);
    m_state.dblBaseAmt = base.amount;
    m_state.bolBaseInUsDollars = base.usDollars;
}

namespace {

// A budget read, or what is wrong with it, for tickets priced in US dollars or not.
QString budgetProblem(const std::optional<Money> &budget, bool usDollars) {
    if (!(budget->amount > 0))
        return Form1::tr("A budget is an amount above nothing.");
    if (budget->amount > kMostBudget)
        return Form1::tr("A budget is at most %1.")
            .arg(formatCurrency(kMostBudget, effectiveLocale(), usDollars));
    if (budget->usDollars != usDollars)
        return Form1::tr("The budget is in another currency than the tickets' bases.");
    return {};
}

} // namespace

void Form1::fitTicket() {
    const std::optional<Ticket> ticket = windowTicket();
    if (m_state.intHelpMode == 1)
        return;
    if (!ticket)
        return tell(tr("There is no ticket to fit: pick a wager type first."));
    auto *dialog =
        new AmountsDialog(this, tr("Fit to a budget"), {}, {{tr("Budget"), {QString()}}});
    dialog->ok = [this, ticket](const std::vector<std::optional<Money>> &read, bool) {
        if (const QString problem = budgetProblem(read[0], ticket->base.usDollars);
            !problem.isEmpty())
            return problem;
        const double combinations = countTicket(ticketInput())->combinations;
        const Fit fit = fitBudget({&*ticket, 1}, {&combinations, 1},
                                  minimumsFor(m_minimums, *ticket->wager), read[0]->amount);
        if (fit.bases.isEmpty())
            return tr("This ticket needs at least %1.")
                .arg(formatCurrency(fit.cost, effectiveLocale(), ticket->base.usDollars));
        showBase({fit.bases.first(), ticket->base.usDollars});
        Command8_Click();
        return QString();
    };
    openDialog(dialog);
}

void Form1::fitPlay() {
    if (m_state.intHelpMode == 1)
        return;
    if (m_play.tickets.isEmpty())
        return tell(tr("No ticket is kept yet: Keep one first (Ctrl+K)."));
    auto *dialog =
        new AmountsDialog(this, tr("Fit the play to a budget"), {}, {{tr("Budget"), {QString()}}});
    dialog->ok = [this](const std::vector<std::optional<Money>> &read, bool) {
        const bool dollars = m_play.tickets.first().base.usDollars;
        if (const QString problem = budgetProblem(read[0], dollars); !problem.isEmpty())
            return problem;
        std::vector<double> combinations;
        for (const Ticket &ticket : std::as_const(m_play.tickets))
            combinations.push_back(ticket.combinations(m_play.card));
        const Fit fit = fitBudget(m_play.tickets, combinations,
                                  minimumsFor(m_minimums, *m_play.wager), read[0]->amount);
        if (fit.bases.isEmpty())
            return tr("The play needs at least %1.")
                .arg(formatCurrency(fit.cost, effectiveLocale(), dollars));
        for (qsizetype i = 0; i < m_play.tickets.size(); ++i)
            m_play.tickets[i].base.amount = fit.bases[i];
        showPlayView();
        emit playChanged();
        return QString();
    };
    openDialog(dialog);
}

void Form1::grade(int leg, int runner, char grade) {
    changeCard([&](Card &card) { card.grade(leg, runner, grade); });
}

void Form1::makeAbcTickets() {
    if (m_state.intHelpMode == 1)
        return;
    const WagerType *wager = findWagerType(Combo2->text());
    if (!wager || wager->isExotic() || m_card.kind() != wager->kind)
        return tell(tr("A-B-C tickets are made over the races of a multi-race wager: pick one, and "
                       "grade its runners from each leg's menu."));
    const QLocale locale = effectiveLocale();
    const Money allA{m_state.dblBaseAmt, m_state.bolBaseInUsDollars};
    // A backup at a quarter of the all-A base, on the step.
    const Money backup{
        std::max(kBaseStep, std::floor(allA.amount / 4 / kBaseStep + 1e-9) * kBaseStep),
        allA.usDollars};
    auto *dialog = new AmountsDialog(
        this, tr("Make A-B-C tickets"), {},
        {{tr("All-A base"), {formatCurrency(allA.amount, locale, allA.usDollars)}},
         {tr("Backup base"), {formatCurrency(backup.amount, locale, backup.usDollars)}}},
        tr("Also backups with C horses"));
    dialog->ok = [this, wager](const std::vector<std::optional<Money>> &read, bool withC) {
        if (!(read[0]->amount > 0) || !(read[1]->amount > 0))
            return tr("A base is an amount above nothing.");
        const auto made = abcTickets(*wager, m_card, *read[0], *read[1], withC);
        if (const QString *problem = std::get_if<QString>(&made))
            return *problem;
        const QList<Ticket> tickets = std::get<QList<Ticket>>(made);
        if (!m_play.tickets.isEmpty() && m_play.wager != wager) {
            replacePlay({wager, m_card, tickets}, tr("The play holds %1 tickets; these are %2."));
            return QString();
        }
        if (m_play.tickets.size() + tickets.size() > kMostTickets)
            return tr("A play holds at most %1 tickets.").arg(kMostTickets);
        m_play.wager = wager;
        m_play.card = m_card;
        m_play.tickets << tickets;
        showPlayView();
        emit playChanged();
        return QString();
    };
    openDialog(dialog);
}

std::optional<Ticket> Form1::windowTicket() const {
    const WagerType *wager = findWagerType(Combo2->text());
    if (!wager)
        return std::nullopt;
    Ticket ticket{wager, {m_state.dblBaseAmt, m_state.bolBaseInUsDollars}, {}};
    for (int leg = 1; leg <= wager->legs; ++leg) {
        const ListBox *l = list(leg);
        // As the ticket's text reads a leg: every item but the last, "All".
        for (int i = 0; i + 1 < l->listCount(); ++i)
            if (l->isSelected(i))
                ticket.legs[std::size_t(leg - 1)] << l->itemText(i).toInt();
    }
    return ticket;
}

void Form1::Keep() {
    if (m_state.intHelpMode == 1)
        return;
    const std::optional<Ticket> ticket = windowTicket();
    if (!ticket)
        return tell(tr("There is no ticket to keep: pick a wager type first."));
    if (m_card.kind() != ticket->wager->kind)
        return tell(tr("Pick the wager type %1 from its list first, so that its legs are races "
                       "of its kind.")
                        .arg(QString::fromLatin1(ticket->wager->display)));
    for (int leg = 1; leg <= ticket->wager->legs; ++leg)
        if (ticket->running(leg, m_card).isEmpty())
            return tell(
                tr("Leg %1 has no runner: a ticket needs one in every leg.").arg(legLetter(leg)));
    if (!(ticket->base.amount > 0))
        return tell(tr("A ticket is kept at a base amount above nothing."));
    const bool same = !m_play.tickets.isEmpty() && m_play.wager == ticket->wager;
    if (!m_play.tickets.isEmpty() && !same) {
        Play play{ticket->wager, m_card, {*ticket}};
        return replacePlay(play, tr("The play holds %1 tickets; this one is %2."));
    }
    if (same && m_play.tickets.first().base.usDollars != ticket->base.usDollars)
        return tell(tr("The play is priced in one currency: this ticket's base amount is in "
                       "another."));
    if (m_brought >= 0 && m_brought < m_play.tickets.size()) {
        m_play.tickets[m_brought] = *ticket;
        m_brought = -1;
    } else if (m_play.tickets.size() >= kMostTickets) {
        return tell(tr("A play holds at most %1 tickets.").arg(kMostTickets));
    } else {
        m_play.tickets << *ticket;
    }
    m_play.wager = ticket->wager;
    m_play.card = m_card;
    showPlayView();
    emit playChanged();
}

void Form1::replacePlay(const Play &play, const QString &why) {
    const QString text = why.arg(QString::fromLatin1(m_play.wager->display),
                                 QString::fromLatin1(play.wager->display)) +
                         u' ' +
                         tr("Start a new play? The play of %1 tickets is copied to the clipboard "
                            "first.")
                             .arg(m_play.tickets.size());
    ask(text, tr("Start a new play"), [this, play] {
        QGuiApplication::clipboard()->setText(playText(m_play, effectiveLocale()));
        m_play = play;
        m_brought = -1;
        showPlayView();
        emit playChanged();
    });
}

void Form1::removeKept(int row) {
    if (m_state.intHelpMode == 1 || row < 0 || row >= m_play.tickets.size())
        return;
    m_play.tickets.removeAt(row);
    m_brought = m_brought == row ? -1 : m_brought > row ? m_brought - 1 : m_brought;
    if (m_play.tickets.isEmpty()) {
        m_play = {};
        // The play goes from sight, and the focus to the button that starts the next.
        if (PlayView->isAncestorOf(QApplication::focusWidget()))
            CommandKeep->setFocus();
    }
    showPlayView();
    emit playChanged();
}

void Form1::bringBack(int row) {
    if (m_state.intHelpMode == 1 || row < 0 || row >= m_play.tickets.size())
        return;
    const Ticket ticket = m_play.tickets[row];
    loadTicket(ticket, m_play.card);
    m_brought = row;
    showPlayView();
    Command8->setFocus();
    Command8_Click();
    DoEvents();
}

void Form1::loadTicket(const Ticket &ticket, const Card &card) {
    Combo2->setText(QString::fromLatin1(ticket.wager->display));
    showLegs(ticket.wager->legs);
    m_card = card;
    showCard();
    showBase(ticket.base);
    m_state.bolAutoListPopulateUnderway = true;
    for (int leg = 1; leg <= ticket.wager->legs; ++leg)
        for (int runner : ticket.legs[std::size_t(leg - 1)])
            if (card.race(leg).runs(runner))
                list(leg)->setSelected(runner - 1, true);
    m_state.bolAutoListPopulateUnderway = false;
}

QSize Form1::wantedSize() const {
    // The window grows to the right for the play, and its controls stay where they are.
    const bool play = !m_play.tickets.isEmpty() && PlayView->parentWidget() == this;
    return QSize(play ? 15945 : 11445, 7380) / kTwipsPerPixel;
}

void Form1::showPlayView() {
    PlayView->showPlay(m_play, m_brought, m_minimums, effectiveLocale());
    const bool shown = !m_play.tickets.isEmpty();
    if (PlayView->isHidden() == shown && PlayView->parentWidget() == this && !parentWidget())
        resize(wantedSize().width(), height());
    PlayView->setVisible(shown);
}

QList<QWidget *> Form1::extras() const {
    return {LabelCount, CommandKeep, PlayView->LabelPlay, PlayView->ListPlay,
            PlayView->LabelTotals};
}

void Form1::copyPlay() {
    if (m_play.tickets.isEmpty())
        return tell(tr("No ticket is kept yet: Keep one first (Ctrl+K)."));
    QGuiApplication::clipboard()->setText(playText(m_play, effectiveLocale()));
}

void Form1::pastePlay() {
    if (m_state.intHelpMode == 1)
        return;
    const QLocale locale = effectiveLocale();
    const PlayReading reading =
        readPlay(QGuiApplication::clipboard()->text(), locale, [this](const WagerType &wager) {
            if (!m_play.tickets.isEmpty() && &wager == m_play.wager)
                return m_play.card;
            if (wager.kind == m_card.kind())
                return m_card;
            const QStringList items = runnerListItems(Val(Combo1->text()));
            return Card(wager.kind, int(items.size()) - 1);
        });
    if (!reading.problem.isEmpty())
        return tell(tr("The clipboard holds no play this calculator can read.") + u'\n' +
                    reading.problem);
    Play pasted = reading.play;
    const bool sameRaces = [&] {
        for (int leg = 1; leg <= pasted.wager->legs; ++leg)
            if (pasted.card.race(leg) != m_play.card.race(leg))
                return false;
        return true;
    }();
    if (!m_play.tickets.isEmpty() && (pasted.wager != m_play.wager || !sameRaces)) {
        return replacePlay(pasted, pasted.wager != m_play.wager
                                       ? tr("The play holds %1 tickets; the text's are %2.")
                                       : tr("The play holds %1 tickets over other races than "
                                            "the text's %2 tickets."));
    }
    if (m_play.tickets.size() + pasted.tickets.size() > kMostTickets)
        return tell(tr("A play holds at most %1 tickets.").arg(kMostTickets));
    pasted.tickets = m_play.tickets + pasted.tickets;
    m_play = pasted;
    showPlayView();
    emit playChanged();
}

void Form1::tell(const QString &text) {
    auto *box =
        new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void Form1::ask(const QString &text, const QString &yes, const std::function<void()> &act) {
    auto *box =
        new QMessageBox(QMessageBox::Question, windowTitle(), text, QMessageBox::NoButton, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *accept = box->addButton(yes, QMessageBox::AcceptRole);
    box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(accept);
    connect(box, &QMessageBox::finished, this, [box, accept, act] {
        if (box->clickedButton() == accept)
            act();
    });
    box->open();
}

void Form1::playMenu(int row, QPoint at) {
    if (m_state.intHelpMode == 1)
        return;
    auto *menu = new QMenu(PlayView);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [this, menu](const QString &text, const auto &act) {
        QAction *action = menu->addAction(text);
        connect(action, &QAction::triggered, this, act, Qt::QueuedConnection);
        return action;
    };
    if (row >= 0) {
        add(tr("Bring back to change\tEnter"), [this, row] { bringBack(row); });
        add(tr("Remove\tDelete"), [this, row] { removeKept(row); });
        menu->addSeparator();
    }
    add(tr("Copy the play\tCtrl+Shift+C"), [this] { copyPlay(); });
    add(tr("Paste a play\tCtrl+Shift+V"), [this] { pastePlay(); });
    menu->addSeparator();
    add(tr("Fit the play to a budget..."), [this] { fitPlay(); });
    add(tr("Make A-B-C tickets..."), [this] { makeAbcTickets(); });
    add(tr("Track minimums..."), [this] { editMinimums(); });
    menu->popup(at);
}

void Form1::ticketMenu(QMenu *menu) {
    QAction *first = menu->actions().value(0);
    const auto add = [&](const QString &text, const auto &act) {
        auto *action = new QAction(text, menu);
        connect(action, &QAction::triggered, this, act, Qt::QueuedConnection);
        menu->insertAction(first, action);
        action->setEnabled(m_state.intHelpMode != 1);
    };
    add(tr("Keep this ticket\tCtrl+K"), [this] { Keep(); });
    add(tr("Copy the play\tCtrl+Shift+C"), [this] { copyPlay(); });
    add(tr("Paste a play\tCtrl+Shift+V"), [this] { pastePlay(); });
    add(tr("Fit to a budget..."), [this] { fitTicket(); });
    add(tr("Make A-B-C tickets..."), [this] { makeAbcTickets(); });
    add(tr("Track minimums..."), [this] { editMinimums(); });
    menu->insertSeparator(first);
}

bool Form1::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget *>(watched)->window() != this)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_K && modifiers == Qt::ControlModifier)
        Keep();
    else if (key->key() == Qt::Key_C && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        copyPlay();
    else if (key->key() == Qt::Key_V && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        pastePlay();
    else
        return false;
    return true;
}

namespace {

// Between the play and the window in what session() writes.
const QString kWindowBlock = QStringLiteral("--");
const QString kBoxes[] = {QStringLiteral("Field Size: "), QStringLiteral("Wager Type: "),
                          QStringLiteral("Base Amt: ")};

} // namespace

QString Form1::session() const {
    const QLocale locale = effectiveLocale();
    QStringList lines;
    if (!m_play.tickets.isEmpty())
        lines << playText(m_play, locale, true);
    lines << kWindowBlock;
    // The boxes' texts as they stand, typed or picked, on a line each.
    const ComboBox *boxes[] = {Combo1, Combo2, Combo3};
    for (int b = 0; b < 3; ++b)
        lines << kBoxes[b] + boxes[b]->text().simplified();
    // The window's ticket over its races: the play's where it shows the play. A wager type
    // typed over races of the other kind is written over the races as the lists show them,
    // where its kind can hold them: one race is every leg's, legs all alike are one race.
    if (const std::optional<Ticket> ticket = windowTicket()) {
        const Card &shown = m_card;
        Card races(ticket->wager->kind, 0);
        bool held = true;
        for (int leg = 1; leg <= kLegCount; ++leg) {
            held = held && (!races.oneRace() || shown.race(leg) == shown.race(1));
            races.change(races.oneRace() ? 1 : leg,
                         [&](Race &race) { race = shown.race(races.oneRace() ? 1 : leg); });
        }
        if (held)
            lines << playText({ticket->wager, races, {*ticket}}, locale, true);
    }
    return lines.join(QStringLiteral("\r\n"));
}

bool Form1::restoreSession(const QString &text) {
    const QLocale locale = effectiveLocale();
    const QStringList blocks =
        text.split(QRegularExpression(QStringLiteral("(^|\r?\n)--(\r?\n|$)")));
    const auto fresh = [](const WagerType &wager) { return Card(wager.kind, 20); };
    Play play;
    if (blocks.size() != 2)
        return false;
    if (!blocks[0].trimmed().isEmpty()) {
        const PlayReading reading = readPlay(blocks[0], locale, fresh, true);
        if (!reading.problem.isEmpty())
            return false;
        play = reading.play;
    }
    QStringList boxTexts(3), ticketLines;
    for (const QString &line : blocks[1].split(QRegularExpression(QStringLiteral("\r?\n")))) {
        const auto box = std::find_if(std::begin(kBoxes), std::end(kBoxes),
                                      [&](const QString &name) { return line.startsWith(name); });
        if (box != std::end(kBoxes))
            boxTexts[box - std::begin(kBoxes)] = line.mid(box->size());
        else
            ticketLines << line;
    }
    PlayReading window;
    if (!ticketLines.join(QString()).trimmed().isEmpty()) {
        window = readPlay(ticketLines.join(u'\n'), locale, fresh, true);
        if (!window.problem.isEmpty() || window.play.tickets.size() != 1)
            return false;
    }
    // The boxes as they were, the field size's races afresh; then the play, and the window's
    // ticket over its races.
    Combo1->setText(boxTexts[0]);
    Combo2->setText(boxTexts[1]);
    showLegs(legsFor(boxTexts[1]));
    Combo3->setText(boxTexts[2]);
    m_play = play;
    m_brought = -1;
    if (window.play.wager) {
        loadTicket(window.play.tickets.first(), window.play.card);
        // The wager type as it was typed, which names the same wager type.
        const QSignalBlocker typed(Combo2);
        Combo2->setCurrentIndex(Combo2->findText(boxTexts[1]));
        Combo2->setEditText(boxTexts[1]);
        Combo3->setText(boxTexts[2]);
    }
    showPlayView();
    Command8_Click();
    return true;
}

} // namespace ztc
