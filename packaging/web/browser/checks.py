#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The site's checks in a browser with a fresh profile and a local server, through input that
takes the browser's own path: Debian's headless Chromium, or the engine ZTC_ENGINE names
(firefox, webkit).

  checks.py test SITE PROGRAM    every check of CHECKS, in the engine's turn: a ticket as the
                                 Linux PROGRAM makes it, offline, without WebAssembly or WebGL,
                                 the canvas, the placeholder, phones, a new version, the page's
                                 address, access
  checks.py access SITE PROGRAM  screen readers, touch keyboards, the ticket's menu, the clipboard
  checks.py phone SITE PROGRAM   phones (phone_checks.py)
"""
import os
import shutil
import sys
import tempfile
import time

import access_checks
import drawing_checks
import phone_checks
from browsers import engine_name, launch
from localsite import Server
from pagedriver import Failure
from people import Person, act, linux_ticket


# What the test does, at the window's own positions: ('click', x, y), ('wheel', x, y, notches),
# ('key', name), ('type', text), ('paste', text).
# An Exacta, 1 over 2.
EXACTA = [
    ('click', 185, 66), ('click', 60, 161),    # the wager box's arrow, and "Exacta" in its list
    ('click', 35, 166), ('click', 83, 179),    # runner 1 in leg A, runner 2 in leg B
]
ACTIONS = [
    ('key', 'ctrl+a'), ('type', '7'),          # a field size typed as soon as the window shows,
    ('key', 'ctrl+a'), ('paste', '12\r7'),     # and one copied from a spreadsheet, line break and all
    *EXACTA,
    ('click', 100, 66), ('key', 'F4'), ('key', 'End'), ('key', 'Up'), ('key', 'Up'),
    ('key', 'Return'),                         # "Trifecta" by the keyboard
    ('click', 35, 166), ('click', 83, 179), ('click', 131, 192),  # 1 / 2 / 3
    ('click', 131, 324),                       # "All" in leg C
    ('click', 40, 448),                        # Clear under leg A
    ('click', 35, 179),                        # runner 2 in leg A
    ('wheel', 60, 114, 1),                     # a stray notch over the unfocused field size
    ('click', 150, 114), ('key', 'ctrl+a'), ('type', '3'),  # a typed amount
    ('click', 35, 192),                        # runner 3 in leg A
    ('click', 468, 448), ('click', 468, 448),  # Help, and Back
]


def tickets(site, program):
    """A ticket made with the mouse and the keys, in English and German, as the Linux program
    makes it; then, the server gone and the network cut, the site from the service worker."""
    server = Server(site)
    try:
        for lang in ('en-US', 'de-DE'):
            expected = linux_ticket(program, lang, ACTIONS)
            browser = launch(lang=lang)
            try:
                browser.open(server.url)
                ticket = act(Person(browser), ACTIONS)
                browser.expect_clean()
                if ticket != expected:
                    browser.screenshot(f'/tmp/ztc-web-{lang}.png')
                    raise Failure(f'the ticket in the browser ({lang}) differs from the Linux one:\n'
                                  f'--- browser\n{ticket}\n--- Linux\n{expected}\n'
                                  f'(screenshot /tmp/ztc-web-{lang}.png)')
                if browser.evaluate('document.title') != 'Zandrel Ticket Calculator - www.zandrel.example':
                    raise Failure(f'the page is titled "{browser.evaluate("document.title")}"')
                print(f'{lang}: the ticket matches the Linux one: ' + ticket.replace('\n', ' | '))
                if lang == 'de-DE':
                    offline(browser, server)
            finally:
                browser.close()
    finally:
        server.stop()


def phone(site, program):
    """The window arranged for a phone's touch screen: only Chromium makes a test a phone."""
    served(site, lambda url: phone_checks.check(url, program))


def everyone(site, program):
    """Screen readers, touch keyboards, the ticket's menu and the clipboard. Only Chromium shows
    a test its accessibility tree and emulates a touch screen; elsewhere the page's elements are
    checked for what a screen reader reads from them."""
    def check(url):
        if engine_name() == 'chromium':
            access_checks.screen_reader(url, program)
            access_checks.touch_keyboard(url)
        else:
            access_checks.page_elements(url)
        access_checks.menu_and_clipboard(url, EXACTA)
    served(site, check)


def served(site, check):
    server = Server(site)
    try:
        check(server.url)
    finally:
        server.stop()


# The site's checks in the order they run, and the engines each runs in.
CHECKS = [(tickets, 'all'), (drawing_checks.lacking, 'all'),
          (drawing_checks.canvas, 'all'),
          (lambda site, _: drawing_checks.placeholder(site), 'chromium'), (phone, 'chromium'),
          (lambda site, _: update(site), 'all'), (lambda site, _: address(site), 'all'),
          (everyone, 'all')]


def test(site, program):
    for check, engines in CHECKS:
        if engines == 'all' or engine_name() == engines:
            check(site, program)


def exacta(browser):
    ticket = act(Person(browser), EXACTA)
    if not ticket.startswith(('$2.00 Exacta', '2,00 $ Exacta')):
        raise Failure('the calculator made no Exacta ticket:\n' + ticket)


def offline(browser, server):
    """With the site visited once, the server gone and the network cut, a reload must still bring
    up the calculator, and the licence texts the site carries open as themselves."""
    browser.evaluate('navigator.serviceWorker.ready.then(() => true)', wait=True)
    server.stop()
    browser.offline()
    browser.navigate(server.url + 'licenses/README.txt')
    text = ''
    for _ in range(100):
        text = browser.evaluate("document.readyState === 'complete' && document.body ? document.body.textContent : ''")
        if text:
            break
        time.sleep(0.05)
    if not text.startswith('Zandrel Ticket Calculator, in the web browser'):
        raise Failure(f'offline, the licence note opened as: {text[:80]!r}')
    browser.open(server.url)
    exacta(browser)
    print("offline: the site came up from the service worker's cache, and its licence note as itself")


# A play of two tickets made with the mouse, then the window's ticket changed: Keep (right of
# Help) keeps each; the ticket's menu copies the play (its second item).
PLAY = [*EXACTA, ('click', 527, 456), ('click', 83, 192), ('click', 527, 456), ('click', 35, 179)]
PLAYED = '$2.00 Exacta 1/2\n$2.00 Exacta 1/2,3\n'     # the tickets the play copied begins with
COPY_PLAY = [('right_click', 480, 290), ('key', 'Down'), ('key', 'Down'), ('key', 'Return')]


def address(site):
    """The play, its card and the window's ticket live in the page's address: a reload brings
    them back whole; a link that cannot be read opens the calculator empty and says so."""
    server = Server(site)
    browser = launch()
    try:
        browser.open(server.url)
        person = Person(browser)

        def now():
            act(person, COPY_PLAY, ticket=False)
            return browser.clipboard().replace('\r\n', '\n'), person.ticket()
        act(person, PLAY, ticket=False)
        before = now()
        if not before[0].startswith(PLAYED):
            raise Failure(f'the play copied is:\n{before[0]}')
        # The page writes its address a moment after the last change.
        address = lambda: browser.evaluate('location.hash')
        access_checks.soon(lambda: address() == address() and 'Exacta%201%2C2%2F2%2C3' in address())
        browser.open()
        if now() != before:
            raise Failure(f'after a reload the play and ticket are\n{now()}\nnot\n{before}')
        # Its keys: Ctrl+Shift+C copies what the menu does, and Ctrl+Shift+V reads it back, its
        # tickets after the play's, though the focus is in a box that takes text.
        browser.set_clipboard('copied elsewhere')
        person.key('ctrl+shift+c')
        if not access_checks.soon(lambda: browser.clipboard().replace('\r\n', '\n') == before[0]):
            raise Failure(f'Ctrl+Shift+C copied:\n{browser.clipboard()}')
        person.click(60, 114)
        person.key('ctrl+shift+v')
        if not now()[0].startswith(PLAYED * 2):
            raise Failure(f'after Ctrl+Shift+V the play copied is:\n{now()[0]}')
        browser.navigate('about:blank')     # else only the fragment would change, not the page
        browser.open(server.url + '#%FF%00garbage')
        said = browser.evaluate("document.getElementById('said').textContent")
        if 'nothing the calculator can read' not in said:
            raise Failure(f'a link that cannot be read opened with the word "{said}"')
        browser.expect_clean()
        print('address: a reload brought the play and the ticket back; a link that could not be read said so; '
              'Ctrl+Shift+C and Ctrl+Shift+V copied the play and read it back')
    finally:
        browser.close()
        server.stop()


def update(site):
    """A visitor with one version cached gets the next whole on the visit after it is published,
    and the old version's cache is gone."""
    work = tempfile.mkdtemp(prefix='ztc-versions-')
    old, new, live = (os.path.join(work, name) for name in ('old', 'new', 'live'))
    shutil.copytree(site, old)
    shutil.copytree(site, new)
    # The new version: another page, loader and, as the build makes it, worker version.
    for name in ('index.html', 'page.js', 'sw.js'):
        for suffix in ('.gz', '.br'):
            if os.path.exists(os.path.join(new, name + suffix)):
                os.unlink(os.path.join(new, name + suffix))
    with open(os.path.join(new, 'index.html')) as f:
        page = f.read()
    with open(os.path.join(new, 'index.html'), 'w') as f:
        f.write(page.replace('</body>', '<!-- new version -->\n</body>'))
    with open(os.path.join(new, 'page.js'), 'a') as f:
        f.write("document.documentElement.dataset.loader = 'new';\n")
    with open(os.path.join(new, 'sw.js')) as f:
        worker = f.read()
    version = worker.split("const version = '", 1)[1].split("'", 1)[0]
    with open(os.path.join(new, 'sw.js'), 'w') as f:
        f.write(worker.replace(version, 'new' + version[3:]))

    def versions():
        """Which versions of the page and of the loader that it ran the open page is made of."""
        page = 'new version' in browser.evaluate('document.documentElement.outerHTML')
        loader = browser.evaluate('document.documentElement.dataset.loader') == 'new'
        return ['old', 'new'][page], ['old', 'new'][loader]

    def caches():
        return sorted(browser.evaluate('caches.keys()', wait=True))

    os.symlink(old, live)
    server = Server(live)
    browser = launch()
    try:
        browser.open(server.url)
        browser.evaluate('navigator.serviceWorker.ready.then(() => true)', wait=True)
        # Another app's cache on the same site, which no version of ours may delete.
        browser.evaluate("caches.open('another-app').then(() => true)", wait=True)
        os.unlink(live)
        os.symlink(new, live)
        # A tab of the old version that has not yet run its scripts, as one still loading: the
        # new version must wait for it. Only Chromium opens a second tab for a test.
        loading = browser.other_tab(server.url, scripts=False) if engine_name() == 'chromium' else None
        browser.open(server.url)   # still the old version, whole; it finds the new one
        if versions() != ('old', 'old'):
            raise Failure(f'the visit after publishing got page and loader of versions {versions()}, '
                          'not the old one whole')
        if loading:
            waiting = "navigator.serviceWorker.getRegistration().then((r) => !!(r && r.waiting))"
            if not access_checks.soon(lambda: browser.evaluate(waiting, wait=True)):
                raise Failure('the new version was not installed beside the old one')
            time.sleep(2)
            if not browser.evaluate(waiting, wait=True) or len(caches()) != 3:
                raise Failure(f'the new version took over while a tab was still loading the old one: '
                              f'caches {caches()}')
            loading()
            browser.open(server.url)   # the old version still, whole, and now the only tab
        expected = sorted(['another-app', f'zandrel-ticket-calculator-new{version[3:]}'])
        # The new worker fetches the whole new version before it takes over: on a busy machine
        # that is more than a few seconds.
        if not access_checks.soon(lambda: caches() == expected, 30):
            raise Failure(f'the new version did not take over, or took more than its own: caches {caches()}')
        browser.open(server.url)
        if versions() != ('new', 'new'):
            raise Failure(f'the next visit got page and loader of versions {versions()}, '
                          'not the new one whole')
        exacta(browser)
    finally:
        browser.close()
        server.stop()
        shutil.rmtree(work, ignore_errors=True)
    print('update: a new version replaced the cached one whole on the next visit'
          + (', not while a tab was still loading the old one,' if engine_name() == 'chromium' else '')
          + ' and left another app\'s cache alone')


def main():
    commands = {'test': test, 'access': everyone, 'phone': phone,
                'address': lambda site, _: address(site)}
    if len(sys.argv) != 4 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    try:
        commands[sys.argv[1]](*sys.argv[2:])
    except Failure as failure:
        sys.exit(f'checks: {failure}')


if __name__ == '__main__':
    main()
