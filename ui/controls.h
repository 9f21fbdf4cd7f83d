// SPDX-License-Identifier: MIT
#pragma once

// Standard controls with the event model the handlers are written against: a combo box that
// tells a pick (Click) from an edit (Change), a runner list whose every toggle, by the user or by
// code, raises Click, and a text box read and written as CR LF text.

#include "ticket.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>

class QMenu;

namespace ztc {

class ComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit ComboBox(QWidget *parent = nullptr);

    QString text() const { return currentText(); }
    // Replacing the text from code raises Change, as typing does, and makes the item with that
    // text current, or none.
    void setText(const QString &text);
    // Items and text go; nothing is raised.
    void clearAll();

  signals:
    void Click();  // an item picked from the list
    void Change(); // the text edited by the user or set by code

  protected:
    void wheelEvent(QWheelEvent *event) override;
};

class ListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit ListBox(QWidget *parent = nullptr);

    int listCount() const { return count(); }
    QString itemText(int i) const;
    bool isSelected(int i) const;
    // Raises Click at once, as a user's toggle would.
    void setSelected(int i, bool selected);
    // The text of the current item: after a click, the item clicked.
    QString text() const;
    // Replace every item; selections go and nothing is raised.
    void setItems(const QStringList &texts);
    // A click toggles on its release over the item pressed, not on the press: on a touch screen
    // a press may yet turn into a scroll.
    void setTogglesOnRelease(bool onRelease) { m_togglesOnRelease = onRelease; }

    // The race the list shows: its runners, "1" up, before "All", and those scratched, who keep
    // their place but can never be chosen.
    const Race &race() const { return m_race; }
    bool isScratched(int i) const;
    // The grade of the runner at row i, A, B or C, where he runs and has one.
    QChar gradeOf(int i) const;
    // Whether the item at row i can be chosen: never a scratched runner.
    bool canChoose(int i) const;
    // The list made to show the race: runners added or taken away at its end, each scratched one
    // deselected. The rest of what is selected stays; nothing is raised.
    void setRace(const Race &race);

  signals:
    void Click();
    // A menu asked for, by a right click, the menu key or Shift+F10: for the runner at row, or
    // for the list where row is -1; at a place on the screen.
    void menuRequested(int row, QPoint at);

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    // Raised only after Qt's own handling of the event is complete, so that the handler may
    // refill this very list.
    template <typename Fn> void raiseAfter(Fn &&handleEvent);

    bool m_toggled = false;
    bool m_togglesOnRelease = false;
    QPersistentModelIndex m_pressed;
    Race m_race;
};

class TextBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TextBox(QWidget *parent = nullptr);

    // Lines separated by CR LF.
    QString text() const;
    void setText(const QString &text);

  signals:
    // Its menu, about to open: the text's own, which the window may add to.
    void menuRequested(QMenu *menu);

  protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};

} // namespace ztc
