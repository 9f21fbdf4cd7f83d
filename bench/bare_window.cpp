// SPDX-License-Identifier: MIT
// A bare Qt Widgets window of the calculator's size holding one list of runners, built as the
// calculator is, for the same page: what the web start-up benchmark measures the calculator
// against.
#include "catalogue.h"

#include <QApplication>
#include <QListWidget>

#include <emscripten/val.h>

#include <string>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(763, 492);
    (new QListWidget(&window))->addItems(ztc::runnerListItems(20));
    window.show();
    // The page puts the window in its placeholder's place once told, as for the calculator, and
    // once the elements of the window's controls are on the page: a bare window joins the page
    // with none, and takes no action from it.
    const emscripten::val access = emscripten::val::global("ztcAccess");
    if (!access.isUndefined()) {
        access.call<void>("connect", emscripten::val::global("Function")["prototype"]);
        access.call<void>("update", std::string(R"({"controls":[]})"));
    }
    emscripten::val::global("ztcPage").call<void>("shown");
    return app.exec();
}
