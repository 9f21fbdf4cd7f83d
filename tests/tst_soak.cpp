// SPDX-License-Identifier: MIT
// Random user actions on the window, each checked against a reference model of everything the
// window must show. The model follows the window's rules by itself and borrows only the core's
// readings and ticket text, which the core tests check.
#include "numbers.h"
#include "windowtest.h"

#include <QRandomGenerator>
#include <QScrollBar>

#include <functional>

using namespace ztc;

namespace {

// Texts entered into each box: typed key by key, or pasted.
const std::array<QStringList, 3> kTexts = {
    QStringList{"",      "1",    "2",     "5",      "12",         "20",
                "5.5",   "0.5",  "0",     "-3",     "abc",        "12abc",
                "99",    "150",  "1e308", "1e400",  "&H7FFF",     "&HFFFF",
                "&O777", " 1 2", "nan",   "\u0663", "\U0001F40E", QString(100000, u'8')},
    QStringList{"DOUBLE", " Double", "Double ", "pick 3", "\u0130", "x", "Super High 5", "exacta",
                QString::fromUtf16(u"Dou\0ble", 7), QString(100000, u'x')},
    QStringList{"", "$", "$-", "$2", "$2.5", "$0.10", "3", "-$5.00", "($5.25)", "$1,000.00",
                "$1,2,3", "1e400", "abc", "\u20ac3", "2,50 \u20ac", "$" + QString(99999, u'1')},
};
const QStringList kNotes = {"a\nb", "a\r\nb", "2,00\u00a0\u20ac", QString(100000, u'n')};

// What the window must show after every action.
struct Model {
    std::array<QStringList, kLegCount> items;
    std::array<QList<bool>, kLegCount> selected;
    std::array<QString, 3> box{kFieldSizeStart, kWagerTypeStart, kBaseAmountStart};
    std::array<int, 3> current{}; // each box's current item
    int legsShown = 0, calcs = 0;
    QString text, focus = QStringLiteral("Combo1");
    CalcState record;

    Model() {
        record.dblBaseAmt = 2.0;
        refill();
    }
    bool help() const { return record.intHelpMode == 1; }
    static QStringList boxItems(int b) {
        return b == 0 ? fieldSizeItems() : b == 1 ? wagerTypeItems() : baseAmountItems();
    }

    void calc() {
        ++calcs;
        TicketInput in{box[1], {}};
        for (int leg = 1; leg <= kLegCount; ++leg)
            for (qsizetype i = 0; i < items[leg - 1].size(); ++i)
                in.leg(leg).append({items[leg - 1][i], selected[leg - 1][i]});
        if (const auto ticket = calculateTicket(in, record, QLocale()))
            text = *ticket;
    }
    void refill() {
        if (const double size = Val(box[0]); size > 0)
            for (int leg = 0; leg < kLegCount; ++leg) {
                items[leg] = runnerListItems(size);
                selected[leg] = QList<bool>(items[leg].size(), false);
            }
    }
    // The box's change handling, run after every key or paste.
    void change(int b, const QString &text) {
        box[b] = text;
        if (b == 0)
            refill();
        if (const auto amount = b == 2 ? toMoney(text, QLocale()) : std::nullopt)
            record.dblBaseAmt = *amount;
    }
    void pick(int b, int index) {
        box[b] = boxItems(b).at(index);
        current[b] = index;
        if (b == 1)
            legsShown = legsFor(box[1]);
        if (b < 2) {
            refill();
            focus = QStringLiteral("Command8");
        } else {
            change(2, box[2]);
        }
        calc();
    }
    void step(int b, int by) {
        if (const int to = current[b] + by; to >= 0 && to < boxItems(b).size())
            pick(b, to);
    }

    void toggle(int leg, int row) {
        if (row < selected[leg - 1].size())
            selected[leg - 1][row] = !selected[leg - 1][row];
    }
    void selectAll(int leg) {
        selected[leg - 1].fill(true);
        selected[leg - 1].last() = false;
        calc();
    }
    void click(int leg, int row) {
        toggle(leg, row);
        if (row == items[leg - 1].size() - 1)
            selectAll(leg);
        else if (row < items[leg - 1].size())
            calc();
    }
    void clear(int leg) {
        selected[leg - 1].fill(false);
        record.clearLeg(leg);
        focus = QStringLiteral("Command8");
        calc();
    }
    void toggleHelp() {
        focus = QStringLiteral("Command9");
        record.intHelpMode = help() ? 0 : 1;
        if (help())
            record.strTextPersisted = text;
        text = help() ? helpText() : record.strTextPersisted;
    }

    // The first difference between the window and the model, or an empty text.
    QString differenceFrom(const Form1 &w, int calculations) const {
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
        }
        const ComboBox *boxes[] = {w.Combo1, w.Combo2, w.Combo3};
        for (int b = 0; b < 3; ++b)
            if (boxes[b]->text() != box[b] || boxes[b]->currentIndex() != current[b])
                return QStringLiteral("%1 holds '%2' at item %3")
                    .arg(boxes[b]->objectName(), boxes[b]->text().left(40))
                    .arg(boxes[b]->currentIndex());
        if (w.Text1->text() != text)
            return QStringLiteral("ticket text:\n%1\nexpected:\n%2")
                .arg(w.Text1->text().left(400), text.left(400));
        if (!(w.state() == record))
            return QStringLiteral("state record (base %1, expected %2)")
                .arg(w.state().dblBaseAmt)
                .arg(record.dblBaseAmt);
        for (const QWidget *c : w.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!qobject_cast<const QLabel *>(c) && c != w.Text1 && c != w.Command9 &&
                c->isEnabled() == help())
                return QStringLiteral("enabled state of %1").arg(c->objectName());
        if (w.Command9->text() != (help() ? u"Back" : u"Help"))
            return QStringLiteral("help button caption");
        if (const QWidget *f = QApplication::focusWidget(); !f || f->objectName() != focus)
            return QStringLiteral("focus on %1").arg(f ? f->objectName() : QString());
        if (calculations != calcs)
            return QStringLiteral("%1 calculations, expected %2").arg(calculations).arg(calcs);
        return {};
    }
};

class Soak {
  public:
    Soak(Form1 &w, quint64 seed) : w(w), rng(seed) {}

    // One random action; returns what it was, for the failure message.
    QString step() {
        const int roll = int(rng.bounded(100));
        if (roll < 34)
            return runner(kMouse);
        if (roll < 38)
            return runner(kAll);
        if (roll < 40)
            return runner(kDouble);
        if (roll < 44)
            return runner(kKey);
        if (roll < 60)
            return press(any({kClear, kClear, kClear, kClearAll, kCalc, kHelp, kHelp, kHelp}));
        if (roll < 66)
            return withQueued();
        if (roll < 83)
            return pick(any({0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2}));
        if (roll < 97)
            return enter(any({0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2}));
        return note();
    }

    Model model;

  private:
    static constexpr int kMouse = 0, kAll = 1, kDouble = 2, kKey = 3;
    static constexpr int kClear = 4, kClearAll = 5, kCalc = 6, kHelp = 7;

    template <typename T> T any(std::initializer_list<T> pool) {
        return pool.begin()[rng.bounded(int(pool.size()))];
    }
    const QString &any(const QStringList &pool) { return pool.at(int(rng.bounded(pool.size()))); }
    ComboBox *box(int b) const { return b == 0 ? w.Combo1 : b == 1 ? w.Combo2 : w.Combo3; }
    bool chance(int percent) { return int(rng.bounded(100)) < percent; }

    // A runner or "All" of a shown leg, clicked, double-clicked or toggled with Space.
    QString runner(int how, int leg = 0) {
        if (model.legsShown == 0)
            return press(kCalc);
        leg = leg ? leg : 1 + int(rng.bounded(model.legsShown));
        ListBox *list = w.list(leg);
        const int row = how == kAll ? list->count() - 1 : int(rng.bounded(list->count()));
        const bool all = row == list->count() - 1;
        if (how == kKey && !model.help()) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Home);
            for (int i = 0; i < row; ++i)
                QTest::keyClick(list, Qt::Key_Down);
            if (chance(50))
                QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier); // selects nothing
            QTest::keyClick(list, Qt::Key_Space);
        } else if (how == kDouble) { // press, release, then the second press as a double click
            driver::clickItem(list, row);
            const QPoint at = list->visualItemRect(list->item(row)).center();
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        } else {
            driver::clickItem(list, row);
        }
        if (!model.help()) {
            model.focus = list->objectName();
            model.toggle(leg, row);
            if (all) {
                late(true); // "All" lets events run before it selects the leg
                model.selectAll(leg);
            } else {
                model.calc();
            }
            if (how == kDouble)
                model.click(leg, row);
            late(false);
        }
        return QStringLiteral("%1 item %2 of leg %3").arg(how).arg(row).arg(leg);
    }

    // A button, by mouse or from the keyboard: a leg's Clear, CLEAR ALL, CALC or Help.
    QString press(int which) {
        const int leg = model.legsShown ? 1 + int(rng.bounded(model.legsShown)) : 0;
        if (which == kClear && !leg)
            which = kClearAll;
        QPushButton *button = which == kClear      ? w.clearButton(leg)
                              : which == kClearAll ? w.Command7
                              : which == kCalc     ? w.Command8
                                                   : w.Command9;
        if (button->isEnabled() && chance(25)) {
            button->setFocus();
            const auto k = any({Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter});
            QTest::keyClick(button, k);
        } else {
            driver::click(button);
        }
        if (which == kHelp) {
            model.toggleHelp();
            if (!model.help())
                late(false);
        } else if (!model.help()) {
            if (which == kClear) {
                model.clear(leg);
            } else if (which == kClearAll) {
                model.clear(1);
                late(false);
                for (int l = 2; l <= kLegCount; ++l)
                    model.clear(l);
            } else {
                model.focus = QStringLiteral("Command8");
            }
            if (which != kClear)
                model.calc();
            late(false);
        }
        return button->objectName();
    }

    // An event posted just before a click, so that it arrives in one of the click's event passes:
    // a click on a visible runner of another leg, or an arrow key on a box.
    QString withQueued() {
        const int action = any({kMouse, kMouse, kAll, kClear, kClearAll, kCalc, kHelp});
        const int leg = model.legsShown ? 1 + int(rng.bounded(model.legsShown)) : 0;
        QString queued;
        if (const int other = model.legsShown > 1 ? 1 + int(rng.bounded(model.legsShown)) : 0;
            other && other != leg && chance(70)) {
            ListBox *list = w.list(other);
            const int row =
                list->indexAt(QPoint(1, int(rng.bounded(list->viewport()->height())))).row();
            if (row < 0)
                return runner(kMouse);
            const QPointF at = list->visualItemRect(list->item(row)).center();
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    list->viewport(),
                    new QMouseEvent(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                                    type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                     : Qt::NoButton,
                                    Qt::NoModifier));
            pending = [this, other, row](bool plain) {
                plain ? model.toggle(other, row) : model.click(other, row);
            };
            queued = QStringLiteral("click on item %1 of leg %2").arg(row).arg(other);
        } else {
            const int b = int(rng.bounded(3)), by = any({-1, 1});
            QCoreApplication::postEvent(box(b), new QKeyEvent(QEvent::KeyPress,
                                                              by < 0 ? Qt::Key_Up : Qt::Key_Down,
                                                              Qt::NoModifier));
            pending = [this, b, by](bool) { model.step(b, by); };
            queued = QStringLiteral("key %1 on box %2").arg(by).arg(b + 1);
        }
        const QString what = action < kClear ? runner(action, leg) : press(action);
        QCoreApplication::processEvents();
        pending = nullptr;
        return what + QStringLiteral(" with a queued ") + queued;
    }
    // The queued event, where the window's event pass dispatches it; a disabled control drops it.
    void late(bool plain) {
        if (pending && !model.help())
            std::exchange(pending, nullptr)(plain);
    }

    QString pick(int b) {
        ComboBox *combo = box(b);
        const int index = int(rng.bounded(combo->count()));
        if (model.help()) { // a disabled box opens no list
            QTest::mouseClick(combo, Qt::LeftButton);
            return QStringLiteral("click on disabled %1").arg(combo->objectName());
        }
        driver::pick(combo, combo->itemText(index));
        model.focus = combo->objectName();
        model.pick(b, index);
        return QStringLiteral("pick item %1 of %2").arg(index).arg(combo->objectName());
    }

    // A text typed or pasted into a box; Enter pressed there; or the focus taken away from it.
    QString enter(int b) {
        ComboBox *combo = box(b);
        const QString text = any(kTexts[b]);
        if (model.help()) {
            driver::retype(combo, text.left(8)); // a disabled box takes no keys
            return QStringLiteral("type into disabled %1").arg(combo->objectName());
        }
        combo->setFocus();
        model.focus = combo->objectName();
        const int how = int(rng.bounded(10));
        if (how == 0) {
            QTest::keyClick(combo->lineEdit(), any({Qt::Key_Return, Qt::Key_Enter}));
            return QStringLiteral("Enter in %1").arg(combo->objectName());
        }
        if (how == 1) {
            w.Text1->setFocus();
            model.focus = w.Text1->objectName();
            return QStringLiteral("focus out of %1").arg(combo->objectName());
        }
        // Long texts and control characters only arrive by pasting.
        const bool control =
            std::any_of(text.begin(), text.end(), [](QChar c) { return c < u' '; });
        if (text.size() > 1000 || control || (how < 4 && !text.isEmpty())) {
            driver::paste(combo->lineEdit(), text, true);
            model.change(b, text.left(combo->lineEdit()->maxLength()));
        } else {
            driver::retype(combo, text);
            for (const QString &prefix : driver::typedPrefixes(text))
                model.change(b, prefix);
        }
        return QStringLiteral("enter '%1' into %2").arg(text.left(20), combo->objectName());
    }

    // A note typed or pasted at the end of the ticket box.
    QString note() {
        const QString note =
            chance(50) ? QStringLiteral("note %1").arg(rng.bounded(100)) : any(kNotes);
        w.Text1->setFocus();
        model.focus = w.Text1->objectName();
        if (note.startsWith(u"note ")) {
            QTest::keyClick(w.Text1, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(w.Text1, note);
        } else {
            driver::paste(w.Text1, note, false);
        }
        model.text += QString(note)
                          .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                          .replace(u'\n', QStringLiteral("\r\n"));
        return QStringLiteral("note '%1'").arg(note.left(20));
    }

    Form1 &w;
    QRandomGenerator rng;
    std::function<void(bool)> pending;
};

} // namespace

class TestSoak : public WindowTest {
    Q_OBJECT

  private slots:
    void randomActionsMatchTheModel_data();
    void randomActionsMatchTheModel();
};

void TestSoak::randomActionsMatchTheModel_data() {
    // ZTC_SOAK_ACTIONS sets the actions per seed, for a long soak by hand.
    const int actions = qEnvironmentVariableIntValue("ZTC_SOAK_ACTIONS");
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("actions");
    const char *locales[] = {"en_US", "en_GB", "de_DE", "fr_FR"};
    for (quint64 seed = 1; seed <= 4; ++seed)
        QTest::addRow("seed %llu, %s", seed, locales[seed - 1])
            << seed << QString::fromLatin1(locales[seed - 1]) << (actions > 0 ? actions : 5000);
}

void TestSoak::randomActionsMatchTheModel() {
    QFETCH(quint64, seed);
    QFETCH(QString, locale);
    QFETCH(int, actions);
    QLocale::setDefault(QLocale(locale));
    Soak soak(*w, seed);
    QCOMPARE(soak.model.differenceFrom(*w, int(calcs->count())), QString());
    for (int n = 1; n <= actions; ++n) {
        const QString action = soak.step();
        const QString difference = soak.model.differenceFrom(*w, int(calcs->count()));
        if (!difference.isEmpty())
            QFAIL(qPrintable(QStringLiteral("seed %1, action %2 (%3): %4")
                                 .arg(seed)
                                 .arg(n)
                                 .arg(action, difference)
                                 .replace(QChar(0), QStringLiteral("\\0"))));
    }
    qInfo("seed %llu: %d actions checked", seed, actions);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
