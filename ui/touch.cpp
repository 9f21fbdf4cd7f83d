// SPDX-License-Identifier: MIT
#include "touch.h"

#include "finger.h"
#include "form1.h"
#include "playpanel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <QScroller>
#include <QStyleHints>
#include <QStyleOptionComplex>
#include <QStyledItemDelegate>
#include <QWindow>

#include <algorithm>
#include <tuple>

namespace ztc {

namespace {

// In the page's pixels. Apple asks for targets of 44 points, Google 48 dp; WCAG no less than 24.
constexpr int kTarget = 44; // the least height of anything tapped, and a runner tile's width
constexpr int kGap = 4;     // between runner tiles
constexpr int kMargin = 12; // around and between the parts
constexpr int kBox = 48;    // a box's height, and a button's
constexpr int kMostColumns = 10;

QFont sized(QFont font, int pixels, bool bold = false) {
    font.setPixelSize(pixels);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStretch(QFont::Unstretched);
    return font;
}

// A runner as a tile: a chosen one filled, its number bold, and checked, so that it is not told
// by colour alone.
class TileDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A tile fills its cell of the list's grid.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override {
        const auto *list = qobject_cast<const QListView *>(option.widget);
        return list ? list->gridSize() : QSize(kTarget + kGap, kTarget + kGap);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const QRectF tile =
            QRectF(option.rect).adjusted(kGap / 2.0, kGap / 2.0, -kGap / 2.0, -kGap / 2.0);
        const bool chosen = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        const QPalette &palette = option.palette;
        const QColor ink =
            palette.color(group, chosen ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(palette.color(group, chosen ? QPalette::Highlight : QPalette::Mid),
                             chosen ? 2 : 1));
        painter->setBrush(palette.color(group, chosen ? QPalette::Highlight : QPalette::Base));
        painter->drawRoundedRect(tile.adjusted(1, 1, -1, -1), 6, 6);
        // A scratched runner dimmed and struck through, not told by colour alone either.
        const auto *list = qobject_cast<const ListBox *>(option.widget);
        const bool scratched = list && list->isScratched(index.row());
        QFont font = option.font;
        font.setBold(chosen);
        font.setStrikeOut(scratched);
        painter->setFont(font);
        painter->setPen(scratched ? palette.color(QPalette::Disabled, QPalette::Text) : ink);
        painter->drawText(tile, Qt::AlignCenter, index.data().toString());
        if (scratched)
            painter->drawLine(tile.bottomLeft() + QPointF(6, -6), tile.topRight() + QPointF(-6, 6));
        // A graded runner's grade in the tile's corner.
        if (const QChar grade = list ? list->gradeOf(index.row()) : QChar(); !grade.isNull()) {
            QFont small = option.font;
            small.setPixelSize(std::max(10, option.font.pixelSize() * 2 / 3));
            small.setBold(true);
            painter->setFont(small);
            painter->setPen(ink);
            painter->drawText(tile.adjusted(5, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, grade);
        }
        painter->setBrush(Qt::NoBrush);
        if (chosen) {
            const QPointF corner = tile.topRight() + QPointF(-6, 6);
            QPainterPath check(corner + QPointF(-9, 4));
            check.lineTo(corner + QPointF(-6, 7));
            check.lineTo(corner + QPointF(0, 0));
            painter->setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->drawPath(check);
        }
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(
                QPen(chosen ? ink : palette.color(group, QPalette::Highlight), 2, Qt::DotLine));
            painter->drawRoundedRect(tile.adjusted(4, 4, -4, -4), 4, 4);
        }
        painter->restore();
    }
};

// The rows of a box's list, a finger high.
class BoxRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo({0, kTarget});
    }
};

// A box's arrow as wide as a finger, so that its list opens at a tap.
class TouchStyle : public QProxyStyle {
  public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox)
            return rect;
        const QRect box = option->rect;
        const int arrow = std::min(kTarget, box.width() / 3);
        if (part == SC_ComboBoxArrow)
            return {box.right() + 1 - arrow, box.top(), arrow, box.height()};
        if (part == SC_ComboBoxEditField)
            rect.setRight(std::min(rect.right(), box.right() - arrow));
        return rect;
    }

    // A menu's items a finger high.
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override {
        QSize grown = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuItem && grown.height() > 0)
            grown.setHeight(std::max(grown.height(), kTarget));
        return grown;
    }
};

// Every menu as a finger needs it: the runners', the boxes' and the ticket's.
class MenusForFingers : public QObject {
  public:
    MenusForFingers(QStyle *style, const QFont &font, QObject *parent)
        : QObject(parent), m_style(style), m_font(font) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (auto *menu = qobject_cast<QMenu *>(watched); menu && event->type() == QEvent::Polish) {
            menu->setStyle(m_style);
            menu->setFont(m_font);
        }
        return false;
    }

  private:
    QStyle *m_style;
    QFont m_font;
};

// Moved with what they show and whether they are shown: the controls are the window's own.
void move(QWidget *control, QWidget *to, const QFont &font) {
    const bool shown = !control->isHidden();
    control->setParent(to);
    control->setVisible(shown);
    control->setFont(font);
}

} // namespace

TouchArrangement::TouchArrangement(Form1 &form) : TouchArrangement(form, inSteps) {
    while (build()) {
    }
}

TouchArrangement::TouchArrangement(Form1 &form, InSteps)
    : QObject(&form), m_form(form), m_sheetArea(new QScrollArea(&form)), m_sheet(new QWidget),
      m_dock(new QWidget(&form)), m_playSheet(new QWidget(&form)),
      m_playButton(new QPushButton(m_dock)),
      m_playBack(new QPushButton(tr("Back to the ticket"), m_playSheet)), m_style(new TouchStyle),
      m_finger(new Finger(this)) {
    // The sheet, the legs, then the dock and what follows the window: the controls' order.
    m_steps = {[this] { arrangeSheet(); },
               [this] { arrangeBox(m_form.Combo1); },
               [this] { arrangeBox(m_form.Combo2); },
               [this] { arrangeBox(m_form.Combo3); },
               [this] { arrangeLegs(); },
               [this] { arrangeDock(); },
               [this] { arrangeTicket(); }};
}

bool TouchArrangement::build() {
    if (!m_steps.isEmpty())
        m_steps.takeFirst()();
    return !m_steps.isEmpty();
}

void TouchArrangement::arrangeSheet() {
    m_style->setParent(this);
    // A phone's long press: half a second, as on Android and iOS.
    QGuiApplication::styleHints()->setMousePressAndHoldInterval(500);
    connect(m_finger, &Finger::held, this, &TouchArrangement::heldAt);
    m_sheetArea->setFrameShape(QFrame::NoFrame);
    m_sheetArea->setFocusPolicy(Qt::NoFocus);
    m_sheetArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sheetArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sheetArea->setWidget(m_sheet);
    m_dock->setAutoFillBackground(true);
    m_dock->setBackgroundRole(QPalette::Midlight);

    m_form.setForFingers(true);
    m_focused = m_form.focusWidget();
    const QFont face = m_form.font();
    const QFont label = sized(face, 15);
    move(m_form.Label8, m_sheet, sized(face, 19, true));
    move(m_form.Label9, m_sheet, sized(face, 14));
    for (QLabel *caption : {m_form.Label00, m_form.Label0, m_form.Label000})
        move(caption, m_sheet, label);
}

// Each box lays its list out again, more than once: a step of its own.
void TouchArrangement::arrangeBox(ComboBox *box) {
    move(box, m_sheet, sized(m_form.font(), 17));
    box->setStyle(m_style);
    box->setItemDelegate(new BoxRowDelegate(box));
    box->view()->setFont(box->font());
    box->setMaxVisibleItems(10);
    box->view()->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void TouchArrangement::arrangeLegs() {
    const QFont face = m_form.font();
    const QFont label = sized(face, 15);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        move(m_form.legLabel(leg), m_sheet, sized(face, 17, true));
        move(m_form.clearButton(leg), m_sheet, sized(face, 16));
        ListBox *list = m_form.list(leg);
        move(list, m_sheet, sized(face, 18));
        list->setTogglesOnRelease(true);
        list->setItemDelegate(new TileDelegate(list));
        list->setFlow(QListView::LeftToRight);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        list->setFrameShape(QFrame::NoFrame);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->viewport()->setBackgroundRole(QPalette::Window);
        list->installEventFilter(this);
        connect(list->model(), &QAbstractItemModel::modelReset, this, &TouchArrangement::layOut);
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, &TouchArrangement::layOut);
        connect(list->model(), &QAbstractItemModel::rowsRemoved, this, &TouchArrangement::layOut);
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TouchArrangement::countChosen);
        m_counts[std::size_t(leg - 1)] = new QLabel(m_sheet);
        m_counts[std::size_t(leg - 1)]->setFont(label);
    }
}

void TouchArrangement::arrangeDock() {
    const QFont face = m_form.font();
    for (QPushButton *button :
         {m_form.Command7, m_form.Command8, m_form.Command9, m_form.CommandKeep})
        move(button, m_dock, sized(face, 16, true));
    // The play: the dock's button opens it over the window; a tap on a kept ticket brings it
    // back into the window, and closes it.
    m_playButton->setObjectName(QStringLiteral("CommandPlay"));
    m_playButton->setFont(sized(face, 16, true));
    m_playButton->setAccessibleDescription(tr("Shows the tickets kept"));
    m_playBack->setObjectName(QStringLiteral("CommandPlayBack"));
    m_playBack->setFont(sized(face, 16, true));
    m_playSheet->setAutoFillBackground(true);
    m_playSheet->hide();
    PlayPanel *play = m_form.PlayView;
    play->setParent(m_playSheet);
    play->setFont(sized(face, 15));
    play->LabelPlay->setFont(sized(face, 17, true));
    play->ListPlay->setFont(sized(face, 16));
    play->ListPlay->setBringsBackOnTap(true);
    scrollByFinger(play->ListPlay->viewport());
    connect(m_playButton, &QPushButton::clicked, this, [this] { showPlay(true); });
    connect(m_playBack, &QPushButton::clicked, this, [this] { showPlay(false); });
    connect(play->ListPlay, &PlayList::bringBack, this, [this] { showPlay(false); });
    connect(&m_form, &Form1::playChanged, this, [this] {
        const int kept = int(m_form.play().tickets.size());
        m_playButton->setText(kept ? tr("Play (%1)").arg(kept) : tr("Play"));
        m_playButton->setEnabled(kept > 0 && m_form.state().intHelpMode != 1);
        if (!kept)
            showPlay(false);
    });
    m_playButton->setText(tr("Play"));
    m_playButton->setEnabled(false);
}

void TouchArrangement::arrangeTicket() {
    const QFont face = m_form.font();
    const QFont label = sized(face, 15);
    move(m_form.LabelCount, m_dock, label);
    move(m_form.Label7, m_dock, label);
    move(m_form.Text1, m_dock, sized(face, 15));
    m_form.Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_form.Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_form.Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The ticket scrolls by lines, which a finger moves by pixels.
    m_form.Text1->viewport()->installEventFilter(this);
    if (m_focused)
        m_focused->setFocus();

    for (QWidget *scrolled :
         {m_sheetArea->viewport(), m_form.Text1->viewport(), m_form.Combo1->view()->viewport(),
          m_form.Combo2->view()->viewport(), m_form.Combo3->view()->viewport()})
        scrollByFinger(scrolled);
    // Keys and screen readers move the focus out of sight; a finger only where it is.
    for (QWidget *control : m_form.controls())
        if (onSheet(control))
            control->installEventFilter(this);
    connect(&m_form, &Form1::calculated, this, [this] {
        // A count that needs another line than it has gets it.
        const QLabel *count = m_form.LabelCount;
        if (count->heightForWidth(count->width()) != count->height())
            layOut();
        showTicketEnd();
    });
    new MenusForFingers(m_style, sized(face, 16), this);
    // Help mode: the dock grows over the sheet or gives it back.
    connect(&m_form, &Form1::helpModeChanged, this, [this](bool on) {
        showPlay(false);
        m_playButton->setEnabled(!on && !m_form.play().tickets.isEmpty());
        layOut();
        showTicketEnd();
    });
    m_form.installEventFilter(this);
    layOut();
}

void TouchArrangement::scrollByFinger(QWidget *viewport) {
    QScroller *scroller = QScroller::scroller(viewport);
    QScrollerProperties properties = scroller->scrollerProperties();
    // Up and down only, and always: where there is nothing more to see, the content gives a
    // little under the finger and springs back.
    properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy,
                               QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff));
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy,
                               QVariant::fromValue(QScrollerProperties::OvershootAlwaysOn));
    properties.setScrollMetric(QScrollerProperties::OvershootScrollTime, 0.3);
    scroller->setScrollerProperties(properties);
    connect(scroller, &QScroller::stateChanged, this, [this](QScroller::State state) {
        if (state == QScroller::Inactive)
            emit settled();
    });
}

QList<QWidget *> TouchArrangement::readingOrder() const {
    QList<QWidget *> order = m_form.controls() + m_form.extras();
    order << m_playButton << m_playBack;
    // The sheet's from its top, then the dock's, then the play's over them.
    auto place = [this](const QWidget *w) {
        const QPoint at = w->mapTo(&m_form, QPoint());
        return std::tuple(onSheet(w) ? 0 : m_playSheet->isAncestorOf(w) ? 2 : 1, at.y(), at.x());
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const QWidget *a, const QWidget *b) { return place(a) < place(b); });
    return order;
}

bool TouchArrangement::onSheet(const QWidget *control) const {
    return control->parentWidget() == m_sheet;
}

QRect TouchArrangement::sheetView() const {
    // In help mode the dock covers it.
    return m_form.state().intHelpMode == 1 ? QRect() : m_sheetArea->geometry();
}

bool TouchArrangement::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ScrollPrepare:
    case QEvent::Scroll:
        if (watched == m_form.Text1->viewport())
            return scrollTicket(event);
        break;
    case QEvent::Resize:
        if (watched == &m_form)
            layOut();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (qobject_cast<ListBox *>(watched))
            layOut();
        break;
    case QEvent::FocusIn:
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::OtherFocusReason:
            m_sheetArea->ensureWidgetVisible(static_cast<QWidget *>(watched), kMargin, kMargin);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return false;
}

void TouchArrangement::heldAt(QWindow *window, QPointF at) {
    if (window != m_form.windowHandle() || QApplication::activePopupWidget())
        return;
    QWidget *control = m_form.childAt(at.toPoint());
    while (control && !m_form.controls().contains(control) && control != m_form.PlayView->ListPlay)
        control = control->parentWidget();
    if (!control || !control->isEnabled())
        return;
    // The menu of what the finger rests on, as a right click there opens it: the ticket's, a
    // runner's, a kept ticket's, and a box's for its text. Margins, captions and buttons have
    // none.
    if (control == m_form.Text1 || qobject_cast<ListBox *>(control) ||
        control == m_form.PlayView->ListPlay) {
        Finger::click(window, at, Qt::RightButton);
    } else if (auto *box = qobject_cast<ComboBox *>(control)) {
        const QLineEdit *text = box->lineEdit();
        const QRect field(text->mapTo(&m_form, QPoint()), text->size());
        Finger::click(window,
                      QPointF(std::clamp(int(at.x()), field.left(), field.right()),
                              std::clamp(int(at.y()), field.top(), field.bottom())),
                      Qt::RightButton);
    }
}

bool TouchArrangement::scrollTicket(QEvent *event) {
    QScrollBar *lines = m_form.Text1->verticalScrollBar();
    const qreal line = m_form.Text1->fontMetrics().lineSpacing();
    if (event->type() == QEvent::ScrollPrepare) {
        auto *prepare = static_cast<QScrollPrepareEvent *>(event);
        prepare->setViewportSize(m_form.Text1->viewport()->size());
        prepare->setContentPosRange(QRectF(0, 0, 0, lines->maximum() * line));
        prepare->setContentPos(QPointF(0, lines->value() * line));
        prepare->accept();
    } else {
        lines->setValue(qRound(static_cast<QScrollEvent *>(event)->contentPos().y() / line));
    }
    return true;
}

void TouchArrangement::layOut() {
    if (m_layingOut)
        return;
    m_layingOut = true;
    const QRect window = m_form.rect();
    const bool upright = window.height() >= window.width();
    QRect sheet = window, dock = window;
    if (m_form.state().intHelpMode != 1) {
        if (upright) {
            sheet.setBottom(window.bottom() - dockHeight(window.width(), window.height()));
            dock.setTop(sheet.bottom() + 1);
        } else {
            sheet.setRight(window.width() * 55 / 100);
            dock.setLeft(sheet.right() + 1);
        }
    }
    m_sheetArea->setGeometry(sheet);
    const int content = layOutSheet(sheet.width());
    m_sheet->resize(sheet.width(), std::max(content, sheet.height()));
    layOutDock(dock);
    m_dock->raise();
    layOutPlay(window);
    countChosen();
    if (QWidget *focused = m_form.focusWidget(); focused && onSheet(focused))
        m_sheetArea->ensureWidgetVisible(focused, kMargin, kMargin);
    m_layingOut = false;
    emit settled();
}

int TouchArrangement::layOutSheet(int width) {
    Form1 &f = m_form;
    const int inner = width - 2 * kMargin;
    int y = kMargin;
    auto row = [&](QWidget *control, int left, int w, int h) {
        control->setGeometry(kMargin + left, y, w, h);
    };
    auto line = [](const QWidget *control) { return control->fontMetrics().height() + 6; };
    row(f.Label8, 0, inner, line(f.Label8));
    y += line(f.Label8);
    row(f.Label9, 0, inner, line(f.Label9));
    y += line(f.Label9) + kMargin;
    row(f.Label00, 0, inner, line(f.Label00));
    y += line(f.Label00);
    row(f.Combo2, 0, inner, kBox);
    y += kBox + kMargin;
    const int half = (inner - kMargin) / 2;
    row(f.Label0, 0, half, line(f.Label0));
    row(f.Label000, half + kMargin, inner - half - kMargin, line(f.Label000));
    y += line(f.Label0);
    row(f.Combo1, 0, half, kBox);
    row(f.Combo3, half + kMargin, inner - half - kMargin, kBox);
    y += kBox + kMargin;

    // The list wraps before a cell that would reach its edge.
    const int columns = std::clamp((inner - 1) / (kTarget + kGap), 1, kMostColumns);
    const QSize cell((inner - 1) / columns, kTarget + kGap);
    for (int leg = 1; leg <= kLegCount; ++leg) {
        ListBox *list = f.list(leg);
        QLabel *count = m_counts[std::size_t(leg - 1)];
        count->setVisible(!list->isHidden());
        if (list->isHidden())
            continue;
        QLabel *caption = f.legLabel(leg);
        QPushButton *clear = f.clearButton(leg);
        const int captionWidth = caption->fontMetrics().horizontalAdvance(caption->text()) + 8;
        const int clearWidth =
            std::max(88, clear->fontMetrics().horizontalAdvance(clear->text()) + 2 * kMargin);
        y += kGap;
        row(caption, 0, captionWidth, kTarget);
        row(count, captionWidth + kMargin, inner - captionWidth - clearWidth - 2 * kMargin,
            kTarget);
        row(clear, inner - clearWidth, clearWidth, kTarget);
        y += kTarget + kGap;
        list->setGridSize(cell);
        const int rows = (list->count() + columns - 1) / columns;
        row(list, 0, inner, rows * cell.height());
        y += rows * cell.height() + kMargin;
    }
    return y + kMargin;
}

int TouchArrangement::dockHeight(int width, int height) const {
    const Form1 &f = m_form;
    const int lines = height >= 800 ? 4 : 3;
    const int ticket = f.Text1->fontMetrics().lineSpacing() * lines +
                       2 * (f.Text1->frameWidth() + int(f.Text1->document()->documentMargin()));
    return kMargin + buttonRows(width - 2 * kMargin) * (kBox + kGap) + countHeight(width) +
           f.Label7->fontMetrics().height() + 6 + ticket + kMargin;
}

int TouchArrangement::countHeight(int width) const {
    const QLabel *count = m_form.LabelCount;
    return std::max(count->heightForWidth(width - 2 * kMargin), count->fontMetrics().height());
}

QList<QPushButton *> TouchArrangement::dockButtons() const {
    return {m_form.Command7, m_form.Command8, m_form.Command9, m_form.CommandKeep, m_playButton};
}

int TouchArrangement::buttonsPerRow(int width) const {
    const QList<QPushButton *> buttons = dockButtons();
    int widest = 0;
    // Help's caption turns to Back, and Play's counts the tickets: none grows wider than these.
    for (const QPushButton *button : buttons)
        widest = std::max(widest, button->fontMetrics().horizontalAdvance(
                                      button == m_playButton ? tr("Play (64)") : button->text()));
    for (int per = int(buttons.size()); per > 1; --per)
        if ((width - (per - 1) * kMargin) / per >= widest + kMargin)
            return per;
    return 1;
}

int TouchArrangement::buttonRows(int width) const {
    const int per = buttonsPerRow(width);
    return (int(dockButtons().size()) + per - 1) / per;
}

void TouchArrangement::layOutDock(const QRect &dock) {
    Form1 &f = m_form;
    m_dock->setGeometry(dock);
    const int inner = dock.width() - 2 * kMargin;
    int y = kMargin;
    // As many to a row as show their captions whole, each row filled from the left.
    const QList<QPushButton *> buttons = dockButtons();
    const int per = buttonsPerRow(inner);
    for (int first = 0; first < buttons.size(); first += per, y += kBox + kGap) {
        const int inRow = std::min(per, int(buttons.size()) - first);
        const int each = (inner - (inRow - 1) * kMargin) / inRow;
        for (int i = 0; i < inRow; ++i)
            buttons[first + i]->setGeometry(kMargin + i * (each + kMargin), y,
                                            i + 1 == inRow ? inner - i * (each + kMargin) : each,
                                            kBox);
    }
    f.LabelCount->setGeometry(kMargin, y, inner, countHeight(dock.width()));
    y += f.LabelCount->height();
    const int caption = f.Label7->fontMetrics().height() + 6;
    f.Label7->setGeometry(kMargin, y, inner, caption);
    y += caption;
    f.Text1->setGeometry(kMargin, y, inner, dock.height() - y - kMargin);
}

void TouchArrangement::layOutPlay(const QRect &window) {
    m_playSheet->setGeometry(window);
    const int inner = window.width() - 2 * kMargin;
    m_playBack->setGeometry(kMargin, kMargin, inner, kBox);
    const int top = 2 * kMargin + kBox;
    m_form.PlayView->setGeometry(kMargin, top, inner, window.height() - top - kMargin);
    if (m_playSheet->isVisible())
        m_playSheet->raise();
}

void TouchArrangement::showPlay(bool shown) {
    m_playSheet->setVisible(shown);
    if (shown)
        m_playSheet->raise();
    emit settled();
}

void TouchArrangement::countChosen() {
    for (int leg = 1; leg <= kLegCount; ++leg) {
        const ListBox *list = m_form.list(leg);
        int chosen = 0;
        for (int i = 0; i + 1 < list->listCount(); ++i)
            chosen += list->isSelected(i);
        m_counts[std::size_t(leg - 1)]->setText(tr("%1 chosen").arg(chosen));
    }
}

void TouchArrangement::showTicketEnd() {
    if (m_form.state().intHelpMode == 1)
        return;
    QScrollBar *bar = m_form.Text1->verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace ztc
