// SPDX-License-Identifier: MIT
#pragma once

// A reference model of what the calculator window must show, kept apart from the window's code:
// every user action updates it by the window's rules alone. It borrows only the core's ticket
// calculation, which has tests of its own.

#include "formdriver.h"
#include "numbers.h"

#include <QScrollBar>

namespace ztc {

struct WindowModel {
    std::array<QStringList, kLegCount> items;
    std::array<QList<bool>, kLegCount> selected;
    int legsShown = 0;
    QString fieldSize = kFieldSizeStart, wager = kWagerTypeStart, base = kBaseAmountStart;
    QString text;     // what the ticket box must hold
    CalcState record; // base amount, runner store, help mode and the saved text

    WindowModel() {
        record.dblBaseAmt = 2.0;
        refill();
    }

    bool help() const { return record.intHelpMode == 1; }

    void calc() {
        TicketInput in{wager, {}};
        for (int leg = 1; leg <= kLegCount; ++leg)
            for (qsizetype i = 0; i < items[leg - 1].size(); ++i)
                in.leg(leg).append({items[leg - 1][i], selected[leg - 1][i]});
        if (const auto ticket = calculateTicket(in, record, effectiveLocale()))
            text = *ticket;
    }
    void refill() {
        const double size = Val(fieldSize);
        if (!(size > 0))
            return;
        for (int leg = 0; leg < kLegCount; ++leg) {
            items[leg] = runnerListItems(size);
            selected[leg] = QList<bool>(items[leg].size(), false);
        }
    }
    void storeBase() {
        if (const auto amount = toMoney(base, effectiveLocale()))
            record.dblBaseAmt = *amount;
    }

    // User actions on enabled, visible controls.
    void clickRunner(int leg, int row) {
        QList<bool> &sel = selected[leg - 1];
        if (row == sel.size() - 1) { // "All"
            sel.fill(true);
            sel.last() = false;
        } else {
            sel[row] = !sel[row];
        }
        calc();
    }
    void clear(int leg) {
        selected[leg - 1].fill(false);
        record.clearLeg(leg);
        calc();
    }
    void clearAll() {
        for (int leg = 1; leg <= kLegCount; ++leg)
            clear(leg);
    }
    void toggleHelp() {
        if (!help()) {
            record.intHelpMode = 1;
            record.strTextPersisted = text;
            text = helpText();
        } else {
            record.intHelpMode = 0;
            text = record.strTextPersisted;
        }
    }
    void pickFieldSize(const QString &item) {
        fieldSize = item;
        refill();
        calc();
    }
    void pickWager(const QString &item) {
        wager = item;
        legsShown = legsFor(item);
        if (item.isEmpty())
            return;
        refill();
        calc();
    }
    void pickBase(const QString &item) {
        base = item;
        storeBase();
        calc();
    }
    // Typing runs the box's change handling after every key.
    void typeFieldSize(const QString &typed) {
        for (const QString &prefix : driver::typedPrefixes(typed)) {
            fieldSize = prefix;
            refill();
        }
    }
    void typeBase(const QString &typed) {
        for (const QString &prefix : driver::typedPrefixes(typed)) {
            base = prefix;
            storeBase();
        }
    }

    // The first difference between the window and the model, or an empty text.
    QString differenceFrom(const Form1 &w) const {
        for (int leg = 1; leg <= kLegCount; ++leg) {
            const ListBox *list = w.list(leg);
            if (driver::items(list) != items[leg - 1])
                return QStringLiteral("items of leg %1").arg(leg);
            for (int i = 0; i < list->count(); ++i)
                if (list->isSelected(i) != selected[leg - 1][i])
                    return QStringLiteral("selection of item %1 of leg %2").arg(i).arg(leg);
            const bool shown = leg <= legsShown;
            if (list->isVisible() != shown || w.legLabel(leg)->isVisible() != shown ||
                w.clearButton(leg)->isVisible() != shown)
                return QStringLiteral("visibility of leg %1").arg(leg);
            if (list->isEnabled() == help())
                return QStringLiteral("enabled state of leg %1").arg(leg);
        }
        if (w.Combo1->text() != fieldSize || w.Combo2->text() != wager || w.Combo3->text() != base)
            return QStringLiteral("box texts '%1' '%2' '%3'")
                .arg(w.Combo1->text(), w.Combo2->text(), w.Combo3->text());
        if (w.Text1->text() != text)
            return QStringLiteral("ticket text:\n%1\nexpected:\n%2").arg(w.Text1->text(), text);
        if (!(w.state() == record))
            return QStringLiteral("state record (base %1, expected %2)")
                .arg(w.state().dblBaseAmt)
                .arg(record.dblBaseAmt);
        if (w.Command9->text() != (help() ? u"Back" : u"Help") ||
            w.Command8->isEnabled() == help() || w.Combo2->isEnabled() == help())
            return QStringLiteral("help mode controls");
        return {};
    }
};

} // namespace ztc
