# SPDX-License-Identifier: MIT
"""A phone in Chromium, which emulates its screen, pixel ratio and touch: a finger that taps,
drags and holds where the page's elements say the window's controls are, and what the page
shows of them."""
import time

from devtools import Browser
from pagedriver import Failure

# CSS pixels upright, and the pixel ratio.
PHONES = {'iPhone': (390, 844, 3), 'Pixel': (412, 915, 2.625), 'small phone': (360, 640, 2)}

# The page's element of each shown control: its place on the screen, whether it lies in the
# sheet that scrolls, and a list's items with their places; where the sheet shows.
LAYER = """(() => {
    const rect = (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; };
    const sheet = document.querySelector('#access .sheet');
    const items = (list) => [...list.children].map((o) => [o.textContent, o.getAttribute('aria-selected') === 'true', rect(o)]);
    return {
        sheet: rect(sheet),
        focused: document.activeElement.closest('[data-control]')?.dataset.control || null,
        controls: Object.fromEntries([...document.querySelectorAll('#access [data-control]')]
            .filter((e) => !e.hidden).map((e) => [e.dataset.control, {
                tag: e.tagName, rect: rect(e), sheet: sheet.contains(e),
                name: e.getAttribute('aria-label') || e.querySelector('input')?.getAttribute('aria-label') || e.textContent,
                value: e.querySelector('input')?.value ?? e.textContent,
                expanded: e.querySelector('input')?.getAttribute('aria-expanded') === 'true',
                items: e.getAttribute('role') === 'listbox' ? items(e)
                     : e.querySelector('input') ? items(document.getElementById(`${e.dataset.control}-options`)) : [],
            }])),
    };
})()"""


def centre(rect):
    return rect[0] + rect[2] / 2, rect[1] + rect[3] / 2


def inside(rect, x, y):
    return rect[0] <= x < rect[0] + rect[2] and rect[1] <= y < rect[1] + rect[3]


class Phone:
    """A phone's touch screen in the browser: taps, drags and long presses at where the page's
    elements say the controls are."""

    def __init__(self, browser, name, sideways=False):
        self.browser = browser
        self.name = name
        browser.page('Emulation.setTouchEmulationEnabled', enabled=True, maxTouchPoints=5)
        self.turn(sideways, settle=False)

    def turn(self, sideways, settle=True):
        width, height, ratio = PHONES[self.name]
        if sideways:
            width, height = height, width
        self.size = width, height
        self.sideways = sideways
        orientation = {'type': 'landscapePrimary', 'angle': 90} if sideways else {'type': 'portraitPrimary', 'angle': 0}
        self.browser.page('Emulation.setDeviceMetricsOverride', width=width, height=height,
                          deviceScaleFactor=ratio, mobile=True, screenWidth=width, screenHeight=height,
                          screenOrientation=orientation)
        if settle:
            self.rest()

    def __str__(self):
        return f'{self.name} {"sideways" if self.sideways else "upright"} ({self.size[0]} x {self.size[1]})'

    def layer(self):
        return self.browser.evaluate(LAYER)

    def frames(self):
        self.browser.settle()

    def rest(self):
        """Waits until the controls' places stay put: a scroll and its spring back are over."""
        last = None
        for _ in range(60):
            self.frames()
            time.sleep(0.1)
            now = self.layer()
            if now == last:
                return now
            last = now
        raise Failure(f'{self}: the window did not come to rest')

    def touch(self, kind, points=()):
        self.browser.page('Input.dispatchTouchEvent', type=kind, touchPoints=list(points))

    def tap(self, x, y):
        self.touch('touchStart', [{'x': x, 'y': y}])
        self.touch('touchEnd')
        self.frames()

    def drag(self, x, y, dy):
        """A finger's drag by dy, still for a moment before it lifts: a scroll, not a fling."""
        self.touch('touchStart', [{'x': x, 'y': y}])
        for step in range(1, 11):
            self.touch('touchMove', [{'x': x, 'y': y + dy * step / 10}])
            time.sleep(0.016)
        # The moves handled first: a page busy elsewhere would take them, and the lift, as one
        # quick flick.
        self.frames()
        time.sleep(0.15)
        self.touch('touchEnd')
        return self.rest()

    def hold(self, x, y):
        """A long press: the finger still for longer than a phone's half second."""
        self.touch('touchStart', [{'x': x, 'y': y}])
        time.sleep(1)
        self.touch('touchEnd')
        self.frames()

    def fingers(self, a, b, together):
        """Two fingers on two points, landing together or one after the other, drawn apart and
        lifted one after the other."""
        one, two = {'x': a[0], 'y': a[1], 'id': 1}, {'x': b[0], 'y': b[1], 'id': 2}
        self.touch('touchStart', [one, two] if together else [one])
        if not together:
            self.touch('touchStart', [one, two])
        apart = [{**one, 'y': one['y'] + 30}, {**two, 'y': two['y'] - 30}]
        self.touch('touchMove', apart)
        self.touch('touchEnd', apart[1:])
        self.touch('touchEnd')

    def key(self, name):
        """A key of the keyboard the page's element has (a menu's)."""
        vk = {'Up': ('ArrowUp', 38), 'Down': ('ArrowDown', 40), 'Return': ('Enter', 13),
              'Escape': ('Escape', 27), 'c': ('c', 67)}[name]
        text = {'Return': '\r', 'c': 'c'}.get(name, '')
        self.browser.page('Input.dispatchKeyEvent', type='keyDown' if text else 'rawKeyDown', key=vk[0],
                          code=vk[0], windowsVirtualKeyCode=vk[1], text=text)
        self.browser.page('Input.dispatchKeyEvent', type='keyUp', key=vk[0], code=vk[0], windowsVirtualKeyCode=vk[1])
        time.sleep(0.1)

    def in_sight(self, layer, rect, on_sheet):
        x, y = centre(rect)
        return inside([0, 0, *self.size], x, y) and (not on_sheet or inside(layer['sheet'], x, y))

    def find(self, control, item=None):
        """What finds a control, or an item of its list, in the page's layer: its place and
        whether it lies on the sheet that scrolls."""
        def found(layer):
            c = layer['controls'][control]
            if item is None:
                return c['rect'], c['sheet']
            match = [rect for name, _, rect in c['items'] if name == item]
            if not match:
                raise Failure(f'{self}: {control} has no item "{item}"')
            return match[0], c['sheet']
        return found

    def reveal(self, control, item=None):
        """Scrolls the sheet with a finger on its margin until the control or item shows;
        returns its centre."""
        find = self.find(control, item)
        for _ in range(30):
            layer = self.layer()
            rect, on_sheet = find(layer)
            if self.in_sight(layer, rect, on_sheet):
                return centre(rect)
            left, top, _, height = layer['sheet']
            middle = top + height / 2
            self.drag(left + 4, middle, max(-height / 2 + 8, min(height / 2 - 8, middle - centre(rect)[1])))
        raise Failure(f'{self}: could not scroll to {control} {item or ""}')

    def pick(self, box, text):
        """Opens the box's list with a tap on its arrow, scrolls the list with a finger until the
        item shows, and taps it."""
        x, y = self.reveal(box)
        rect = self.layer()['controls'][box]['rect']
        self.tap(rect[0] + rect[2] - 16, y)
        # The list ignores a tap that follows the one that opened it too closely.
        time.sleep(0.5)
        for _ in range(20):
            c = self.layer()['controls'][box]
            if not c['expanded']:
                raise Failure(f'{self}: a tap on the arrow of {box} opened no list')
            item = next(rect for name, _, rect in c['items'] if name == text)
            shown = self.browser.evaluate(f"(r => [r.left, r.top, r.width, r.height])"
                                          f"(document.getElementById('{box}-options').getBoundingClientRect())")
            if inside(shown, *centre(item)):
                self.tap(*centre(item))
                break
            middle = shown[1] + shown[3] / 2
            self.drag(shown[0] + shown[2] / 2, middle,
                      max(-shown[3] / 3, min(shown[3] / 3, middle - centre(item)[1])))
        else:
            raise Failure(f'{self}: the list of {box} never showed "{text}"')
        self.wait(lambda layer: layer['controls'][box]['value'] == text, f'picking "{text}" in {box}')

    def wait(self, check, what):
        for _ in range(100):
            layer = self.layer()
            if check(layer):
                return layer
            time.sleep(0.05)
        raise Failure(f'{self}: after {what}, the page shows {layer["controls"].get("Text1", {}).get("value")}')

    def ticket(self):
        return self.layer()['controls']['Text1']['value'].replace('\r\n', '\n')

    def chosen(self, layer=None):
        controls = (layer or self.layer())['controls']
        return {c: [name for name, on, _ in controls[c]['items'] if on] for c in controls if c.startswith('List')}


def open_phone(url, name, sideways=False, lang='en-US'):
    browser = Browser(lang)
    try:
        phone = Phone(browser, name, sideways)
        browser.open(url)
        if browser.evaluate('document.documentElement.dataset.arrangement') != 'touch':
            raise Failure(f'{phone}: the page did not arrange the window for touch')
        phone.rest()
        return phone
    except BaseException:
        browser.close()
        raise
