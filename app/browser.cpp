// SPDX-License-Identifier: MIT
// The window in a web page. Qt draws it into one canvas, which a screen reader cannot read and a
// touch keyboard cannot type into; so the page keeps an element for each control
// (packaging/web/site/access.js), and this keeps them in step: what each control is, says and holds
// goes to the page after every input, Qt's focus goes to the matching element at once, and what a
// screen reader does to an element comes back here as the user's own input.
#include "browser.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <utility>

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace ztc {
namespace {

QString roleOf(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
        return QStringLiteral("button");
    case QAccessible::ComboBox:
        return QStringLiteral("combobox");
    case QAccessible::List:
        return QStringLiteral("listbox");
    case QAccessible::EditableText:
        return QStringLiteral("textbox");
    default:
        return QStringLiteral("text");
    }
}

class PageMirror : public QObject {
  public:
    explicit PageMirror(QWidget &window) : QObject(&window), m_window(window) {
        s_mirror = this;
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, &PageMirror::focusChanged);
        page().call<void>("connect", emscripten::val::module_property("ztcAct"));
        schedule();
    }
    ~PageMirror() override { s_mirror = nullptr; }

    static void act(const std::string &id, const std::string &action, int index);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        switch (event->type()) {
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::EnabledChange:
            if (watched->isWidgetType() && m_window.isAncestorOf(static_cast<QWidget *>(watched)))
                schedule();
            break;
        default:
            break;
        }
        return false;
    }

  private:
    static emscripten::val page() { return emscripten::val::global("ztcAccess"); }

    // The window's own child that holds a widget: a combo box for its line edit, a list for
    // its viewport.
    QWidget *controlOf(QWidget *widget) const {
        while (widget && widget->parentWidget() != &m_window)
            widget = widget->parentWidget();
        return widget;
    }

    QWidget *control(const std::string &id) const {
        return m_window.findChild<QWidget *>(QString::fromStdString(id),
                                             Qt::FindDirectChildrenOnly);
    }

    // In reading order: by rows from the top, each from the left.
    QList<QWidget *> controls() const {
        QList<QWidget *> found = m_window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        std::stable_sort(found.begin(), found.end(), [](const QWidget *a, const QWidget *b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        return found;
    }

    void focusChanged() {
        if (QWidget *focused = controlOf(QApplication::focusWidget()))
            page().call<void>("focus", focused->objectName().toStdString());
        schedule();
    }

    // Once for all the changes one input makes.
    void schedule() {
        if (m_scheduled)
            return;
        m_scheduled = true;
        QTimer::singleShot(0, this, [this] {
            m_scheduled = false;
            publish();
        });
    }

    void publish() {
        const QPoint origin = m_window.screen()->geometry().topLeft();
        const QWidget *focused = controlOf(QApplication::focusWidget());
        QJsonArray all;
        for (QWidget *w : controls()) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            if (!a)
                continue;
            const QRect r(w->mapToGlobal(QPoint()) - origin, w->size());
            QJsonObject c{{"id", w->objectName()},
                          {"role", roleOf(a->role())},
                          // A box's own name: Qt on Unix names it by its text.
                          {"name", w->accessibleName().isEmpty() ? a->text(QAccessible::Name)
                                                                 : w->accessibleName()},
                          {"description", a->text(QAccessible::Description)},
                          {"value", a->text(QAccessible::Value)},
                          {"focused", w == focused},
                          {"enabled", w->isEnabled()},
                          {"visible", w->isVisible()},
                          {"rect", QJsonArray{r.x(), r.y(), r.width(), r.height()}}};
            if (auto *list = qobject_cast<QListWidget *>(w)) {
                QJsonArray options;
                for (int i = 0; i < list->count(); ++i)
                    options.append(QJsonArray{list->item(i)->text(), list->item(i)->isSelected()});
                c.insert("options", options);
                c.insert("current", list->currentRow());
            } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
                QJsonArray options;
                for (int i = 0; i < combo->count(); ++i)
                    options.append(QJsonArray{combo->itemText(i), i == combo->currentIndex()});
                c.insert("options", options);
            }
            all.append(c);
        }
        const QByteArray json = QJsonDocument(all).toJson(QJsonDocument::Compact);
        if (json == m_published)
            return;
        m_published = json;
        page().call<void>("update", json.toStdString());
    }

    // A key pressed and released at the focused control, as the user's keyboard would.
    void press(Qt::Key key, const QString &text) {
        QWindow *window = m_window.windowHandle();
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, QEvent::KeyPress, key, Qt::NoModifier, text);
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, QEvent::KeyRelease, key, Qt::NoModifier, text);
    }

    QWidget &m_window;
    QByteArray m_published;
    bool m_scheduled = false;
    static inline PageMirror *s_mirror = nullptr;
};

// What a screen reader did to a control's element: "focus" moved there, "press" activated a
// button, "pick" chose item index of a box, "toggle" selected or deselected runner index of a
// leg; "menu" asked for the focused control's context menu (a long press).
void PageMirror::act(const std::string &id, const std::string &action, int index) {
    PageMirror *self = s_mirror;
    QWidget *w = self ? self->control(id) : nullptr;
    if (action == "menu" && self) {
        // As the menu key asks for it: at the focused control's text cursor.
        QWindowSystemInterface::handleContextMenuEvent(self->m_window.windowHandle(), false, {}, {},
                                                       Qt::NoModifier);
        return;
    }
    if (!w || !w->isEnabled() || !w->isVisible())
        return;
    if (self->controlOf(QApplication::focusWidget()) != w)
        w->setFocus(Qt::OtherFocusReason);
    if (action == "press" && qobject_cast<QAbstractButton *>(w)) {
        self->press(Qt::Key_Space, QStringLiteral(" "));
    } else if (auto *list = qobject_cast<QListWidget *>(w); list && action == "toggle") {
        if (index < 0 || index >= list->count())
            return;
        list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        self->press(Qt::Key_Space, QStringLiteral(" "));
    } else if (auto *combo = qobject_cast<QComboBox *>(w); combo && action == "pick") {
        if (index < 0 || index >= combo->count())
            return;
        // As the box's own list does when an item is clicked.
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        emit combo->textActivated(combo->itemText(index));
    }
    self->schedule();
}

EMSCRIPTEN_BINDINGS(ztc_page) {
    emscripten::function("ztcAct", &PageMirror::act);
}

} // namespace

void prepareForThePage() {
    // No input context of Qt's: on a touch screen it would take the page's focus from the
    // control's own element, which has the touch keyboard and the screen reader's attention.
    qputenv("QT_IM_MODULE", "none");
}

void joinThePage(QWidget &window) {
    auto retitle = [](const QString &title) {
        emscripten::val::global("document").set("title", title.toStdString());
    };
    retitle(window.windowTitle());
    QObject::connect(&window, &QWidget::windowTitleChanged, &window, retitle);
    // A page without the elements' script (a test's page) has nothing to keep in step.
    if (emscripten::val::global("ztcAccess").isUndefined())
        return;
    new PageMirror(window);
}

} // namespace ztc
