# SPDX-License-Identifier: MIT
"""What the page needs to draw the window, and what it draws: without WebAssembly a plain word of
why; with WebGL off the calculator all the same; after lists and menus were opened and closed,
the canvas as a whole redraw of the windows paints it (a stale pixel anywhere fails it), in the
window's colours, and so after its context was lost and given back and after a phone's turn;
after the screen was resized and zoomed and put back (where the browser lets a test), the pixels
of a page that saw none of it; and a placeholder like the window's first frame."""
import base64
import io
import time
from contextlib import contextmanager

from PIL import Image

from browsers import ENGINES, engine_name, launch
from localsite import Server
from pagedriver import Failure
from people import Person, act, linux_ticket
from phone import Phone

# Exacta picked from the wager box's list, then leg A's Clear, which leaves the focus where no
# caret blinks, and a click on the window's bare background, where no tooltip waits for the
# mouse to rest.
SETTLE = [('click', 185, 66), ('click', 60, 161), ('click', 40, 448), ('click', 300, 300)]
# An Exacta, 1 over 2.
EXACTA = SETTLE[:2] + [('click', 35, 166), ('click', 83, 179)]
# The base amount's list opened and closed, and the ticket's menu opened near the window's corner,
# where it must open up and to the left, and closed by a click on the bare background.
DISTURB = [('click', 185, 114), ('key', 'Escape'), ('right_click', 700, 400), ('click', 300, 300)]
# A screen a phone's size at a fractional pixel ratio, then the desktop's again.
ZOOMED = {'width': 700, 'height': 560, 'deviceScaleFactor': 1.75, 'mobile': False}

CANVAS = """(() => {
    const canvas = document.querySelector('#screen canvas');
    const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 2166136261;
    for (let i = 0; i < bytes.length; ++i)
        hash = Math.imul(hash ^ bytes[i], 16777619);
    return `${canvas.width}x${canvas.height} ${hash >>> 0}`;
})()"""


# How many of the canvas' pixels are plainly blue, and how many plainly red: the window draws its
# title and address in blue and nothing in red, so a canvas given its bytes in the wrong order
# shows them red.
HUES = """(() => {
    const canvas = document.querySelector('#screen canvas');
    const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let blue = 0, red = 0;
    for (let i = 0; i < bytes.length; i += 4) {
        blue += bytes[i + 2] > bytes[i] + 100;
        red += bytes[i] > bytes[i + 2] + 100;
    }
    return [blue, red];
})()"""

# The controls whose place on the canvas is all one colour, as a control never painted leaves it
# (a label with nothing to say is one colour too, and is left out): those the page has elements
# for, shown and on the canvas.
UNPAINTED = """(() => {
    const canvas = document.querySelector('#screen canvas');
    const frame = canvas.getBoundingClientRect();
    const scale = canvas.width / frame.width;
    const unpainted = [];
    for (const element of document.querySelectorAll('[data-control]')) {
        const r = element.getBoundingClientRect();
        const x = Math.ceil((r.left - frame.left) * scale), y = Math.ceil((r.top - frame.top) * scale);
        const w = Math.floor(r.width * scale), h = Math.floor(r.height * scale);
        if (element.hidden || w < 1 || h < 1 || x < 0 || y < 0 || x + w > canvas.width
            || y + h > canvas.height || (!element.querySelector('input') && !element.textContent.trim()))
            continue;
        const pixels = new Uint32Array(canvas.getContext('2d').getImageData(x, y, w, h).data.buffer);
        if (pixels.every((pixel) => pixel === pixels[0]))
            unpainted.push(element.dataset.control);
    }
    return unpainted;
})()"""


def painted(browser, where):
    """Every control is painted once the page says the window runs."""
    unpainted = browser.evaluate(UNPAINTED)
    if unpainted:
        browser.screenshot('/tmp/ztc-canvas.png')
        raise Failure(f'{where}, the window running, {", ".join(unpainted)} not painted: '
                      'see /tmp/ztc-canvas.png')
    print(f'canvas: {where}, every control painted once the window runs')


# The canvas painted red, then the windows redrawn whole, as after the canvas is sized.
REDRAWN = """new Promise((resolve) => {
    const canvas = document.querySelector('#screen canvas');
    const context = canvas.getContext('2d');
    context.fillStyle = '#f00';
    context.fillRect(0, 0, canvas.width, canvas.height);
    dispatchEvent(new Event('resize'));
    requestAnimationFrame(() => requestAnimationFrame(resolve));
})"""

# The canvas' context lost as a browser loses it (its pixels gone, nothing drawn while it says
# so), and given back.
LOST = """(() => {
    const canvas = document.querySelector('#screen canvas');
    const context = canvas.getContext('2d');
    context.isContextLost = () => true;
    context.fillStyle = '#000';
    context.fillRect(0, 0, canvas.width, canvas.height);
    canvas.dispatchEvent(new Event('contextlost'));
})()"""
RESTORED = """new Promise((resolve) => {
    const canvas = document.querySelector('#screen canvas');
    delete canvas.getContext('2d').isContextLost;
    canvas.dispatchEvent(new Event('contextrestored'));
    requestAnimationFrame(() => requestAnimationFrame(resolve));
})"""


def as_redrawn(browser, after):
    """The canvas, which must be what a whole redraw of the windows paints."""
    # Settled: a loaded machine may still be drawing what the last input asked for.
    seen = None
    for _ in range(10):
        browser.settle()
        time.sleep(0.5)
        browser.settle()
        if seen == (seen := browser.evaluate(CANVAS)):
            break
    browser.expect_clean()
    browser.screenshot('/tmp/ztc-canvas.png')
    browser.evaluate(REDRAWN, wait=True)
    redrawn = browser.evaluate(CANVAS)
    if seen != redrawn:
        raise Failure(f'after {after} the canvas ({seen}) is not its whole redraw ({redrawn}): '
                      'see /tmp/ztc-canvas.png')
    return seen


@contextmanager
def page(url, phone=None):
    """A browser showing the calculator, and the person at it: on a phone if named."""
    browser = launch()
    try:
        person = Phone(browser, phone) if phone else Person(browser)
        browser.open(url)
        yield browser, person
    finally:
        browser.close()


def zoomed(url, zoom):
    """The canvas of a settled window, after a resize and a zoom and back if asked."""
    with page(url) as (browser, person):
        act(person, SETTLE[:2], ticket=False)
        if zoom:
            browser.page('Emulation.setDeviceMetricsOverride', **ZOOMED)
            browser.settle()
            time.sleep(0.3)
            browser.page('Emulation.clearDeviceMetricsOverride')
        act(person, SETTLE[2:], ticket=False)
        return as_redrawn(browser, 'a resize and a zoom to 1.75 and back' if zoom else 'the start')


def lost(browser, person, program):
    """Runners picked while the canvas' pixels are lost: the ticket is kept, and all is drawn
    again when the browser gives them back."""
    if not browser.evaluate("'oncontextrestored' in HTMLCanvasElement.prototype"):
        print('canvas: no lost context to check, as this browser never says one is (WebKitGTK)')
        return
    browser.evaluate(LOST)
    act(person, EXACTA[2:] + SETTLE[-1:], ticket=False)
    time.sleep(0.5)  # what the clicks asked for is past: what follows, only the browser's word asks
    browser.evaluate(RESTORED, wait=True)
    as_redrawn(browser, 'a lost context given back')
    ticket, expected = person.ticket(), linux_ticket(program, 'en-US', EXACTA)
    if ticket != expected:
        raise Failure(f'after a lost context the ticket is\n{ticket}\nnot\n{expected}')
    print('canvas: a lost context given back is drawn whole, the ticket made meanwhile kept')


def canvas(site, program):
    server = Server(site)
    try:
        with page(server.url) as (browser, person):
            painted(browser, 'on the desktop')
            act(person, SETTLE[:2] + DISTURB + SETTLE[2:], ticket=False)
            print(f'canvas: after lists and menus, as a whole redraw paints it ({as_redrawn(browser, "lists and menus")})')
            blue, red = browser.evaluate(HUES)
            if not blue or red:
                raise Failure(f'the canvas has {blue} blue pixels and {red} red ones, where the window '
                              'draws its title in blue and nothing in red: see /tmp/ztc-canvas.png')
            print(f'canvas: in the window\'s colours ({blue} blue pixels, none red)')
            lost(browser, person, program)
        if engine_name() != 'chromium':  # only Chromium zooms its screen and turns a phone for a test
            return
        plain = zoomed(server.url, zoom=False)
        if zoomed(server.url, zoom=True) != plain:
            raise Failure(f'after a resize and a zoom to 1.75 and back the canvas is not a '
                          f'page\'s that saw none ({plain}): see /tmp/ztc-canvas.png')
        print(f'canvas: after a resize and a zoom to 1.75 and back, as a page that saw none ({plain})')
        with page(server.url, 'Pixel') as (browser, phone):
            painted(browser, 'on a phone')
            phone.tap(*phone.reveal('Command7'))  # CLEAR ALL: where no caret blinks
            for sideways in (True, False):
                phone.turn(sideways)
                as_redrawn(browser, f'a turn of the phone to {phone}')
        print('canvas: a phone turned sideways and back, as a whole redraw paints it')
    finally:
        server.stop()


def lacking(site, program):
    """A browser without WebAssembly is told so in plain words; one with WebGL off makes the
    ticket the Linux program makes, as the window needs no WebGL."""
    server = Server(site)
    checked = []
    try:
        for word in ENGINES[engine_name()].LACKS:
            browser = launch(without=word)
            try:
                if word == 'WebGL':
                    expected = linux_ticket(program, 'en-US', EXACTA)
                    browser.open(server.url)
                    ticket = act(Person(browser), EXACTA)
                    browser.expect_clean()
                    if ticket != expected:
                        raise Failure(f'without WebGL the ticket is\n{ticket}\nnot\n{expected}')
                    checked.append('with WebGL off the ticket is made')
                    continue
                try:
                    browser.open(server.url, timeout=10)
                    raise Failure(f'the calculator started in a browser without {word}')
                except Failure as failure:
                    if 'the page says: This calculator' not in str(failure) or word not in str(failure):
                        raise
                checked.append(f'without {word} a plain word of why')
            finally:
                browser.close()
    finally:
        server.stop()
    print(f'lacking: {"; ".join(checked)}')


def blocks(browser, size):
    """The screen's element as the browser shows it, shrunk by it to blocks of SIZE pixels:
    each block's lightness (0-255), from a PNG screenshot of its own."""
    left, top, width, height = browser.evaluate(
        "(r => [r.left, r.top, r.width, r.height])(document.getElementById('screen').getBoundingClientRect())")
    shot = browser.page('Page.captureScreenshot', format='png', clip={
        'x': left, 'y': top, 'width': width, 'height': height, 'scale': 1 / size})['data']
    image = Image.open(io.BytesIO(base64.b64decode(shot))).convert('RGB')
    return [sum(pixel) / 3 for pixel in image.getdata()]


def placeholder(site):
    """The placeholder looks like the window's first frame, on the desktop and on a phone upright
    and sideways: the page shown on a line too slow for the module, then the window."""
    server = Server(site)
    try:
        for phone, sideways in ((None, False), ('Pixel', False), ('Pixel', True)):
            browser = launch()
            try:
                if phone:
                    phone = Phone(browser, phone, sideways)
                browser.page('Network.enable')
                browser.page('Network.emulateNetworkConditions', offline=False, latency=0,
                             downloadThroughput=20000, uploadThroughput=20000)
                browser.navigate(server.url)
                browser.wait_for("document.getElementById('placeholder') && document.fonts.status == 'loaded'")
                browser.settle()
                early = blocks(browser, 4)
                browser.page('Network.emulateNetworkConditions', offline=False, latency=0,
                             downloadThroughput=-1, uploadThroughput=-1)
                browser.wait_for("document.body.dataset.state == 'running'")
                browser.settle()
                shown = blocks(browser, 4)
                # Where each has ink (text, lines, boxes' edges), in blocks of 4 pixels; of the
                # blocks where either has, the share where only one has. Fonts drawn by two
                # engines never match pixel for pixel (the placeholder's come to 35-50 %); a
                # caption, box or button missing or out of place takes it towards all.
                inked = [{i for i, v in enumerate(shot) if v < 200} for shot in (early, shown)]
                differ = len(inked[0] ^ inked[1]) / len(inked[0] | inked[1])
                where = phone or 'the desktop'
                if differ > 0.55:
                    browser.screenshot('/tmp/ztc-window.png')
                    raise Failure(f'on {where} the placeholder\'s ink and the window\'s differ in '
                                  f'{differ:.0%} of the blocks either has (the window: /tmp/ztc-window.png)')
                print(f'placeholder: on {where} as the window, its ink and the window\'s differing in {differ:.0%} of the blocks either has')
            finally:
                browser.close()
    finally:
        server.stop()
