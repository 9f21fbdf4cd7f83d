// SPDX-License-Identifier: MIT
// The window: random user actions, each checked against a model of everything the window must
// show; and what the model does not look at: layout, accessible names and the help text. The
// model follows the window's rules by itself and borrows only the core's readings and ticket
// text, which the core tests check.
#include "numbers.h"
#include "windowtest.h"

#include <QAccessible>
#include <QRandomGenerator>
#include <QScrollBar>

#include <functional>
#include <utility>

using namespace ztc;

namespace {

// Texts entered into each box, typed or pasted.
const std::array<QStringList, 3> kTexts = {
    QStringList{"", "1", "12", "20", "5.5", "0.5", "-3", "abc", "12abc", "99", "150", "1e400",
                "&HFFFF", " 1 2", "1\r2", "\u0663", "\U0001F40E", QString(100000, u'8')},
    QStringList{"DOUBLE", " Double", "Double ", "pick 3", "\u0130", "Super High 5",
                QString::fromUtf16(u"Dou\0ble", 7), QString(100000, u'x')},
    QStringList{"", "$", "$-", "$2.5", "3", "-$5.00", "($5.25)", "$1,000.00", "$1,2,3", "1e300",
                "1e290", "\u20ac3", "2,50 \u20ac", "$" + QString(99999, u'1')}};
const QStringList kNotes = {
    "note", "a\nb", "a\r\nb", "a\rb", "a\u2028b", "2,00\u00a0€", QString(100000, u'n')};
const QStringList kChain = {"Combo1",   "List1",    "Combo2",   "List2",    "List3",
                            "List4",    "List5",    "List6",    "Combo3",   "Command1",
                            "Command2", "Command3", "Command4", "Command5", "Command6",
                            "Command7", "Command8", "Text1",    "Command9"}; // tab order
enum Action { Click, All, DoubleClick, Space, Clear, ClearAll, Calc, Help };

struct Soak {
    Soak(Form1 &w, quint64 seed) : w(w), rng(seed) {
        for (int b = 0; b < 3; ++b) { // start-up sets each box's text as code
            current[b] = box(b)->findText(boxText[b]);
            change(b, boxText[b]);
        }
    }
    Form1 &w;
    QRandomGenerator rng;
    std::function<void(bool)> pending; // an event queued during a click

    // The model: what the window must show, changed by the window's rules.
    std::array<RunnerList, kLegCount> legs;
    std::array<QString, 3> boxText{kFieldSizeStart, kWagerTypeStart, kBaseAmountStart};
    std::array<int, 3> current{}; // each box's current item
    int legsShown = 0, calcs = 0;
    QString text, focus = QStringLiteral("Combo1");
    CalcState record;

    bool help() const { return record.intHelpMode == 1; }
    ComboBox *box(int b) const { return b == 0 ? w.Combo1 : b == 1 ? w.Combo2 : w.Combo3; }
    void calc() {
        ++calcs;
        text = calculateTicket({boxText[1], legs}, record, QLocale()).value_or(text);
    }
    void refill() {
        if (const double size = Val(boxText[0]); size > 0)
            for (RunnerList &list : legs) {
                list.clear();
                for (const QString &item : runnerListItems(size))
                    list.append({item, false});
            }
    }
    void change(int b, const QString &typed) { // after every key or paste
        boxText[b] = typed;
        if (b == 0)
            refill();
        if (const auto amount = b == 2 ? toMoney(typed, QLocale()) : std::nullopt) {
            record.dblBaseAmt = amount->amount;
            record.bolBaseInUsDollars = amount->usDollars;
        }
    }
    void picked(int b, int index) {
        current[b] = index;
        change(b, box(b)->itemText(index)); // refills the lists, or stores the amount
        if (b == 1) {
            legsShown = legsFor(boxText[1]);
            refill();
        }
        focus = b < 2 ? QStringLiteral("Command8") : focus;
        calc();
    }
    void stepped(int b, int by) {
        if (const int to = current[b] + by; to >= 0 && to < box(b)->count())
            picked(b, to);
    }
    void clicked(int leg, int row, bool plain = false) { // plain: while clicks are ignored
        RunnerList &list = legs[leg - 1];
        if (row >= list.size())
            return;
        list[row].selected = !list[row].selected;
        if (plain)
            return;
        if (row == list.size() - 1) {
            late(true); // "All" lets waiting events run before it selects the leg
            for (ListItem &item : list)
                item.selected = item.text != u"All";
        }
        calc();
    }
    void cleared(int leg) {
        for (ListItem &item : legs[leg - 1])
            item.selected = false;
        focus = QStringLiteral("Command8");
        calc();
    }
    void late(bool plain) { // where the window's event pass dispatches the queued event
        if (pending && !help())
            std::exchange(pending, nullptr)(plain);
    }

    // The first difference between the window and the model, or an empty text.
    QString difference(int calculations) const {
        for (int leg = 1; leg <= kLegCount; ++leg) {
            RunnerList shown;
            for (int i = 0; i < w.list(leg)->count(); ++i)
                shown.append({w.list(leg)->itemText(i), w.list(leg)->isSelected(i)});
            const bool used = leg <= legsShown;
            if (shown != legs[leg - 1] || w.list(leg)->isVisible() != used ||
                w.legLabel(leg)->isVisible() != used || w.clearButton(leg)->isVisible() != used)
                return QStringLiteral("leg %1").arg(leg);
        }
        for (int b = 0; b < 3; ++b)
            if (box(b)->text() != boxText[b] || box(b)->currentIndex() != current[b])
                return box(b)->objectName() + " holds " + box(b)->text().left(40);
        if (w.Text1->text() != text)
            return "ticket text:\n" + w.Text1->text().left(300) + "\nexpected:\n" + text.left(300);
        for (const QWidget *c : w.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (c->focusPolicy() != Qt::NoFocus && c != w.Text1 && c != w.Command9 &&
                c->isEnabled() == help())
                return c->objectName() + " enabled in help mode, or disabled outside it";
        const QWidget *f = QApplication::focusWidget();
        if (!(w.state() == record) || w.Command9->text() != (help() ? u"Back" : u"Help") || !f ||
            f->objectName() != focus || calculations != calcs)
            return QStringLiteral("record, help caption, focus on %1 or %2 calculations")
                .arg(f ? f->objectName() : QString())
                .arg(calculations);
        return {};
    }

    // One random action, on the window and the model.
    QString step() {
        const int roll = int(rng.bounded(100));
        if (roll < 44)
            return runner(roll < 30 ? Click : roll < 34 ? All : roll < 37 ? DoubleClick : Space);
        if (roll < 58)
            return press(roll < 47 ? Clear : roll < 49 ? ClearAll : roll < 52 ? Calc : Help);
        if (roll < 64)
            return withQueued();
        if (roll < 96) // a pick from a box, a text entered there, the wheel or an arrow key
            return help()      ? press(Help)
                   : roll < 76 ? pick(roll % 3)
                   : roll < 88 ? enter(roll % 3)
                               : wheel(roll % 3);
        return roll < 98 ? tab() : note();
    }
    template <typename T> T any(const QList<T> &pool) { return pool.at(rng.bounded(pool.size())); }
    int anyLeg() { return legsShown ? 1 + int(rng.bounded(legsShown)) : 0; }

    QString runner(Action how, int leg = 0) {
        if (!(leg = leg ? leg : anyLeg()))
            return press(Calc);
        ListBox *list = w.list(leg);
        const int row = how == All ? list->count() - 1 : int(rng.bounded(list->count()));
        if (how == Space && !help()) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Home);
            for (int i = 0; i < row; ++i)
                QTest::keyClick(list, Qt::Key_Down);               // moves, selects nothing
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier); // selects nothing either
            QTest::keyClick(list, Qt::Key_Space);
        } else {
            driver::clickItem(list, row);
            const QPoint at = list->visualItemRect(list->item(row)).center();
            if (how == DoubleClick) { // its second press arrives as a double click
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
            }
        }
        if (help())
            return QStringLiteral("click on a disabled leg");
        focus = list->objectName();
        clicked(leg, row);
        if (how == DoubleClick)
            clicked(leg, row);
        late(false);
        return QStringLiteral("action %1 on item %2 of leg %3").arg(how).arg(row).arg(leg);
    }

    // A leg's Clear, CLEAR ALL, CALC or Help, by mouse or with Space or Enter.
    QString press(Action which) {
        const int leg = anyLeg();
        which = which == Clear && !leg ? ClearAll : which;
        QPushButton *button = which == Clear      ? w.clearButton(leg)
                              : which == ClearAll ? w.Command7
                              : which == Calc     ? w.Command8
                                                  : w.Command9;
        if (button->isEnabled() && rng.bounded(4) == 0) {
            button->setFocus();
            QTest::keyClick(button, any<Qt::Key>({Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}));
        } else {
            driver::click(button);
        }
        if (which == Help) {
            focus = QStringLiteral("Command9");
            record.intHelpMode = help() ? 0 : 1;
            record.strTextPersisted = help() ? text : record.strTextPersisted;
            text = help() ? helpText() : record.strTextPersisted;
        } else if (!help()) {
            for (int l = 1; l <= kLegCount; ++l) {
                if (which == ClearAll || (which == Clear && l == leg))
                    cleared(l);
                if (which == ClearAll && l == 1)
                    late(false); // the first leg's event pass
            }
            focus = QStringLiteral("Command8");
            if (which != Clear)
                calc();
        }
        late(false);
        return button->objectName();
    }

    // A click on a runner of another leg, or an arrow key on a box, made while the window is
    // busy with a click: it arrives in one of the click's event passes.
    QString withQueued() {
        const int leg = anyLeg(), other = anyLeg(), b = int(rng.bounded(3));
        ListBox *list = w.list(other ? other : 1);
        const int row = list->indexAt({1, int(rng.bounded(list->viewport()->height()))}).row();
        const auto key = rng.bounded(2) ? Qt::Key_Down : Qt::Key_Up;
        if (other && other != leg && row >= 0 && rng.bounded(3)) {
            QMetaObject::invokeMethod(
                list, [=] { driver::clickItem(list, row); }, Qt::QueuedConnection);
            pending = [=, this](bool plain) {
                focus = list->objectName();
                clicked(other, row, plain);
            };
        } else {
            QMetaObject::invokeMethod(
                box(b), [=, this] { QTest::keyClick(box(b), key); }, Qt::QueuedConnection);
            pending = [=, this](bool) { stepped(b, key == Qt::Key_Down ? 1 : -1); };
        }
        const Action action = any<Action>({Click, All, Clear, ClearAll, Calc, Help});
        const QString what = action < Clear ? runner(action, leg) : press(action);
        QCoreApplication::processEvents();
        pending = nullptr;
        return what + QStringLiteral(" with an event queued");
    }

    QString pick(int b) {
        const int index = int(rng.bounded(box(b)->count()));
        driver::pick(box(b), box(b)->itemText(index));
        focus = box(b)->objectName();
        picked(b, index);
        return QStringLiteral("pick item %1 of box %2").arg(index).arg(b + 1);
    }

    // A text typed or pasted into a box, or Enter pressed there.
    QString enter(int b) {
        const QString typed = any(kTexts[b]);
        box(b)->setFocus();
        focus = box(b)->objectName();
        static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f]"));
        if (rng.bounded(10) == 0) {
            QTest::keyClick(box(b)->lineEdit(), any<Qt::Key>({Qt::Key_Return, Qt::Key_Enter}));
        } else if (typed.size() > 1000 || typed.contains(control) || rng.bounded(3) == 0) {
            driver::paste(box(b)->lineEdit(), typed, true); // how long texts and controls arrive
            change(b, typed.left(box(b)->lineEdit()->maxLength()));
        } else {
            driver::retype(box(b), typed);
            for (const QString &prefix : driver::typedPrefixes(typed))
                change(b, prefix);
        }
        return QStringLiteral("enter '%1' into box %2").arg(typed.left(20)).arg(b + 1);
    }

    // A notch of the wheel over a box, or an arrow key in it: only a box with the focus steps
    // to its next item, as a pick. The wheel over a leg or the ticket only scrolls.
    QString wheel(int b) {
        const bool focused = rng.bounded(2), key = focused && rng.bounded(3) == 0;
        if (focused) {
            box(b)->setFocus();
            focus = box(b)->objectName();
        }
        const int by = rng.bounded(2) ? 1 : -1;
        QWidget *over = rng.bounded(4)   ? static_cast<QWidget *>(box(b))
                        : rng.bounded(2) ? w.Text1->viewport()
                                         : w.list(anyLeg() ? anyLeg() : 1)->viewport();
        if (key) {
            QTest::keyClick(box(b), by > 0 ? Qt::Key_Down : Qt::Key_Up);
        } else {
            QWheelEvent notch(over->rect().center(), over->mapToGlobal(over->rect().center()), {},
                              {0, -120 * by}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &notch);
        }
        if ((key || over == box(b)) && focus == box(b)->objectName())
            stepped(b, by);
        return QStringLiteral("wheel or key %1 on box %2").arg(by).arg(b + 1);
    }

    // Tab to the next control that is shown and enabled; leaving a box picks nothing.
    QString tab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (qsizetype i = kChain.indexOf(focus) + 1;; ++i) {
            const QString &next = kChain[i % kChain.size()];
            const bool ofLeg =
                next.startsWith(u"List") || (next.startsWith(u"Command") && next.back() < u'7');
            if ((!help() || next == u"Text1" || next == u"Command9") &&
                (!ofLeg || next.back().digitValue() <= legsShown))
                return QStringLiteral("Tab from %1 to %2").arg(std::exchange(focus, next), next);
        }
    }

    // A note typed or pasted at the end of the ticket box.
    QString note() {
        const QString typed = any(kNotes);
        w.Text1->setFocus();
        focus = w.Text1->objectName();
        QTest::keyClick(w.Text1, Qt::Key_End, Qt::ControlModifier);
        if (typed == u"note") { // a line of its own, ended with Shift+Enter
            QTest::keyClicks(w.Text1, typed);
            QTest::keyClick(w.Text1, Qt::Key_Return, Qt::ShiftModifier);
            text += QStringLiteral("note\r\n");
        } else {
            driver::paste(w.Text1, typed, false);
            static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028]"));
            text += QString(typed).replace(lineBreak, QStringLiteral("\r\n"));
        }
        return QStringLiteral("note");
    }
};

} // namespace

class TestWindow : public WindowTest {
    Q_OBJECT

  private slots:
    void soak_data();
    void soak();
    void look();
};

void TestWindow::soak_data() {
    // ZTC_SOAK_ACTIONS sets the actions per seed, for a long soak by hand.
    const int actions = qEnvironmentVariableIntValue("ZTC_SOAK_ACTIONS");
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("actions");
    quint64 seed = 0;
    for (const char *locale : {"en_US", "en_GB", "de_DE", "fr_FR"}) // the data tag
        QTest::newRow(locale) << ++seed << (actions > 0 ? actions : 5000);
}

void TestWindow::soak() {
    QFETCH(quint64, seed);
    QFETCH(int, actions);
    Soak soak(*w, seed);
    QCOMPARE(soak.difference(int(calcs->count())), QString());
    for (int n = 1; n <= actions; ++n) {
        const QString action = soak.step(), difference = soak.difference(int(calcs->count()));
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QString::number(n) + ' ' + action + ": " + difference));
    }
}

// Also run at QT_SCALE_FACTOR=2: the same logical layout drawn at twice the size.
void TestWindow::look() {
    QCOMPARE(w->grab().size(), w->size() * w->devicePixelRatio());
    QCOMPARE(w->windowTitle(), "Zandrel Ticket Calculator - www.zandrel.example");
    QCOMPARE(w->Label8->text() + ' ' + w->Label9->text(),
             "Zandrel Ticket Calculator www.zandrel.example");
    QCOMPARE(w->windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
    driver::pick(w->Combo2, "Pick 6");
    // Every caption fits, and nothing overlaps what another control draws (a label: its text).
    const auto controls = w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 31);
    QList<QRect> covered;
    for (QWidget *c : controls) {
        QRect drawn = c->geometry();
        if (auto *label = qobject_cast<QLabel *>(c)) {
            const QRect text = label->fontMetrics().boundingRect(
                label->contentsRect(), int(label->alignment()), label->text());
            QVERIFY2(label->contentsRect().contains(text), qPrintable(c->objectName()));
            drawn = text.translated(label->pos());
        } else if (auto *button = qobject_cast<QPushButton *>(c)) {
            const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <=
                             button->width() - 2 * frame &&
                         button->fontMetrics().height() <= button->height(),
                     qPrintable(c->objectName()));
        }
        QVERIFY2(w->rect().contains(drawn), qPrintable(c->objectName()));
        for (const QRect &other : covered)
            QVERIFY2(!drawn.intersects(other), qPrintable(c->objectName()));
        covered << drawn;
        // Every control has a name for assistive technology; one that takes the focus also a
        // description.
        const QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c);
        QVERIFY2(
            !a->text(QAccessible::Name).isEmpty() &&
                (c->focusPolicy() == Qt::NoFocus || !a->text(QAccessible::Description).isEmpty()),
            qPrintable(c->objectName()));
    }
    // A box is named by its text here; its caption reaches a screen reader through its label.
    for (ComboBox *combo : {w->Combo1, w->Combo2, w->Combo3}) {
        const auto labels =
            QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->object(), combo == w->Combo1   ? w->Label0
                                                 : combo == w->Combo2 ? w->Label00
                                                                      : w->Label000);
    }
    for (int leg = 1; leg <= kLegCount; ++leg) { // a full field without scrolling
        QVERIFY(!w->list(leg)->verticalScrollBar()->isVisible());
        QVERIFY(w->list(leg)->viewport()->rect().contains(
            w->list(leg)->visualItemRect(w->list(leg)->item(20))));
    }
    // A long ticket line does not wrap; the horizontal scroll bar reaches it.
    w->Text1->setText(QString(500, u'x'));
    QCOMPARE(w->Text1->document()->lineCount(), 1);
    QVERIFY(w->Text1->horizontalScrollBar()->maximum() > 0);
    const QStringList help = helpText().split("\r\n");
    QCOMPARE(help.size(), 25);
    QVERIFY(help.at(8).endsWith("that leg ") && help.at(9).startsWith("    corresponding"));
    QCOMPARE(help.first() + '|' + help.last(),
             "Tixomat Operating Instructions|www.zandrel.example");
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
