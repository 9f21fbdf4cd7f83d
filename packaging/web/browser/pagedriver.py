# SPDX-License-Identifier: MIT
"""What a test does alike in every browser: open the site and wait for the window, read the page,
click, tap, turn the wheel, press keys and type at page positions, and read or fill the
clipboard. Each browser's driver speaks its own protocol below this: devtools.py (Chromium),
webdriver.py (Firefox over WebDriver BiDi, WebKitGTK over WebDriver)."""
import base64
import time


class Failure(Exception):
    pass


# The keys tests press, by xdotool's names, which the Linux program's person uses too.
KEYS = ['Tab', 'Return', 'space', 'Up', 'Down', 'End', 'Home', 'F4', 'BackSpace', 'Escape',
        'ctrl+a', 'ctrl+c', 'ctrl+v']


class PageDriver:
    """A browser with one page. Subclasses provide evaluate, navigate, screenshot_data, close,
    drain and the input primitives (click, tap, wheel, key, type, clipboard, set_clipboard)."""

    name = ''

    def open(self, url=None, timeout=60):
        """Goes to the site, or without an address loads the page again, and waits for the
        calculator's window; returns the milliseconds from navigation to its first drawn frame."""
        # The page that goes must not be taken for the one that comes.
        self.evaluate('document.body && delete document.body.dataset.state')
        if url:
            self.navigate(url)
        else:
            self.evaluate('setTimeout(() => location.reload(), 0) && true')
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            state = self.evaluate("document.body ? document.body.dataset.state || '' : ''")
            if state == 'running':
                return self.evaluate("performance.getEntriesByName('ztc-window-drawn')[0].startTime")
            problem = self.evaluate("(e => e && !e.hidden ? e.textContent : '')(document.getElementById('problem'))")
            if problem:
                raise Failure(f'the page says: {problem}\n' + '\n'.join(self.drain() or []))
            time.sleep(0.05)
        raise Failure(f'the calculator did not start in {self.name}:\n' + '\n'.join(self.drain() or []))

    def wait_for(self, condition, timeout=60):
        """Until the page's JavaScript condition holds."""
        deadline = time.monotonic() + timeout
        while not self.evaluate(f'!!({condition})'):
            if time.monotonic() > deadline:
                raise Failure(f'the page never came to {condition}')
            time.sleep(0.05)

    def expect_clean(self):
        """The page reported no error, and nothing its security policy refused, where the browser
        lets a test read the page's console (drain gives None where it does not)."""
        console = self.drain()
        if console is None:
            return
        problems = [line for line in console if 'Content Security Policy' in line or 'rror' in line]
        if problems:
            raise Failure(f'the page reported in {self.name}:\n' + '\n'.join(problems))

    def offline(self):
        """The network cut, as far as the browser lets a test: the site's server is gone by then,
        which is all an engine without a switch for it gets."""

    def screen_origin(self):
        return self.evaluate("(r => [r.left, r.top])(document.getElementById('screen').getBoundingClientRect())")

    def settle(self):
        """Two frames: the program has handled the input and drawn."""
        self.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))', wait=True)
        time.sleep(0.05)

    def screenshot(self, path):
        with open(path, 'wb') as f:
            f.write(base64.b64decode(self.screenshot_data()))
