// SPDX-License-Identifier: MIT
#pragma once

// A finger on a touch screen, read whole before anything acts on it. Qt would otherwise turn the
// first finger of any touch into a mouse at once, so that a drag, a hold or a pinch could still
// end as a click. Here a touch that lifts where it landed is a tap: a click there. One that
// moves scrolls the scroller under it and nothing else. One held still is a long press, which
// the owner answers; its lifting does nothing. A second finger ends the touch: nothing acts
// until every finger is up.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>
#include <QWindow>

class QScroller;
class QTouchEvent;

namespace ztc {

class Finger : public QObject {
    Q_OBJECT
  public:
    explicit Finger(QObject *parent = nullptr);
    ~Finger() override;

    // A click at the window's point as a finger's: through the window system, as Qt makes a
    // mouse of a touch, so that focus, popups and double clicks go as for any click.
    static void click(QWindow *window, QPointF at, Qt::MouseButton button);

  signals:
    // A finger held still on the window's point, in the window's coordinates.
    void held(QWindow *window, QPointF at);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    enum class State { Up, Down, Dragging, Held };

    void touched(QWindow *window, const QTouchEvent &touch);
    void land(QWindow *window, QPointF at, int id, qint64 time);
    void lift(QPointF at, qint64 time);
    void hold();
    void move(QPointF at, qint64 time);
    // Stops what the touch started, without acting: the rest of it is ignored.
    void abandon();

    State m_state = State::Up;
    QPointer<QWindow> m_window;
    QPointer<QScroller> m_scroller;
    QPointF m_start; // where the finger landed, in the window's coordinates
    int m_id = -1;
    qint64 m_time = 0;
    QTimer m_hold;
};

} // namespace ztc
