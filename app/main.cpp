// SPDX-License-Identifier: MIT
#include "form1.h"

#include <QApplication>

// Platform code: how the session ends the program. On Windows Qt itself answers the end of a
// session (WM_QUERYENDSESSION closes the windows, WM_ENDSESSION quits), and the program has
// nothing to save, so only POSIX signals need handling. A web page has no signals to catch (Qt
// counts it as Unix, but a notifier on a pipe there stops the program at start). What else the
// page needs is in browser.cpp.
#if defined(Q_OS_UNIX) && !defined(Q_OS_WASM)
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onQuitSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// A session that asks the program to end (logout, kill) gets the same orderly quit as closing
// the window.
void quitOnSignals(QApplication &app) {
    if (::pipe(signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace
#else
namespace {
void quitOnSignals(QApplication &) {}
} // namespace
#endif

#ifdef Q_OS_WASM
#include "browser.h"
#endif

namespace {

int run(int &argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zandrel-ticket-calculator"));
    QApplication::setOrganizationDomain(QStringLiteral("zandrel.example"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zandrel.TicketCalculator"));
    quitOnSignals(app);

#ifdef Q_OS_WASM
    ztc::buildInThePage();
#else
    ztc::Form1 window;
    window.show();
#endif
    return app.exec();
}

} // namespace

int main(int argc, char *argv[]) {
#ifdef Q_OS_WASM
    return ztc::runInThePage(argc, argv, run);
#else
    return run(argc, argv);
#endif
}
