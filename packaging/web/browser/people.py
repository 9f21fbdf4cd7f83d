# SPDX-License-Identifier: MIT
"""A person at the calculator: in the browser through the DevTools protocol, and at the Linux
program on a virtual X server through xdotool, with the same actions at the same window
positions."""
import os
import subprocess
import time

# Keys as the DevTools protocol names them: (key, code, Windows virtual key code).
KEYS = {
    'Tab': ('Tab', 'Tab', 9), 'Return': ('Enter', 'Enter', 13), 'space': (' ', 'Space', 32),
    'Up': ('ArrowUp', 'ArrowUp', 38), 'Down': ('ArrowDown', 'ArrowDown', 40),
    'End': ('End', 'End', 35), 'Home': ('Home', 'Home', 36), 'F4': ('F4', 'F4', 115),
    'BackSpace': ('Backspace', 'Backspace', 8),
    'ctrl+a': ('a', 'KeyA', 65), 'ctrl+c': ('c', 'KeyC', 67), 'ctrl+v': ('v', 'KeyV', 86),
}


class Person:
    """A person at the calculator in the browser: mouse, wheel and keys at window positions."""

    def __init__(self, browser):
        self.browser = browser
        self.left, self.top = browser.screen_origin()

    def mouse(self, kind, x, y, **more):
        self.browser.page('Input.dispatchMouseEvent', type=kind, x=self.left + x, y=self.top + y, **more)

    def click(self, x, y):
        self.mouse('mouseMoved', x, y)
        self.mouse('mousePressed', x, y, button='left', buttons=1, clickCount=1)
        self.mouse('mouseReleased', x, y, button='left', buttons=0, clickCount=1)
        self.settle()

    def right_click(self, x, y):
        self.mouse('mouseMoved', x, y)
        self.mouse('mousePressed', x, y, button='right', buttons=2, clickCount=1)
        self.mouse('mouseReleased', x, y, button='right', buttons=0, clickCount=1)
        self.settle()

    def tap(self, x, y):
        point = [{'x': self.left + x, 'y': self.top + y}]
        self.browser.page('Input.dispatchTouchEvent', type='touchStart', touchPoints=point)
        self.browser.page('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])
        self.settle()

    def wheel(self, x, y, notches):
        self.mouse('mouseMoved', x, y)
        for _ in range(abs(notches)):
            self.mouse('mouseWheel', x, y, deltaX=0, deltaY=100 if notches > 0 else -100)
        self.settle()

    def key(self, name, times=1):
        for _ in range(times - 1):
            self.key(name)
        key, code, vk = KEYS[name]
        modifiers = 2 if name.startswith('ctrl+') else 0
        text = ' ' if name == 'space' else '\r' if name == 'Return' else ''
        down = dict(key=key, code=code, windowsVirtualKeyCode=vk, modifiers=modifiers)
        self.browser.page('Input.dispatchKeyEvent', type='keyDown' if text else 'rawKeyDown', text=text, **down)
        self.browser.page('Input.dispatchKeyEvent', type='keyUp', **down)
        self.settle()

    def type(self, text):
        for ch in text:
            code = f'Digit{ch}' if ch.isdigit() else ''
            self.browser.page('Input.dispatchKeyEvent', type='keyDown', key=ch, code=code, text=ch)
            self.browser.page('Input.dispatchKeyEvent', type='keyUp', key=ch, code=code)
        self.settle()

    def settle(self):
        # Two frames: the program has handled the input and drawn.
        self.browser.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))', wait=True)
        time.sleep(0.05)

    def ticket(self):
        self.click(500, 300)
        self.key('ctrl+a')
        self.key('ctrl+c')
        return self.browser.evaluate('navigator.clipboard.readText()', wait=True).replace('\r\n', '\n')


class XPerson:
    """The same person at the Linux program on a virtual X server, through xdotool; the ticket
    through xclip."""

    def __init__(self, program, lang):
        display = 90
        while os.path.exists(f'/tmp/.X{display}-lock'):
            display += 1
        self.env = {**os.environ, 'DISPLAY': f':{display}', 'QT_QPA_PLATFORM': 'xcb',
                    'LANG': lang.replace('-', '_') + '.UTF-8', 'LC_ALL': lang.replace('-', '_') + '.UTF-8'}
        self.xvfb = subprocess.Popen(['Xvfb', f':{display}', '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if subprocess.run(['xdpyinfo'], env=self.env, capture_output=True).returncode == 0:
                break
            time.sleep(0.1)
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

    def ticket(self):
        self.click(500, 300)
        self.key('ctrl+a')
        self.key('ctrl+c')
        return subprocess.run(['xclip', '-selection', 'clipboard', '-o'], env=self.env, check=True,
                              capture_output=True, text=True).stdout.replace('\r\n', '\n')

    def close(self):
        self.program.terminate()
        self.program.wait()
        self.xvfb.terminate()
        self.xvfb.wait()


def act(person, actions):
    for action in actions:
        getattr(person, action[0])(*action[1:])
    return person.ticket()


def linux_ticket(program, lang, actions):
    person = XPerson(program, lang)
    try:
        return act(person, actions)
    finally:
        person.close()
