# SPDX-License-Identifier: MIT
"""The calculator in the browser for everyone: what a screen reader finds and does through the
page's accessibility tree, the touch keyboard on phones and tablets, the ticket's context menu
and the clipboard."""
import time

from axtree import Tree, check_tree, focused, in_reading_order, listed_controls
from browsers import launch
from devtools import Browser
from pagedriver import Failure
from people import Person, linux_ticket

# A ticket made by a screen reader's user, and the same made with mouse and keys at the Linux
# program: the wager type and the field size chosen from their boxes, an amount typed, runners in
# two legs, "All", a Clear.
LINUX_ACTIONS = [
    ('click', 185, 66), ('click', 60, 161),                       # Exacta from the wager box
    ('click', 60, 114), ('key', 'F4'), ('key', 'Up', 8), ('key', 'Return'),  # field size 12
    ('click', 150, 114), ('key', 'ctrl+a'), ('type', '3'),        # amount 3, typed
    ('click', 35, 166), ('click', 35, 192),                       # runners 1 and 3 in leg A
    ('click', 83, 179), ('click', 83, 322),                       # runner 2 and "All" in leg B
    ('click', 40, 448), ('click', 35, 179),                       # Clear leg A, runner 2 there
]
RUNNERS = [str(n) for n in range(1, 13)]


def screen_reader_ticket(tree):
    """The same ticket through the accessibility tree alone; returns the ticket it reads."""
    person = Person(tree.browser)
    tree.choose('combobox', 'Wager type', 'Exacta')
    tree.wait('choosing Exacta', tree.expect_value('combobox', 'Wager type', 'Exacta'))
    tree.choose('combobox', 'Field size', '12')
    tree.wait('choosing field size 12', tree.expect_value('combobox', 'Field size', '12'))
    tree.call(tree.find('combobox', 'Base amount'), 'focus')
    person.key('ctrl+a')
    person.type('3')
    tree.wait('typing an amount', tree.expect_value('combobox', 'Base amount', '3'))
    person.key('Tab')                   # the window's focus, and with it the page's, moves on
    if focused(tree) != [('button', 'Clear leg A')]:
        raise Failure(f'after Tab from the amount the page\'s focus is on {focused(tree)}')
    for leg, runner, selected in (('A', '1', ['1']), ('A', '3', ['1', '3']), ('B', '2', ['2']),
                                  ('B', 'All', RUNNERS), ('A', None, []), ('A', '2', ['2'])):
        name = f'Leg {leg} runners'
        if runner:
            tree.choose('listbox', name, runner)
        else:
            tree.call(tree.find('button', f'Clear leg {leg}'), 'click')
        tree.wait(f'{runner or "Clear"} in leg {leg}', tree.expect_selected(name, selected))
    return tree.value(tree.find('textbox', 'Ticket description')) or ''


def screen_reader(url, program):
    for lang in ('en-US', 'de-DE'):
        expected = linux_ticket(program, lang, LINUX_ACTIONS)
        browser = Browser(lang)
        try:
            browser.open(url)
            tree = Tree(browser)
            tree.choose('combobox', 'Wager type', 'Pick 6')  # every leg shown
            tree.wait('choosing Pick 6', tree.expect_value('combobox', 'Wager type', 'Pick 6'))
            check_tree(tree)
            if difference := in_reading_order(browser):
                raise Failure(f'with every leg shown, {difference}')
            ticket = screen_reader_ticket(tree).replace('\r\n', '\n')
            if ticket != expected.rstrip('\n'):
                raise Failure(f'the ticket read from the tree ({lang}) differs from the Linux one:\n'
                              f'--- tree\n{ticket}\n--- Linux\n{expected}')
            browser.expect_clean()
            print(f'{lang}: the screen reader\'s ticket matches the Linux one: ' + ticket.replace('\n', ' | '))
        finally:
            browser.close()


# What a screen reader reads from a control's element: its role, name, value and states.
READ_ELEMENT = """(id => {
    const wrapper = document.querySelector(`[data-control=${id}]`);
    if (!wrapper) return null;
    const e = wrapper.querySelector('input') || wrapper;
    const options = document.getElementById(`${id}-options`) || e;
    return {role: e.getAttribute('role') || (e.tagName === 'BUTTON' ? 'button' : 'text'),
            name: e.getAttribute('aria-label') || e.textContent.trim(), value: e.value || '',
            multiselectable: options.getAttribute('aria-multiselectable'),
            last: options.lastElementChild ? options.lastElementChild.textContent : null,
            readonly: e.getAttribute('aria-readonly'), live: e.getAttribute('aria-live'),
            hidden: !!e.closest('[aria-hidden=true]')};
})"""


def page_elements(url):
    """Where a test cannot read the accessibility tree: every listed control's element with its
    role, name and states, the boxes with their values, nothing of the canvas for a screen reader,
    and the page's focus on the element of the control that has the window's."""
    browser = launch()
    try:
        browser.open(url)
        person = Person(browser)
        person.click(185, 66)               # the wager box's list, and "Pick 6" in it: every leg
        options = browser.evaluate("[...document.getElementById('Combo2-options').children].map(o => o.textContent)")
        browser.evaluate(f"document.getElementById('Combo2-options').children[{options.index('Pick 6')}].click()")
        if not soon(lambda: shown(browser, 'Combo2') == 'Pick 6'):
            raise Failure(f'choosing Pick 6 from the page\'s list made the wager type "{shown(browser, "Combo2")}"')
        for control, role, name in listed_controls():
            e = browser.evaluate(f'{READ_ELEMENT}({control!r})')
            if not e or (e['role'], e['name'] if name != '*' else '*') != (role, name) or not e['name'] or e['hidden']:
                raise Failure(f'{control} should be a {role} named "{name}" for a screen reader, not {e}')
            if role == 'combobox' and not e['value']:
                raise Failure(f'the box "{name}" shows no value')
            if role == 'listbox' and (e['multiselectable'] != 'true' or e['last'] != 'All'):
                raise Failure(f'"{name}" is not a multi-select list ending in "All": {e}')
            if role == 'textbox' and (e['readonly'] != 'true' or e['live'] != 'polite'):
                raise Failure(f'the ticket "{name}" is not read-only text read out politely')
        if browser.evaluate("document.querySelector('canvas').getAttribute('aria-hidden')") != 'true':
            raise Failure('the canvas is not hidden from screen readers')
        if difference := in_reading_order(browser):
            raise Failure(f'with every leg shown, {difference}')
        focused = "(e => e && e.closest('[data-control]') ? e.closest('[data-control]').dataset.control : '')" \
                  "(document.activeElement)"
        person.click(60, 114)
        person.key('Tab')                   # from the field size to the next in tab order, leg A
        if browser.evaluate(focused) != 'List1':
            raise Failure(f'after a click in the field size and Tab, the page\'s focus is on '
                          f'"{browser.evaluate(focused)}", not leg A\'s runners')
        browser.expect_clean()
        print(f'access: the page\'s elements have the names, roles and states of the listed controls, '
              f'and the focus follows the window\'s ({browser.name})')
    finally:
        browser.close()


# User agents of an Android tablet, an iPad that says it is a Mac, and a Chromebook.
TOUCH_DEVICES = {
    'Android tablet': 'Mozilla/5.0 (Linux; Android 14; Pixel Tablet) AppleWebKit/537.36 (KHTML, like Gecko) '
                      'Chrome/126.0.0.0 Safari/537.36',
    'iPad': 'Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) '
            'Version/17.4 Safari/605.1.15',
    'Chromebook': 'Mozilla/5.0 (X11; CrOS x86_64 15917.71.0) AppleWebKit/537.36 (KHTML, like Gecko) '
                  'Chrome/126.0.0.0 Safari/537.36',
}


def touch_keyboard(url):
    """On a tablet's screen, where the window shows as on the desktop, a tap on the field-size box
    leaves the page's focus in a text input, where a touch keyboard types: what it types reaches
    the box, and the runner lists follow. (Phones: phone_checks.py.)"""
    for device, agent in TOUCH_DEVICES.items():
        browser = Browser()
        try:
            browser.page('Emulation.setUserAgentOverride', userAgent=agent)
            browser.page('Emulation.setDeviceMetricsOverride', width=1024, height=768,
                         deviceScaleFactor=1, mobile=False, screenWidth=1024, screenHeight=768)
            browser.page('Emulation.setTouchEmulationEnabled', enabled=True, maxTouchPoints=5)
            browser.open(url)
            tree = Tree(browser)
            person = Person(browser)
            person.tap(60, 114)
            focused = browser.evaluate("(e => [e.tagName, e.type, e.getAttribute('aria-label')])"
                                       "(document.activeElement)")
            if focused != ['INPUT', 'text', 'Field size']:
                raise Failure(f'{device}: a tap on the field size left the focus on {focused}')
            for _ in range(2):
                browser.page('Input.dispatchKeyEvent', type='rawKeyDown', key='Backspace',
                             code='Backspace', windowsVirtualKeyCode=8)
                browser.page('Input.dispatchKeyEvent', type='keyUp', key='Backspace',
                             code='Backspace', windowsVirtualKeyCode=8)
            person.settle()
            tree.wait(f'{device}: two Backspaces', tree.expect_value('combobox', 'Field size', ''))
            browser.page('Input.insertText', text='12')
            tree.wait(f'{device}: typing 12', tree.expect_value('combobox', 'Field size', '12'))

            tree.choose('combobox', 'Wager type', 'Exacta')

            def twelve_runners(nodes):
                options = [tree.name(o) for o in tree.options(tree.find('listbox', 'Leg A runners', nodes), nodes)]
                return None if options == RUNNERS + ['All'] else f'leg A holds {options}'
            tree.wait(f'{device}: typing 12 and choosing Exacta', twelve_runners)
            person.tap(35, 166)
            person.tap(83, 179)
            tree.wait(f'{device}: tapping runners 1 and 2',
                      tree.expect_value('textbox', 'Ticket description',
                                        '$2.00 Exacta\nLegA: 1\nLegB: 2\n\nTotal Ticket Cost: $2.00'))
            print(f'touch keyboard, {device}: a tap gave a text input the focus; 12 typed there '
                  'became the field size, and tapped runners made the ticket')
        finally:
            browser.close()


def shown(browser, control):
    """What the page's element for a control holds, as a screen reader reads it."""
    return browser.evaluate(f"(e => e.querySelector('input') ? e.querySelector('input').value : e.textContent)"
                            f"(document.querySelector('[data-control={control}]'))").replace('\r\n', '\n')


def soon(check, seconds=5):
    """Whether check comes true within so many seconds (five unless told)."""
    for _ in range(seconds * 20):
        if check():
            return True
        time.sleep(0.05)
    return False


def menu_and_clipboard(url, exacta_actions):
    """A copy with nothing selected leaves the clipboard alone; a right click on the ticket
    opens its menu, drawn, whose Select All and Copy put the ticket on the clipboard."""
    browser = launch()
    try:
        browser.open(url)
        person = Person(browser)
        person.click(468, 448)              # Help
        person.ticket()                     # its text copied
        person.click(468, 448)              # Back: the ticket box is empty
        browser.set_clipboard('copied elsewhere')
        person.ticket()                     # Ctrl+A, Ctrl+C in the empty box
        if browser.clipboard() != 'copied elsewhere':
            raise Failure(f'a copy of nothing replaced the clipboard with: {browser.clipboard()[:60]}')
        person.click(60, 114)               # what was copied pasted into the field size, once
        person.key('ctrl+a')
        person.paste('7')
        if not soon(lambda: shown(browser, 'Combo1') == '7'):
            raise Failure(f'7 pasted into the field size made it "{shown(browser, "Combo1")}"')
        print('clipboard: a copy with nothing selected left what was copied elsewhere, and it pasted once')

        for action in exacta_actions:
            getattr(person, action[0])(*action[1:])
        ticket = shown(browser, 'Text1')
        before = browser.screenshot_data()
        person.right_click(480, 290)
        if browser.screenshot_data() == before:
            raise Failure('a right click on the ticket showed no menu')
        person.key('Up')                    # the last item, Select All
        person.key('Return')
        person.right_click(540, 330)        # elsewhere: no double click
        person.type('c')                    # &Copy
        # The browser writes the clipboard a moment later.
        if not soon(lambda: browser.clipboard().replace('\r\n', '\n') == ticket):
            raise Failure(f'Copy from the menu put on the clipboard:\n{browser.clipboard()}\nnot:\n{ticket}')
        browser.expect_clean()
        print('menu: a right click on the ticket opened its menu; Select All and Copy copied the ticket')
    finally:
        browser.close()
