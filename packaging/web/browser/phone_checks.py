# SPDX-License-Identifier: MIT
"""The calculator on a phone, where the page arranges the window for touch: a table of what a
finger does and what must follow, each case on a phone of its own in Chromium (phone.py), then
the sizes of what a finger taps on every phone, and a ticket of every wager type by taps alone
against the Linux program's."""
import access_checks
from pagedriver import Failure
from people import XPerson, act
from phone import PHONES, centre, inside, open_phone

# What a finger does: ('pick', box, item); ('tap', control[, item]); ('hold', control[, item]), a
# long press, on the sheet's margin beside a control where the control is 'margin'; ('drag',
# control, item, dy) from where it rests; ('fingers', together) on runner 4 of legs A and B;
# ('taps', control, items) one right after the other; ('key', name) in a menu; ('turn',
# sideways); ('type', text) as a touch keyboard types; ('copy', text) onto the clipboard;
# ('mark',) to note the page as it is, for what must follow; ('expect', what must follow) there.
# What must follow, of the page as it is then: ('chosen', {list: runners}); ('shows', control,
# text) in its element; ('same', what...) as at the mark: the runners chosen, the ticket, the
# focus, help mode, the screen where a menu would open; ('menu',) opened where the finger held;
# ('keyboard', up) whether the field size's input was focused again since the mark, where a touch
# keyboard comes up; ('input', name) has the page's focus; ('order',) the page's elements in the
# screen's order; ('copied',) the ticket on the clipboard; ('tree',) every control's role and
# name for a screen reader.
CASES = [
    ('a drag over the runners scrolls, or tries to, and toggles nothing', 'Pixel', [
        ('pick', 'Combo2', 'Exacta'), ('mark',), ('drag', 'List1', '2', -200), ('drag', 'List1', '2', 200),
        ('pick', 'Combo2', 'Pick 6'), ('mark',), ('drag', 'List1', '2', -200), ('drag', 'List1', '2', 200),
    ], [('same', 'chosen', 'ticket')]),
    ('a tap toggles one runner, two quick taps two', 'Pixel', [
        ('pick', 'Combo2', 'Pick 6'), ('tap', 'List1', '3'), ('tap', 'List2', '4'),
        ('taps', 'List3', ['5', '7']),
    ], [('chosen', {'List1': ['3'], 'List2': ['4'], 'List3': ['5', '7']})]),
    ('turning the phone keeps the ticket, the runners and the focus', 'Pixel', [
        ('pick', 'Combo2', 'Pick 4'), ('tap', 'List1', '2'), ('mark',), ('turn', True), ('turn', False),
    ], [('same', 'chosen', 'ticket', 'focus')]),
    ('turning the phone in help mode keeps help mode, and Back the ticket', 'Pixel', [
        ('pick', 'Combo2', 'Pick 4'), ('tap', 'List1', '2'), ('mark',), ('tap', 'Command9'),
        ('turn', True), ('expect', ('shows', 'Command9', 'Back')), ('tap', 'Command9'),
    ], [('same', 'chosen', 'ticket')]),
    ('the page\'s elements keep the screen\'s order as legs come and the phone turns', 'iPhone', [
        ('order',), ('pick', 'Combo2', 'Pick 4'), ('tap', 'List1', '2'), ('order',), ('turn', True),
        ('order',), ('turn', False),
    ], [('order',)]),
    ('a finger held on the margin, with a box focused, shows nothing and loses nothing', 'iPhone', [
        ('pick', 'Combo2', 'Pick 4'), ('copy', '7'), ('tap', 'Combo1'), ('mark',), ('hold', 'margin'),
    ], [('same', 'chosen', 'ticket', 'screen', 'focus')]),
    ('a finger held on a box opens its menu', 'iPhone', [
        ('tap', 'Combo1'), ('mark',), ('hold', 'Combo1'),
    ], [('menu',)]),
    ('a drag from the focused box leaves the keyboard down, a tap brings it up', 'iPhone', [
        ('tap', 'Combo1'), ('mark',), ('drag', 'Combo1', None, 150), ('expect', ('keyboard', False)),
        ('tap', 'Combo1'),
    ], [('keyboard', True)]),
    ('two fingers toggle and focus nothing, throw nothing', 'iPhone', [
        ('pick', 'Combo2', 'Pick 4'), ('tap', 'List1', '1'), ('mark',), ('fingers', True), ('fingers', False),
    ], [('same', 'chosen', 'focus')]),
    ('a runner held opens the leg\'s menu; Scratch strikes him in every leg, All passes him by',
     'iPhone', [
        ('pick', 'Combo2', 'Trifecta'), ('pick', 'Combo1', '8'), ('hold', 'List1', '3'), ('key', 'Down'),
        ('key', 'Return'), ('tap', 'List1', 'All'), ('tap', 'List2', '3, scratched'), ('tap', 'List2', 'All'),
        ('tap', 'List3', 'All'),
    ], [('chosen', {'List1': ['1', '2', '4', '5', '6', '7', '8'], 'List3': ['1', '2', '4', '5', '6', '7', '8']}),
        ('shows', 'LabelCount', '7 × 6 × 5 = 210 combinations')]),
    ('a tap on the field size gives the touch keyboard an input; what it types is the field size',
     'iPhone', [
        ('pick', 'Combo2', 'Pick 6'), ('tap', 'Combo1'), ('expect', ('input', 'Field size')),
        ('type', '8'), ('tap', 'List1', '99'),
    ], [('shows', 'Combo1', '208'), ('chosen', {'List1': ['99']}), ('tree',)]),
    ('the ticket\'s menu, opened by a finger held on it, copies it', 'iPhone', [
        ('pick', 'Combo2', 'Exacta'), ('tap', 'List1', '1'), ('tap', 'List2', '2'), ('hold', 'Text1'),
        ('key', 'Up'), ('key', 'Return'), ('hold', 'Text1'), ('key', 'c'),
    ], [('copied',)]),
    ('Keep in the dock keeps the ticket; Play shows it, and a tap brings it back', 'iPhone', [
        ('pick', 'Combo2', 'Exacta'), ('tap', 'List1', '1'), ('tap', 'List2', '2'), ('tap', 'CommandKeep'),
        ('tap', 'List2', '3'), ('tap', 'CommandPlay'), ('tap', 'ListPlay', 0),
    ], [('chosen', {'List1': ['1'], 'List2': ['2']}), ('shows', 'CommandPlay', 'Play (1)')]),
]


def snapshot(phone, region):
    layer = phone.layer()
    clip = {'x': region[0], 'y': region[1], 'width': 120, 'height': 120, 'scale': 1}
    return {'chosen': phone.chosen(layer), 'ticket': layer['controls']['Text1']['value'],
            'focus': layer['focused'], 'help': layer['controls']['Command9']['value'],
            'screen': phone.browser.page('Page.captureScreenshot', format='png', clip=clip)['data'],
            'focused': phone.browser.evaluate('window.ztcFocused')}


def margin(phone):
    """A point of the sheet's margin: beside leg A, or below the boxes before there are legs."""
    controls = phone.layer()['controls']
    below = controls['List1']['rect'][1] + 20 if 'List1' in controls else sum(controls['Combo1']['rect'][1::2]) + 8
    return phone.layer()['sheet'][0] + 4, below


def do(phone, step, state):
    kind, *args = step
    if kind == 'pick':
        phone.pick(*args)
    elif kind == 'tap':
        control, item = (args + [None])[:2]
        if isinstance(item, int):
            item = phone.layer()['controls'][control]['items'][item][0]
        phone.tap(*phone.reveal(control, item))
    elif kind == 'hold':
        control, item = (args + [None])[:2]
        state['region'] = margin(phone) if control == 'margin' else phone.reveal(control, item)
        if control == 'Combo1':
            rect = phone.layer()['controls']['Combo1']['rect']
            state['region'] = (rect[0] + 20, rect[1] + rect[3] / 2)
        state['shown'] = snapshot(phone, state['region'])['screen']
        phone.hold(*state['region'])
    elif kind == 'taps':
        for point in [phone.reveal(args[0], item) for item in args[1]]:
            phone.tap(*point)
    elif kind == 'expect':
        if difference := follows(phone, args[0], state):
            raise Failure(f'{phone}: {difference}')
    elif kind == 'drag':
        phone.drag(*phone.reveal(args[0], args[1]), args[2])
    elif kind == 'fingers':
        phone.fingers(phone.reveal('List1', '4'), phone.reveal('List2', '4'), args[0])
    elif kind == 'key':
        phone.key(args[0])
    elif kind == 'turn':
        phone.turn(args[0])
    elif kind == 'type':
        phone.browser.page('Input.insertText', text=args[0])
    elif kind == 'copy':
        phone.browser.set_clipboard(args[0])
    elif kind == 'mark':
        phone.browser.evaluate("window.ztcFocused = 0; document.addEventListener('focus', (e) => "
                               "{ if (e.target.tagName === 'INPUT') window.ztcFocused++; }, true)")
        state['mark'] = snapshot(phone, state.get('region') or margin(phone))
    elif kind == 'order':
        if difference := access_checks.in_reading_order(phone.browser):
            raise Failure(f'{phone}: {difference}')
    phone.rest()


def follows(phone, expectation, state):
    """What differs from what must follow, or None."""
    kind, *args = expectation
    if kind == 'chosen':
        chosen = phone.chosen()
        return None if all(chosen.get(c) == r for c, r in args[0].items()) else f'the runners chosen are {chosen}'
    if kind == 'shows':
        now = phone.layer()['controls'][args[0]]['value']
        return None if now == args[1] else f'{args[0]} shows "{now}", not "{args[1]}"'
    if kind == 'same':
        now = snapshot(phone, state.get('region') or margin(phone))
        changed = [what for what in args if now[what] != state['mark'][what]]
        return f'it changed the {", the ".join(changed)}' if changed else None
    if kind == 'menu':
        return None if snapshot(phone, state['region'])['screen'] != state['shown'] else 'no menu opened'
    if kind == 'keyboard':
        focused = phone.browser.evaluate('window.ztcFocused') > 0
        return None if focused == args[0] else f'the box\'s input was{"" if focused else " not"} focused again'
    if kind == 'input':
        now = phone.browser.evaluate("(e => [e.tagName, e.getAttribute('aria-label')])(document.activeElement)")
        return None if now == ['INPUT', args[0]] else f'the focus is on {now}'
    if kind == 'order':
        return access_checks.in_reading_order(phone.browser)
    if kind == 'copied':
        ok = access_checks.soon(lambda: phone.browser.clipboard().replace('\r\n', '\n') == phone.ticket())
        return None if ok else f'the clipboard holds {phone.browser.clipboard()!r}'
    if kind == 'tree':
        access_checks.check_tree(access_checks.Tree(phone.browser))
        return None
    raise ValueError(kind)


def cases(url):
    for what, name, steps, expectations in CASES:
        phone = open_phone(url, name)
        try:
            state = {}
            for step in steps:
                do(phone, step, state)
            for expectation in expectations:
                if difference := follows(phone, expectation, state):
                    phone.browser.screenshot('/tmp/ztc-phone.png')
                    raise Failure(f'{phone}: {what}: {difference} (screenshot /tmp/ztc-phone.png)')
            phone.browser.expect_clean()
            print(f'phone, {phone}: {what}')
        finally:
            phone.browser.close()


def sizes(url):
    """On each phone, upright and sideways, with every leg shown: each runner, button and box a
    finger's size, the page at zoom 1 and no wider than the screen; after a runner picked in the
    last leg, the ticket's total in sight."""
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
                        least[kind] = min(least.get(kind, 99), min(rect[2], rect[3]))
                        if least[kind] < 44:
                            raise Failure(f'{phone}: a {kind} of {control} is {rect[2]} x {rect[3]} px')
                phone.tap(*phone.reveal('List6', '2' if sideways else '1'))
                total = phone.layer()['controls']['Text1']['rect']
                if not inside([0, 0, *phone.size], total[0] + 1, total[1] + total[3] - 1):
                    raise Failure(f'{phone}: the ticket at {total} is out of sight')
                print(f'phone, {phone}: smallest runner {least["runner"]:.0f} px, button '
                      f'{least["button"]:.0f}, box {least["box"]:.0f}; with leg F in sight the '
                      f'ticket lies at {total[1]:.0f}-{total[1] + total[3]:.0f} of {phone.size[1]}')
            phone.browser.expect_clean()
        finally:
            phone.browser.close()


# A ticket of every wager type by taps alone, each in one of two languages on one of two phones,
# against the Linux program's for the same choices: every leg's own two runners, each
# overlapping the next; "All" in a Double's second leg; a Trifecta's leg A cleared and chosen again.
TICKETS = [('en-US', 'iPhone', False, ['Double', 'Pick 3', 'Pick 4', 'Pick 5', 'Pick 6']),
           ('de-DE', 'small phone', True, ['Exacta', 'Trifecta', 'Superfecta', 'Super High 5'])]
WAGERS = ['Double', 'Pick 3', 'Pick 4', 'Pick 5', 'Pick 6', 'Exacta', 'Trifecta', 'Superfecta', 'Super High 5']
LEGS = {'Double': 2, 'Exacta': 2, 'Trifecta': 3, 'Superfecta': 4, 'Super High 5': 5}
FIELD, AMOUNT = '12', '$1.00'


def choices(wager):
    legs = LEGS.get(wager) or int(wager[-1])
    return [['All'] if wager == 'Double' and leg == 2 else [str(leg), str(leg + 1)] for leg in range(1, legs + 1)]


def desktop_pick(x, y, index):
    """Item index of the box at x, y of the Linux program's window, by the keyboard."""
    return [('click', x, y), ('key', 'F4'), ('key', 'Home'), *([('key', 'Down', index)] if index else []),
            ('key', 'Return')]


def tickets(url, program):
    for lang, name, sideways, wagers in TICKETS:
        desktop = XPerson(program, lang)
        try:
            for action in desktop_pick(60, 114, int(FIELD) - 1) + desktop_pick(150, 114, 4):
                getattr(desktop, action[0])(*action[1:])
            expected = {}
            for wager in wagers:
                actions = desktop_pick(100, 66, 1 + WAGERS.index(wager))
                for leg, runners in enumerate(choices(wager)):
                    actions += [('click', 35 + 48 * leg, 166 + 13 * (int(FIELD) if r == 'All' else int(r) - 1))
                                for r in runners]
                if wager == 'Trifecta':
                    actions += [('click', 40, 448), ('click', 35, 166 + 13 * 4)]   # Clear leg A, runner 5
                expected[wager] = act(desktop, actions).rstrip('\n')
        finally:
            desktop.close()
        phone = open_phone(url, name, sideways, lang)
        try:
            phone.pick('Combo1', FIELD)
            phone.pick('Combo3', AMOUNT)
            for wager in wagers:
                phone.pick('Combo2', wager)
                for leg, runners in enumerate(choices(wager), 1):
                    for runner in runners:
                        phone.tap(*phone.reveal(f'List{leg}', runner))
                if wager == 'Trifecta':
                    phone.tap(*phone.reveal('Command1'))
                    phone.tap(*phone.reveal('List1', '5'))
                phone.frames()
                if phone.ticket() != expected[wager]:
                    raise Failure(f'{phone}: the {wager} ticket by taps ({lang}) differs from the Linux '
                                  f'one:\n--- taps\n{phone.ticket()}\n--- Linux\n{expected[wager]}')
            phone.browser.expect_clean()
            print(f'phone, {phone}, {lang}: tickets of {", ".join(wagers)} by taps alone match the Linux ones')
        finally:
            phone.browser.close()


def check(url, program):
    cases(url)
    sizes(url)
    tickets(url, program)
