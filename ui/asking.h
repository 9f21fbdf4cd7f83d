// SPDX-License-Identifier: MIT
#pragma once

// The small dialogs of the play's rules: amounts asked for (a budget; the A-B-C tickets' bases;
// the track's minimums). Each reads what is typed as money in the desktop's format or as US
// dollars, and says what it cannot read without closing. Made large enough for a finger where
// the window is arranged for one.

#include "numbers.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace ztc {

class AmountsDialog : public QDialog {
    Q_OBJECT
  public:
    // A row of the dialog: what it is for, and the texts its fields start with (at most two; an
    // empty one may stay empty where the column says so).
    struct Row {
        QString label;
        QStringList texts;
    };
    // Columns' headings, where there are several; a box to tick, where one is asked.
    AmountsDialog(QWidget *parent, const QString &title, const QStringList &columns,
                  const std::vector<Row> &rows, const QString &tick = {});

    // Given what was read, row by row, when OK is pressed; a problem shown keeps it open.
    std::function<QString(const std::vector<std::optional<Money>> &, bool ticked)> ok;
    // Empty fields of the column read as none, not as a fault.
    void mayBeEmpty(int column) { m_mayBeEmpty << column; }
    QLineEdit *field(int i) const { return m_fields[std::size_t(i)]; }
    int fields() const { return int(m_fields.size()); }

  protected:
    void accept() override;

  private:
    std::vector<QLineEdit *> m_fields;
    std::vector<QString> m_names; // each field's, as a problem names it
    QList<int> m_mayBeEmpty;
    int m_columns = 1;
    QCheckBox *m_tick = nullptr;
    QLabel *m_problem;
};

// Makes a dialog fit for a finger: every field and button at least 44 pixels high.
void forFingers(QWidget *dialog);

} // namespace ztc
