#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Runs a cross-built Qt Test suite that needs a window in a browser (Chromium, or the engine
ZTC_ENGINE names: firefox, webkit), on a page of its own: the suite runs inside the page, and this
only reads its report back.
Usage: suite.py PROGRAM.js [ARGUMENT...]"""
import os
import shutil
import sys
import tempfile
import time
import urllib.parse

from browsers import launch
from localsite import Server
from pagedriver import Failure


SUITE_PAGE = """<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>suite</title>
<script src="{name}.js"></script><script src="run.js" defer></script></head>
<body><div id="screen"></div></body></html>
"""
# The suite's output lines, and its arguments from the address's fragment.
SUITE_RUN = """'use strict';
const screen = document.getElementById('screen');
screen.style.width = '1000px';
screen.style.height = '700px';
window.suiteOutput = [];
// A script's error that ends the suite midway, said where the report is read.
addEventListener('error', (event) => window.suiteOutput.push(`uncaught: ${event.message}`));
createQtAppInstance({
    qtContainerElements: [screen],
    arguments: decodeURIComponent(location.hash.slice(1)).split('\\n').filter((a) => a),
    print: (text) => window.suiteOutput.push(text),
    printErr: (text) => window.suiteOutput.push(text),
    onAbort: (text) => window.suiteOutput.push(`aborted: ${text}`),
});
"""


def suite(program, *arguments):
    """Runs a cross-built Qt Test program that needs a window on a page of its own, prints its
    report and exits as it passed; QT_SCALE_FACTOR in the environment becomes the screen's
    pixel ratio, and ZTC_BROWSER_LANG the browser's language (en-US)."""
    folder = tempfile.mkdtemp(prefix='ztc-suite-')
    base = os.path.splitext(os.path.abspath(program))[0]
    for suffix in ('.js', '.wasm'):
        os.symlink(base + suffix, os.path.join(folder, os.path.basename(base) + suffix))
    page = SUITE_PAGE.replace('{name}', os.path.basename(base))
    for name, text in (('index.html', page), ('run.js', SUITE_RUN)):
        with open(os.path.join(folder, name), 'w') as f:
            f.write(text)
    server = Server(folder)
    browser = launch(scale=float(os.environ.get('QT_SCALE_FACTOR', '1')),
                     lang=os.environ.get('ZTC_BROWSER_LANG', 'en-US'))
    lines = []
    try:
        fragment = urllib.parse.quote('\n'.join(arguments))
        browser.navigate(f'{server.url}index.html#{fragment}')
        deadline = time.monotonic() + 280
        while time.monotonic() < deadline:
            lines = browser.evaluate('window.suiteOutput || []')
            if any(line.startswith(('********* Finished testing', 'aborted:', 'uncaught:')) for line in lines):
                break
            time.sleep(0.2)
    finally:
        browser.close()
        server.stop()
        shutil.rmtree(folder, ignore_errors=True)
    print('\n'.join(lines))
    totals = [line for line in lines if line.startswith('Totals:')]
    if not totals or ', 0 failed,' not in totals[-1]:
        sys.exit(f'suite: {os.path.basename(program)} {" ".join(arguments)} did not pass in {browser.name}')


if __name__ == '__main__':
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    try:
        suite(*sys.argv[1:])
    except Failure as failure:
        sys.exit(f'suite: {failure}')
