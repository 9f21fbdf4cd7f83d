// SPDX-License-Identifier: MIT
#pragma once

#include "controls.h"
#include "play.h"
#include "rules.h"
#include "state.h"
#include "ticket.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace ztc {

// The maker shown in the title, the heading and the help text.
inline constexpr char kMakerAddress[] = "www.zandrel.example";
inline constexpr char kCopyrightLine[] = "Copyright (C) 2026 Zandrel Racing Software";

// The operating instructions shown in help mode: 25 lines joined by CR LF.
QString helpText();

class PlayPanel;

class Form1 : public QWidget {
    Q_OBJECT
  public:
    // The window, whole.
    explicit Form1(QWidget *parent = nullptr);
    // The window built a short step at a time, for a caller that returns to its event loop
    // between steps (a web page, which must never freeze for long). It is whole, as the
    // constructor above leaves it, once build() says there is nothing more to do.
    enum InSteps { inSteps };
    Form1(InSteps, QWidget *parent = nullptr);
    ~Form1() override;

    // Takes the next step of the building; false once the window is whole.
    bool build();

    // Controls, in tab order.
    ComboBox *Combo1;
    ListBox *List1;
    QLabel *Label1, *Label0;
    ComboBox *Combo2;
    QLabel *Label00;
    ListBox *List2, *List3, *List4, *List5, *List6;
    QLabel *Label2, *Label3, *Label4, *Label5, *Label6;
    ComboBox *Combo3;
    QLabel *Label000;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6;
    QPushButton *Command7, *Command8;
    TextBox *Text1;
    QLabel *Label7, *Label8, *Label9;
    QPushButton *Command9;

    const CalcState &state() const { return m_state; }
    // The 31 controls, in tab index order.
    const QList<QWidget *> &controls() const { return m_controls; }

    // Handlers and routines; every handler recomputes from what the controls show when it runs.
    void Form_Load();
    void Combo1_Change();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Change();
    void Combo3_Click();
    void PopulateRunnerLists(double fieldSize);
    void List1_Click() { listClick(1); }
    void List2_Click() { listClick(2); }
    void List3_Click() { listClick(3); }
    void List4_Click() { listClick(4); }
    void List5_Click() { listClick(5); }
    void List6_Click() { listClick(6); }
    void SelectAllRunners(qint16 leg);
    void Command1_Click() { clearLeg(1); }
    void Command2_Click() { clearLeg(2); }
    void Command3_Click() { clearLeg(3); }
    void Command4_Click() { clearLeg(4); }
    void Command5_Click() { clearLeg(5); }
    void Command6_Click() { clearLeg(6); }
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();

    // Races as they are run, the window's card: for a multi-race wager each leg is its own race;
    // for a same-race exotic every leg is the one race, and what is set in one holds in all. Each
    // recalculates.
    const Card &card() const { return m_card; }
    void scratch(int leg, int runner, bool scratched);
    void setRunners(int leg, int runners);
    void restoreRunners(int leg);
    // The leg's menu for the runner at row (-1: the leg's own), at a place on the screen.
    void raceMenu(int leg, int row, QPoint at);
    // The play's menu for the kept ticket at row (-1: the play's own).
    void playMenu(int row, QPoint at);

    // The number of combinations the ticket covers, beside the buttons, and the button that
    // keeps the ticket in the play: not among the controls, which they leave as they are.
    QLabel *LabelCount;
    QPushButton *CommandKeep;
    // The play beside the ticket, shown while it holds a ticket; the window grows to hold it.
    PlayPanel *PlayView;

    // The play: tickets kept over the same races, each at its own base amount. While the window
    // shows the play's wager type its card is the play's, so that a late scratch re-prices every
    // ticket kept; another wager type gets a card of its own and leaves the play as it is.
    const Play &play() const { return m_play; }
    // The window's ticket added to the play (Ctrl+K), or put in place of the ticket brought back;
    // the window stays as it is. A ticket of another wager type asks whether to start a new play.
    void Keep();
    void removeKept(int row);
    // A kept ticket back in the window, to change and keep again in its place.
    void bringBack(int row);
    int broughtBack() const { return m_brought; }
    // The play as text on the clipboard (Ctrl+Shift+C), and a play or ticket lines read from it
    // (Ctrl+Shift+V). Text that cannot be read changes nothing and says which line and why.
    void copyPlay();
    void pastePlay();
    // The track's minimums, kept between runs: a ticket under them is warned of beside the count
    // and on its row in the play, never stopped. Changed in a small dialog.
    const MinimumTable &minimums() const { return m_minimums; }
    void editMinimums();
    // The largest base on the $0.10 step that a budget buys for the window's ticket, or for the
    // play with its bases in their ratio, within the minimums; else a word of the least budget
    // that would, and nothing changed.
    void fitTicket();
    void fitPlay();
    // A runner of a multi-race wager's leg graded A, B or C (or 0, none), and the A-B-C tickets
    // made of the graded runners, added to the play.
    void grade(int leg, int runner, char grade);
    void makeAbcTickets();
    // Dialogs made large enough for a finger (a phone's arrangement).
    void setForFingers(bool fingers) { m_forFingers = fingers; }

    // The play and the window's ticket as text, and back: what the page keeps in its address.
    // Text it cannot read changes nothing.
    QString session() const;
    bool restoreSession(const QString &text);
    // A word for the user, with nothing to answer.
    void tell(const QString &text);
    // What the window shows besides its controls: the count, Keep and the play.
    QList<QWidget *> extras() const;
    // Its size: wider while it shows the play beside the ticket.
    QSize wantedSize() const;

    // Per-leg controls, leg 1 to 6.
    ListBox *list(int leg) const { return m_lists[static_cast<std::size_t>(leg - 1)]; }
    QLabel *legLabel(int leg) const { return m_legLabels[static_cast<std::size_t>(leg - 1)]; }
    QPushButton *clearButton(int leg) const { return m_clears[static_cast<std::size_t>(leg - 1)]; }

  signals:
    // Every run of the calculation outside help mode.
    void calculated();
    // Help mode turned on or off, with everything it changes done.
    void helpModeChanged(bool on);
    // The play, its card or the window's ticket changed.
    void playChanged();

  private:
    struct Faces {
        QFont window, boxes, bold;
    };
    static Faces faces();
    // The controls, in tab order, a few at a time.
    void createWindow();
    void createBoxesAndFirstLeg();
    void createLegs();
    void createButtons();
    void createTicket();
    void createHeadings();
    void finishBoxes();
    void setIcon();
    void finishControls();
    // Form_Load's parts.
    void loadHeadings();
    static void loadBox(ComboBox *box, const QStringList &items, const QString &text);
    // Tab moves through the controls in their tab index order.
    void chainTabOrder();
    void describeControls();
    void connectEvents();
    void loadFieldSizes();
    void loadWagerTypes();
    void loadBaseAmounts();
    void refillFromFieldSize();
    void recalculateAfterPick();
    void storeBaseAmount();
    void listClick(int leg);
    void clearLeg(int leg);
    // Legs 1 to count shown, the rest hidden.
    void showLegs(int count);
    void changeCard(const std::function<void(Card &)> &change);
    // The lists made to show the card, nothing chosen.
    void showCard();
    // The window's card changed: so is the play's, while the window shows its wager type.
    void cardChanged();
    bool showsPlay() const;
    std::optional<Ticket> windowTicket() const;
    // The ticket put into the window: its wager type, base amount, races and runners.
    void loadTicket(const Ticket &ticket, const Card &card);
    void showPlayView();
    // A question, answered with yes by act.
    void ask(const QString &text, const QString &yes, const std::function<void()> &act);
    // A play over this one once it is copied to the clipboard, if the user says so.
    void replacePlay(const Play &play, const QString &why);
    // The ticket's menu: the play's actions above the text's own.
    void ticketMenu(QMenu *menu);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void setHelpControlsEnabled(bool enabled);
    TicketInput ticketInput() const;
    static void DoEvents();

    // The count, with what the ticket falls short of beside it.
    void showCount(const TicketCount &count);
    void loadMinimums();
    void openDialog(QDialog *dialog);
    // The window's base amount, as its box shows it.
    void showBase(Money base);

    CalcState m_state;
    Card m_card;
    Play m_play;
    MinimumTable m_minimums = commonMinimums();
    bool m_forFingers = false;
    int m_brought = -1;                   // the kept ticket brought back into the window
    QList<std::function<void()>> m_steps; // what building has still to do
    QList<QWidget *> m_controls;
    std::array<ListBox *, kLegCount> m_lists{};
    std::array<QLabel *, kLegCount> m_legLabels{};
    std::array<QPushButton *, kLegCount> m_clears{};
};

} // namespace ztc
