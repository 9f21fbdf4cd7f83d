// SPDX-License-Identifier: MIT
// The window: random user actions, each checked against a model of everything the window must
// show; and what the model does not look at: layout, accessible names and the help text. The
// model follows the window's rules by itself and borrows only the core's readings and ticket
// text, which the core tests check.
#include "asking.h"
#include "formdriver.h"
#include "numbers.h"
#include "playpanel.h"
#include "playtext.h"
#include "rules.h"
#if QT_CONFIG(scroller)
#include "touch.h"
#endif

#include <QAccessible>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTextBlock>

#include <functional>
#include <memory>
#include <utility>

using namespace ztc;

namespace {

// The program's own options, taken out before Qt Test reads the rest:
//   -actions N  the soak's actions per seed (5000): a shorter soak where the Linux build's
//               full one has checked the same code, a longer one by hand
//   -system     the locale is the platform's own, from the desktop's regional settings or the
//               browser's language, and must be the one the data tag names
int g_actions = 5000;
bool g_systemLocale = false;

// Texts entered into each box, typed or pasted.
const std::array<QStringList, 3> kTexts = {
    QStringList{"", "1", "12", "20", "5.5", "0.5", "-3", "abc", "12abc", "99", "150", "1e400",
                "&HFFFF", " 1 2", "1\r2", "\u0663", "\U0001F40E", QString(100000, u'8')},
    QStringList{"DOUBLE", " Double", "Double ", "pick 3", "\u0130", "Super High 5",
                QString::fromUtf16(u"Dou\0ble", 7), QString(100000, u'x')},
    QStringList{"", "$", "$-", "$2.5", "3", "-$5.00", "($5.25)", "$1,000.00", "$1,2,3", "1e300",
                "1e290", "\u20ac3", "2,50 \u20ac", "$" + QString(99999, u'1')}};
enum Action { Click, All, Clear, ClearAll, Calc, Help };
// Phones the touch arrangement is tried on, each upright and sideways, in the page's pixels.
// A phone's long press, shortened so that the soak need not wait the platform's 800 ms for each;
// but a tap is a long press too if a busy machine stalls that long between its touch and its
// lift (200 ms was seen in a browser beside three builds).
constexpr int kHold = 500;
const QList<QSize> kPhones = {{390, 844}, {844, 390}, {412, 915},
                              {915, 412}, {360, 640}, {640, 360}};

struct Soak {
    // touch: the window arranged for a phone, which also turns and is scrolled by a finger.
    Soak(Form1 &w, const QLocale &locale, quint64 seed, bool touch)
        : w(w), locale(locale), rng(seed), touch(touch) {
        change(0, boxText[0]); // start-up sets the boxes' texts as code
        change(2, boxText[2]);
    }
    Form1 &w;
    const QLocale locale; // the desktop's, as Qt's data describes it on every platform
    QRandomGenerator rng;
    const bool touch;
    std::function<void(bool)> pending; // an event queued during a click

    // The model: what the window must show, changed by the window's rules.
    std::array<RunnerList, kLegCount> legs;
    std::array<QSet<int>, kLegCount> scratched;
    std::array<QHash<int, char>, kLegCount> grades;
    QString count, shortCount; // the combinations beside the buttons, with the sum or without
    MinimumTable minimums = commonMinimums();
    std::array<QString, 3> boxText{kFieldSizeStart, kWagerTypeStart, kBaseAmountStart};
    std::array<int, 3> current{19, 0, 5}; // each box's current item: "20", none, "$2.00"
    int legsShown = 0, calcs = 0;
    bool oneRace = false; // the legs' races one race, a same-race exotic's
    Play play;            // the tickets kept, over the play's card
    int brought = -1;     // the kept ticket brought back into the window
    QString text, focus = QStringLiteral("Combo1");
    CalcState record;
    QString fault; // what an action saw go wrong that the rest of the model does not show

    bool help() const { return record.intHelpMode == 1; }
    ComboBox *box(int b) const { return b == 0 ? w.Combo1 : b == 1 ? w.Combo2 : w.Combo3; }
    void calc() {
        ++calcs;
        // The count goes with the ticket: neither changes where no wager type is named. Beside
        // it, what the ticket falls short of the track's minimums, with the count's sum where
        // there is room for both.
        text = calculateTicket({boxText[1], legs}, record, locale).value_or(text);
        if (const std::optional<TicketCount> covered = countTicket({boxText[1], legs})) {
            count = shortCount = describeCount(*covered, locale);
            const QString warning = shortfall(*ticket(), covered->combinations,
                                              minimumsFor(minimums, *ticket()->wager), locale);
            if (!warning.isEmpty()) {
                count += '\n' + warning;
                shortCount = describeCombinations(covered->combinations, locale) + '\n' + warning;
            }
        }
    }
    // The lists refilled for the field size, races afresh; the play's races only resized.
    void refill() {
        const double size = Val(boxText[0]);
        if (!(size > 0))
            return;
        const int runners = int(std::min<double>(size, kMaxField));
        for (int leg = 1; leg <= kLegCount; ++leg) {
            if (!showsPlay()) {
                scratched[leg - 1].clear();
                grades[leg - 1].clear();
            }
            scratched[leg - 1].removeIf([&](int r) { return r > runners; });
            grades[leg - 1].removeIf([&](const auto &g) { return g.key() > runners; });
            legs[leg - 1] = raceList({runners, scratched[leg - 1], grades[leg - 1]}, {});
        }
        if (showsPlay() && card().kind() == play.card.kind())
            play.card = card();
    }
    bool showsPlay() const {
        return !play.tickets.isEmpty() && findWagerType(boxText[1]) == play.wager;
    }
    // The races the lists show.
    Card card() const {
        Card races(WagerKind::MultiRace, 0);
        for (int leg = 1; leg <= kLegCount; ++leg)
            races.change(leg, [&](Race &race) { race = this->race(leg); });
        races.setKind(oneRace ? WagerKind::SameRaceExotic : WagerKind::MultiRace);
        return races;
    }
    void showRaces(const Card &races) {
        for (int leg = 1; leg <= kLegCount; ++leg) {
            legs[leg - 1] = raceList(races.race(leg), {});
            scratched[leg - 1] = races.race(leg).scratched;
            grades[leg - 1] = races.race(leg).grades;
        }
        oneRace = races.oneRace();
    }
    // The lists refilled for the races they hold, nothing chosen.
    void rerun() {
        for (int leg = 1; leg <= kLegCount; ++leg)
            legs[leg - 1] = raceList(race(leg), {});
    }
    // Whether the legs are one race: as the wager type last named makes them.
    void nameRaces() {
        if (const WagerType *wager = findWagerType(boxText[1]))
            oneRace = wager->isExotic();
    }
    // The leg's race as the model has it: the list's runners, those scratched and graded.
    Race race(int leg) const {
        return {int(legs[leg - 1].size()) - 1, scratched[leg - 1], grades[leg - 1]};
    }
    bool isScratched(int leg, int row) const {
        return row + 1 < legs[leg - 1].size() && scratched[leg - 1].contains(row + 1);
    }
    void change(int b, const QString &typed) { // after every key or paste
        boxText[b] = typed;
        if (b == 0)
            refill();
        if (const auto amount = b == 2 ? toMoney(typed, locale) : std::nullopt) {
            record.dblBaseAmt = amount->amount;
            record.bolBaseInUsDollars = amount->usDollars;
        }
    }
    void picked(int b, int index) {
        current[b] = index;
        change(b, box(b)->itemText(index)); // refills the lists, or stores the amount
        if (b == 1) {
            // A wager type of the kind the races are for keeps them.
            legsShown = legsFor(boxText[1]);
            const WagerType *wager = findWagerType(boxText[1]);
            const bool sameKind = wager && wager->isExotic() == oneRace;
            nameRaces();
            if (Val(boxText[0]) > 0 && showsPlay())
                showRaces(play.card);
            else if (Val(boxText[0]) > 0 && sameKind)
                rerun();
            else
                refill();
            brought = showsPlay() ? brought : -1;
        }
        focus = b < 2 ? QStringLiteral("Command8") : focus;
        calc();
    }
    void stepped(int b, int by) {
        if (const int to = current[b] + by; to >= 0 && to < box(b)->count())
            picked(b, to);
    }
    void clicked(int leg, int row, bool plain = false) { // plain: while clicks are ignored
        RunnerList &list = legs[leg - 1];
        if (isScratched(leg, row))
            return; // never selected, so nothing is raised
        list[row].selected = !list[row].selected;
        if (plain)
            return;
        if (row == list.size() - 1) {
            late(true); // "All" lets waiting events run before it selects the leg
            for (int i = 0; i < list.size(); ++i)
                list[i].selected = i + 1 < list.size() && !isScratched(leg, i);
        }
        calc();
    }
    // A race changed from a leg's menu: that leg's, or for a same-race exotic every leg's.
    void raced(int leg, const std::function<void(Race &)> &change) {
        nameRaces();
        // One race for a same-race exotic: the menu's leg's, changed, in every leg.
        Race race = this->race(leg);
        change(race);
        race.scratched.removeIf([&](int r) { return r > race.runners; });
        race.grades.removeIf([&](const auto &g) { return g.key() > race.runners; });
        for (int l = 1; l <= kLegCount; ++l) {
            if (l != leg && !oneRace)
                continue;
            QSet<int> chosen;
            for (const ListItem &item : std::as_const(legs[l - 1]))
                if (item.selected && item.text != u"All")
                    chosen << item.text.toInt();
            const bool all = !legs[l - 1].isEmpty() && legs[l - 1].last().selected;
            legs[l - 1] = raceList(race, chosen);
            // "All" keeps its mark, as does every item the menu does not name.
            legs[l - 1].last().selected = all;
            scratched[l - 1] = race.scratched;
            grades[l - 1] = race.grades;
        }
        if (showsPlay())
            play.card = card();
        calc();
    }
    void late(bool plain) { // where the window's event pass dispatches the queued event
        if (pending && !help())
            std::exchange(pending, nullptr)(plain);
    }

    // The first difference between the window and the model, or an empty text.
    QString difference(int calculations) const {
        if (!fault.isEmpty())
            return fault;
        for (int leg = 1; leg <= kLegCount; ++leg) {
            RunnerList shown;
            for (int i = 0; i < w.list(leg)->count(); ++i)
                shown.append({w.list(leg)->itemText(i), w.list(leg)->isSelected(i)});
            const bool used = leg <= legsShown;
            if (shown != legs[leg - 1] || w.list(leg)->isVisible() != used ||
                w.legLabel(leg)->isVisible() != used || w.clearButton(leg)->isVisible() != used)
                return QStringLiteral("leg %1").arg(leg);
            if (w.list(leg)->race().scratched != scratched[leg - 1])
                return QStringLiteral("the scratched runners of leg %1").arg(leg);
            if (w.list(leg)->race().grades != grades[leg - 1])
                return QStringLiteral("the graded runners of leg %1").arg(leg);
        }
        if (w.LabelCount->text() != count && w.LabelCount->text() != shortCount)
            return "the count " + w.LabelCount->text() + ", not " + count;
        for (int b = 0; b < 3; ++b)
            if (box(b)->text() != boxText[b] || box(b)->currentIndex() != current[b])
                return box(b)->objectName() + " holds " + box(b)->text().left(40);
        if (w.Text1->text() != text)
            return "ticket text:\n" + w.Text1->text().left(300) + "\nexpected:\n" + text.left(300);
        for (const QWidget *c : w.controls())
            if (c->focusPolicy() != Qt::NoFocus && c != w.Text1 && c != w.Command9 &&
                c->isEnabled() == help())
                return c->objectName() + " enabled in help mode, or disabled outside it";
        if (!(w.state() == record))
            return QStringLiteral("the state record");
        if (w.Command9->text() != (help() ? u"Back" : u"Help"))
            return "help caption " + w.Command9->text();
        const QWidget *f = QApplication::focusWidget();
        if (!f || f->objectName() != focus)
            return "focus on " + (f ? f->objectName() : QStringLiteral("nothing")) + ", not " +
                   focus;
        if (calculations != calcs)
            return QStringLiteral("%1 calculations, not %2").arg(calculations).arg(calcs);
        return playDifference();
    }

    // The play the window keeps and shows, against the model's.
    QString playDifference() const {
        const Play &kept = w.play();
        if (kept.wager != play.wager || kept.tickets != play.tickets)
            return "the play: " + playText(kept, locale) + "\nexpected:\n" + playText(play, locale);
        for (int leg = 1; play.wager && leg <= play.wager->legs; ++leg)
            if (kept.card.race(leg) != play.card.race(leg))
                return QStringLiteral("the play's race of leg %1").arg(leg);
        if (w.broughtBack() != brought)
            return QStringLiteral("ticket %1 brought back, not %2")
                .arg(w.broughtBack())
                .arg(brought);
        const PlayPanel *view = w.PlayView;
        if (view->isHidden() != play.tickets.isEmpty() ||
            view->ListPlay->count() != play.tickets.size())
            return QStringLiteral("the play's panel");
#ifndef Q_OS_WASM // where the page, not the window, sizes the screen
        if (!touch && w.width() != (play.tickets.isEmpty() ? 763 : 1063))
            return QStringLiteral("a window %1 wide").arg(w.width());
#endif
        if (play.tickets.isEmpty())
            return {};
        // Its totals, as counted for the model's play.
        const PlayCount count = play.count();
        const QString totals = view->LabelTotals->text();
        if (!totals.contains(
                formatCurrency(count.cost, locale, play.tickets.first().base.usDollars)) ||
            !totals.contains(locale.toString(count.bought, 'f', 0) + " combinations bought, " +
                             locale.toString(count.different, 'f', 0) + " different, " +
                             locale.toString(count.heldTwice, 'f', 0) + " held more than once"))
            return "the play's totals " + totals;
        return {};
    }

    // One random action, on the window and the model.
    QString step() {
        if (touch && rng.bounded(20) == 0)
            return finger();
        if (rng.bounded(16) == 0)
            return inPlay();
        const int roll = int(rng.bounded(100));
        const bool queued = roll < 58 && rng.bounded(8) == 0;
        if (queued)
            queue();
        QString what;
        if (roll < 44)
            what = runner(roll < 38 ? Click : All);
        else if (roll < 58)
            what = press(roll < 47 ? Clear : roll < 49 ? ClearAll : roll < 52 ? Calc : Help);
        else if (roll < 95)
            what = help() ? press(Help) : inBox(roll % 3);
        else
            what = race();
        QCoreApplication::processEvents();
        pending = nullptr;
        return queued ? what + QStringLiteral(" with a queued event") : what;
    }
    template <typename T> T any(const QList<T> &pool) {
        return pool.at(rng.bounded(pool.size()));
    }
    int anyLeg() {
        return legsShown ? 1 + int(rng.bounded(legsShown)) : 0;
    }

    QString runner(Action how) {
        const int leg = anyLeg();
        if (!leg)
            return press(Calc);
        ListBox *list = w.list(leg);
        const int row = how == All ? list->count() - 1 : int(rng.bounded(list->count()));
        driver::clickItem(list, row);
        if (help())
            return QStringLiteral("click on a disabled leg");
        focus = list->objectName();
        clicked(leg, row);
        late(false);
        return QStringLiteral("action %1 on item %2 of leg %3").arg(how).arg(row).arg(leg);
    }

    // The submenu of a menu's item, opened by a click on it.
    static QMenu *submenu(QMenu *menu, QAction *item) {
        driver::clickAt(menu, menu->actionGeometry(item).center());
        QMenu *opened = item->menu();
        return QTest::qWaitFor([&] { return opened->isVisible(); }, 5000) ? opened : nullptr;
    }

    // A menu's choice acts once the menu has gone, in a later pass of the event loop.
    static void chosen() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // A leg's menu, opened on a runner by a right click (on a phone a long press) or on the
    // current one with Shift+F10 or the menu key, and one of its items, or none: the runner
    // scratched or restored, the race's size, every runner restored.
    QString race() {
        const int leg = anyLeg();
        if (!leg || help())
            return press(Calc);
        ListBox *list = w.list(leg);
        const int row = int(rng.bounded(list->count()));
        // The keys on a desktop: a phone's tiles are no column to walk down.
        const int how = touch ? 2 + int(rng.bounded(2)) : int(rng.bounded(3));
        if (how < 2) {
            driver::focusList(list, row);
            driver::key(how ? Qt::Key_Menu : Qt::Key_F10, how ? Qt::NoModifier : Qt::ShiftModifier);
        } else {
            const QRect item = list->visualItemRect(list->item(row));
            if (!driver::reveal(list->viewport(), item))
                return QStringLiteral("a menu out of sight");
#ifdef Q_OS_WASM // where a test cannot wait for a long press
            const bool hold = false;
#else
            const bool hold = how == 3;
#endif
            if (hold)
                driver::hold(list->viewport(), item.center());
            else
                QTest::mouseClick(list->viewport(), Qt::RightButton, {}, item.center());
        }
        focus = list->objectName();
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return fault = QStringLiteral("no menu on item %1 of leg %2").arg(row).arg(leg);
        const QList<QAction *> items = menu->actions();
        const Race race = this->race(leg);
        const bool runner = row < race.runners;
        const QString expected =
            runner ? QString(race.scratched.contains(row + 1) ? "Restore %1" : "Scratch %1")
                         .arg(row + 1)
                   : QStringLiteral("Runners in this race");
        // The menu goes once an item is chosen, and its items with it.
        const QString first = items.first()->text();
        if (first != expected)
            return fault = "the menu begins " + first + ", not " + expected;
        // Grades for a runner who runs in a multi-race wager's leg.
        const WagerType *wager = findWagerType(boxText[1]);
        const bool grading =
            runner && !race.scratched.contains(row + 1) && wager && !wager->isExotic();
        const auto named = [&](const QString &start) {
            const auto found = std::find_if(items.begin(), items.end(), [&](QAction *a) {
                return a->text().startsWith(start);
            });
            return found == items.end() ? nullptr : *found;
        };
        if (bool(named("Grade ")) != grading)
            return fault = QStringLiteral("leg %1's menu %2 grades")
                               .arg(leg)
                               .arg(grading ? "lacks" : "has");
        const int choice = int(rng.bounded(6));
        if (choice == 0) {
            QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
            return QStringLiteral("a menu on item %1 of leg %2, closed").arg(row).arg(leg);
        }
        if (choice == 1 && runner) {
            driver::clickAt(menu, menu->actionGeometry(items.first()).center());
            chosen();
            // As the menu's leg has it, in every leg it changes.
            const bool was = race.scratched.contains(row + 1);
            raced(leg, [&](Race &r) {
                was ? void(r.scratched.remove(row + 1)) : void(r.scratched.insert(row + 1));
            });
            return first + QStringLiteral(" in leg %1").arg(leg);
        }
        if (choice == 2 && !race.scratched.isEmpty()) {
            driver::clickAt(menu, menu->actionGeometry(items.last()).center());
            chosen();
            raced(leg, [](Race &r) { r.scratched.clear(); });
            return QStringLiteral("every runner of leg %1 restored").arg(leg);
        }
        if (choice == 3 && grading) {
            QMenu *grades = submenu(menu, named("Grade "));
            if (!grades)
                return fault = QStringLiteral("no grades for leg %1").arg(leg);
            const QList<QAction *> offered = grades->actions();
            // The grade he has checked: A, B, C, or the last, none.
            if (!offered.at(std::string_view("ABC").find(race.grades.value(row + 1, 'D')) % 4)
                     ->isChecked())
                return fault = QStringLiteral("runner %1 of leg %2 checks another grade")
                                   .arg(row + 1)
                                   .arg(leg);
            QAction *grade = offered.at(rng.bounded(offered.size()));
            const QString given = grade->text(); // the menu goes with the choice
            driver::clickAt(grades, grades->actionGeometry(grade).center());
            chosen();
            raced(leg, [&](Race &r) {
                given.size() == 1 ? void(r.grades.insert(row + 1, given[0].toLatin1()))
                                  : void(r.grades.remove(row + 1));
            });
            return QStringLiteral("runner %1 of leg %2 graded %3").arg(row + 1).arg(leg).arg(given);
        }
        QMenu *sizes = submenu(menu, named("Runners in this race"));
        if (!sizes)
            return fault = QStringLiteral("no sizes for leg %1").arg(leg);
        const QList<QAction *> offered = sizes->actions();
        const QAction *checked = nullptr;
        for (const QAction *size : offered)
            checked = size->isChecked() ? size : checked;
        if ((checked ? checked->text().toInt() : 0) != (race.runners >= 2 ? race.runners : 0) &&
            race.runners <= 20)
            return fault = QStringLiteral("leg %1 of %2 runners checks %3")
                               .arg(leg)
                               .arg(race.runners)
                               .arg(checked ? checked->text() : "none");
        QAction *size = offered.at(rng.bounded(offered.size()));
        const int runners = size->text().toInt();
        driver::clickAt(sizes, sizes->actionGeometry(size).center());
        chosen();
        raced(leg, [&](Race &r) { r.runners = runners; });
        return QStringLiteral("leg %1 a race of %2").arg(leg).arg(runners);
    }

    // A leg's Clear, CLEAR ALL, CALC or Help, by mouse or with Space or Enter.
    QString press(Action which) {
        const int leg = anyLeg();
        which = which == Clear && !leg ? ClearAll : which;
        QPushButton *button = which == Clear      ? w.clearButton(leg)
                              : which == ClearAll ? w.Command7
                              : which == Calc     ? w.Command8
                                                  : w.Command9;
        // A key's press and release are two events of the window system, and queued events
        // run between them: a queued click there takes the focus and so cancels the press, a
        // case the model leaves out.
        if (button->isEnabled() && !pending && rng.bounded(4) == 0) {
            // Focused as Tab would focus it: a button does nothing on gaining the focus, and
            // reaching it by Tab would take a path through controls that differs by state.
            button->setFocus(Qt::TabFocusReason);
            driver::key(any<Qt::Key>({Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}));
        } else {
            driver::click(button);
        }
        if (which == Help) {
            focus = QStringLiteral("Command9");
            record.intHelpMode = help() ? 0 : 1;
            record.strTextPersisted = help() ? text : record.strTextPersisted;
            text = help() ? helpText() : record.strTextPersisted;
        } else if (!help()) {
            for (int l = 1; l <= kLegCount; ++l) {
                if (which == ClearAll || (which == Clear && l == leg)) {
                    for (ListItem &item : legs[l - 1])
                        item.selected = false;
                    calc();
                }
                if (which == ClearAll && l == 1)
                    late(false); // the first leg's event pass
            }
            focus = QStringLiteral("Command8");
            if (which != Clear)
                calc();
        }
        late(false);
        return button->objectName();
    }

    // A click on a runner, or an arrow key on a box, made while the window is busy with the next
    // action: it arrives in one of that action's event passes. A disabled control drops it.
    void queue() {
        const int leg = anyLeg(), b = int(rng.bounded(3)), by = rng.bounded(2) ? 1 : -1;
        ListBox *list = w.list(leg ? leg : 1);
        const int row = int(rng.bounded(list->count()));
        const bool click = leg && rng.bounded(3);
        QWidget *target = click ? static_cast<QWidget *>(list) : box(b);
        // The arrow goes to the box itself, not through the window to the focus widget: during
        // an action the focus is on the control clicked, and the point is a step arriving while
        // a handler runs. A box steps the same for an arrow however it arrives, and the window
        // has no shortcut an arrow could set off on the way.
        QMetaObject::invokeMethod(
            target,
            [=] {
                if (target->isEnabled())
                    click ? driver::clickItem(list, row)
                          : QTest::keyClick(target, by > 0 ? Qt::Key_Down : Qt::Key_Up);
            },
            Qt::QueuedConnection);
        pending = [=, this](bool plain) {
            focus = click ? list->objectName() : focus;
            click ? clicked(leg, row, plain) : stepped(b, by);
        };
    }

    // The play: a ticket kept, removed or brought back, the play copied or text pasted.
    QString inPlay() {
        switch (rng.bounded(12)) {
        case 0:
        case 1:
            return keep();
        case 10:
            return reload();
        case 11:
            return startedAgain();
        case 2:
            return remove();
        case 3:
            return bringBack();
        case 4:
            return copy();
        case 5:
        case 6:
            return paste();
        case 7:
            return fit();
        case 8:
            return makeAbc();
        default:
            return minimumsChanged();
        }
    }

    // An item of the ticket's menu, or of the play's (where it shows, on a desktop); the
    // dialog it opens, if any.
    AmountsDialog *fromMenu(const QString &item, bool ofPlay) {
        QWidget *on = ofPlay ? w.PlayView->ListPlay->viewport() : w.Text1->viewport();
        if (!on->isVisible() || (ofPlay && touch) || !driver::reveal(on, on->rect()))
            return nullptr;
        focus = ofPlay ? w.PlayView->ListPlay->objectName() : w.Text1->objectName();
        bool found = false;
        AmountsDialog *dialog = fromMenuOn(on, item, found);
        if (!found)
            fault = "no " + item + " in a menu";
        return dialog;
    }
    // The item of the menu a right click on the widget opens, clicked, and the dialog it opens;
    // found says whether the menu had it.
    static AmountsDialog *fromMenuOn(QWidget *on, const QString &item, bool &found) {
        QTest::mouseClick(on, Qt::RightButton, {}, {4, 4});
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        const QList<QAction *> items = menu ? menu->actions() : QList<QAction *>();
        const auto at = std::find_if(items.begin(), items.end(),
                                     [&](QAction *a) { return a->text().startsWith(item); });
        found = at != items.end();
        if (!found)
            return nullptr;
        driver::clickAt(menu, menu->actionGeometry(*at).center());
        chosen();
        return qobject_cast<AmountsDialog *>(QApplication::activeModalWidget());
    }
    // Texts typed into a dialog's fields, at random among sound and unsound amounts.
    QString amount() {
        return any(QStringList{"$30", "10", "$0.50", "2", "0", "-5", "abc", "$2,000,000",
                               "2,50 \u20ac", "0,50 $", "$1.25", "", "$500", "$500.01"});
    }
    // Types into the dialog's field, as a person does: a click there, all of it selected, and
    // each key.
    static void fill(AmountsDialog *dialog, int field, const QString &text) {
        QLineEdit *into = dialog->field(field);
        QTest::mouseClick(into, Qt::LeftButton, {}, into->rect().center());
        QTest::keyClick(dialog->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Backspace);
        for (const QString &typed : driver::typedPrefixes(text).mid(1))
            QTest::sendKeyEvent(QTest::Click, dialog->windowHandle(), Qt::Key_unknown,
                                typed.right(typed.size() - into->text().size()), Qt::NoModifier);
    }
    // OK pressed with Enter: whether the dialog read what it holds and closed, or else what it
    // says is wrong; a dialog left open is cancelled with Escape.
    QString submit(AmountsDialog *dialog, const QString &problem) {
        const QPointer<AmountsDialog> open = dialog;
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        if (open && open->isVisible()) {
            const auto *label = [&]() -> QLabel * {
                for (QLabel *l : open->findChildren<QLabel *>())
                    if (l->accessibleName() == u"Problem")
                        return l;
                return nullptr;
            }();
            const QString shown = label ? label->text() : QString();
            QTest::keyClick(open->windowHandle(), Qt::Key_Escape);
            QApplication::setActiveWindow(&w);
            if (problem.isEmpty() || !shown.contains(problem))
                fault = "the dialog said " + shown + ", not " + problem;
            return shown;
        }
        QApplication::setActiveWindow(&w);
        if (!problem.isEmpty())
            fault = "the dialog closed, and did not say " + problem;
        return {};
    }
    // What a budget or base typed reads as, or the problem the dialog says.
    std::optional<Money> typedMoney(const QString &text, QString &problem) const {
        const std::optional<Money> read = toMoney(text.trimmed(), locale);
        if (!read)
            problem = QStringLiteral(" is no amount.");
        return read;
    }

    // A budget for the ticket, or for the play, fitted to: its base or bases on the step, or the
    // least budget that would do.
    QString fit() {
        const bool ofPlay = !play.tickets.isEmpty() && rng.bounded(2);
        const std::optional<Ticket> own = ticket();
        if (help() || (!ofPlay && !own))
            return QStringLiteral("no fit");
        AmountsDialog *dialog = fromMenu(ofPlay ? "Fit the play" : "Fit to a budget", ofPlay);
        if (!dialog)
            return fault.isEmpty() ? QStringLiteral("no fit in sight") : fault;
        const QString typed = amount();
        fill(dialog, 0, typed);
        QString problem;
        const std::optional<Money> budget = typedMoney(typed, problem);
        QList<Ticket> tickets = ofPlay ? play.tickets : QList<Ticket>{*own};
        const Card races = ofPlay ? play.card : card();
        const bool dollars = tickets.first().base.usDollars;
        std::vector<double> combinations;
        for (const Ticket &t : std::as_const(tickets))
            combinations.push_back(t.combinations(races));
        Fit fit;
        if (budget && !(budget->amount > 0))
            problem = QStringLiteral("A budget is an amount above nothing.");
        else if (budget && budget->amount > kMostBudget)
            problem = QStringLiteral("A budget is at most");
        else if (budget && budget->usDollars != dollars)
            problem = QStringLiteral("another currency");
        else if (budget &&
                 (fit = fitBudget(tickets, combinations,
                                  minimumsFor(minimums, *tickets.first().wager), budget->amount))
                     .bases.isEmpty())
            problem = "needs at least " + formatCurrency(fit.cost, locale, dollars) + '.';
        submit(dialog, problem);
        if (!problem.isEmpty())
            return "a budget of " + typed + " refused";
        if (ofPlay) {
            for (qsizetype i = 0; i < play.tickets.size(); ++i)
                play.tickets[i].base.amount = fit.bases[i];
        } else {
            const Money base{fit.bases.first(), dollars};
            QString shown = formatCurrency(base.amount, locale, base.usDollars);
            for (int i = 0; i < w.Combo3->count(); ++i)
                if (const auto offered = toMoney(w.Combo3->itemText(i), locale);
                    offered && offered->amount == base.amount &&
                    offered->usDollars == base.usDollars)
                    shown = w.Combo3->itemText(i);
            boxText[2] = shown;
            current[2] = w.Combo3->findText(shown);
            record.dblBaseAmt = base.amount;
            record.bolBaseInUsDollars = base.usDollars;
            calc();
        }
        return "a budget of " + typed + (ofPlay ? " for the play" : " for the ticket");
    }

    // The A-B-C tickets of the graded runners, at the bases the dialog offers or others typed.
    QString makeAbc() {
        if (help())
            return QStringLiteral("no A-B-C in help mode");
        const WagerType *wager = findWagerType(boxText[1]);
        const bool made = wager && !wager->isExotic() && !oneRace;
        if (!w.Text1->viewport()->isVisible())
            return QStringLiteral("no A-B-C in sight");
        AmountsDialog *dialog = fromMenu("Make A-B-C", false);
        if (!fault.isEmpty())
            return fault;
        if (!made) {
            answer(true, QStringLiteral("A-B-C over no multi-race wager"));
            return QStringLiteral("no A-B-C tickets to make");
        }
        if (!dialog)
            return fault = QStringLiteral("no A-B-C dialog");
        QString problem;
        std::optional<Money> allA = Money{record.dblBaseAmt, record.bolBaseInUsDollars}, backup;
        backup =
            Money{std::max(kBaseStep, std::floor(allA->amount / 4 / kBaseStep + 1e-9) * kBaseStep),
                  allA->usDollars};
        if (rng.bounded(2)) {
            const QString typed = amount();
            fill(dialog, 1, typed);
            backup = typedMoney(typed, problem);
        }
        if (backup && (!(allA->amount > 0) || !(backup->amount > 0)))
            problem = QStringLiteral("A base is an amount above nothing.");
        const auto tickets = backup ? abcTickets(*wager, card(), *allA, *backup, false)
                                    : std::variant<QList<Ticket>, QString>{};
        if (backup && problem.isEmpty() && std::holds_alternative<QString>(tickets))
            problem = std::get<QString>(tickets);
        const QList<Ticket> *kept =
            problem.isEmpty() ? std::get_if<QList<Ticket>>(&tickets) : nullptr;
        const bool other = kept && !play.tickets.isEmpty() && play.wager != wager;
        if (kept && !other && play.tickets.size() + kept->size() > kMostTickets)
            problem = QStringLiteral("A play holds at most");
        submit(dialog, problem);
        if (!problem.isEmpty() || !kept)
            return QStringLiteral("A-B-C tickets refused");
        if (other) {
            startOver({wager, card(), *kept},
                      QStringLiteral("A-B-C tickets of another wager type"));
            return QStringLiteral("A-B-C tickets, a new play");
        }
        play.wager = wager;
        play.card = card();
        play.tickets << *kept;
        return QStringLiteral("%1 A-B-C tickets made").arg(kept->size());
    }

    // A wager type's minimum typed over in the track's minimums.
    QString minimumsChanged() {
        AmountsDialog *dialog = help() ? nullptr : fromMenu("Track minimums", false);
        if (!dialog)
            return fault.isEmpty() ? QStringLiteral("no minimums in sight") : fault;
        const int field = int(rng.bounded(dialog->fields()));
        const QString typed = amount();
        fill(dialog, field, typed);
        QString problem;
        const std::optional<Money> read = typedMoney(typed, problem);
        if (!read && typed.trimmed().isEmpty() && field % 2)
            problem.clear();
        MinimumTable table = minimums;
        Minimums &changed = table[std::size_t(field / 2)];
        (field % 2 ? changed.ticket : changed.base) = read ? read->amount : 0;
        if (problem.isEmpty() && (changed.base < 0 || changed.ticket < 0 ||
                                  changed.base > kMostMinimum || changed.ticket > kMostMinimum))
            problem = QStringLiteral("a minimum is between nothing and");
        submit(dialog, problem);
        if (!problem.isEmpty())
            return "a minimum of " + typed + " refused";
        minimums = table;
        calc();
        return "a minimum of " + typed;
    }

    // The program started again beside this one: its own Track minimums show those this one
    // kept.
    QString startedAgain() {
        if (touch || help())
            return QStringLiteral("not started again: a phone, or help mode");
        Form1 again;
        again.show();
        QApplication::setActiveWindow(&again);
        if (!QTest::qWaitForWindowActive(&again))
            return fault = QStringLiteral("the program started again shows no window");
        bool found = false;
        AmountsDialog *dialog = fromMenuOn(again.Text1->viewport(), "Track minimums", found);
        if (!found)
            return fault = QStringLiteral("no Track minimums in a window started again");
        for (std::size_t i = 0; dialog && i < minimums.size(); ++i) {
            const QString base = formatCurrency(minimums[i].base, locale, true);
            const QString least = minimums[i].ticket > 0
                                      ? formatCurrency(minimums[i].ticket, locale, true)
                                      : QString();
            const QString shown =
                dialog->field(int(2 * i))->text() + " / " + dialog->field(int(2 * i + 1))->text();
            if (shown != base + " / " + least)
                fault = "started again, minimums " + shown + ", not " + base + " / " + least;
        }
        if (dialog)
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
        again.close();
        QApplication::setActiveWindow(&w);
        if (!QTest::qWaitForWindowActive(&w))
            fault = QStringLiteral("the window never came back from one started again");
        if (!dialog)
            fault = QStringLiteral("no minimums in a window started again");
        return fault.isEmpty() ? QStringLiteral("started again") : fault;
    }

    // The window's ticket, as the model has it.
    std::optional<Ticket> ticket() const {
        const WagerType *wager = findWagerType(boxText[1]);
        if (!wager)
            return std::nullopt;
        Ticket t{wager, {record.dblBaseAmt, record.bolBaseInUsDollars}, {}};
        for (int leg = 1; leg <= wager->legs; ++leg)
            for (qsizetype i = 0; i + 1 < legs[leg - 1].size(); ++i)
                if (legs[leg - 1][i].selected)
                    t.legs[std::size_t(leg - 1)] << legs[leg - 1][i].text.toInt();
        return t;
    }

    // What the window says, if it is to say something, answered: a word closed, a question
    // answered yes or no at random. Whether it said yes.
    bool answer(bool expected, const QString &what) {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (bool(box) != expected) {
            fault = what + (box ? " said " + box->text() : QStringLiteral(" said nothing"));
            return false;
        }
        if (!box)
            return false;
        const bool yes = box->buttons().size() > 1 && rng.bounded(2);
        QTest::keyClick(box->windowHandle(), yes ? Qt::Key_Return : Qt::Key_Escape);
        if (!QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 1000))
            fault = what + ": its word did not close";
        // As a desktop does, the window active again.
        QApplication::setActiveWindow(&w);
        return yes;
    }

    // A play over the model's, once the user says yes; the old one copied first.
    void startOver(const Play &next, const QString &what) {
        const QString before = playText(play, locale);
        if (!answer(true, what))
            return;
        if (QGuiApplication::clipboard()->text() != before)
            fault = what + ": the old play was not copied";
        play = next;
        brought = -1;
    }

    QString keep() {
        const int how = int(rng.bounded(3));
        if (help() || how == 0) {
            driver::key(Qt::Key_K, Qt::ControlModifier);
        } else if (how == 1) {
            driver::click(w.CommandKeep);
            focus = w.CommandKeep->objectName();
        } else {
            if (!driver::reveal(w.Text1->viewport(), w.Text1->viewport()->rect()))
                return QStringLiteral("a ticket out of sight");
            QTest::mouseClick(w.Text1->viewport(), Qt::RightButton, {}, {4, 4});
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu || !menu->actions().value(0)->text().startsWith("Keep this ticket"))
                return fault = QStringLiteral("no Keep in the ticket's menu");
            driver::clickAt(menu, menu->actionGeometry(menu->actions().value(0)).center());
            chosen();
            focus = w.Text1->objectName();
        }
        const QString what = QStringLiteral("Keep by %1").arg(how);
        if (help())
            return what + QStringLiteral(" in help mode");
        const std::optional<Ticket> kept = ticket();
        const Card races = card();
        bool said = !kept || races.oneRace() != kept->wager->isExotic() || !(kept->base.amount > 0);
        for (int leg = 1; !said && leg <= kept->wager->legs; ++leg)
            said = kept->running(leg, races).isEmpty();
        const bool same = !said && !play.tickets.isEmpty() && play.wager == kept->wager;
        if (!said && !play.tickets.isEmpty() && !same) {
            startOver({kept->wager, races, {*kept}}, what);
            return what + QStringLiteral(", another wager type");
        }
        said = said || (same && play.tickets.first().base.usDollars != kept->base.usDollars) ||
               (brought < 0 && play.tickets.size() >= kMostTickets);
        if (said) {
            answer(true, what);
            return what + QStringLiteral(", refused");
        }
        if (brought >= 0)
            play.tickets[std::exchange(brought, -1)] = *kept;
        else
            play.tickets << *kept;
        play.wager = kept->wager;
        play.card = races;
        answer(false, what);
        return what;
    }

    // A kept ticket's row chosen, or its menu opened, in the play beside the ticket. Where the
    // play is a sheet of its own (a phone), nothing.
    QListWidgetItem *row(int at) {
        PlayList *rows = w.PlayView->ListPlay;
        if (!rows->isVisible() || at >= rows->count() || touch)
            return nullptr;
        QListWidgetItem *item = rows->item(at);
        rows->scrollToItem(item);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          rows->visualItemRect(item).center());
        focus = rows->objectName();
        return item;
    }
    bool fromMenu(int at, const QString &item) {
        PlayList *rows = w.PlayView->ListPlay;
        QTest::mouseClick(rows->viewport(), Qt::RightButton, {},
                          rows->visualItemRect(rows->item(at)).center());
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        const QList<QAction *> items = menu ? menu->actions() : QList<QAction *>();
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&](QAction *a) { return a->text().startsWith(item); });
        if (found == items.end()) {
            fault = "no " + item + " in a kept ticket's menu, " +
                    (QApplication::activePopupWidget()
                         ? QApplication::activePopupWidget()->metaObject()->className()
                         : "no menu");
            return false;
        }
        driver::clickAt(menu, menu->actionGeometry(*found).center());
        chosen();
        return true;
    }

    QString remove() {
        const int at = play.tickets.isEmpty() ? 0 : int(rng.bounded(play.tickets.size()));
        if (help() || !row(at))
            return QStringLiteral("no kept ticket to remove");
        if (rng.bounded(2))
            driver::key(Qt::Key_Delete);
        else if (!fromMenu(at, "Remove"))
            return fault;
        play.tickets.removeAt(at);
        brought = brought == at ? -1 : brought > at ? brought - 1 : brought;
        if (play.tickets.isEmpty()) {
            play = {};
            focus = w.CommandKeep->objectName();
        }
        return QStringLiteral("kept ticket %1 removed").arg(at);
    }

    QString bringBack() {
        const int at = play.tickets.isEmpty() ? 0 : int(rng.bounded(play.tickets.size()));
        int how = 3; // a tap, on a phone
        if (touch && !help() && !play.tickets.isEmpty()) {
            if (!tapKept(at))
                return fault;
        } else if (QListWidgetItem *item = help() ? nullptr : row(at); !item) {
            return QStringLiteral("no kept ticket to bring back");
        } else if ((how = int(rng.bounded(3))) == 0) {
            driver::key(Qt::Key_Return);
        } else if (how == 1) {
            QTest::mouseDClick(w.PlayView->ListPlay->viewport(), Qt::LeftButton, {},
                               w.PlayView->ListPlay->visualItemRect(item).center());
        } else if (!fromMenu(at, "Bring back")) {
            return fault;
        }
        // The window shows the ticket: its wager type, its races, its runners, its amount, as the
        // box offers it where it does.
        const Ticket &back = play.tickets[at];
        boxText[1] = QString::fromLatin1(back.wager->display);
        current[1] = w.Combo2->findText(boxText[1]);
        legsShown = back.wager->legs;
        showRaces(play.card);
        for (int leg = 1; leg <= legsShown; ++leg)
            for (int runner : back.legs[std::size_t(leg - 1)])
                if (play.card.race(leg).runs(runner))
                    legs[leg - 1][runner - 1].selected = true;
        QString amount = formatCurrency(back.base.amount, locale, back.base.usDollars);
        for (int i = 0; i < w.Combo3->count(); ++i)
            if (const auto offered = toMoney(w.Combo3->itemText(i), locale);
                offered && offered->amount == back.base.amount &&
                offered->usDollars == back.base.usDollars)
                amount = w.Combo3->itemText(i);
        boxText[2] = amount;
        current[2] = w.Combo3->findText(amount);
        record.dblBaseAmt = back.base.amount;
        record.bolBaseInUsDollars = back.base.usDollars;
        brought = at;
        focus = QStringLiteral("Command8");
        calc();
        return QStringLiteral("kept ticket %1 brought back by %2").arg(at).arg(how);
    }

    // On a phone the play is a sheet the dock's button opens; a tap on a kept ticket brings it
    // back and closes the sheet.
    bool tapKept(int at) {
        driver::click(w.findChild<QPushButton *>(QStringLiteral("CommandPlay")));
        PlayList *rows = w.PlayView->ListPlay;
        if (!rows->isVisible() || at >= rows->count()) {
            fault = QStringLiteral("the play's button showed no ticket %1").arg(at);
            return false;
        }
        QListWidgetItem *item = rows->item(at);
        rows->scrollToItem(item);
        driver::tap(rows->viewport(), rows->visualItemRect(item).center());
        if (rows->isVisible())
            fault =
                QStringLiteral("the play stayed over the window after a tap on ticket %1").arg(at);
        return fault.isEmpty();
    }

    // The page reloaded: the window's session, written and read back, shows the boxes, the
    // legs the wager type names and their runners and the play as they were, and the ticket
    // as CALC makes it.
    QString reload() {
        // The window's ticket is written over its races where its kind can hold them; races
        // that differ by leg under a same-race wager type typed over them cannot be.
        const WagerType *wager = findWagerType(boxText[1]);
        bool held = wager != nullptr;
        for (int leg = 2; held && wager->isExotic() && !oneRace && leg <= kLegCount; ++leg)
            held = race(leg) == race(1);
        if (help() || !held)
            return QStringLiteral("no reload: help mode, or no ticket its races can hold");
        const auto seen = [this, wager] {
            // A line break typed into a box is a space after a reload.
            QStringList all{w.Combo1->text().simplified(), w.Combo2->text().simplified(),
                            w.Combo3->text().simplified()};
            for (int leg = 1; leg <= wager->legs; ++leg)
                for (int row = 0; row < w.list(leg)->count(); ++row)
                    all << QStringLiteral("leg %1 row %2: %3 %4 %5")
                               .arg(leg)
                               .arg(row)
                               .arg(row + 1 < w.list(leg)->count() &&
                                    w.list(leg)->item(row)->isSelected())
                               .arg(w.list(leg)->isScratched(row))
                               .arg(
                                   w.list(leg)->item(row)->data(Qt::AccessibleTextRole).toString());
            for (int row = 0; row < w.PlayView->ListPlay->count(); ++row)
                all << w.PlayView->ListPlay->item(row)->text();
            return all;
        };
        const QStringList before = seen();
        const QString session = w.session();
        if (!w.restoreSession(session))
            return fault = "a session the window wrote it could not read:\n" + session;
        const QStringList after = seen();
        for (qsizetype i = 0; i < std::max(after.size(), before.size()); ++i)
            if (after.value(i) != before.value(i))
                return fault = "after a reload " + after.value(i) + ", not " + before.value(i) +
                               ", from\n" + session;
        // Legs the wager type leaves out keep their races, not what was chosen there; no leg
        // keeps the mark on "All", which is no runner.
        for (int leg = 1; leg <= kLegCount; ++leg)
            for (qsizetype row = 0; row < legs[leg - 1].size(); ++row)
                legs[leg - 1][row].selected = legs[leg - 1][row].selected && leg <= wager->legs &&
                                              row + 1 < legs[leg - 1].size();
        // A leg's control that the reload hides passes the focus on, as Qt does, to the next
        // control of the chain that shows.
        for (int leg = wager->legs + 1; leg <= legsShown; ++leg) {
            if (focus == w.list(leg)->objectName())
                focus = w.Combo3->objectName();
            else if (focus == w.clearButton(leg)->objectName())
                focus = w.Command7->objectName();
        }
        brought = -1;
        legsShown = wager->legs;
        oneRace = wager->isExotic();
        for (int b = 0; b < 3; ++b) {
            boxText[b] = boxText[b].simplified();
            current[b] = box(b)->findText(boxText[b]);
        }
        calc();
        return QStringLiteral("reloaded");
    }

    QString copy() {
        QGuiApplication::clipboard()->setText(QStringLiteral("copied elsewhere"));
        driver::key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        if (play.tickets.isEmpty())
            answer(true, QStringLiteral("a copy of no play"));
        else if (copied != playText(play, locale))
            fault = "the play copied as " + copied;
        return QStringLiteral("the play copied");
    }

    // Text pasted as a play: the play's own, one ticket line of the window's, the window's
    // ticket over the window's races, or a box's text.
    QString paste() {
        QString text;
        const std::optional<Ticket> own = ticket();
        switch (rng.bounded(4)) {
        case 0:
            text = playText(play, locale);
            break;
        case 1:
            text = own ? ticketLine(*own, card(), locale) : QString();
            break;
        case 2:
            text = own ? playText({own->wager, card(), {*own}}, locale) : QString();
            break;
        default:
            text = any(kTexts[rng.bounded(3)]);
        }
        QGuiApplication::clipboard()->setText(text);
        driver::key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        const QString what = "pasted " + text.left(40);
        if (help())
            return what + QStringLiteral(" in help mode");
        const Card races = card();
        const PlayReading reading = readPlay(text, locale, [&](const WagerType &wager) {
            if (!play.tickets.isEmpty() && &wager == play.wager)
                return play.card;
            if (wager.isExotic() == races.oneRace())
                return races;
            return Card(wager.kind, int(std::clamp<double>(Val(boxText[0]), 0, kMaxField)));
        });
        if (!reading.problem.isEmpty()) {
            answer(true, what);
            return what + QStringLiteral(", unread");
        }
        Play pasted = reading.play;
        bool sameRaces = true;
        for (int leg = 1; leg <= pasted.wager->legs; ++leg)
            sameRaces = sameRaces && pasted.card.race(leg) == play.card.race(leg);
        if (!play.tickets.isEmpty() && (pasted.wager != play.wager || !sameRaces)) {
            startOver(pasted, what);
            return what + QStringLiteral(", over another play");
        }
        if (play.tickets.size() + pasted.tickets.size() > kMostTickets) {
            answer(true, what);
            return what + QStringLiteral(", too many");
        }
        pasted.tickets = play.tickets + pasted.tickets;
        play = pasted;
        answer(false, what);
        return what;
    }

    // What a phone's user does besides tapping; a tap, where others click, is every other step's.
    QString finger() {
        switch (rng.bounded(8)) {
        case 0:
            return turn();
        case 1:
            return longPress();
        case 2:
            return doubleTap();
        case 3:
            return pinch();
        default:
            return drag();
        }
    }

    // Where a finger may land: a runner, a Clear, a box's text or its arrow, a caption, the
    // sheet's margin, the ticket or a button beneath it.
    std::pair<QWidget *, QPoint> anywhere() {
        const int leg = anyLeg();
        ComboBox *combo = box(int(rng.bounded(3)));
        auto inside = [this](const QWidget *on) {
            return QPoint(int(rng.bounded(on->width())), int(rng.bounded(on->height())));
        };
        switch (rng.bounded(leg ? 9 : 7)) {
        case 0:
            return {combo->lineEdit(), inside(combo->lineEdit())};
        case 1:
            return {combo, QPoint(combo->width() - 8, combo->height() / 2)};
        case 2: {
            QWidget *caption = any<QWidget *>({w.Label0, w.Label00, w.Label000, w.Label8});
            return {caption, inside(caption)};
        }
        case 3:
            return {w.Label8->parentWidget(),
                    QPoint(4, int(rng.bounded(w.Label8->parentWidget()->height())))};
        case 4:
            return {w.Text1->viewport(), inside(w.Text1->viewport())};
        case 5: {
            QWidget *button = any<QWidget *>({w.Command7, w.Command8, w.Command9});
            return {button, inside(button)};
        }
        case 6:
            return {w.Label7, inside(w.Label7)};
        case 7:
            return {w.clearButton(leg), inside(w.clearButton(leg))};
        default: {
            ListBox *list = w.list(leg);
            return {list->viewport(),
                    list->visualItemRect(list->item(int(rng.bounded(list->count())))).center()};
        }
        }
    }

    // The control a point of a widget belongs to.
    QString controlOf(const QWidget *widget) const {
        while (widget && !w.controls().contains(widget))
            widget = widget->parentWidget();
        return widget ? widget->objectName() : QStringLiteral("the sheet");
    }

    // A drag up, down, sideways or aslant from anywhere, straight away or after a moment's rest:
    // it toggles, presses, opens and focuses nothing. On the sheet, one more up or down than
    // sideways scrolls it where there is more to see, and no other does.
    QString drag() {
        const auto [start, at] = anywhere();
        const int length = 60 + int(rng.bounded(140)), slant = int(rng.bounded(4));
        QPoint by = slant == 0   ? QPoint(0, length)
                    : slant == 1 ? QPoint(length, 0)
                                 : QPoint(length * (slant == 2 ? 1 : 2) / 3,
                                          length * (slant == 2 ? 2 : 1) / 3);
        by = QPoint(rng.bounded(2) ? by.x() : -by.x(), rng.bounded(2) ? by.y() : -by.y());
        const bool rested = rng.bounded(3) == 0;
        if (!driver::reveal(start, QRect(at, QSize(1, 1))))
            return "a drag out of sight from " + controlOf(start);
        by = driver::onWindow(start, at, by);
        QAbstractScrollArea *sheet = driver::sheetOf(w.Label8);
        const QScrollBar *bar = sheet->verticalScrollBar();
        const QString what = QStringLiteral("a%1 drag by %2, %3 from %4")
                                 .arg(rested ? " held" : "")
                                 .arg(by.x())
                                 .arg(by.y())
                                 .arg(controlOf(start));
        const int before = bar->value();
        const bool room = by.y() > 0 ? before > bar->minimum() : before < bar->maximum();
        const bool scrolls =
            sheet->isAncestorOf(start) && std::abs(by.y()) > std::abs(by.x()) && room;
        // Content goes the way the finger does: down, towards the sheet's top.
        const std::function<bool()> followed = [&] { return (bar->value() - before) * by.y() < 0; };
#ifdef Q_OS_WASM // where a test cannot wait for the scroller's frames
        if (!driver::drag(start, at, by, rested ? kHold / 10 : 0))
            fault = QStringLiteral("a lifted finger still scrolls");
#else
        if (!driver::drag(start, at, by, rested ? kHold / 10 : 0, scrolls ? followed : nullptr))
            fault = QStringLiteral("a lifted finger still scrolls");
        if (scrolls && !followed())
            fault = QStringLiteral("the sheet did not scroll from %1").arg(before);
#endif
        if (!scrolls && bar->value() != before)
            fault =
                QStringLiteral("the sheet scrolled from %1 to %2").arg(before).arg(bar->value());
        return what;
    }

    // A finger held still anywhere: on the ticket it opens the ticket's menu, on a box the box's
    // own for its text, on a leg the leg's, with the focus there; anywhere else nothing. The menu
    // then goes with Escape. In a browser a test cannot wait for the timer that tells a long press.
    QString longPress() {
#ifdef Q_OS_WASM
        return drag();
#else
        const auto [on, at] = anywhere();
        if (!driver::reveal(on, QRect(at, QSize(1, 1))))
            return QStringLiteral("a long press out of sight");
        QWidget *control = on;
        while (control && !w.controls().contains(control))
            control = control->parentWidget();
        const bool menu = control && control->isEnabled() &&
                          (control == w.Text1 || qobject_cast<ComboBox *>(control) ||
                           qobject_cast<ListBox *>(control));
        driver::hold(on, at);
        QWidget *popup = QApplication::activePopupWidget();
        if (bool(qobject_cast<QMenu *>(popup)) != menu)
            fault = QStringLiteral("a long press on %1 opened %2")
                        .arg(controlOf(on), popup ? popup->metaObject()->className() : "nothing");
        if (popup)
            QTest::keyClick(popup->windowHandle(), Qt::Key_Escape);
        focus = menu ? control->objectName() : focus;
        return "a long press on " + controlOf(on);
#endif
    }

    // Two quick taps on one runner toggle it twice.
    QString doubleTap() {
        const int leg = anyLeg();
        if (!leg || help())
            return drag();
        ListBox *list = w.list(leg);
        const int row = int(rng.bounded(list->count()));
        for (int tap = 0; tap < 2; ++tap) {
            driver::clickItem(list, row);
            clicked(leg, row);
        }
        focus = list->objectName();
        return QStringLiteral("a double tap on item %1 of leg %2").arg(row).arg(leg);
    }

    // Two fingers, landing together or one after the other anywhere, drawn apart and lifted: a
    // pinch does nothing.
    QString pinch() {
        const auto [one, a] = anywhere();
        const auto [two, b] = anywhere();
        if (!driver::reveal(one, QRect(a, QSize(1, 1))))
            return QStringLiteral("a pinch out of sight");
        const QRect screen = w.rect().adjusted(0, 0, -1, -1);
        auto onScreen = [&](QPoint p) {
            return QPoint(std::clamp(p.x(), 0, screen.right()),
                          std::clamp(p.y(), 0, screen.bottom()));
        };
        const QPoint from = one->mapTo(&w, a), to = onScreen(two->mapTo(&w, b));
        const bool together = rng.bounded(2);
        driver::pinch(&w, from, to, together);
        driver::settle();
        return QStringLiteral("two fingers%1 on %2 and %3 (%4, %5 to %6, %7)")
            .arg(together ? " together" : "", controlOf(one), controlOf(two))
            .arg(from.x())
            .arg(from.y())
            .arg(to.x())
            .arg(to.y());
    }

    // The phone turned, or another phone: the window is arranged anew and keeps all it shows.
    QString turn() {
        const QSize size = any(kPhones);
        driver::resizeScreen(&w, size);
        return QStringLiteral("turned to %1 x %2").arg(size.width()).arg(size.height());
    }

    // In a box: a pick from its list, a text typed or pasted, Enter, an arrow key, or a notch of
    // the wheel, which steps only a box with the focus, as the arrow keys do. Over a leg or the
    // ticket, the wheel only scrolls. The wheel never moves the focus.
    QString inBox(int b) {
        ComboBox *combo = box(b);
        const QString typed = any(kTexts[b]);
        const int how = int(rng.bounded(12)), by = rng.bounded(2) ? 1 : -1;
        if (how < 10) {
            driver::focusBox(combo);
            focus = combo->objectName();
        }
        static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f]"));
        if (how < 4) {
            const int index = int(rng.bounded(combo->count()));
            driver::pick(combo, combo->itemText(index));
            picked(b, index);
        } else if (how < 7 && (how == 6 || typed.size() > 1000 || typed.contains(control))) {
            driver::paste(typed, true); // long texts and controls arrive so
            change(b, typed.left(combo->lineEdit()->maxLength()));
        } else if (how < 7) {
            driver::retype(combo, typed);
            for (const QString &prefix : driver::typedPrefixes(typed))
                change(b, prefix);
        } else if (how < 9) {
            driver::key(how == 7 ? Qt::Key_Return : by > 0 ? Qt::Key_Down : Qt::Key_Up);
            if (how == 8)
                stepped(b, by);
        } else {
            QWidget *over = how < 11 ? combo : w.list(anyLeg() ? anyLeg() : 1)->viewport();
            if (driver::wheel(over, by) && over == combo && focus == combo->objectName())
                stepped(b, by);
        }
        return QStringLiteral("%1 in box %2: '%3'").arg(how).arg(b + 1).arg(typed.left(20));
    }
};

} // namespace

// Notes about the test's platform, not the program. Offscreen cannot grab the keyboard for a
// popup. A browser refuses its clipboard to a page no person acts in (WebKitGTK), and any write
// a later one overtook; it says so once the page is idle, which has now and then fallen inside
// a test. This suite reads Qt's clipboard; the page's checks read the browser's.
static bool aboutThePlatform(const QString &message) {
#ifdef Q_OS_WASM
    if (message.startsWith(QLatin1String("clipboard error \"NotAllowedError\"")))
        return true;
#endif
    return message.startsWith(QLatin1String("This plugin does not support"));
}

// Each test function gets a fresh, shown and active window; any Qt warning fails it.
class TestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> w;
    std::unique_ptr<QSignalSpy> calcs; // every calculation the window runs
    QTemporaryDir settings;

  private slots:
    void initTestCase() {
        // Settings of this run's own (Windows' registry aside, where runs take turns): the runs
        // beside it clear and keep theirs.
        QVERIFY(settings.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        static QtMessageHandler next = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (!aboutThePlatform(message))
                    next(type, context, message);
            });
    }
    void init() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        // The track's minimums as the program starts with them.
        QSettings(QStringLiteral("Zandrel Racing Software"),
                  QStringLiteral("Zandrel Ticket Calculator"))
            .clear();
        // The desktop's locale: set here, or (-system) by the platform itself, from the desktop's
        // regional settings or the browser's language, which must name the same one.
        const QLocale locale = desktopLocale();
        if (g_systemLocale)
            QCOMPARE(QLocale::system().name(), locale.name());
        else
            QLocale::setDefault(locale);
        w = std::make_unique<Form1>();
        calcs = std::make_unique<QSignalSpy>(w.get(), &Form1::calculated);
#if QT_CONFIG(scroller)
        if (QByteArray(QTest::currentTestFunction()).startsWith("touch")) {
            new TouchArrangement(*w);
            QGuiApplication::styleHints()->setMousePressAndHoldInterval(kHold);
            driver::useFinger(true);
            driver::resizeScreen(w.get(), kPhones.first());
        }
#endif
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        driver::useFinger(false);
        calcs.reset();
        w.reset();
    }
    void runSoak(bool touch);
    static QLocale desktopLocale() { // named by the data tag, where there is one
        const char *tag = QTest::currentDataTag();
        return QLocale(QString::fromLatin1(tag && *tag ? tag : "en_US"));
    }
    void soak_data();
    void soak() {
        runSoak(false);
    }
#if QT_CONFIG(scroller)
    // The same soak on a phone's arrangement, which also turns and scrolls.
    void touch_data() {
        soak_data();
    }
    void touch() {
        runSoak(true);
    }
    void touchLook();
#endif
    void look();
    void glyphs_data();
    void glyphs();
};

// The desktop locales tested: each a data tag, which names the locale (and seeds the soak).
static const char *const kLocales[] = {"en_US", "en_GB", "de_DE", "fr_FR"};

void TestWindow::soak_data() {
    QTest::addColumn<int>("actions");
    for (const char *locale : kLocales)
        QTest::newRow(locale) << g_actions;
}

void TestWindow::runSoak(bool touch) {
    QFETCH(int, actions);
    const QByteArray seed = (touch ? "touch" : "") + QByteArray(QTest::currentDataTag());
    Soak soak(*w, desktopLocale(), qHash(seed), touch);
    QStringList recent; // the actions that led to a difference
    for (int n = 1; n <= actions; ++n) {
        const QString action = soak.step(), difference = soak.difference(int(calcs->count()));
        recent = recent.mid(recent.size() < 5 ? 0 : 1) << QString::number(n) + ' ' + action;
        QVERIFY2(difference.isEmpty(), qPrintable(recent.join('\n') + ": " + difference));
    }
}

#if QT_CONFIG(scroller)

// On each phone, upright and sideways, with every leg shown: nothing wider than the screen,
// everything tapped a finger's size, runners' numbers and the ticket readable, and the total in
// sight with the last leg scrolled to.
void TestWindow::touchLook() {
    driver::pick(w->Combo2, "Pick 6");
    // A runner's menu, each item a finger's height.
    QTest::mouseClick(w->List1->viewport(), Qt::RightButton, {},
                      w->List1->visualItemRect(w->List1->item(2)).center());
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY2(menu, "no menu for a runner");
    for (QAction *item : menu->actions())
        QVERIFY2(item->isSeparator() || menu->actionGeometry(item).height() >= 44,
                 qPrintable(item->text() + " is too low for a finger"));
    QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
    for (const QSize &phone : kPhones) {
        driver::resizeScreen(w.get(), phone);
        const QString on = QStringLiteral(" on %1 x %2").arg(phone.width()).arg(phone.height());
        for (QWidget *c : w->controls()) {
            const QRect shown(c->mapTo(w.get(), QPoint()), c->size());
            QVERIFY2(shown.left() >= 0 && shown.right() < phone.width(),
                     qPrintable(c->objectName() + " reaches past the screen's sides" + on));
            if (c->focusPolicy() != Qt::NoFocus)
                QVERIFY2(c->height() >= 44, qPrintable(c->objectName() + " is too low" + on));
        }
        for (int leg = 1; leg <= kLegCount; ++leg) {
            ListBox *list = w->list(leg);
            QVERIFY2(list->font().pixelSize() >= 16, qPrintable("small runners" + on));
            for (int i = 0; i < list->count(); ++i) {
                const QRect tile = list->visualItemRect(list->item(i));
                QVERIFY2(tile.width() >= 44 && tile.height() >= 44 &&
                             list->viewport()->rect().contains(tile),
                         qPrintable(QStringLiteral("leg %1 item %2").arg(leg).arg(i) + on));
            }
        }
        QVERIFY2(w->Text1->font().pixelSize() >= 14, qPrintable("a small ticket" + on));
        driver::clickItem(w->List6, 0);
        QTextCursor end(w->Text1->document());
        end.movePosition(QTextCursor::End);
        QVERIFY2(end.block().text().startsWith("Total Ticket Cost: "),
                 qPrintable(end.block().text()));
        QVERIFY2(w->Text1->viewport()->rect().contains(w->Text1->cursorRect(end)),
                 qPrintable("the total out of sight" + on));
        // The count above the ticket, not under the runners' sheet.
        const QPoint count = w->LabelCount->mapTo(w.get(), w->LabelCount->rect().center());
        QVERIFY2(w->LabelCount->isVisible() && w->childAt(count) == w->LabelCount,
                 qPrintable("the count out of sight" + on));
    }
}
#endif

// Also run at QT_SCALE_FACTOR=2: the same logical layout drawn at twice the size.
void TestWindow::look() {
    QCOMPARE(w->grab().size(), w->size() * w->devicePixelRatio());
    QCOMPARE(w->windowTitle(), "Zandrel Ticket Calculator - www.zandrel.example");
    QCOMPARE(w->Label8->text(), "Zandrel Ticket Calculator");
    QCOMPARE(w->Label9->text(), "www.zandrel.example");
    QCOMPARE(w->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    for (int size : {16, 32, 48}) {
        const QImage art(
            QStringLiteral(":/icons/%1x%1/org.zandrel.TicketCalculator.png").arg(size));
        QVERIFY2(!art.isNull(), "the icon's artwork is not in the program");
        // A title bar at twice the pixels asks for half the size at a ratio of 2.
        const QImage drawn = w->windowIcon().pixmap(QSize(size, size) / 2, 2.0).toImage();
        QVERIFY2(drawn == art.convertToFormat(drawn.format()),
                 qPrintable(QStringLiteral("the icon at %1 px is not its artwork").arg(size)));
    }
    QVERIFY2(w->Label8->font().bold(), "the title is not bold");
    QVERIFY2(w->Command9->font().bold(), "Help is not bold");
    QVERIFY2(!w->Label9->font().bold(), "the maker's address is bold");
    // The ticket box has both its scroll bars, empty as it is.
    QVERIFY2(w->Text1->horizontalScrollBar()->isVisible(), "the ticket has no horizontal bar");
    QVERIFY2(w->Text1->verticalScrollBar()->isVisible(), "the ticket has no vertical bar");
    driver::pick(w->Combo2, "Pick 6");
    // Every control's role and name for screen readers, as listed for the browser test too.
    QFile list(QStringLiteral(":/accessible-names.txt"));
    QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
    QHash<QString, QString> listed;
    for (const QString &line : QString::fromUtf8(list.readAll()).split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            listed.insert(line.section('\t', 0, 0), line.section('\t', 1));
    const QHash<QAccessible::Role, QString> roles{{QAccessible::StaticText, "text"},
                                                  {QAccessible::ComboBox, "combobox"},
                                                  {QAccessible::List, "listbox"},
                                                  {QAccessible::PushButton, "button"},
                                                  {QAccessible::EditableText, "textbox"}};
    // Every caption fits, and nothing overlaps what another control draws (a label: its text).
    QList<QRect> covered;
    for (QWidget *c : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (c->isHidden()) // the play, with no ticket kept
            continue;
        const QByteArray name = c->objectName().toLatin1();
        QRect drawn = c->geometry();
        if (c->inherits("QLabel") || c->inherits("QPushButton")) {
            const int frame =
                c->inherits("QLabel") ? 0 : c->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            const QRect room = c->contentsRect().adjusted(frame, 0, -frame, 0);
            const int wrap = c->property("wordWrap").toBool() ? Qt::TextWordWrap : 0;
            const QRect text = c->fontMetrics().boundingRect(room, Qt::AlignCenter | wrap,
                                                             c->property("text").toString());
            QVERIFY2(room.contains(text), name + " clips its caption");
            drawn = frame ? drawn : text.translated(c->pos());
        }
        QVERIFY2(w->rect().contains(drawn), name + " reaches out of the window");
        for (const QRect &other : covered)
            QVERIFY2(!drawn.intersects(other), name + " overlaps a control before it");
        covered << drawn;
        // Every control has its listed role and name for assistive technology (a box's own: on
        // Linux its text stands in), and one that takes the focus also a description.
        const QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c);
        const QString given = c->accessibleName();
        // The count of combinations, a label here, is a live status on the page.
        QCOMPARE(
            (c == w->LabelCount ? QStringLiteral("status") : roles.value(a->role())) + '\t' +
                (given.isEmpty() ? a->text(QAccessible::Name) : given),
            listed.take(c->objectName()).replace("\t*", '\t' + c->property("text").toString()));
        if (c->focusPolicy() != Qt::NoFocus)
            QVERIFY2(!a->text(QAccessible::Description).isEmpty(), name + " has no description");
    }
    QVERIFY2(listed.isEmpty(), qPrintable(listed.keys().join(' ') + " listed but not found"));
    // The focus chain, with every leg shown.
    driver::focusBox(w->Combo1);
    QStringList chain{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 20; ++i) {
        driver::key(Qt::Key_Tab);
        chain << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(chain.join(' '),
             "Combo1 List1 Combo2 List2 List3 List4 List5 List6 Combo3 Command1 "
             "Command2 Command3 Command4 Command5 Command6 Command7 Command8 Text1 "
             "Command9 CommandKeep Combo1");
    // In a leg reached by Tab, Space toggles the current runner once; arrows, Ctrl+A and a
    // right click select nothing.
    driver::focusBox(w->Combo2);
    driver::key(Qt::Key_Tab);
    for (auto key : {Qt::Key_Down, Qt::Key_A, Qt::Key_Space})
        driver::key(key, key == Qt::Key_A ? Qt::ControlModifier : Qt::NoModifier);
    QTest::mouseClick(w->List2->viewport(), Qt::RightButton, {}, {5, 5});
    QVERIFY2(QApplication::activePopupWidget(), "a right click on a runner opens no menu");
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QCOMPARE(w->List2->selectedItems(), QList<QListWidgetItem *>{w->List2->item(1)});
    // A selected runner looks the same in a leg without the focus as in the leg with it (there
    // not the current one, which has a focus frame).
    driver::clickItem(w->List3, 1);
    driver::clickItem(w->List3, 2);
    const auto background = [](ListBox *list) {
        const QRect item = list->visualItemRect(list->item(1));
        return list->viewport()->grab().toImage().pixel(item.right() - 3, item.center().y());
    };
    QCOMPARE(QColor(background(w->List2)), QColor(background(w->List3)));
    // The second click of a double click toggles the runner again, as every click does.
    QTest::mouseDClick(w->List1->viewport(), Qt::LeftButton, {},
                       w->List1->visualItemRect(w->List1->item(2)).center());
    QVERIFY2(!w->List1->isSelected(2), "a double click left the runner selected");
    QCOMPARE(calcs->count(), 6); // the pick, Space, two clicks and both of a double click
    // A box is named by its text here; its caption reaches a screen reader through its label.
    QCOMPARE(w->Label0->buddy(), w->Combo1);
    QCOMPARE(w->Label00->buddy(), w->Combo2);
    QCOMPARE(w->Label000->buddy(), w->Combo3);
    for (ListBox *list : {w->List1, w->List2, w->List3, w->List4, w->List5, w->List6})
        QVERIFY2(list->viewport()->rect().contains(list->visualItemRect(list->item(20))),
                 qPrintable(list->objectName() + " does not show all 21 rows"));

    // What the user writes in the ticket box comes back after Help, every line break as CR LF.
    QTest::mouseClick(w->Text1->viewport(), Qt::LeftButton);
    driver::paste("a\rb\u2028c\u00a0", true);
    driver::key(Qt::Key_Return, Qt::ShiftModifier);
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(w->Command9, Qt::LeftButton);
    QCOMPARE(w->Text1->text(), "a\r\nb\r\nc\u00a0\r\n");
    // A long ticket line does not wrap; the horizontal scroll bar reaches it.
    QTest::mouseClick(w->Text1->viewport(), Qt::LeftButton);
    driver::paste(QString(500, u'x'), true);
    QCOMPARE(w->Text1->document()->lineCount(), 1);
    QVERIFY2(w->Text1->horizontalScrollBar()->maximum() > 0, "no scrolling to a long line");
    const QStringList help = helpText().split("\r\n");
    QCOMPARE(help.size(), 25);
    QCOMPARE(help.first(), "Tixomat Operating Instructions");
    QCOMPARE(help.last(), "www.zandrel.example");

    // The longest count there is, a part-wheel of the largest field, wrapped in its place right
    // of Keep, overlapping nothing.
    driver::focusBox(w->Combo1);
    driver::retype(w->Combo1, "99");
    driver::pick(w->Combo2, "Super High 5");
    for (int leg = 1; leg <= 5; ++leg) {
        driver::clickItem(w->list(leg), 99);
        driver::clickItem(w->list(leg), leg - 1);
    }
    const QString count = w->LabelCount->text();
    QVERIFY2(count.contains("use a horse twice"), qPrintable(count));
    const QRect room = w->LabelCount->contentsRect();
    QVERIFY2(
        room.contains(w->LabelCount->fontMetrics().boundingRect(room, Qt::TextWordWrap, count)),
        qPrintable("the count does not fit its place: " + count));
    for (const QWidget *c : w->controls() + QList<QWidget *>{w->CommandKeep})
        QVERIFY2(!c->geometry().intersects(w->LabelCount->geometry()),
                 qPrintable("the count overlaps " + c->objectName()));
}

void TestWindow::glyphs_data() {
    QTest::addColumn<double>("amount");
    for (const char *locale : kLocales)
        QTest::newRow(locale) << 3.5;
}

// Money as the desktop's locale writes it, typed and in the ticket, has a glyph for every
// character in the font each control draws with: the browser's is cut down to what can be shown.
void TestWindow::glyphs() {
    QFETCH(double, amount);
    const QLocale locale;
    driver::pick(w->Combo2, "Exacta");
    driver::focusBox(w->Combo3);
    driver::retype(w->Combo3, locale.toCurrencyString(amount));
    driver::clickItem(w->List1, 0);
    const std::pair<const QWidget *, QString> controls[] = {{w->Combo3, w->Combo3->currentText()},
                                                            {w->Text1, w->Text1->text()}};
    for (const auto &[c, shown] : controls) {
        QVERIFY2(shown.contains(locale.currencySymbol()),
                 qPrintable(c->objectName() + " shows no " + locale.currencySymbol()));
        const QFontMetrics metrics(c->font());
        for (const char32_t ch : shown.toUcs4())
            QVERIFY2(ch < 0x20 || metrics.inFontUcs4(ch),
                     qPrintable(QStringLiteral("%1 has no glyph for U+%2 in %3")
                                    .arg(c->font().family(), QString::number(uint(ch), 16),
                                         c->objectName())));
    }
}

int main(int argc, char *argv[]) {
    // Settings of a test's own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // As QTEST_MAIN makes a widget test's application.
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QStringList arguments = app.arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("-actions")); at >= 0) {
        g_actions = arguments.value(at + 1).toInt();
        arguments.remove(at, 2);
    }
    g_systemLocale = arguments.removeAll(QStringLiteral("-system")) > 0;
    TestWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, arguments);
}
#include "tst_window.moc"
