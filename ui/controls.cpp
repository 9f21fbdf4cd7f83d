// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QWheelEvent>

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
    // without the focus in a faint grey.
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state |= QStyle::State_Active;
    }
};

} // namespace

ListBox::ListBox(QWidget *parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new RowDelegate(this));
    // Only a change made while Qt handles a user's event counts: code changes selections
    // outside of it.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_toggled = true; });
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
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const {
    // A press or Space toggles one item; nothing else (drags, arrows, code) selects.
    if (event && index.isValid()) {
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
            indexAt(event->position().toPoint()) == pressed)
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
    raiseAfter([&] { QListWidget::keyPressEvent(event); });
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

} // namespace ztc
