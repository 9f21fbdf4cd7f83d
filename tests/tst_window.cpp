// SPDX-License-Identifier: MIT
// What the soak does not look at: the layout, the focus chain, the names that assistive
// technology reads, and the help text.
#include "windowtest.h"

#include <QAccessible>
#include <QScrollBar>

using namespace ztc;

class TestWindow : public WindowTest {
    Q_OBJECT

  private slots:
    void layout();
    void tabOrder();
    void accessibleNames();
    void helpText();
};

void TestWindow::layout() {
    // Run again at QT_SCALE_FACTOR=2: the same logical layout drawn at twice the size.
    QCOMPARE(w->grab().size(), w->size() * w->devicePixelRatio());
    QCOMPARE(w->windowTitle(), "Zandrel Ticket Calculator - www.zandrel.example");
    QCOMPARE(w->Label8->text() + ' ' + w->Label9->text(),
             "Zandrel Ticket Calculator www.zandrel.example");
    QVERIFY(!w->windowIcon().isNull());
    driver::pick(w->Combo2, "Pick 6");
    const auto controls = w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 31);
    QList<QRect> covered; // what each control draws on: a label only its caption
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
    }
    for (int leg = 1; leg <= kLegCount; ++leg) { // a full field without scrolling
        const ListBox *list = w->list(leg);
        QVERIFY(!list->verticalScrollBar()->isVisible());
        QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(20))));
    }
    // A long ticket line does not wrap; the horizontal scroll bar reaches it.
    w->Text1->setText(QString(500, u'x'));
    QCOMPARE(w->Text1->document()->lineCount(), 1);
    QVERIFY(w->Text1->horizontalScrollBar()->maximum() > 0);
}

void TestWindow::tabOrder() {
    driver::pick(w->Combo2, "Pick 6");
    w->Combo1->setFocus();
    const QList<QWidget *> chain = {w->List1,    w->Combo2,   w->List2,    w->List3,    w->List4,
                                    w->List5,    w->List6,    w->Combo3,   w->Command1, w->Command2,
                                    w->Command3, w->Command4, w->Command5, w->Command6, w->Command7,
                                    w->Command8, w->Text1,    w->Command9, w->Combo1};
    for (QWidget *next : chain) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // Hidden legs are skipped.
    driver::pick(w->Combo2, "Double");
    w->List2->setFocus();
    QTest::keyClick(w->List2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->Combo3);
}

void TestWindow::accessibleNames() {
    driver::pick(w->Combo2, "Pick 6");
    for (QWidget *c : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c);
        QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(c->objectName()));
        QVERIFY2(c->focusPolicy() == Qt::NoFocus || !a->text(QAccessible::Description).isEmpty(),
                 qPrintable(c->objectName()));
    }
    // A box is named by its text here; its caption reaches a screen reader through its label.
    const std::pair<QWidget *, const char *> captions[] = {
        {w->Combo1, "Field Size"}, {w->Combo2, "Wager Type"}, {w->Combo3, "Base Amt"}};
    for (const auto &[combo, caption] : captions) {
        const auto labels =
            QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), caption);
    }
}

void TestWindow::helpText() {
    const QStringList lines = ztc::helpText().split("\r\n");
    QCOMPARE(lines.size(), 25);
    QCOMPARE(lines.first(), "Tixomat Operating Instructions");
    QVERIFY(lines.at(8).endsWith("that leg ") && lines.at(9).startsWith("    corresponding"));
    QCOMPARE(lines.last(), "www.zandrel.example");
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
