# SPDX-License-Identifier: MIT
"""The browsers the site is checked in, by name: Debian's Chromium (headless, over the DevTools
protocol), Firefox ESR and WebKitGTK (each on a virtual X server, over WebDriver). ZTC_ENGINE
names the one a suite runs in. The checks run under Debian's own Python, which has Debian's
python3-websocket."""
import os

from devtools import Browser as Chromium
from webdriver import Firefox, WebKit

ENGINES = {'chromium': Chromium, 'firefox': Firefox, 'webkit': WebKit}


def engine_name():
    """The engine the checks run in: ZTC_ENGINE's, else Chromium."""
    name = os.environ.get('ZTC_ENGINE', 'chromium')
    if name not in ENGINES:
        raise SystemExit(f'ZTC_ENGINE: {name} is none of {", ".join(ENGINES)}')
    return name


def launch(**options):
    """A fresh browser of the engine the checks run in, with one page."""
    return ENGINES[engine_name()](**options)
