// SPDX-License-Identifier: MIT
#include "playpanel.h"

#include "playtext.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace ztc {

namespace {

// A row as wide as the list, its lines wrapped anywhere: a ticket's legs have no spaces to wrap at.
class RowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        const int width = view ? view->viewport()->width() : option.rect.width();
        const QRect text =
            option.fontMetrics.boundingRect(QRect(0, 0, std::max(1, width - 2 * kPadding), 1 << 20),
                                            kWrap, index.data().toString());
        return {width, text.height() + 2 * kPadding};
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem row = option;
        initStyleOption(&row, index);
        const QString text = row.text;
        row.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &row, painter, widget);
        painter->save();
        painter->setFont(row.font);
        painter->setPen(row.palette.color(QPalette::Normal, row.state & QStyle::State_Selected
                                                                ? QPalette::HighlightedText
                                                                : QPalette::Text));
        painter->drawText(option.rect.adjusted(kPadding, kPadding, -kPadding, -kPadding), kWrap,
                          text);
        painter->restore();
    }

  private:
    static constexpr int kPadding = 3;
    static constexpr int kWrap = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;
};

} // namespace

PlayList::PlayList(QWidget *parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setResizeMode(QListView::Adjust);
    setItemDelegate(new RowDelegate(this));
}

void PlayList::keyPressEvent(QKeyEvent *event) {
    const int row = currentRow();
    if (row >= 0 && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
        emit remove(row);
    } else if (row >= 0 && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit bringBack(row);
    } else if (event->key() == Qt::Key_Menu ||
               (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {}, event->modifiers());
        contextMenuEvent(&menu);
    } else {
        QListWidget::keyPressEvent(event);
    }
}

void PlayList::mousePressEvent(QMouseEvent *event) {
    m_pressed =
        event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()) : QModelIndex();
    QListWidget::mousePressEvent(event);
}

void PlayList::mouseReleaseEvent(QMouseEvent *event) {
    const QModelIndex pressed = std::exchange(m_pressed, {});
    QListWidget::mouseReleaseEvent(event);
    if (m_onTap && event->button() == Qt::LeftButton && pressed.isValid() &&
        indexAt(event->position().toPoint()) == pressed)
        emit bringBack(pressed.row());
}

void PlayList::mouseDoubleClickEvent(QMouseEvent *event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (const QModelIndex index = indexAt(event->position().toPoint()); index.isValid())
        emit bringBack(index.row());
}

void PlayList::contextMenuEvent(QContextMenuEvent *event) {
    const QModelIndex index =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (index.isValid())
        setCurrentIndex(index);
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(index.isValid() ? visualRect(index).center()
                                                                    : viewport()->rect().center());
    emit menuRequested(index.isValid() ? index.row() : -1, at);
}

PlayPanel::PlayPanel(QWidget *parent)
    : QWidget(parent), LabelPlay(new QLabel(this)), ListPlay(new PlayList(this)),
      LabelTotals(new QLabel(this)) {
    LabelPlay->setObjectName(QStringLiteral("LabelPlay"));
    ListPlay->setObjectName(QStringLiteral("ListPlay"));
    LabelTotals->setObjectName(QStringLiteral("LabelTotals"));
    QFont bold = LabelPlay->font();
    bold.setBold(true);
    LabelPlay->setFont(bold);
    LabelTotals->setWordWrap(true);
    LabelTotals->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ListPlay->setAccessibleName(tr("Tickets kept"));
    ListPlay->setAccessibleDescription(
        tr("Enter or a double click brings a ticket back to change; Delete removes it"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(LabelPlay);
    layout->addWidget(ListPlay, 1);
    layout->addWidget(LabelTotals);
}

void PlayPanel::showPlay(const Play &play, int brought, const MinimumTable &minimums,
                         const QLocale &locale) {
    const int kept = int(play.tickets.size());
    LabelPlay->setText(
        kept == 0 ? QString()
        : kept == 1
            ? tr("Play: %1, 1 ticket").arg(QString::fromLatin1(play.wager->display))
            : tr("Play: %1, %2 tickets").arg(QString::fromLatin1(play.wager->display)).arg(kept));
    const int current = ListPlay->currentRow();
    ListPlay->clear();
    for (int row = 0; row < kept; ++row) {
        const Ticket &ticket = play.tickets[row];
        const double combinations = ticket.combinations(play.card);
        QString text = ticketLine(ticket, play.card, locale);
        text += u'\n' + locale.toString(combinations, 'f', 0) +
                (combinations == 1 ? tr(" combination, ") : tr(" combinations, ")) +
                formatCurrency(combinations * ticket.base.amount, locale, ticket.base.usDollars);
        // Scratches may leave a leg without a runner: kept all the same, at nothing.
        if (ticket.hasEmptyLeg(play.card))
            text += tr(" (a leg has no runner left)");
        if (const QString warning =
                shortfall(ticket, combinations, minimumsFor(minimums, *ticket.wager), locale);
            !warning.isEmpty())
            text += u'\n' + warning;
        if (row == brought)
            text += tr(" (in the window to change)");
        auto *item = new QListWidgetItem(text, ListPlay);
        if (row == brought) {
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
        }
    }
    ListPlay->setCurrentRow(std::min(current, kept - 1));
    if (kept == 0) {
        LabelTotals->clear();
        return;
    }
    const PlayCount count = play.count();
    const bool dollars = play.tickets.first().base.usDollars;
    const QString bought = locale.toString(count.bought, 'f', 0);
    LabelTotals->setText(
        (count.overlapCounted
             ? tr("%1 combinations bought, %2 different, %3 held more than once")
                   .arg(bought, locale.toString(count.different, 'f', 0),
                        locale.toString(count.heldTwice, 'f', 0))
             : tr("%1 combinations bought; they overlap too intricately to count the "
                  "different ones")
                   .arg(bought)) +
        u'\n' + tr("Total Play Cost: ") + formatCurrency(count.cost, locale, dollars));
}

} // namespace ztc
