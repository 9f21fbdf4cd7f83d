# SPDX-License-Identifier: MIT
"""A small DevTools-protocol client: Debian's headless Chromium with a fresh profile, spoken to
over a pipe, whose mouse, touch and key events take the browser's own input path."""
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading

from pagedriver import Failure, PageDriver

CHROMIUM = os.environ.get('ZTC_CHROMIUM', '/usr/bin/chromium')
# Keys as the DevTools protocol names them: (key, code, Windows virtual key code).
KEYS = {
    'Tab': ('Tab', 'Tab', 9), 'Return': ('Enter', 'Enter', 13), 'space': (' ', 'Space', 32),
    'Up': ('ArrowUp', 'ArrowUp', 38), 'Down': ('ArrowDown', 'ArrowDown', 40),
    'End': ('End', 'End', 35), 'Home': ('Home', 'Home', 36), 'F4': ('F4', 'F4', 115),
    'BackSpace': ('Backspace', 'Backspace', 8), 'Escape': ('Escape', 'Escape', 27),
}
# What each held key adds to DevTools' modifiers.
HELD = {'ctrl': 2, 'shift': 8}


class Browser(PageDriver):
    """Headless Chromium with a fresh profile, spoken to over --remote-debugging-pipe.
    without: 'WebAssembly' or 'WebGL', turned off as a user or an administrator would."""

    name = 'Chromium'
    # What the browser can be made to lack.
    LACKS = ('WebAssembly', 'WebGL')

    def __init__(self, lang='en-US', scale=1, size=(1024, 768), without=None):
        self.profile = tempfile.mkdtemp(prefix='ztc-chromium-')
        to_browser, self._commands = os.pipe()
        self._answers, from_browser = os.pipe()

        def pipes():
            os.dup2(to_browser, 3)
            os.dup2(from_browser, 4)

        # No calls home (this machine has no network but its own), and software WebGL. Without
        # its compiler V8 has no WebAssembly, as in a browser's strictest security setting. No
        # back-forward cache: a page a test leaves stays there as a tab of its version, for which
        # a new version of the site waits half a minute before it takes over.
        flags = ['--headless', '--no-sandbox', '--no-first-run', '--disable-background-networking',
                 '--disable-component-update', '--disable-sync', '--disable-quic',
                 '--disable-default-apps', '--disable-features=BackForwardCache',
                 '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
                 f'--window-size={size[0]},{size[1]}', f'--force-device-scale-factor={scale}',
                 f'--lang={lang}', f'--accept-lang={lang}', f'--user-data-dir={self.profile}',
                 *{None: [], 'WebGL': ['--disable-webgl'],
                   'WebAssembly': ['--js-flags=--jitless']}[without],
                 '--remote-debugging-pipe', 'about:blank']
        self.proc = subprocess.Popen([CHROMIUM, *flags], preexec_fn=pipes, close_fds=False,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env={**os.environ, 'LANGUAGE': lang.replace('-', '_'),
                                          'LANG': lang.replace('-', '_') + '.UTF-8'})
        os.close(to_browser)
        os.close(from_browser)
        self._id = 0
        self._replies = {}
        self._events = queue.Queue()
        self._lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()
        page = next(t for t in self.call('Target.getTargets')['targetInfos'] if t['type'] == 'page')
        self.session = self.call('Target.attachToTarget', targetId=page['targetId'],
                                 flatten=True)['sessionId']
        for domain in ('Page', 'Runtime', 'Log'):
            self.page(f'{domain}.enable')
        self.call('Browser.grantPermissions', permissions=['clipboardReadWrite', 'clipboardSanitizedWrite'])
        # The page as the one in front, as a person's is: the clipboard wants that.
        self.page('Emulation.setFocusEmulationEnabled', enabled=True)
        self.console = []

    def _read(self):
        buffer = b''
        while True:
            data = os.read(self._answers, 1 << 16)
            if not data:
                break
            buffer += data
            while b'\0' in buffer:
                message, buffer = buffer.split(b'\0', 1)
                message = json.loads(message)
                if 'id' in message:
                    with self._lock:
                        self._replies[message['id']] = message
                        self._lock.notify_all()
                else:
                    self._events.put(message)

    def call(self, method, session=None, **params):
        self._id += 1
        ident = self._id
        message = {'id': ident, 'method': method, 'params': params}
        if session:
            message['sessionId'] = session
        os.write(self._commands, json.dumps(message).encode() + b'\0')
        with self._lock:
            if not self._lock.wait_for(lambda: ident in self._replies, timeout=60):
                raise Failure(f'the browser did not answer {method}')
            reply = self._replies.pop(ident)
        if 'error' in reply:
            raise Failure(f'{method}: {reply["error"]}')
        return reply.get('result', {})

    def page(self, method, **params):
        return self.call(method, session=self.session, **params)

    def drain(self):
        """The console's and the log's messages so far, kept in self.console."""
        while not self._events.empty():
            event = self._events.get()
            params = event.get('params', {})
            if event.get('method') == 'Runtime.consoleAPICalled':
                self.console.append(' '.join(str(a.get('value', a.get('description', ''))) for a in params['args']))
            elif event.get('method') == 'Log.entryAdded':
                entry = params['entry']
                frames = entry.get('stackTrace', {}).get('callFrames', [])
                where = ' at ' + ', '.join(f"{f['functionName'] or '?'} ({f['url'].rsplit('/', 1)[-1]}:{f['lineNumber']})"
                                           for f in frames[:3]) if frames else ''
                self.console.append(entry['text'] + where)
            elif event.get('method') == 'Runtime.exceptionThrown':
                self.console.append(params['exceptionDetails'].get('exception', {}).get('description', 'exception'))
        return self.console

    def other_tab(self, url, scripts=True):
        """A second tab at url; with scripts=False its page runs none, as one still loading would
        not have yet. Returns what closes it."""
        target = self.call('Target.createTarget', url='about:blank')['targetId']
        session = self.call('Target.attachToTarget', targetId=target, flatten=True)['sessionId']
        self.call('Emulation.setScriptExecutionDisabled', session=session, value=not scripts)
        self.call('Page.navigate', session=session, url=url)
        return lambda: self.call('Target.closeTarget', targetId=target)

    def evaluate(self, expression, wait=False):
        result = self.page('Runtime.evaluate', expression=expression, awaitPromise=wait,
                           returnByValue=True)
        if 'exceptionDetails' in result:
            raise Failure(f'{expression}: {result["exceptionDetails"]}')
        return result['result'].get('value')

    def navigate(self, url):
        self.page('Page.navigate', url=url)

    def offline(self):
        self.page('Network.enable')
        self.page('Network.emulateNetworkConditions', offline=True, latency=0,
                  downloadThroughput=-1, uploadThroughput=-1)

    def screenshot_data(self):
        return self.page('Page.captureScreenshot', format='png')['data']

    # Input, at page positions, through the browser's own input path.
    def mouse(self, kind, x, y, **more):
        self.page('Input.dispatchMouseEvent', type=kind, x=x, y=y, **more)

    def click(self, x, y, button='left'):
        pressed = {'left': 1, 'right': 2}[button]
        self.mouse('mouseMoved', x, y)
        self.mouse('mousePressed', x, y, button=button, buttons=pressed, clickCount=1)
        self.mouse('mouseReleased', x, y, button=button, buttons=0, clickCount=1)

    def tap(self, x, y):
        self.page('Input.dispatchTouchEvent', type='touchStart', touchPoints=[{'x': x, 'y': y}])
        self.page('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])

    def wheel(self, x, y, notches):
        self.mouse('mouseMoved', x, y)
        for _ in range(abs(notches)):
            self.mouse('mouseWheel', x, y, deltaX=0, deltaY=100 if notches > 0 else -100)

    def key(self, name):
        *held, last = name.split('+')
        # A letter is the key with its code, or its capital with Shift held.
        key, code, vk = KEYS.get(last) or (last.upper() if 'shift' in held else last,
                                           f'Key{last.upper()}', ord(last.upper()))
        modifiers = sum(HELD[h] for h in held)
        text = ' ' if name == 'space' else '\r' if name == 'Return' else ''
        down = dict(key=key, code=code, windowsVirtualKeyCode=vk, modifiers=modifiers)
        self.page('Input.dispatchKeyEvent', type='keyDown' if text else 'rawKeyDown', text=text, **down)
        self.page('Input.dispatchKeyEvent', type='keyUp', **down)

    def type(self, text):
        for ch in text:
            code = f'Digit{ch}' if ch.isdigit() else ''
            self.page('Input.dispatchKeyEvent', type='keyDown', key=ch, code=code, text=ch)
            self.page('Input.dispatchKeyEvent', type='keyUp', key=ch, code=code)

    def clipboard(self):
        return self.evaluate('navigator.clipboard.readText()', wait=True)

    def set_clipboard(self, text):
        self.evaluate(f'navigator.clipboard.writeText({json.dumps(text)})', wait=True)

    def close(self):
        try:
            self.call('Browser.close')
            self.proc.wait(timeout=10)
        except Exception:
            self.proc.kill()
        shutil.rmtree(self.profile, ignore_errors=True)
