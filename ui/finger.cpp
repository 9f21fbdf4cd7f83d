// SPDX-License-Identifier: MIT
#include "finger.h"

#include <QApplication>
#include <QScroller>
#include <QStyleHints>
#include <QTouchEvent>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <utility>

namespace ztc {

namespace {

// The widget of the window's own that lies under a point of it.
QWidget *widgetAt(QWindow *window, QPointF at) {
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *top : tops) {
        if (top->windowHandle() != window)
            continue;
        QWidget *child = top->childAt(at.toPoint());
        return child ? child : top;
    }
    return nullptr;
}

// What a drag from the point scrolls: the nearest scroller around it, none outside an open
// list or menu while one is open.
QScroller *scrollerAt(QWindow *window, QPointF at) {
    QWidget *under = widgetAt(window, at);
    const QWidget *popup = QApplication::activePopupWidget();
    if (popup && (!under || under->window() != popup))
        return nullptr;
    for (QWidget *w = under; w; w = w->parentWidget())
        if (QScroller::hasScroller(w))
            return QScroller::scroller(w);
    return nullptr;
}

QPointF inTarget(const QScroller *scroller, QWindow *window, QPointF at) {
    const auto *target = static_cast<const QWidget *>(scroller->target());
    return target->mapFromGlobal(window->mapToGlobal(at));
}

} // namespace

Finger::Finger(QObject *parent) : QObject(parent) {
    m_hold.setSingleShot(true);
    connect(&m_hold, &QTimer::timeout, this, [this] {
        if (m_state == State::Down && m_window)
            hold();
    });
    qApp->installEventFilter(this);
}

Finger::~Finger() {
    qApp->removeEventFilter(this);
}

bool Finger::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        // At the window, before Qt hands the touch to a widget or makes a mouse of it.
        if (!watched->isWindowType())
            return false;
        touched(static_cast<QWindow *>(watched), *static_cast<QTouchEvent *>(event));
        return true;
    default:
        return false;
    }
}

void Finger::touched(QWindow *window, const QTouchEvent &touch) {
    const QList<QEventPoint> &points = touch.points();
    const auto time = qint64(touch.timestamp());
    if (touch.type() == QEvent::TouchCancel) {
        abandon();
        return;
    }
    if (touch.type() == QEvent::TouchBegin) {
        abandon();
        if (points.size() == 1)
            land(window, window->mapFromGlobal(points[0].globalPosition()), points[0].id(), time);
        return;
    }
    if (m_state == State::Up || window != m_window)
        return;
    // A second finger, or the first lifted under another: a pinch, or a palm.
    if (points.size() != 1 || points[0].id() != m_id) {
        abandon();
        return;
    }
    const QPointF at = window->mapFromGlobal(points[0].globalPosition());
    if (points[0].state() == QEventPoint::State::Released)
        lift(at, time);
    else
        move(at, time);
}

void Finger::land(QWindow *window, QPointF at, int id, qint64 time) {
    m_window = window;
    m_start = at;
    m_id = id;
    m_time = time;
    m_scroller = scrollerAt(window, at);
    // A finger that lands on something still gliding stops it, and then drags it or nothing.
    if (m_scroller && m_scroller->state() == QScroller::Scrolling) {
        m_scroller->stop();
        m_state = State::Dragging;
        m_scroller->handleInput(QScroller::InputPress, inTarget(m_scroller, window, at), time);
        return;
    }
    m_state = State::Down;
    m_hold.start(QGuiApplication::styleHints()->mousePressAndHoldInterval());
}

void Finger::hold() {
    m_hold.stop();
    m_state = State::Held;
    emit held(m_window, m_start);
}

void Finger::move(QPointF at, qint64 time) {
    if (m_state == State::Down) {
        if ((at - m_start).manhattanLength() <= QGuiApplication::styleHints()->startDragDistance())
            return;
        m_hold.stop();
        m_state = State::Dragging;
        if (m_scroller)
            m_scroller->handleInput(QScroller::InputPress, inTarget(m_scroller, m_window, m_start),
                                    m_time);
    }
    if (m_state == State::Dragging && m_scroller)
        m_scroller->handleInput(QScroller::InputMove, inTarget(m_scroller, m_window, at), time);
}

void Finger::lift(QPointF at, qint64 time) {
    // Held as long as a long press, though the timer that tells it has not yet run (the program
    // was busy): a long press all the same, never a tap.
    if (m_state == State::Down && m_window &&
        time - m_time >= QGuiApplication::styleHints()->mousePressAndHoldInterval())
        hold();
    const State state = std::exchange(m_state, State::Up);
    m_hold.stop();
    if (state == State::Down)
        click(m_window, m_start, Qt::LeftButton);
    else if (state == State::Dragging && m_scroller)
        m_scroller->handleInput(QScroller::InputRelease, inTarget(m_scroller, m_window, at), time);
}

void Finger::abandon() {
    m_hold.stop();
    if (m_state == State::Dragging && m_scroller)
        m_scroller->stop();
    m_state = State::Up;
}

void Finger::click(QWindow *window, QPointF at, Qt::MouseButton button) {
    const QPointer<QWindow> target = window;
    const QPointF global = window->mapToGlobal(at);
    using Delivery = QWindowSystemInterface::SynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Delivery>(window, at, global, button, button,
                                                       QEvent::MouseButtonPress, Qt::NoModifier,
                                                       Qt::MouseEventSynthesizedByQt);
    // The press may have closed the window it landed on (a list or a menu).
    if (target)
        QWindowSystemInterface::handleMouseEvent<Delivery>(
            target, at, global, Qt::NoButton, button, QEvent::MouseButtonRelease, Qt::NoModifier,
            Qt::MouseEventSynthesizedByQt);
}

} // namespace ztc
