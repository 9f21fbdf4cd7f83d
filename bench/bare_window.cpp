// SPDX-License-Identifier: MIT
// A bare Qt Widgets window of the calculator's size holding one list of runners, built as the
// calculator is: what the web start-up benchmark measures the calculator against.
#include "catalogue.h"

#include <QApplication>
#include <QListWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(763, 492);
    (new QListWidget(&window))->addItems(ztc::runnerListItems(20));
    window.show();
    return app.exec();
}
