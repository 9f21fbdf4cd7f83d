// SPDX-License-Identifier: MIT
#pragma once

// The play beside the window's ticket: a row for each ticket kept (its base, its legs in
// shorthand, its combinations and its cost) and the play's totals. A row is removed with Delete
// or its menu, and brought back into the window to change with Enter or a double click (on a
// phone: a tap; a long press opens its menu).

#include "play.h"
#include "rules.h"

#include <QLabel>
#include <QListWidget>
#include <QWidget>

namespace ztc {

class PlayList : public QListWidget {
    Q_OBJECT
  public:
    explicit PlayList(QWidget *parent = nullptr);
    // A tap, a click lifted on the row it pressed, brings the row back: on a phone, which has
    // no double click.
    void setBringsBackOnTap(bool onTap) { m_onTap = onTap; }

  signals:
    void bringBack(int row);
    void remove(int row);
    // A menu for the row (-1: for the play), at a place on the screen.
    void menuRequested(int row, QPoint at);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    bool m_onTap = false;
    QPersistentModelIndex m_pressed;
};

class PlayPanel : public QWidget {
    Q_OBJECT
  public:
    explicit PlayPanel(QWidget *parent = nullptr);

    // The play, its row brought back into the window (-1: none) marked, each row with what it
    // falls short of of the track's minimums.
    void showPlay(const Play &play, int brought, const MinimumTable &minimums,
                  const QLocale &locale);

    QLabel *LabelPlay;   // the wager type and how many tickets
    PlayList *ListPlay;  // a row a ticket
    QLabel *LabelTotals; // bought, different, held twice, and the cost
};

} // namespace ztc
