// SPDX-License-Identifier: MIT
#include "form1.h"

#include "catalogue.h"
#include "numbers.h"

#include "playpanel.h"
#include "playtext.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QIcon>
#include <QIconEngine>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>

#include <cmath>

namespace ztc {

namespace {

constexpr int kTwipsPerPixel = 15;

// The faces the window was drawn for, where the machine has them. Otherwise DejaVu Sans, which is
// Verdana-wide, condensed to Tahoma's narrower width so that every caption still fits.
QFont face(const QString &family, qreal points, bool bold) {
    QFont font;
    // Listed once: asking for each font, or resolving each name, would slow start-up.
    static const QStringList installed = QFontDatabase::families();
    // Windows keeps MS Sans Serif as a bitmap face, drawn at a few sizes only, and draws it with
    // its TrueType successor wherever it can; so does the window.
    const QString truetype =
        family == u"MS Sans Serif" ? QStringLiteral("Microsoft Sans Serif") : family;
    if (installed.contains(truetype)) {
        font.setFamily(truetype);
    } else if (installed.contains(family)) {
        font.setFamily(family);
    } else {
        font.setFamily(QStringLiteral("DejaVu Sans"));
        font.setStretch(QFont::Condensed);
    }
    // Sized in logical pixels, like the layout, so text and controls scale together.
    font.setPixelSize(qRound(points * 96 / 72));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

template <typename W>
W *place(W *widget, const char *name, int left, int top, int width, int height, const QFont &font) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                        height / kTwipsPerPixel);
    widget->setFont(font);
    return widget;
}

// The window's icon, its images read when it is first drawn: the page shows it only in a message
// box's title bar, and Qt's own engine decodes each image as it is added, while a phone waits.
// Every call is Qt's pixmap engine's own, at the size asked for, so the icon looks the same.
class IconOnDemand final : public QIconEngine {
  public:
    QIconEngine *clone() const override { return new IconOnDemand(*this); }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr =
            painter->device() ? painter->device()->devicePixelRatio() : qApp->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(rect.size() * dpr, mode, state));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return images().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return pixmap(size, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return images().availableSizes(mode, state);
    }

  private:
    const QIcon &images() {
        if (m_icon.isNull()) {
            for (int size : {16, 32, 48})
                m_icon.addFile(
                    QStringLiteral(":/icons/%1x%1/org.zandrel.TicketCalculator.png").arg(size),
                    QSize(size, size));
        }
        return m_icon;
    }
    QIcon m_icon;
};

} // namespace

QString helpText() {
    const QStringList lines = {
        QStringLiteral("Tixomat Operating Instructions"),
        QString(),
        QStringLiteral("1. Select Wager Type"),
        QString(),
        QStringLiteral("2. Select Field Size"),
        QString(),
        QStringLiteral("3. Select Base Wager Amount"),
        QString(),
        QStringLiteral("4. To select individual runners in a given leg, simply click the number in "
                       "that leg "),
        QStringLiteral("    corresponding to that runner. Selected runners within a given leg are "
                       "visually"),
        QStringLiteral("    indicated by being highlighted."),
        QString(),
        QStringLiteral(
            "5. To deselect an individual highlighted/selected runner from a given leg,"),
        QStringLiteral("    click that runner a second time."),
        QString(),
        QStringLiteral(
            "6. To deselect all highlighted/selected runners from a given leg, click the"),
        QStringLiteral("    Clear button beneath that leg."),
        QString(),
        QStringLiteral("7. To deselect all highlighted/selected runners from ALL legs, click the"),
        QStringLiteral("    CLEAR ALL button beneath the large textbox."),
        QString(),
        QStringLiteral("8. To exit Help Mode, click the BACK button."),
        QString(),
        QString::fromLatin1(kCopyrightLine),
        QString::fromLatin1(kMakerAddress),
    };
    return lines.join(QStringLiteral("\r\n"));
}

// The last steps of building are the start-up handler's parts.
constexpr int kLoadSteps = 4;

Form1::Form1(QWidget *parent) : Form1(inSteps, parent) {
    // The controls, then the start-up handler whole.
    while (m_steps.size() > kLoadSteps)
        build();
    m_steps.clear();
    Form_Load();
}

Form1::Form1(InSteps, QWidget *parent) : QWidget(parent) {
    // The order a whole construction takes: the controls in tab order, their events, then the
    // start-up handler.
    m_steps = {[this] { createWindow(); },
               [this] { createBoxesAndFirstLeg(); },
               [this] { createLegs(); },
               [this] { createButtons(); },
               [this] { createTicket(); },
               [this] { createHeadings(); },
               [this] { finishBoxes(); },
               [this] { setIcon(); },
               [this] { finishControls(); },
               [this] { connectEvents(); },
               [this] { loadHeadings(); },
               [this] { loadFieldSizes(); },
               [this] { loadWagerTypes(); },
               [this] {
                   loadBaseAmounts();
                   repaint();
               }};
}

bool Form1::build() {
    if (!m_steps.isEmpty())
        m_steps.takeFirst()();
    return !m_steps.isEmpty();
}

Form1::~Form1() {
    // The controls outlive this object's own destructor, wherever they are parented; nothing they
    // or their parts raise may reach it then.
    for (QWidget *control : std::as_const(m_controls)) {
        control->disconnect(this);
        for (QObject *part : control->findChildren<QObject *>())
            part->disconnect(this);
    }
}

Form1::Faces Form1::faces() {
    const QString tahoma = QStringLiteral("Tahoma"), sansSerif = QStringLiteral("MS Sans Serif");
    return {face(tahoma, 8.25, false), face(sansSerif, 8.25, false), face(tahoma, 8.25, true)};
}

void Form1::createWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zandrel Ticket Calculator"));
    resize(11445 / kTwipsPerPixel, 7380 / kTwipsPerPixel);
    setFont(faces().window);
}

void Form1::createBoxesAndFirstLeg() {
    const auto [window, boxes, bold] = faces();
    // In tab order.
    Combo1 = place(new ComboBox(this), "Combo1", 360, 1560, 1215, 315, boxes);
    List1 = place(new ListBox(this), "List1", 360, 2400, 495, 4155, window);
    Label1 =
        place(new QLabel(QStringLiteral("Leg A"), this), "Label1", 360, 2160, 615, 255, window);
    Label0 = place(new QLabel(QStringLiteral("Field Size"), this), "Label0", 360, 1320, 975, 255,
                   window);
    Combo2 = place(new ComboBox(this), "Combo2", 360, 840, 2535, 315, boxes);
    Label00 = place(new QLabel(QStringLiteral("Wager Type"), this), "Label00", 360, 600, 975, 255,
                    window);
}

void Form1::createLegs() {
    const QFont window = faces().window;
    List2 = place(new ListBox(this), "List2", 1080, 2400, 495, 4155, window);
    List3 = place(new ListBox(this), "List3", 1800, 2400, 495, 4155, window);
    List4 = place(new ListBox(this), "List4", 2520, 2400, 495, 4155, window);
    List5 = place(new ListBox(this), "List5", 3240, 2400, 495, 4155, window);
    List6 = place(new ListBox(this), "List6", 3960, 2400, 495, 4155, window);
    Label2 =
        place(new QLabel(QStringLiteral("Leg B"), this), "Label2", 1080, 2160, 615, 255, window);
    Label3 =
        place(new QLabel(QStringLiteral("Leg C"), this), "Label3", 1800, 2160, 615, 255, window);
    Label4 =
        place(new QLabel(QStringLiteral("Leg D"), this), "Label4", 2520, 2160, 615, 255, window);
    Label5 =
        place(new QLabel(QStringLiteral("Leg E"), this), "Label5", 3240, 2160, 615, 255, window);
    Label6 =
        place(new QLabel(QStringLiteral("Leg F"), this), "Label6", 3960, 2160, 615, 255, window);
}

void Form1::createButtons() {
    const auto [window, boxes, bold] = faces();
    Combo3 = place(new ComboBox(this), "Combo3", 1680, 1560, 1215, 315, boxes);
    Label000 = place(new QLabel(QStringLiteral("Base Amt"), this), "Label000", 1680, 1320, 975, 255,
                     window);
    const QString clear = QStringLiteral("Clear");
    Command1 = place(new QPushButton(clear, this), "Command1", 360, 6600, 495, 255, boxes);
    Command2 = place(new QPushButton(clear, this), "Command2", 1080, 6600, 495, 255, boxes);
    Command3 = place(new QPushButton(clear, this), "Command3", 1800, 6600, 495, 255, boxes);
    Command4 = place(new QPushButton(clear, this), "Command4", 2520, 6600, 495, 255, boxes);
    Command5 = place(new QPushButton(clear, this), "Command5", 3240, 6600, 495, 255, boxes);
    Command6 = place(new QPushButton(clear, this), "Command6", 3960, 6600, 495, 255, boxes);
    Command7 = place(new QPushButton(QStringLiteral("CLEAR ALL"), this), "Command7", 4680, 6600,
                     855, 495, bold);
    Command8 = place(new QPushButton(QStringLiteral("CALC"), this), "Command8", 5640, 6600, 855,
                     495, bold);
}

void Form1::createTicket() {
    const QFont window = faces().window;
    Text1 = place(new TextBox(this), "Text1", 4680, 840, 6375, 5655, window);
    Label7 = place(new QLabel(QStringLiteral("Ticket Descritpion"), this), "Label7", 4680, 600,
                   1695, 255, window);
}

void Form1::createHeadings() {
    const auto [window, boxes, bold] = faces();
    const QString tahoma = QStringLiteral("Tahoma");
    Label8 = place(new QLabel(QStringLiteral("Label8"), this), "Label8", 360, 240, 2535, 255,
                   face(tahoma, 9.75, true));
    Label9 = place(new QLabel(QStringLiteral("Label8"), this), "Label9", 4680, 240, 2895, 255,
                   face(tahoma, 9, false));
    Command9 = place(new QPushButton(QStringLiteral("Help"), this), "Command9", 6600, 6600, 855,
                     495, bold);
    // In the free space right of Help, to the ticket's right edge: Keep, and the count, which
    // may take as many lines as there is room for down to the window's edge.
    CommandKeep =
        place(new QPushButton(tr("Keep"), this), "CommandKeep", 7575, 6600, 660, 495, bold);
    LabelCount = place(new QLabel(this), "LabelCount", 8325, 6600, 2730, 750, window);
    LabelCount->setWordWrap(true);
    LabelCount->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Right of the ticket, while the play holds tickets.
    PlayView = place(new PlayPanel(this), "PlayView", 11280, 600, 4365, 6750, window);
    PlayView->hide();
}

void Form1::finishBoxes() {
    for (ComboBox *combo : {Combo1, Combo2, Combo3})
        combo->setEditText(QStringLiteral("Combo1"));
    QPalette blue = Label8->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label8->setPalette(blue);
    Label9->setPalette(blue);
}

void Form1::setIcon() {
    // The desktop entry's icon serves the larger sizes.
    setWindowIcon(QIcon(new IconOnDemand));
}

void Form1::finishControls() {
    m_controls = {Combo1,   List1,    Label1,   Label0,   Combo2,   Label00,  List2,    List3,
                  List4,    List5,    List6,    Label2,   Label3,   Label4,   Label5,   Label6,
                  Combo3,   Label000, Command1, Command2, Command3, Command4, Command5, Command6,
                  Command7, Command8, Text1,    Label7,   Label8,   Label9,   Command9};
    m_lists = {List1, List2, List3, List4, List5, List6};
    m_legLabels = {Label1, Label2, Label3, Label4, Label5, Label6};
    m_clears = {Command1, Command2, Command3, Command4, Command5, Command6};

    chainTabOrder();
    Combo1->setFocus();
    describeControls();
    loadMinimums();
}

void Form1::chainTabOrder() {
    QWidget *previous = nullptr;
    for (QWidget *control : m_controls + QList<QWidget *>{CommandKeep, PlayView->ListPlay}) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void Form1::describeControls() {
    auto describe = [](QWidget *control, const QString &name, const QString &description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
    };
    // Screen readers here name a combo box by its text and take its caption from its buddy.
    Label0->setBuddy(Combo1);
    Label00->setBuddy(Combo2);
    Label000->setBuddy(Combo3);
    Label7->setBuddy(Text1);
    describe(Combo1, tr("Field size"), tr("Number of runners in each leg's list"));
    describe(Combo2, tr("Wager type"), tr("Picking a wager type shows its legs"));
    describe(Combo3, tr("Base amount"), tr("Cost of one combination"));
    for (int leg = 1; leg <= kLegCount; ++leg) {
        describe(list(leg), tr("Leg %1 runners").arg(legLetter(leg)),
                 tr("Space or a click selects or deselects a runner; All selects every runner"));
        describe(clearButton(leg), tr("Clear leg %1").arg(legLetter(leg)),
                 tr("Deselects every runner of leg %1").arg(legLetter(leg)));
    }
    describe(Command7, tr("Clear all legs"), tr("Deselects every runner of every leg"));
    describe(Command8, tr("Calculate ticket"), tr("Describes the ticket and its total cost"));
    // Named by its caption, which turns from "Help" to "Back".
    Command9->setAccessibleDescription(tr("Shows the operating instructions, or goes back"));
    describe(Text1, tr("Ticket description"),
             tr("The ticket's legs, runners and total cost; the instructions in help mode"));
    describe(CommandKeep, tr("Keep ticket"), tr("Adds the ticket to the play (Ctrl+K)"));
    // Named by what it says, which a screen reader hears whenever it changes.
    LabelCount->setAccessibleDescription(tr("The combinations the ticket covers"));
    // Enter as well as Space presses the focused button.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(true);
}

void Form1::connectEvents() {
    connect(Combo1, &ComboBox::Change, this, &Form1::Combo1_Change);
    connect(Combo1, &ComboBox::Click, this, &Form1::Combo1_Click);
    connect(Combo2, &ComboBox::Click, this, &Form1::Combo2_Click);
    connect(Combo3, &ComboBox::Change, this, &Form1::Combo3_Change);
    connect(Combo3, &ComboBox::Click, this, &Form1::Combo3_Click);
    const std::array listClicks{&Form1::List1_Click, &Form1::List2_Click, &Form1::List3_Click,
                                &Form1::List4_Click, &Form1::List5_Click, &Form1::List6_Click};
    const std::array clearClicks{&Form1::Command1_Click, &Form1::Command2_Click,
                                 &Form1::Command3_Click, &Form1::Command4_Click,
                                 &Form1::Command5_Click, &Form1::Command6_Click};
    for (int leg = 1; leg <= kLegCount; ++leg) {
        connect(list(leg), &ListBox::Click, this, listClicks[std::size_t(leg - 1)]);
        connect(clearButton(leg), &QPushButton::clicked, this, clearClicks[std::size_t(leg - 1)]);
        connect(list(leg), &ListBox::menuRequested, this,
                [this, leg](int row, QPoint at) { raceMenu(leg, row, at); });
    }
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(CommandKeep, &QPushButton::clicked, this, &Form1::Keep);
    connect(PlayView->ListPlay, &PlayList::bringBack, this, &Form1::bringBack);
    connect(PlayView->ListPlay, &PlayList::remove, this, &Form1::removeKept);
    connect(PlayView->ListPlay, &PlayList::menuRequested, this, &Form1::playMenu);
    connect(Text1, &TextBox::menuRequested, this, &Form1::ticketMenu);
    // Ctrl+K, Ctrl+Shift+C and Ctrl+Shift+V anywhere in the window, whatever has the focus.
    qApp->installEventFilter(this);
}

void Form1::DoEvents() {
    QCoreApplication::processEvents();
}

void Form1::Form_Load() {
    loadHeadings();
    loadFieldSizes();
    loadWagerTypes();
    loadBaseAmounts();
    repaint();
}

void Form1::loadFieldSizes() {
    loadBox(Combo1, fieldSizeItems(), kFieldSizeStart);
}

void Form1::loadWagerTypes() {
    loadBox(Combo2, wagerTypeItems(), kWagerTypeStart);
}

void Form1::loadBaseAmounts() {
    loadBox(Combo3, baseAmountItems(), kBaseAmountStart);
}

void Form1::loadHeadings() {
    const QString title = QStringLiteral("Zandrel Ticket Calculator");
    const QString address = QString::fromLatin1(kMakerAddress);
    Label8->setText(title);
    Label9->setText(address);
    setWindowTitle(title + QStringLiteral(" - ") + address);
    showLegs(0);
}

void Form1::loadBox(ComboBox *box, const QStringList &items, const QString &text) {
    box->clearAll();
    box->addItems(items);
    box->setText(text);
    box->repaint();
}

void Form1::refillFromFieldSize() {
    const double size = Val(Combo1->text());
    if (size > 0)
        PopulateRunnerLists(size);
}

void Form1::recalculateAfterPick() {
    Command8->setFocus();
    Command8_Click();
    DoEvents();
}

void Form1::storeBaseAmount() {
    // A text that is no amount (the placeholder, "$" while typing) keeps the last good one.
    if (const auto amount = toMoney(Combo3->text(), effectiveLocale())) {
        m_state.dblBaseAmt = amount->amount;
        m_state.bolBaseInUsDollars = amount->usDollars;
    }
}

void Form1::Combo1_Change() {
    if (m_state.intHelpMode == 1)
        return;
    refillFromFieldSize();
}

void Form1::Combo1_Click() {
    refillFromFieldSize();
    recalculateAfterPick();
}

void Form1::Combo2_Click() {
    if (m_state.intHelpMode == 1)
        return;
    showLegs(legsFor(Combo2->text()));
    if (Combo2->text().isEmpty())
        return;
    // The lists refilled, each with its race: the play's card for the play's wager type, the
    // same card for a wager type of the same kind, else races of the field size.
    const WagerType *wager = findWagerType(Combo2->text());
    const bool sameKind = wager && wager->kind == m_card.kind();
    if (wager)
        m_card.setKind(wager->kind);
    if (Val(Combo1->text()) > 0) {
        if (showsPlay())
            m_card = m_play.card;
        if (sameKind || showsPlay())
            showCard();
        else
            refillFromFieldSize();
    }
    if (m_brought >= 0 && !showsPlay())
        m_brought = -1;
    showPlayView();
    recalculateAfterPick();
}

void Form1::Combo3_Change() {
    if (m_state.intHelpMode == 1)
        return;
    storeBaseAmount();
}

void Form1::Combo3_Click() {
    storeBaseAmount();
    Command8_Click();
}

void Form1::PopulateRunnerLists(double fieldSize) {
    const QStringList items = runnerListItems(fieldSize);
    const int runners = int(items.size()) - 1;
    // The play's races take the new size and keep their scratches: no box drops the play's card.
    // Any other card starts afresh, for the kind of wager it was for.
    if (showsPlay())
        m_card.resize(runners);
    else
        m_card = Card(m_card.kind(), runners);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        list(leg)->setItems(items);
        list(leg)->setRace(m_card.race(leg));
    }
    cardChanged();
}

void Form1::showCard() {
    for (int leg = 1; leg <= kLegCount; ++leg) {
        list(leg)->setItems(runnerListItems(m_card.race(leg).runners));
        list(leg)->setRace(m_card.race(leg));
    }
}

bool Form1::showsPlay() const {
    return !m_play.tickets.isEmpty() && findWagerType(Combo2->text()) == m_play.wager;
}

void Form1::cardChanged() {
    // Races of the other kind, under the play's wager type typed, are no card of the play's.
    if (showsPlay() && m_card.kind() == m_play.card.kind()) {
        m_play.card = m_card;
        showPlayView();
    }
    emit playChanged();
}

void Form1::showLegs(int count) {
    for (int leg = 1; leg <= kLegCount; ++leg) {
        const bool shown = leg <= count;
        legLabel(leg)->setVisible(shown);
        list(leg)->setVisible(shown);
        clearButton(leg)->setVisible(shown);
    }
}

void Form1::listClick(int leg) {
    if (m_state.intHelpMode == 1 || m_state.bolAutoListPopulateUnderway)
        return;
    if (list(leg)->text() == QLatin1String(kAllItem))
        SelectAllRunners(qint16(leg));
    else
        Command8_Click();
    DoEvents();
}

void Form1::SelectAllRunners(qint16 leg) {
    m_state.bolAutoListPopulateUnderway = true;
    DoEvents();
    if (leg >= 1 && leg <= kLegCount) {
        ListBox *l = list(leg);
        m_state.bolAutoListPopulateUnderway = true;
        for (int i = 0; i < l->listCount(); ++i)
            l->setSelected(i, true);
        if (l->listCount() > 0)
            l->setSelected(l->listCount() - 1, false);
        l->repaint();
        m_state.bolAutoListPopulateUnderway = false;
        DoEvents();
        Command8_Click();
    }
    m_state.bolAutoListPopulateUnderway = false;
    DoEvents();
}

void Form1::clearLeg(int leg) {
    if (m_state.intHelpMode == 1)
        return;
    m_state.bolAutoListPopulateUnderway = true;
    m_state.clearLeg(leg);
    ListBox *l = list(leg);
    for (int i = 0; i < l->listCount(); ++i)
        l->setSelected(i, false);
    l->repaint();
    m_state.bolAutoListPopulateUnderway = false;
    Command8->setFocus();
    Command8_Click();
    DoEvents();
}

void Form1::Command7_Click() {
    m_state.bolAutoListPopulateUnderway = true;
    m_state.clearAllLegs();
    Command1_Click();
    Command2_Click();
    Command3_Click();
    Command4_Click();
    Command5_Click();
    Command6_Click();
    m_state.bolAutoListPopulateUnderway = false;
    Command8_Click();
}

TicketInput Form1::ticketInput() const {
    TicketInput in{Combo2->text(), {}};
    for (int leg = 1; leg <= kLegCount; ++leg) {
        const ListBox *l = list(leg);
        RunnerList &items = in.leg(leg);
        items.reserve(l->listCount());
        for (int i = 0; i < l->listCount(); ++i)
            items.append({l->itemText(i), l->isSelected(i)});
    }
    return in;
}

void Form1::Command8_Click() {
    if (m_state.intHelpMode == 1)
        return;
    resetRunnerStore(m_state);
    // Each test reads the wager type afresh: a click handled during the event pass below may
    // have changed it. The count goes with the ticket it counts: a text that names no wager type
    // leaves both as they were.
    for (const WagerType *wager : calcOrder()) {
        if (!wager->matches(Combo2->text()))
            continue;
        const TicketInput input = ticketInput();
        Text1->setText(describeTicket(*wager, input, m_state, effectiveLocale()));
        showCount(*countTicket(input));
        Text1->repaint();
        DoEvents();
    }
    emit calculated();
    emit playChanged();
}

void Form1::changeCard(const std::function<void(Card &)> &change) {
    if (m_state.intHelpMode == 1)
        return;
    // The wager type the box names says whether the legs are one race.
    if (const WagerType *wager = findWagerType(Combo2->text()))
        m_card.setKind(wager->kind);
    change(m_card);
    for (int leg = 1; leg <= kLegCount; ++leg)
        list(leg)->setRace(m_card.race(leg));
    cardChanged();
    Command8_Click();
}

void Form1::scratch(int leg, int runner, bool scratched) {
    changeCard([&](Card &card) { card.scratch(leg, runner, scratched); });
}

void Form1::setRunners(int leg, int runners) {
    changeCard([&](Card &card) { card.setRunners(leg, runners); });
}

void Form1::restoreRunners(int leg) {
    changeCard([&](Card &card) { card.restoreAll(leg); });
}

void Form1::raceMenu(int leg, int row, QPoint at) {
    if (m_state.intHelpMode == 1 || !list(leg)->isEnabled())
        return;
    const Race race = list(leg)->race();
    auto *menu = new QMenu(list(leg));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // A choice acts once the menu has gone: the recalculation lets events run, which would
    // delete the menu under its own click.
    const auto add = [this](QMenu *to, const QString &text, const auto &act) {
        QAction *action = to->addAction(text);
        connect(action, &QAction::triggered, this, act, Qt::QueuedConnection);
        return action;
    };
    if (row >= 0 && row < race.runners) {
        const int runner = row + 1;
        const bool scratched = race.scratched.contains(runner);
        add(menu, (scratched ? tr("Restore %1") : tr("Scratch %1")).arg(runner),
            [this, leg, runner, scratched] { scratch(leg, runner, !scratched); });
        // A handicapper's grade, for the A-B-C tickets: a runner who runs in a multi-race leg.
        const WagerType *wager = findWagerType(Combo2->text());
        if (!scratched && wager && !wager->isExotic()) {
            QMenu *grades = menu->addMenu(tr("Grade %1").arg(runner));
            for (const char grade : {'A', 'B', 'C', char(0)}) {
                QAction *graded =
                    add(grades, grade ? QString(QChar::fromLatin1(grade)) : tr("No grade"),
                        [this, leg, runner, grade] { this->grade(leg, runner, grade); });
                graded->setCheckable(true);
                graded->setChecked(race.grades.value(runner) == grade);
            }
        }
    }
    // The sizes offered, and the field size in force where one above them was typed.
    QList<int> sizes;
    for (int n = 2; n <= 20; ++n)
        sizes << n;
    if (const double field = std::floor(Val(Combo1->text())); field > 20)
        sizes << int(std::min<double>(field, kMaxField));
    QMenu *runners = menu->addMenu(tr("Runners in this race"));
    for (int n : std::as_const(sizes)) {
        QAction *size = add(runners, QString::number(n), [this, leg, n] { setRunners(leg, n); });
        size->setCheckable(true);
        size->setChecked(n == race.runners);
    }
    add(menu, tr("Restore all runners"), [this, leg] {
        restoreRunners(leg);
    })->setEnabled(!race.scratched.isEmpty());
    menu->popup(at);
}

void Form1::setHelpControlsEnabled(bool enabled) {
    QWidget *const controls[] = {Combo1,   Combo2,   Combo3,      List1,    List2,
                                 List3,    List4,    List5,       List6,    Command1,
                                 Command2, Command3, Command4,    Command5, Command6,
                                 Command7, Command8, CommandKeep, PlayView};
    for (QWidget *w : controls)
        w->setEnabled(enabled);
}

void Form1::Command9_Click() {
    if (m_state.intHelpMode == 0) {
        m_state.intHelpMode = 1;
        m_state.strTextPersisted = Text1->text();
        Command9->setText(QStringLiteral("Back"));
        setHelpControlsEnabled(false);
        Text1->setText(helpText());
    } else {
        m_state.intHelpMode = 0;
        Command9->setText(QStringLiteral("Help"));
        Text1->setText(m_state.strTextPersisted);
        setHelpControlsEnabled(true);
    }
    emit helpModeChanged(m_state.intHelpMode == 1);
    repaint();
    DoEvents();
}

} // namespace ztc
