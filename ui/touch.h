// SPDX-License-Identifier: MIT
#pragma once

// The window arranged for a phone's touch screen, where the desktop window would have to shrink
// past reading: the same controls, grown to a finger's size and laid out anew for the screen's
// width. The boxes and the legs scroll under the finger on a sheet; the buttons and the ticket
// stay docked beside or beneath it, so that the total cost is always in sight. A finger acts
// only by a tap; a long press opens the menu of what it rests on (ui/finger.h). Attached once,
// before the window is first shown; from then on it follows the window's size (a phone turned
// sideways) and help mode, and never touches what the controls hold.

#include "state.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class QStyle;
class QWindow;

namespace ztc {

class ComboBox;
class Finger;
class Form1;

class TouchArrangement : public QObject {
    Q_OBJECT
  public:
    explicit TouchArrangement(Form1 &form);
    // Arranged a part at a time instead, a part for each call of build() (for a page that must
    // keep taking input meanwhile), until it says there is nothing more to do.
    enum InSteps { inSteps };
    TouchArrangement(Form1 &form, InSteps);
    bool build();

    // The controls and the count of combinations in reading order: the sheet's from its top,
    // then the docked ones.
    QList<QWidget *> readingOrder() const;
    bool onSheet(const QWidget *control) const;
    // Where the sheet shows, in the window's coordinates.
    QRect sheetView() const;

  signals:
    // The controls have come to rest in new places: after a layout or at the end of a scroll.
    void settled();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void arrangeSheet();
    void arrangeBox(ComboBox *box);
    void arrangeLegs();
    void arrangeDock();
    void arrangeTicket();
    // A finger's drag scrolls what the viewport shows.
    void scrollByFinger(QWidget *viewport);
    void heldAt(QWindow *window, QPointF at);
    // The ticket scrolls by lines, which a finger moves by pixels.
    bool scrollTicket(QEvent *event);
    void layOut();
    // Returns the sheet's height.
    int layOutSheet(int width);
    void layOutDock(const QRect &dock);
    int dockHeight(int width, int height) const;
    int countHeight(int width) const;
    // The dock's buttons, and how many of them a row of that width holds.
    QList<QPushButton *> dockButtons() const;
    int buttonsPerRow(int width) const;
    int buttonRows(int width) const;
    void layOutPlay(const QRect &window);
    void showPlay(bool shown);
    void countChosen();
    void showTicketEnd();

    Form1 &m_form;
    QScrollArea *m_sheetArea;
    QWidget *m_sheet;
    QWidget *m_dock;
    // The play, a sheet of its own over the window, and the dock's button that shows it.
    QWidget *m_playSheet;
    QPushButton *m_playButton, *m_playBack;
    QStyle *m_style;
    Finger *m_finger;
    std::array<QLabel *, kLegCount> m_counts{};
    bool m_layingOut = false;
    // While it is arranged in steps: the focus the window had, and the steps left.
    QPointer<QWidget> m_focused;
    QList<std::function<void()>> m_steps;
};

} // namespace ztc
