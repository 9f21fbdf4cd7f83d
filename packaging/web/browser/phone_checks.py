# SPDX-License-Identifier: MIT
"""The calculator on a phone, where the page arranges the window for touch: how large what a
finger taps is and where the total sits, taps that toggle and drags that do not, a phone turned
mid-ticket, a ticket of every wager type made by taps alone against the Linux program's, and the
ticket's long-press menu. Chromium emulates each phone: its screen, pixel ratio and touch."""
import time

import access_checks
from devtools import Browser, Failure
from people import XPerson, act

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
        self.browser.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))', wait=True)
        time.sleep(0.05)

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

    def touch(self, kind, x=None, y=None):
        points = [] if kind == 'touchEnd' else [{'x': x, 'y': y}]
        self.browser.page('Input.dispatchTouchEvent', type=kind, touchPoints=points)

    def tap(self, x, y):
        self.touch('touchStart', x, y)
        self.touch('touchEnd')
        self.frames()

    def drag(self, x, y, dy):
        """A finger's drag by dy, still for a moment before it lifts: a scroll, not a fling."""
        self.touch('touchStart', x, y)
        for step in range(1, 11):
            self.touch('touchMove', x, y + dy * step / 10)
            time.sleep(0.016)
        time.sleep(0.15)
        self.touch('touchEnd')
        return self.rest()

    def long_press(self, x, y):
        self.touch('touchStart', x, y)
        time.sleep(1)
        self.touch('touchEnd')
        self.frames()

    def in_sight(self, layer, rect, on_sheet):
        x, y = centre(rect)
        return inside([0, 0, *self.size], x, y) and (not on_sheet or inside(layer['sheet'], x, y))

    def reveal(self, find):
        """Scrolls the sheet with a finger on its margin until what find(layer) gives (a rect and
        whether it is on the sheet) is in sight; returns that rect."""
        for _ in range(30):
            layer = self.layer()
            rect, on_sheet = find(layer)
            if self.in_sight(layer, rect, on_sheet):
                return rect
            left, top, _, height = layer['sheet']
            middle = top + height / 2
            dy = max(-height / 2 + 8, min(height / 2 - 8, middle - centre(rect)[1]))
            self.drag(left + 4, middle, dy)
        raise Failure(f'{self}: could not scroll to {rect}')

    def item(self, control, text):
        def find(layer):
            c = layer['controls'][control]
            match = [rect for name, _, rect in c['items'] if name == text]
            if not match:
                raise Failure(f'{self}: {control} has no item "{text}"')
            return match[0], c['sheet']
        return find

    def tap_item(self, control, text):
        self.tap(*centre(self.reveal(self.item(control, text))))

    def tap_control(self, control):
        self.tap(*centre(self.reveal(lambda layer: (layer['controls'][control]['rect'],
                                                    layer['controls'][control]['sheet']))))

    def pick(self, box, text):
        """Opens the box's list with a tap on its arrow, scrolls the list with a finger until the
        item shows, and taps it."""
        x, y, width, height = self.reveal(lambda layer: (layer['controls'][box]['rect'], True))
        self.tap(x + width - 16, y + height / 2)
        # The list ignores a tap that follows the one that opened it too closely.
        time.sleep(0.5)
        for _ in range(20):
            layer = self.layer()
            c = layer['controls'][box]
            if not c['expanded']:
                raise Failure(f'{self}: a tap on the arrow of {box} opened no list')
            popup = next(rect for name, _, rect in c['items'] if name == text)
            shown = self.browser.evaluate(f"(r => [r.left, r.top, r.width, r.height])"
                                          f"(document.getElementById('{box}-options').getBoundingClientRect())")
            if inside(shown, *centre(popup)):
                self.tap(*centre(popup))
                break
            middle = shown[1] + shown[3] / 2
            self.drag(shown[0] + shown[2] / 2, middle,
                      max(-shown[3] / 3, min(shown[3] / 3, middle - centre(popup)[1])))
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


def sizes(url):
    """On each phone, upright and sideways, with every leg shown: each runner, button and box a
    finger's size on the screen, the page at zoom 1 and no wider than the screen; after a runner
    picked in the last leg, the ticket's total in sight."""
    for name in PHONES:
        phone = open_phone(url, name)
        try:
            phone.pick('Combo2', 'Pick 6')
            for sideways in (False, True):
                phone.turn(sideways)
                zoom, wide, width = phone.browser.evaluate(
                    '[visualViewport.scale, document.documentElement.scrollWidth, innerWidth]')
                if zoom != 1 or wide > width:
                    raise Failure(f'{phone}: the page is at zoom {zoom}, {wide} px wide in {width}')
                least = {}
                for control, c in phone.layer()['controls'].items():
                    kind = {'List': 'runner', 'Comb': 'box', 'Comm': 'button'}.get(control[:4])
                    rects = [rect for _, _, rect in c['items']] if kind == 'runner' else [c['rect']]
                    for rect in rects if kind else []:
                        side = min(rect[2], rect[3]) * zoom
                        least[kind] = min(least.get(kind, side), side)
                        if side < 44:
                            raise Failure(f'{phone}: a {kind} of {control} is {rect[2]} x {rect[3]} px')
                phone.tap_item('List6', '2' if sideways else '1')
                total = phone.layer()['controls']['Text1']['rect']
                if not inside([0, 0, *phone.size], total[0] + 1, total[1] + total[3] - 1):
                    raise Failure(f'{phone}: the ticket at {total} is out of sight')
                print(f'phone, {phone}: smallest runner {least["runner"]:.0f} px, button '
                      f'{least["button"]:.0f}, box {least["box"]:.0f}; zoom {zoom}; with leg F in '
                      f'sight the ticket lies at {total[1]:.0f}-{total[1] + total[3]:.0f} of {phone.size[1]}')
            phone.browser.expect_clean()
        finally:
            phone.browser.close()


def taps_and_turns(url):
    """A drag over the runners scrolls, or tries to, and toggles nothing; a tap toggles one runner
    once, two quick taps two; turning the phone keeps the ticket, the runners, the focus and help
    mode."""
    phone = open_phone(url, 'Pixel')
    try:
        for wager in ('Exacta', 'Pick 6'):   # a sheet that cannot scroll, then one that can
            phone.pick('Combo2', wager)
            before = phone.layer()
            rect = phone.reveal(phone.item('List1', '2'))
            for dy in (-200, 200):
                after = phone.drag(*centre(rect), dy)
                if phone.chosen(after) != phone.chosen(before) or after['controls']['Text1'] != before['controls']['Text1']:
                    raise Failure(f'{phone}: a drag of {dy} px from runner 2 of a {wager} changed '
                                  f'{phone.chosen(before)} to {phone.chosen(after)}')
        phone.tap_item('List1', '3')
        phone.tap_item('List2', '4')
        quick = [centre(phone.reveal(phone.item('List3', runner))) for runner in ('5', '7')]
        for point in quick:
            phone.tap(*point)
        chosen = phone.chosen()
        if chosen['List1'] != ['3'] or chosen['List2'] != ['4'] or chosen['List3'] != ['5', '7']:
            raise Failure(f'{phone}: taps left {chosen}, not 3 / 4 / 5 and 7')
        print(f'phone, {phone}: drags toggled nothing, scrolling or not; taps toggled one runner '
              'each, two quick ones two')

        def state():
            layer = phone.layer()
            return (layer['controls']['Text1']['value'], phone.chosen(layer), layer['focused'],
                    layer['controls']['Command9']['value'])
        before = state()
        for sideways in (True, False):
            phone.turn(sideways)
            if state() != before:
                raise Failure(f'{phone}: turning changed\n{before}\nto\n{state()}')
        phone.tap_control('Command9')                  # Help
        helping = state()
        phone.turn(True)
        if state() != helping or helping[3] != 'Back':
            raise Failure(f'{phone}: turning in help mode changed\n{helping}\nto\n{state()}')
        phone.tap_control('Command9')                  # Back
        if state()[:2] != before[:2]:
            raise Failure(f'{phone}: Back after turning gave\n{state()}\nnot\n{before}')
        print(f'phone, {phone.name}: turned both ways mid-ticket and in help mode, it kept the '
              'ticket, the runners, the focus and help mode')
        phone.browser.expect_clean()
    finally:
        phone.browser.close()


# The wager types in the box's order, and the runners chosen in each leg for each: every leg's
# own two, each overlapping the next (the same race's exotics leave out a horse used twice);
# "All" in one leg, and one leg cleared and chosen again.
WAGERS = ['Double', 'Pick 3', 'Pick 4', 'Pick 5', 'Pick 6', 'Exacta', 'Trifecta', 'Superfecta',
          'Super High 5']
FIELD, AMOUNT = '12', '$1.00'


def choices(wager):
    legs = int(wager[-1]) if wager[-1].isdigit() else \
        {'Double': 2, 'Exacta': 2, 'Trifecta': 3, 'Superfecta': 4}[wager]
    runners = [[str(leg), str(leg + 1)] for leg in range(1, legs + 1)]
    if wager == 'Double':
        runners[1] = ['All']
    return runners


def desktop_pick(x, y, index):
    """Item index of the box at x, y of the Linux program's window, by the keyboard."""
    return [('click', x, y), ('key', 'F4'), ('key', 'Home'), *([('key', 'Down', index)] if index else []),
            ('key', 'Return')]


def desktop_actions(wager, runners):
    """The same choices with the mouse and the keyboard at the Linux program's window."""
    actions = desktop_pick(100, 66, 1 + WAGERS.index(wager))
    for leg, chosen in enumerate(runners):
        for runner in chosen:
            row = int(FIELD) if runner == 'All' else int(runner) - 1
            actions.append(('click', 35 + 48 * leg, 166 + 13 * row))
    if wager == 'Trifecta':
        actions += [('click', 40, 448), ('click', 35, 166 + 13 * 4)]   # Clear leg A, runner 5
    return actions


def touch_ticket(phone, wager, runners):
    phone.pick('Combo2', wager)
    for leg, chosen in enumerate(runners, 1):
        for runner in chosen:
            phone.tap_item(f'List{leg}', runner)
    if wager == 'Trifecta':
        phone.tap_control('Command1')
        phone.tap_item('List1', '5')
    phone.frames()
    return phone.ticket()


def tickets(url, program):
    """A ticket of every wager type by taps alone, on an iPhone upright in English and a small
    phone sideways in German, against the Linux program's for the same choices."""
    for lang, name, sideways in (('en-US', 'iPhone', False), ('de-DE', 'small phone', True)):
        # The field size and the amount first, once: a wager type picked keeps them.
        desktop = XPerson(program, lang)
        try:
            for action in desktop_pick(60, 114, int(FIELD) - 1) + desktop_pick(150, 114, 4):
                getattr(desktop, action[0])(*action[1:])
            expected = {wager: act(desktop, desktop_actions(wager, choices(wager))) for wager in WAGERS}
        finally:
            desktop.close()
        phone = open_phone(url, name, sideways, lang)
        try:
            phone.pick('Combo1', FIELD)
            phone.pick('Combo3', AMOUNT)
            for wager in WAGERS:
                ticket = touch_ticket(phone, wager, choices(wager))
                if ticket != expected[wager].rstrip('\n'):
                    phone.browser.screenshot('/tmp/ztc-phone.png')
                    raise Failure(f'{phone}: the {wager} ticket by taps ({lang}) differs from the '
                                  f'Linux one:\n--- taps\n{ticket}\n--- Linux\n{expected[wager]}\n'
                                  '(screenshot /tmp/ztc-phone.png)')
            phone.browser.expect_clean()
            print(f'phone, {phone}, {lang}: a ticket of each of the {len(WAGERS)} wager types by '
                  'taps alone matches the Linux one')
        finally:
            phone.browser.close()


def everyone(url):
    """On a phone the page's elements keep the controls' roles and names; a tap on the field size
    leaves the focus in a text input, where the touch keyboard types; a finger held on the
    ticket opens its menu, whose Select All and Copy copy it."""
    phone = open_phone(url, 'iPhone')
    try:
        phone.pick('Combo2', 'Pick 6')
        tree = access_checks.Tree(phone.browser)
        access_checks.check_tree(tree)
        phone.tap_control('Combo1')
        focused = phone.browser.evaluate("(e => [e.tagName, e.getAttribute('aria-label')])(document.activeElement)")
        if focused != ['INPUT', 'Field size']:
            raise Failure(f'{phone}: a tap on the field size left the focus on {focused}')
        phone.browser.page('Input.insertText', text='8')   # after its 20: a field of 208, shown as 99
        phone.wait(lambda layer: len(layer['controls']['List1']['items']) == 100, 'typing 8 after 20')
        phone.tap_item('List1', '1')
        ticket = phone.ticket()
        where = centre(phone.layer()['controls']['Text1']['rect'])
        phone.long_press(*where)
        menu_key(phone.browser, 'Up')       # the last item, Select All
        menu_key(phone.browser, 'Return')
        phone.long_press(*where)
        phone.browser.page('Input.dispatchKeyEvent', type='keyDown', key='c', code='KeyC', text='c')
        phone.browser.page('Input.dispatchKeyEvent', type='keyUp', key='c', code='KeyC')
        if not access_checks.soon(lambda: phone.browser.clipboard().replace('\r\n', '\n') == ticket):
            raise Failure(f'{phone}: Copy from the long-press menu put on the clipboard:\n'
                          f'{phone.browser.clipboard()}')
        phone.browser.expect_clean()
        print(f'phone, {phone}: every control\'s element has its role and name; a tap on the field '
              'size took the touch keyboard\'s typing; the menu of a finger held on the ticket copied it')
    finally:
        phone.browser.close()


def menu_key(browser, key):
    vk = {'Up': ('ArrowUp', 38), 'Down': ('ArrowDown', 40), 'Return': ('Enter', 13),
          'Escape': ('Escape', 27)}[key]
    text = '\r' if key == 'Return' else ''
    browser.page('Input.dispatchKeyEvent', type='keyDown' if text else 'rawKeyDown', key=vk[0],
                 code=vk[0], windowsVirtualKeyCode=vk[1], text=text)
    browser.page('Input.dispatchKeyEvent', type='keyUp', key=vk[0], code=vk[0], windowsVirtualKeyCode=vk[1])
    time.sleep(0.1)


# Each 'focus' event of a text input on the page: where a touch keyboard comes up.
COUNT_FOCUS = """window.ztcFocused = 0;
document.addEventListener('focus', (e) => { if (e.target.tagName === 'INPUT') window.ztcFocused++; }, true)"""


def fingers(url):
    """Nothing but a tap acts: a finger held on the sheet's margin with a box focused opens no
    menu and loses nothing, with text on the clipboard for a menu's Paste; held on the box it
    opens the box's menu; two fingers do nothing; a drag that starts on the focused box does not
    focus it again, so the touch keyboard stays down. The page's elements stay in the screen's
    order as legs come and go and the phone turns."""
    phone = open_phone(url, 'iPhone')
    browser = phone.browser
    try:
        if difference := access_checks.in_reading_order(browser):
            raise Failure(f'{phone}, before a wager type: {difference}')
        phone.pick('Combo2', 'Pick 4')
        for leg, runner in ((1, '2'), (2, '3'), (3, '1')):
            phone.tap_item(f'List{leg}', runner)
        for sideways in (True, False):
            phone.turn(sideways)
            if difference := access_checks.in_reading_order(browser):
                raise Failure(f'{phone}, with the legs of a Pick 4: {difference}')

        browser.set_clipboard('7')
        browser.evaluate(COUNT_FOCUS)
        phone.tap_control('Combo1')
        before = phone.layer()
        box = before['controls']['Combo1']['rect']
        margin = (before['sheet'][0] + 4, before['controls']['List1']['rect'][1] + 20)

        def region(x, y):
            """What the screen shows where a menu held at x, y would open."""
            clip = {'x': x, 'y': y, 'width': 120, 'height': 120, 'scale': 1}
            return browser.page('Page.captureScreenshot', format='png', clip=clip)['data']
        shown = region(*margin)
        phone.long_press(*margin)
        after = phone.rest()
        if region(*margin) != shown:
            raise Failure(f'{phone}: a finger held on the margin beside leg A showed something there')
        if phone.chosen(after) != phone.chosen(before) or after['controls']['Text1'] != before['controls']['Text1']:
            raise Failure(f'{phone}: a finger held on the margin changed the ticket to '
                          f'{after["controls"]["Text1"]["value"]}')
        held = (box[0] + 20, box[1] + box[3] / 2)
        shown = region(*held)
        phone.long_press(*held)
        if region(*held) == shown:
            raise Failure(f'{phone}: a finger held on the field size opened no menu')
        menu_key(browser, 'Escape')
        print(f'phone, {phone}: a finger held on the margin with a box focused showed nothing and '
              'lost nothing; held on the box, it opened the box\'s menu')

        focused = browser.evaluate('window.ztcFocused')
        centre_x, centre_y = centre(phone.layer()['controls']['Combo1']['rect'])
        phone.drag(centre_x, centre_y, 150)
        if browser.evaluate('window.ztcFocused') != focused:
            raise Failure(f'{phone}: a drag from the field size focused it again (the touch keyboard)')
        phone.tap_control('Combo1')
        if browser.evaluate('window.ztcFocused') == focused:
            raise Failure(f'{phone}: a tap on the field size did not focus it for the touch keyboard')

        before = phone.rest()
        runner = centre(phone.reveal(phone.item('List1', '4')))
        other = centre(phone.reveal(phone.item('List2', '4')))
        for together in (True, False):
            fingers = [{'x': runner[0], 'y': runner[1], 'id': 1}, {'x': other[0], 'y': other[1], 'id': 2}]
            phone.browser.page('Input.dispatchTouchEvent', type='touchStart',
                               touchPoints=fingers if together else fingers[:1])
            if not together:
                phone.browser.page('Input.dispatchTouchEvent', type='touchStart', touchPoints=fingers)
            apart = [{**f, 'y': f['y'] + (30 if f['id'] == 1 else -30)} for f in fingers]
            phone.browser.page('Input.dispatchTouchEvent', type='touchMove', touchPoints=apart)
            phone.browser.page('Input.dispatchTouchEvent', type='touchEnd', touchPoints=apart[1:])
            phone.browser.page('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])
        after = phone.rest()
        if phone.chosen(after) != phone.chosen(before) or after['focused'] != before['focused']:
            raise Failure(f'{phone}: two fingers changed {phone.chosen(before)} to {phone.chosen(after)}')
        browser.expect_clean()
        print(f'phone, {phone}: a drag from the focused box left the keyboard down, a tap there '
              'brought it up; two fingers did nothing; the page\'s elements kept the screen\'s order')
    finally:
        browser.close()


def races(url):
    """A finger held on a runner's tile opens the leg's menu; a scratch there strikes the runner
    out of the Trifecta's one race, in every leg, and "All" passes it by; the count of
    combinations shows in the dock with the ticket."""
    phone = open_phone(url, 'iPhone')
    try:
        phone.pick('Combo2', 'Trifecta')
        phone.pick('Combo1', '8')
        phone.long_press(*centre(phone.reveal(phone.item('List1', '3'))))
        menu_key(phone.browser, 'Down')     # "Scratch 3", the menu's first item
        menu_key(phone.browser, 'Return')
        layer = phone.wait(lambda layer: '3, scratched' in [n for n, _, _ in layer['controls']['List3']['items']],
                           'scratching runner 3 of leg A')
        for leg in (1, 2, 3):
            phone.tap_item(f'List{leg}', 'All')
        layer = phone.wait(lambda layer: layer['controls']['LabelCount']['value'].endswith('= 210 combinations'),
                           '"All" in every leg')
        chosen = phone.chosen(layer)
        expected = ['1', '2', '4', '5', '6', '7', '8']
        if chosen['List1'] != expected or chosen['List3'] != expected:
            raise Failure(f'{phone}: "All" with runner 3 scratched chose {chosen}')
        count = layer['controls']['LabelCount']
        if count['value'] != '7 × 6 × 5 = 210 combinations' or count['sheet'] or \
                not inside([0, 0, *phone.size], *centre(count['rect'])):
            raise Failure(f'{phone}: the count is {count}, not in sight in the dock')
        phone.browser.expect_clean()
        print(f'phone, {phone}: a finger held on a runner opened its menu, which scratched it in every '
              f'leg of the race; "All" passed it by, and the dock shows "{count["value"]}"')
    finally:
        phone.browser.close()


def check(url, program):
    sizes(url)
    taps_and_turns(url)
    fingers(url)
    races(url)
    tickets(url, program)
    everyone(url)
