# SPDX-License-Identifier: MIT
"""A person at the calculator: in a browser through its driver (pagedriver.py), and at the Linux
program on a virtual X server through xdotool, with the same actions at the same window
positions."""
import subprocess
import time

from xdisplay import Display

class Person:
    """A person at the calculator in a browser: mouse, wheel, taps and keys at the window's own
    positions."""

    def __init__(self, browser):
        self.browser = browser

    def at(self, x, y):
        """Where the window's point lies on the page: the window moves as it widens for the play."""
        left, top = self.browser.screen_origin()
        return left + x, top + y

    def click(self, x, y):
        self.browser.click(*self.at(x, y))
        self.settle()

    def right_click(self, x, y):
        self.browser.click(*self.at(x, y), button='right')
        self.settle()

    def tap(self, x, y):
        self.browser.tap(*self.at(x, y))
        self.settle()

    def wheel(self, x, y, notches):
        self.browser.wheel(*self.at(x, y), notches)
        self.settle()

    def key(self, name, times=1):
        for _ in range(times):
            self.browser.key(name)
        self.settle()

    def type(self, text):
        self.browser.type(text)
        self.settle()

    def paste(self, text):
        """Text copied in another program, pasted with Ctrl+V."""
        self.browser.set_clipboard(text)
        self.key('ctrl+v')

    def settle(self):
        self.browser.settle()

    def ticket(self):
        self.click(500, 300)
        self.key('ctrl+a')
        self.key('ctrl+c')
        return self.browser.clipboard().replace('\r\n', '\n')


class XPerson:
    """The same person at the Linux program on a virtual X server, through xdotool; the ticket
    through xclip."""

    def __init__(self, program, lang):
        self.display = Display('1024x768')
        self.env = {**self.display.env, 'QT_QPA_PLATFORM': 'xcb',
                    'LANG': lang.replace('-', '_') + '.UTF-8', 'LC_ALL': lang.replace('-', '_') + '.UTF-8'}
        self.program = subprocess.Popen([program], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = self.xdotool('search', '--sync', '--name', '^Zandrel Ticket Calculator').split()[0]
        time.sleep(1)

    def xdotool(self, *args):
        return subprocess.run(['xdotool', *args], env=self.env, check=True, capture_output=True,
                              text=True, timeout=60).stdout

    def click(self, x, y):
        self.xdotool('mousemove', '--window', self.window, str(x), str(y), 'click', '1', 'sleep', '0.3')

    def wheel(self, x, y, notches):
        button = '5' if notches > 0 else '4'
        self.xdotool('mousemove', '--window', self.window, str(x), str(y),
                     'click', '--repeat', str(abs(notches)), button, 'sleep', '0.3')

    def key(self, name, times=1):
        self.xdotool('key', '--delay', '100', *[name] * times, 'sleep', '0.2')

    def type(self, text):
        self.xdotool('type', '--delay', '100', text, 'sleep', '0.2')

    def paste(self, text):
        self.display.set_clipboard(text)
        self.key('ctrl+v')

    def ticket(self):
        self.click(500, 300)
        self.key('ctrl+a')
        self.key('ctrl+c')
        return self.display.clipboard().replace('\r\n', '\n')

    def close(self):
        self.program.terminate()
        self.program.wait()
        self.display.close()


def act(person, actions, ticket=True):
    """Does the actions; returns the ticket then, read back through the clipboard."""
    for action in actions:
        getattr(person, action[0])(*action[1:])
    return person.ticket() if ticket else None


def linux_ticket(program, lang, actions):
    person = XPerson(program, lang)
    try:
        return act(person, actions)
    finally:
        person.close()
