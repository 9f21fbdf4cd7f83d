// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace ztc {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent) {
    setEditable(true);
    // An editable box takes Qt::WheelFocus, and Qt focuses such a box for a real wheel event
    // before the box sees it: a stray notch would then count as the user's and pick.
    setFocusPolicy(Qt::StrongFocus);
    setInsertPolicy(QComboBox::NoInsert);
    // A Qt built without completers (as for the browser) has none to drop.
#if QT_CONFIG(completer)
    setCompleter(nullptr); // typed text stays exactly as typed
#endif
    setMaxVisibleItems(20);
    // Only a pick from the list is a Click: Qt also counts Enter, and leaving the field with the
    // text of an item, as picking it.
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(this, &QComboBox::activated, this, &ComboBox::Click);
    connect(lineEdit(), &QLineEdit::textEdited, this, &ComboBox::Change);
}

void ComboBox::setText(const QString &text) {
    setCurrentIndex(findText(text));
    setEditText(text);
    emit Change();
}

void ComboBox::wheelEvent(QWheelEvent *event) {
    // A stray notch over a box the user is not working in must not pick for them.
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void ComboBox::clearAll() {
    clear();
    clearEditText();
}

namespace {

// Rows exactly one line of text high, so that a whole field fits the list's height.
class RowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(option.fontMetrics.height());
        return size;
    }

  protected:
    // Selected runners look the same in every leg: the Windows styles draw a selection in a list
    // without the focus in a faint grey. A scratched runner is drawn dimmed and struck through.
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state |= QStyle::State_Active;
        const auto *list = qobject_cast<const ListBox *>(option->widget);
        if (list && list->isScratched(index.row())) {
            option->state &= ~QStyle::State_Enabled;
            option->font.setStrikeOut(true);
        }
    }

    // A graded runner's grade at the row's right: a letter, not a colour.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const auto *list = qobject_cast<const ListBox *>(option.widget);
        const QChar grade = list ? list->gradeOf(index.row()) : QChar();
        if (grade.isNull())
            return;
        painter->save();
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
                          grade);
        painter->restore();
    }
};

} // namespace

ListBox::ListBox(QWidget *parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new RowDelegate(this));
    // Only a change made while Qt handles a user's event counts: code changes selections
    // outside of it. Qt also reports a toggle of a scratched runner, which selects nothing.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                m_toggled =
                    m_toggled || !selected.indexes().isEmpty() || !deselected.indexes().isEmpty();
            });
}

template <typename Fn> void ListBox::raiseAfter(Fn &&handleEvent) {
    m_toggled = false;
    handleEvent();
    if (m_toggled) {
        m_toggled = false;
        emit Click();
    }
}

QString ListBox::itemText(int i) const {
    const QListWidgetItem *it = item(i);
    return it ? it->text() : QString();
}

bool ListBox::isSelected(int i) const {
    const QListWidgetItem *it = item(i);
    return it && it->isSelected();
}

void ListBox::setSelected(int i, bool selected) {
    QListWidgetItem *it = item(i);
    if (!it)
        return;
    if (!selected || canChoose(i))
        it->setSelected(selected);
    emit Click();
}

QString ListBox::text() const {
    const QListWidgetItem *it = currentItem();
    return it ? it->text() : QString();
}

void ListBox::setItems(const QStringList &texts) {
    clear();
    addItems(texts);
    m_race = {std::max(0, count() - 1), {}, {}};
}

bool ListBox::isScratched(int i) const {
    return i >= 0 && i < m_race.runners && i + 1 < count() && m_race.scratched.contains(i + 1);
}

QChar ListBox::gradeOf(int i) const {
    const char grade = i >= 0 && i < m_race.runners ? m_race.grades.value(i + 1) : 0;
    return grade && !isScratched(i) ? QChar::fromLatin1(grade) : QChar();
}

bool ListBox::canChoose(int i) const {
    return i >= 0 && i < count() && !isScratched(i);
}

void ListBox::setRace(const Race &race) {
    const int runners = std::clamp(race.runners, 0, kMaxField);
    if (count() == 0)
        addItem(QString::fromLatin1(kAllItem));
    while (count() - 1 > runners)
        delete takeItem(count() - 2);
    while (count() - 1 < runners)
        insertItem(count() - 1, QString::number(count()));
    m_race = {runners, race.scratched, race.grades};
    for (int i = 0; i + 1 < count(); ++i) {
        QListWidgetItem *it = item(i);
        const bool scratched = isScratched(i), selected = it->isSelected();
        if (scratched)
            it->setSelected(false);
        // Qt's own selecting (a range across him, as "All" makes) must pass him by too.
        it->setFlags(scratched ? it->flags() & ~Qt::ItemIsSelectable
                               : it->flags() | Qt::ItemIsSelectable);
        const QChar grade = gradeOf(i);
        it->setData(Qt::AccessibleTextRole,
                    scratched        ? QVariant(tr("%1, scratched").arg(i + 1))
                    : grade.isNull() ? QVariant()
                                     : QVariant(tr("%1, grade %2").arg(i + 1).arg(grade)));
        // A range selected across a scratched runner ("All") would take him in once restored.
        if (it->isSelected() != selected && !scratched)
            it->setSelected(selected);
    }
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const {
    // A press or Space toggles one item; nothing else (drags, arrows, code) selects, and nothing
    // a scratched runner.
    if (event && index.isValid() && canChoose(index.row())) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton)
            return m_togglesOnRelease ? QItemSelectionModel::NoUpdate : QItemSelectionModel::Toggle;
        if (event->type() == QEvent::KeyPress &&
            static_cast<const QKeyEvent *>(event)->key() == Qt::Key_Space)
            return QItemSelectionModel::Toggle;
    }
    return QItemSelectionModel::NoUpdate;
}

void ListBox::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        m_pressed = indexAt(event->position().toPoint());
    raiseAfter([&] { QListWidget::mousePressEvent(event); });
}

void ListBox::mouseReleaseEvent(QMouseEvent *event) {
    const QModelIndex pressed = std::exchange(m_pressed, {});
    raiseAfter([&] {
        QListWidget::mouseReleaseEvent(event);
        if (m_togglesOnRelease && event->button() == Qt::LeftButton && pressed.isValid() &&
            indexAt(event->position().toPoint()) == pressed && canChoose(pressed.row()))
            selectionModel()->select(pressed, QItemSelectionModel::Toggle);
    });
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second click of a double click toggles again, like any other click.
    QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    mousePressEvent(&press);
}

void ListBox::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::SelectAll)) {
        event->ignore();
        return;
    }
    // The menu, for the current runner, where the platform makes no context menu of these keys.
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {}, event->modifiers());
        contextMenuEvent(&menu);
        return;
    }
    raiseAfter([&] { QListWidget::keyPressEvent(event); });
}

void ListBox::contextMenuEvent(QContextMenuEvent *event) {
    // One menu at a time: a platform may make one of the menu key as well.
    if (QApplication::activePopupWidget())
        return;
    // A click's comes by way of the viewport, at its place there.
    const QModelIndex index =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    const QRect place = index.isValid() ? visualRect(index) : viewport()->rect();
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(place.center());
    emit menuRequested(index.isValid() ? index.row() : -1, at);
}

TextBox::TextBox(QWidget *parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

QString TextBox::text() const {
    // Raw text keeps non-breaking spaces, which some locales' currency format uses; every line
    // break, Shift+Enter's too, reads as CR LF.
    static const QRegularExpression lineBreak(QStringLiteral("[\u2028\u2029]"));
    return document()->toRawText().replace(lineBreak, QStringLiteral("\r\n"));
}

void TextBox::setText(const QString &text) {
    setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TextBox::contextMenuEvent(QContextMenuEvent *event) {
    QMenu *menu = createStandardContextMenu(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    emit menuRequested(menu);
    menu->popup(event->globalPos());
}

} // namespace ztc
