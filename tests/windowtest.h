// SPDX-License-Identifier: MIT
#pragma once

// A fresh, shown and active calculator window for every test function, in a United States
// locale, with any Qt warning failing the test.

#include "formdriver.h"

#include <QApplication>
#include <QSignalSpy>

#include <memory>

namespace ztc {

class WindowTest : public QObject {
    Q_OBJECT

  protected:
    std::unique_ptr<Form1> w;
    std::unique_ptr<QSignalSpy> calcs; // every calculation the window runs

  private slots:
    void initTestCase() { driver::dropOffscreenNotes(); }
    void init() {
        driver::failOnAnyWarning();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
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
