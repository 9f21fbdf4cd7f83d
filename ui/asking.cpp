// SPDX-License-Identifier: MIT
#include "asking.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace ztc {

AmountsDialog::AmountsDialog(QWidget *parent, const QString &title, const QStringList &columns,
                             const std::vector<Row> &rows, const QString &tick)
    : QDialog(parent), m_columns(std::max(1, int(columns.size()))), m_problem(new QLabel(this)) {
    setWindowTitle(title);
    auto *grid = new QGridLayout(this);
    int line = 0;
    for (int c = 0; c < columns.size() && columns.size() > 1; ++c)
        grid->addWidget(new QLabel(columns[c], this), line, c + 1);
    line += columns.size() > 1;
    for (const Row &row : rows) {
        auto *label = new QLabel(row.label, this);
        grid->addWidget(label, line, 0);
        for (int c = 0; c < row.texts.size(); ++c) {
            auto *field = new QLineEdit(row.texts[c], this);
            const QString name = columns.size() > 1 ? row.label + u' ' + columns[c] : row.label;
            field->setAccessibleName(name);
            if (c == 0)
                label->setBuddy(field);
            grid->addWidget(field, line, c + 1);
            m_fields.push_back(field);
            m_names.push_back(name);
        }
        ++line;
    }
    if (!tick.isEmpty()) {
        m_tick = new QCheckBox(tick, this);
        grid->addWidget(m_tick, line++, 0, 1, m_columns + 1);
    }
    m_problem->setWordWrap(true);
    m_problem->setAccessibleName(tr("Problem"));
    grid->addWidget(m_problem, line++, 0, 1, m_columns + 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AmountsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AmountsDialog::reject);
    grid->addWidget(buttons, line, 0, 1, m_columns + 1);
    setAttribute(Qt::WA_DeleteOnClose);
}

void AmountsDialog::accept() {
    const QLocale locale = effectiveLocale();
    std::vector<std::optional<Money>> read;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const QString text = m_fields[i]->text().trimmed();
        read.push_back(toMoney(text, locale));
        const bool empty = text.isEmpty() && m_mayBeEmpty.contains(int(i) % m_columns);
        if (!read.back() && !empty) {
            m_problem->setText(
                tr("%1: %2 is no amount.")
                    .arg(m_names[i], text.isEmpty() ? tr("nothing") : u'"' + text + u'"'));
            m_fields[i]->setFocus();
            return;
        }
    }
    if (const QString problem = ok ? ok(read, m_tick && m_tick->isChecked()) : QString();
        !problem.isEmpty()) {
        m_problem->setText(problem);
        return;
    }
    QDialog::accept();
}

void forFingers(QWidget *dialog) {
    for (QWidget *part : dialog->findChildren<QWidget *>())
        if (qobject_cast<QLineEdit *>(part) || qobject_cast<QAbstractButton *>(part))
            part->setMinimumHeight(44);
}

} // namespace ztc
