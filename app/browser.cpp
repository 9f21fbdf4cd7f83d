// SPDX-License-Identifier: MIT
// The window in a web page. Qt draws it into one canvas, which a screen reader cannot read and a
// touch keyboard cannot type into; so the page keeps an element for each control
// (packaging/web/site/access.js), and this keeps them in step: what each control is, says and holds
// goes to the page after every input, Qt's focus goes to the matching element at once, and what a
// screen reader does to an element comes back here as the user's own input. On a phone the page
// asks for the window arranged for touch (ui/touch.h), and the elements follow its scrolling.
#include "browser.h"

#include "finger.h"
#include "form1.h"
#include "playpanel.h"
#include "touch.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListView>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPolygonF>
#include <QScreen>
#include <QSet>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
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

QJsonArray rectOf(const QRect &rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

class PageMirror : public QObject {
  public:
    PageMirror(Form1 &window, const TouchArrangement *touch)
        : QObject(&window), m_window(window), m_touch(touch) {
        s_mirror = this;
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, &PageMirror::focusChanged);
        // A handler's event pass may publish before it is done: once more at its end.
        connect(&window, &Form1::calculated, this, &PageMirror::schedule);
        // The controls' places, once they have come to rest after a scroll or a turn.
        if (touch)
            connect(touch, &TouchArrangement::settled, this, &PageMirror::schedule);
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
            if (watched->isWidgetType() && ours(static_cast<QWidget *>(watched)))
                schedule();
            break;
        default:
            break;
        }
        return false;
    }

  private:
    static emscripten::val page() { return emscripten::val::global("ztcAccess"); }

    // The window's, or in a list one of its boxes opened.
    bool ours(const QWidget *widget) const {
        while (widget && widget != &m_window)
            widget = widget->parentWidget();
        return widget;
    }

    // The control that holds a widget: a combo box for its line edit or its open list, a list
    // for its viewport.
    QWidget *controlOf(QWidget *widget) const {
        const QList<QWidget *> all = controls();
        while (widget && !all.contains(widget))
            widget = widget->parentWidget();
        return widget;
    }

    QWidget *control(const std::string &id) const {
        for (QWidget *w : controls())
            if (w->objectName() == QLatin1String(id))
                return w;
        return nullptr;
    }

    // In reading order: on the desktop by rows from the top, each from the left, the play to
    // the right of them all. The count of combinations and the play among them, where they show.
    QList<QWidget *> controls() const {
        if (m_touch)
            return m_touch->readingOrder();
        QList<QWidget *> found = m_window.controls() + m_window.extras();
        std::stable_sort(found.begin(), found.end(), [this](const QWidget *a, const QWidget *b) {
            const auto place = [this](const QWidget *w) {
                const QPoint at = w->mapTo(&m_window, QPoint());
                return std::tuple(m_window.PlayView->isAncestorOf(w), at.y(), at.x());
            };
            return place(a) < place(b);
        });
        return found;
    }

    // Where a rectangle of a widget lies on the page's screen.
    QRect onScreen(const QWidget *widget, const QRect &rect) const {
        return {widget->mapToGlobal(rect.topLeft()) - m_window.screen()->geometry().topLeft(),
                rect.size()};
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
        // Nothing to say until the window shows: its Show says it then.
        if (!m_window.isVisible())
            return;
        const QWidget *focused = controlOf(QApplication::focusWidget());
        QJsonArray all;
        for (QWidget *w : controls()) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            if (!a)
                continue;
            // The count and the play's totals, labels in the window, are statuses on the page: a
            // screen reader hears them when they change.
            const bool status = w == m_window.LabelCount || w == m_window.PlayView->LabelTotals;
            QJsonObject c{
                {"id", w->objectName()},
                {"role", status ? QStringLiteral("status") : roleOf(a->role())},
                // A box's own name: Qt on Unix names it by its text.
                {"name",
                 w->accessibleName().isEmpty() ? a->text(QAccessible::Name) : w->accessibleName()},
                {"description", a->text(QAccessible::Description)},
                {"value", status ? static_cast<QLabel *>(w)->text() : a->text(QAccessible::Value)},
                {"focused", w == focused},
                {"enabled", w->isEnabled()},
                {"visible", w->isVisible()},
                {"rect", rectOf(onScreen(w, w->rect()))},
                {"sheet", m_touch && m_touch->onSheet(w)}};
            // Each runner, and each item of a box's open list, where it is drawn: the rest of
            // the list's or the box's own.
            if (auto *play = qobject_cast<PlayList *>(w)) {
                // A kept ticket's row is brought back into the window when chosen.
                QJsonArray options;
                for (int i = 0; i < play->count(); ++i) {
                    const QRect item = play->visualItemRect(play->item(i));
                    options.append(QJsonArray{
                        play->item(i)->text(), play->item(i)->isSelected(),
                        rectOf({play->viewport()->mapTo(play, item.topLeft()), item.size()})});
                }
                c.insert("options", options);
                c.insert("current", play->currentRow());
                c.insert("single", true);
            } else if (auto *list = qobject_cast<ListBox *>(w)) {
                QJsonArray options;
                for (int i = 0; i < list->count(); ++i) {
                    const QRect item = list->visualItemRect(list->item(i));
                    // Named as a screen reader reads it: "3, scratched", "3, grade A".
                    const QVariant named = list->item(i)->data(Qt::AccessibleTextRole);
                    options.append(QJsonArray{
                        list->item(i)->text(), list->item(i)->isSelected(),
                        rectOf({list->viewport()->mapTo(list, item.topLeft()), item.size()}),
                        list->isScratched(i),
                        named.isValid() ? named.toString() : list->item(i)->text()});
                }
                c.insert("options", options);
                c.insert("current", list->currentRow());
            } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
                const QAbstractItemView *view = combo->view();
                const bool open = view->isVisible();
                QJsonArray options;
                for (int i = 0; i < combo->count(); ++i) {
                    QJsonArray option{combo->itemText(i), i == combo->currentIndex()};
                    if (open)
                        option.append(rectOf(view->visualRect(combo->model()->index(i, 0))));
                    options.append(option);
                }
                c.insert("options", options);
                if (open) {
                    c.insert("popup", rectOf(onScreen(view->viewport(), view->viewport()->rect())));
                    c.insert("current", view->currentIndex().row());
                }
            }
            all.append(c);
        }
        QJsonObject arranged{{"controls", all}};
        // A word the window says, read out at once; its buttons answer to Enter and Escape.
        if (const auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            box && ours(box))
            arranged.insert("alert", box->text());
        if (m_touch)
            arranged.insert("sheet", rectOf(onScreen(&m_window, m_touch->sheetView())));
        const QByteArray json = QJsonDocument(arranged).toJson(QJsonDocument::Compact);
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

    Form1 &m_window;
    const TouchArrangement *m_touch;
    QByteArray m_published;
    bool m_scheduled = false;
    static inline PageMirror *s_mirror = nullptr;
};

// What a screen reader did to a control's element: "focus" moved there, "press" activated a
// button, "pick" chose item index of a box, "toggle" selected or deselected runner index of a
// leg.
void PageMirror::act(const std::string &id, const std::string &action, int index) {
    PageMirror *self = s_mirror;
    QWidget *w = self ? self->control(id) : nullptr;
    if (!w || !w->isEnabled() || !w->isVisible())
        return;
    if (self->controlOf(QApplication::focusWidget()) != w)
        w->setFocus(Qt::OtherFocusReason);
    if (action == "press" && qobject_cast<QAbstractButton *>(w)) {
        self->press(Qt::Key_Space, QStringLiteral(" "));
    } else if (auto *play = qobject_cast<PlayList *>(w); play && action == "toggle") {
        if (index < 0 || index >= play->count())
            return;
        play->setCurrentRow(index);
        self->press(Qt::Key_Return, QStringLiteral("\r"));
    } else if (auto *list = qobject_cast<QListWidget *>(w); list && action == "toggle") {
        if (index < 0 || index >= list->count())
            return;
        list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        self->press(Qt::Key_Space, QStringLiteral(" "));
    } else if (auto *combo = qobject_cast<QComboBox *>(w); combo && action == "pick") {
        if (index < 0 || index >= combo->count())
            return;
        // As the box's own list does when an item is clicked.
        combo->hidePopup();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        emit combo->textActivated(combo->itemText(index));
    }
    self->schedule();
}

// A click at a point of the page's screen: one the user made there before the window showed.
void clickAt(int x, int y) {
    const QPoint at = QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(x, y);
    if (QWidget *window = QApplication::topLevelAt(at); window && window->windowHandle())
        Finger::click(window->windowHandle(), window->windowHandle()->mapFromGlobal(at),
                      Qt::LeftButton);
}

EMSCRIPTEN_BINDINGS(ztc_page) {
    emscripten::function("ztcAct", &PageMirror::act);
    emscripten::function("ztcClickAt", &clickAt);
}

} // namespace

int runInThePage(int argc, char *argv[], int (*program)(int &argc, char *argv[])) {
    // No input context of Qt's: on a touch screen it would take the page's focus from the
    // control's own element, which has the touch keyboard and the screen reader's attention.
    qputenv("QT_IM_MODULE", "none");
    // The arguments stay where the loader put them; the application keeps referring to them.
    static int count = argc;
    static char **words = argv;
    static int (*run)(int &, char *[]) = program;
    // Each in a task of its own, after the runtime's start: the first category made reads the
    // rules, and where Qt's files would be, compiling much that the browser would otherwise
    // compile in the application's constructor; then the application.
    emscripten_async_call(
        [](void *) {
            QLoggingCategory("ztc").isDebugEnabled();
            emscripten_async_call([](void *) { run(count, words); }, nullptr, 0);
        },
        nullptr, 0);
    // The page's runtime stays alive after main returns, as after the application's exec().
    return 0;
}

namespace {

// The play, its card and the window's ticket in the page's address, after its "#": a reload, a
// tab the browser discarded or a link sent on opens them again, and nothing leaves the device.
void keepInTheAddress(Form1 &window) {
    using emscripten::val;
    // The page's screen as wide as the window wants, in the desktop's arrangement: the play
    // beside the ticket widens it.
    const val chosen = val::global("document")["documentElement"]["dataset"]["arrangement"];
    if (chosen.isString() && chosen.as<std::string>() == "desktop")
        QObject::connect(&window, &Form1::playChanged, &window, [&window] {
            val screen = val::global("document").call<val>("getElementById", std::string("screen"));
            const std::string width = std::to_string(window.wantedSize().width()) + "px";
            if (screen["style"]["width"].as<std::string>() != width) {
                screen["style"].set("width", width);
                val::module_property("qtResizeContainerElement")(screen);
            }
        });
    auto *writing = new QTimer(&window);
    writing->setSingleShot(true);
    writing->setInterval(200);
    QObject::connect(writing, &QTimer::timeout, &window, [&window] {
        const QByteArray address = window.session().toUtf8().toPercentEncoding();
        val::global("history").call<void>("replaceState", val::null(), std::string(),
                                          "#" + address.toStdString());
    });
    QObject::connect(&window, &Form1::playChanged, writing, qOverload<>(&QTimer::start));
    // Whatever a link holds: bytes that are no text read as the replacement character. Read
    // once the window shows: a word said before would block a window not yet shown.
    const std::string hash = val::global("location")["hash"].as<std::string>();
    if (hash.size() > 1) {
        const QByteArray text =
            QByteArray::fromPercentEncoding(QByteArray::fromStdString(hash.substr(1)));
        if (!window.restoreSession(QString::fromUtf8(text)))
            window.tell(QObject::tr("This link holds nothing the calculator can read, so it "
                                    "opens empty."));
    }
}

// The page's title follows the window's, and on a phone the window is arranged for touch (in
// steps: build() them).
TouchArrangement *joinThePage(Form1 &window) {
    auto retitle = [](const QString &title) {
        emscripten::val::global("document").set("title", title.toStdString());
    };
    retitle(window.windowTitle());
    QObject::connect(&window, &QWidget::windowTitleChanged, &window, retitle);
    // The page chose, before it made the screen (page.js).
    const emscripten::val chosen =
        emscripten::val::global("document")["documentElement"]["dataset"]["arrangement"];
    return chosen.isString() && chosen.as<std::string>() == "touch"
               ? new TouchArrangement(window, TouchArrangement::inSteps)
               : nullptr;
}

void mirrorInThePage(Form1 &window, const TouchArrangement *touch) {
    // A page without the elements' script (a test's page) has nothing to keep in step, and no
    // address of its own.
    if (emscripten::val::global("ztcAccess").isUndefined())
        return;
    new PageMirror(window, touch);
}

// An opaque window's store on the page: what is drawn unseen ahead is drawn in its format, so
// that the window's own paint finds the very code it runs compiled.
constexpr QImage::Format kStoreFormat = QImage::Format_RGBX8888;

// The window built, joined to the page and shown, a step at a time, each a task of its own so
// that the page keeps taking input. The browser compiles each of the program's functions on its
// first call, on the page's thread, so the first control of a kind costs many times what the next
// one does: a throwaway of the costliest kinds is made first, and one control of each kind is
// drawn where nobody sees it, so that the window's own building and first frame find their code
// compiled, each in a step of its own. The first paint is spread over frames (a step may ask to
// come after the next frame rather than the next task).
class Building : public QObject {
  public:
    Building() { next(); }

  private:
    void next() {
        if (!std::exchange(m_afterFrame, false)) {
            QTimer::singleShot(0, this, &Building::step);
            return;
        }
        emscripten_request_animation_frame(
            [](double, void *building) {
                static_cast<Building *>(building)->step();
                return EM_FALSE;
            },
            this);
    }
    void step() {
        m_steps.takeFirst()();
        if (m_steps.isEmpty())
            deleteLater();
        else
            next();
    }

    // A step that comes again, first, while its work says there is more.
    void untilDone(const std::function<bool()> &work) {
        if (work())
            m_steps.prepend([this, work] { untilDone(work); });
    }

    // The next control the window will show, of a kind not drawn yet, drawn without its
    // children; false once there is none.
    bool drawNextKind() {
        while (!m_undrawn.isEmpty()) {
            QWidget *control = m_undrawn.takeFirst();
            if (!control->isVisibleTo(m_window) || m_kinds.contains(control->metaObject()))
                continue;
            m_kinds.insert(control->metaObject());
            // Its top, whole across: every part of a control's drawing shows there, and a
            // control the size of the screen costs no more than a box.
            const QRect top(0, 0, control->width(), std::min(control->height(), 64));
            const qreal ratio = control->devicePixelRatioF();
            QImage image(top.size() * ratio, kStoreFormat);
            image.setDevicePixelRatio(ratio);
            control->render(&image, {}, top, QWidget::DrawWindowBackground);
            return true;
        }
        return false;
    }

    // The memory the window's backing store will take, touched a part at a step and given back
    // as it shows, so that the store is made there: the first touch of a page of the module's
    // memory is what costs, and the store, the largest thing the window makes, would take them
    // all in its first paint.
    bool touchTheStore() {
        if (m_store.isNull()) {
            m_store = QImage(m_window->size() * m_window->devicePixelRatioF(), kStoreFormat);
            if (m_store.isNull())
                return false;
        }
        const int rows = std::min(m_store.height() - m_touched, m_store.height() / 4 + 1);
        std::memset(m_store.scanLine(m_touched), 0, size_t(rows) * m_store.bytesPerLine());
        m_touched += rows;
        return m_touched < m_store.height();
    }

    // The window's first paint in parts, a frame each: it shows with its controls kept from
    // painting (its ground alone is painted then), and lets a few paint in each frame after;
    // the placeholder stands in until the page hears it is all drawn.
    void holdThePaint() {
        QSet<const QWidget *> held;
        for (QWidget *control : m_window->findChildren<QWidget *>()) {
            if (!control->isVisibleTo(m_window) || control->objectName().isEmpty() ||
                control->objectName().startsWith(QLatin1String("qt_")))
                continue;
            bool within = false;
            for (const QWidget *up = control->parentWidget(); up && !within;
                 up = up->parentWidget())
                within = held.contains(up);
            if (within)
                continue;
            held.insert(control);
            m_held.append(control);
            control->setUpdatesEnabled(false);
        }
    }
    bool paintSome() {
        // A frame's worth: the costliest kinds take a few milliseconds each to paint.
        constexpr int perFrame = 8;
        for (int i = 0; i < perFrame && !m_held.isEmpty(); ++i) {
            if (QWidget *control = m_held.takeFirst())
                control->setUpdatesEnabled(true);
        }
        m_afterFrame = true;
        return !m_held.isEmpty();
    }

    void show() {
        // Drawing controls not shown yet moves the window's focus on from the one that had it:
        // it goes back, for the first key typed.
        if (m_focused)
            m_focused->setFocus();
        m_store = QImage();
        m_window->show();
        if (!emscripten::val::global("ztcAccess").isUndefined())
            keepInTheAddress(*m_window);
        m_afterFrame = true;
    }
    void tellThePage() {
        const emscripten::val page = emscripten::val::global("ztcPage");
        if (!page.isUndefined())
            page.call<void>("shown");
    }

    Form1 *m_window = nullptr;
    TouchArrangement *m_touch = nullptr;
    QPointer<QWidget> m_focused;
    QList<QWidget *> m_undrawn;
    QSet<const QMetaObject *> m_kinds;
    QImage m_store;
    int m_touched = 0;
    QList<QPointer<QWidget>> m_held;
    bool m_afterFrame = false;
    QList<std::function<void()>> m_steps = {
        [] { QFontDatabase::families(); },
        // The window's font read, then its first words laid out: the first text a control
        // takes would otherwise do both at once.
        [] { QFontMetricsF(QApplication::font()).height(); },
        [] { QFontMetricsF(QApplication::font()).horizontalAdvance(QStringLiteral("Combo1")); },
        [] { delete new QLineEdit; },
        [] { delete new QListView; },
        // A text's document laid out, then the ticket's box around one.
        [] { QTextDocument(QStringLiteral("Combo1")).size(); },
        [] { delete new QPlainTextEdit; },
        [this] { m_window = new Form1(Form1::inSteps); },
        [this] { untilDone([this] { return m_window->build(); }); },
        [this] { m_touch = joinThePage(*m_window); },
        [this] { untilDone([this] { return m_touch && m_touch->build(); }); },
        [this] { mirrorInThePage(*m_window, m_touch); },
        [this] {
            m_window->ensurePolished();
            m_focused = m_window->focusWidget();
            m_undrawn = m_window->findChildren<QWidget *>();
        },
        // The first drawing in parts: a painter's fill, a shaded one, a smoothed outline, a
        // translucent mark laid over (a box's arrow), a plain control's, then each kind.
        [] {
            QImage image(16, 16, kStoreFormat);
            QPainter(&image).fillRect(image.rect(), QApplication::palette().window());
        },
        [] {
            QImage image(16, 16, kStoreFormat);
            QLinearGradient shade(0, 0, 0, 16);
            shade.setColorAt(0, Qt::white);
            shade.setColorAt(1, Qt::gray);
            QPainter(&image).fillRect(image.rect(), shade);
        },
        [] {
            QImage image(16, 16, kStoreFormat);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
        },
        [] {
            QImage mark(8, 8, QImage::Format_ARGB32_Premultiplied);
            mark.fill(Qt::transparent);
            {
                QPainter painter(&mark);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                painter.setBrush(QApplication::palette().text());
                painter.drawPolygon(QPolygonF({{0, 2}, {8, 2}, {4, 6}}));
            }
            QImage image(16, 16, kStoreFormat);
            QPainter(&image).drawImage(QPointF(4, 4), mark);
        },
        [] {
            QWidget control;
            control.resize(16, 16);
            QImage image(control.size(), kStoreFormat);
            control.render(&image);
        },
        [this] { untilDone([this] { return drawNextKind(); }); },
        [this] { untilDone([this] { return touchTheStore(); }); },
        [this] { holdThePaint(); },
        [this] { show(); },
        [this] { untilDone([this] { return paintSome(); }); },
        [this] { tellThePage(); },
    };
};

} // namespace

void buildInThePage() {
    new Building;
}

} // namespace ztc
