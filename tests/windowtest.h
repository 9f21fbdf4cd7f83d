// SPDX-License-Identifier: MIT
#pragma once

// A fresh, shown and active calculator window for every test function, in a United States
// locale, with any Qt warning failing the test.

#include "formdriver.h"

#include <QSignalSpy>

#include <memory>

namespace ztc {

class WindowTest : public QObject {
    Q_OBJECT

  protected:
    std::unique_ptr<Form1> w;
    std::unique_ptr<QSignalSpy> calcs; // every calculation the window runs

  private slots:
    void initTestCase() {
        // The offscreen platform notes that it cannot grab the keyboard for a popup: a note
        // about the test platform, dropped; every other message still reaches Qt Test.
        static QtMessageHandler next = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (!message.startsWith(QLatin1String("This plugin does not support")))
                    next(type, context, message);
            });
    }
    void init() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        // A test's data tag may name the desktop's locale.
        const char *tag = QTest::currentDataTag();
        QLocale::setDefault(QLocale(QString::fromLatin1(tag && *tag ? tag : "en_US")));
        w = std::make_unique<Form1>();
        calcs = std::make_unique<QSignalSpy>(w.get(), &Form1::calculated);
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        calcs.reset();
        w.reset();
    }
};

} // namespace ztc
