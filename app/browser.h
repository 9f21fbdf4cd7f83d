// SPDX-License-Identifier: MIT
#pragma once

namespace ztc {

// The web page around the window (browser.cpp, built for the browser alone).

// Runs the program in the page, the application made in a task after this one: this one reads
// the logging rules and the library's paths, which the application's constructor would read
// first, so that neither holds the page long. The page's own text inputs, not Qt's, take touch
// keyboards.
int runInThePage(int argc, char *argv[], int (*program)(int &argc, char *argv[]));

// Builds the window and shows it, a short step at a time, each a task of the page's own: the
// page stays free to draw and to take input while it starts. It titles the page after the
// window, arranges the window for touch where the page says so, and keeps an element on the page
// for each of the window's controls, for screen readers and touch keyboards, in step with the
// window both ways. The page hears when the window is shown.
void buildInThePage();

} // namespace ztc
