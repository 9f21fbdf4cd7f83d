# SPDX-License-Identifier: MIT
"""Input as a person's at the X server, for an engine that takes WebDriver's as less."""
import subprocess
import time


class XInput:
    """Input as the X server's own, through xdotool, at page positions: where the engine takes
    WebDriver's actions as less than a person's (WebKitGTK pastes nothing for its Ctrl+V)."""

    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], env=self.display.env, check=True, capture_output=True, timeout=60)

    def window(self):
        """The browser's window on the X screen, once it shows."""
        return subprocess.run(['xdotool', 'search', '--sync', '--onlyvisible', '--class', 'MiniBrowser'],
                              env=self.display.env, capture_output=True, text=True).stdout.split()[0]

    def focus_window(self):
        """The browser's window given the keyboard's focus, as a window manager would: without
        one, it has it only while the pointer happens to rest on it, and a page without it may
        not write the clipboard (WebKitGTK then refuses every write)."""
        self.xdotool('windowfocus', self.window())

    def window_origin(self):
        """Where the page's top left lies on the X screen."""
        if not hasattr(self, '_origin'):
            window = self.window()
            geometry = subprocess.run(['xdotool', 'getwindowgeometry', '--shell', window], env=self.display.env,
                                      capture_output=True, text=True).stdout
            values = dict(line.split('=') for line in geometry.split())
            inner = self.evaluate('[outerWidth - innerWidth, outerHeight - innerHeight]')
            self._origin = (int(values['X']) + inner[0], int(values['Y']) + inner[1])
        return self._origin

    def at(self, x, y):
        left, top = self.window_origin()
        return str(int(left + x)), str(int(top + y))

    # The page's count of presses and keys released: the X server takes input at once, but the
    # page hears of it later, and a busy machine's next action could overtake it.
    RELEASED = """window.ztcReleased === undefined
        ? (window.ztcReleased = 0, ['pointerup', 'keyup'].forEach((type) =>
              addEventListener(type, () => ++window.ztcReleased, true)), 0)
        : window.ztcReleased"""

    def heard(self, act):
        """Does the act, and waits until the page has heard its release."""
        before = self.evaluate(self.RELEASED)
        act()
        deadline = time.monotonic() + 5
        while self.evaluate(self.RELEASED) <= before and time.monotonic() < deadline:
            time.sleep(0.01)

    def click(self, x, y, button='left'):
        self.heard(lambda: self.xdotool('mousemove', *self.at(x, y), 'click',
                                        {'left': '1', 'right': '3'}[button]))

    def wheel(self, x, y, notches):
        self.xdotool('mousemove', *self.at(x, y), 'click', '--repeat', str(abs(notches)),
                     '5' if notches > 0 else '4')

    def key(self, name):
        self.heard(lambda: self.xdotool('key', name))

    def type(self, text):
        self.xdotool('type', '--delay', '20', text)
