// SPDX-License-Identifier: MIT
#pragma once

namespace ztc {

class Form1;

// The web page around the window (browser.cpp, built for the browser alone).

// Before the application exists: the page's own text inputs, not Qt's, take touch keyboards.
void prepareForThePage();

// Titles the page after the window, arranges it for touch where the page says so, and keeps an
// element on the page for each of the window's controls, for screen readers and touch keyboards,
// in step with the window both ways.
void joinThePage(Form1 &window);

} // namespace ztc
