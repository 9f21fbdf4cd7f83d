# SPDX-License-Identifier: MIT
"""Firefox ESR and WebKitGTK, Debian's own, each on a virtual X server of its own with a fresh
profile, driven through the W3C WebDriver protocols: Firefox over WebDriver BiDi (a websocket on
--remote-debugging-port, through Debian's python3-websocket), WebKitGTK's MiniBrowser through
WebKitWebDriver (classic WebDriver over HTTP). Both take the same input actions, which enter the page as the user's own; the clipboard is
the X server's."""
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.error
import urllib.request

import websocket

from pagedriver import Failure, PageDriver
from xdisplay import Display
from xinput import XInput

# WebDriver's key values.
KEYS = {'Tab': '\ue004', 'Return': '\ue007', 'space': ' ', 'Up': '\ue013', 'Down': '\ue015',
        'End': '\ue010', 'Home': '\ue011', 'F4': '\ue034', 'BackSpace': '\ue003', 'Escape': '\ue00c'}
HELD = {'ctrl': '\ue009', 'shift': '\ue008'}


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class W3CBrowser(PageDriver):
    """Input as WebDriver actions, and the X server's clipboard. Subclasses send actions
    (perform), evaluate and navigate."""

    def click(self, x, y, button='left'):
        number = {'left': 0, 'right': 2}[button]
        self.pointer('mouse', x, y, [{'type': 'pointerDown', 'button': number},
                                     {'type': 'pointerUp', 'button': number}])

    def tap(self, x, y):
        self.pointer('touch', x, y, [{'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}])

    def pointer(self, kind, x, y, actions):
        self.perform([{'type': 'pointer', 'id': kind, 'parameters': {'pointerType': kind},
                       'actions': [{'type': 'pointerMove', 'x': int(x), 'y': int(y), 'origin': 'viewport'},
                                   *actions]}])

    def wheel(self, x, y, notches):
        self.perform([{'type': 'wheel', 'id': 'wheel', 'actions': [
            {'type': 'scroll', 'x': int(x), 'y': int(y), 'deltaX': 0, 'deltaY': 100 if notches > 0 else -100}
            for _ in range(abs(notches))]}])

    def keys(self, values):
        self.perform([{'type': 'key', 'id': 'keyboard', 'actions': values}])

    def key(self, name):
        *held, last = name.split('+')
        value = KEYS.get(last, last.upper() if 'shift' in held else last)
        down = [HELD[h] for h in held] + [value]
        self.keys([{'type': 'keyDown', 'value': v} for v in down] +
                  [{'type': 'keyUp', 'value': v} for v in reversed(down)])

    def type(self, text):
        self.keys([step for ch in text for step in ({'type': 'keyDown', 'value': ch}, {'type': 'keyUp', 'value': ch})])

    def clipboard(self):
        return self.display.clipboard()

    def set_clipboard(self, text):
        self.display.set_clipboard(text)


class Firefox(W3CBrowser):
    """Firefox ESR, its language and what it lacks set through its preferences; it does not start
    in a locale the machine has not generated, so it runs in C.UTF-8."""

    name = 'Firefox'
    LACKS = ('WebAssembly', 'WebGL')

    def __init__(self, lang='en-US', scale=1, size=(1024, 768), without=None):
        self.display = Display()
        self.profile = tempfile.mkdtemp(prefix='ztc-firefox-')
        prefs = {'intl.accept_languages': lang, 'browser.shell.checkDefaultBrowser': False,
                 'datareporting.policy.dataSubmissionEnabled': False, 'app.update.disabledForTesting': True,
                 'browser.aboutwelcome.enabled': False, 'dom.events.asyncClipboard.readText': True,
                 'javascript.options.wasm': without != 'WebAssembly', 'webgl.disabled': without == 'WebGL',
                 'layout.css.devPixelsPerPx': str(scale)}
        with open(os.path.join(self.profile, 'user.js'), 'w') as f:
            f.writelines(f'user_pref({json.dumps(k)}, {json.dumps(v)});\n' for k, v in prefs.items())
        port = free_port()
        self.proc = subprocess.Popen(['firefox-esr', '--no-remote', '--profile', self.profile,
                                      '--width', str(size[0]), '--height', str(size[1]),
                                      f'--remote-debugging-port={port}', 'about:blank'],
                                     env={**self.display.env, 'LC_ALL': 'C.UTF-8', 'LANG': 'C.UTF-8'},
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(300):
            try:
                self.socket = websocket.create_connection(f'ws://127.0.0.1:{port}/session',
                                                          suppress_origin=True)
                break
            except (OSError, websocket.WebSocketException):
                time.sleep(0.1)
        else:
            raise Failure('Firefox did not start')
        self.ident, self.events = 0, []
        self.call('session.new', capabilities={})
        self.context = self.call('browsingContext.getTree')['contexts'][0]['context']
        self.call('session.subscribe', events=['log.entryAdded'])

    def call(self, method, **params):
        self.ident += 1
        self.socket.send(json.dumps({'id': self.ident, 'method': method, 'params': params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') != self.ident:
                self.events.append(message)
                continue
            if message.get('type') == 'error':
                raise Failure(f'{method}: {message.get("error")}: {message.get("message")}')
            return message['result']

    def evaluate(self, expression, wait=False):
        result = self.call('script.evaluate', expression=expression, awaitPromise=wait,
                           target={'context': self.context}, resultOwnership='none',
                           serializationOptions={'maxObjectDepth': 20})
        if result['type'] == 'exception':
            raise Failure(f'{expression}: {result["exceptionDetails"]["text"]}')
        return deserialize(result['result'])

    def navigate(self, url):
        self.call('browsingContext.navigate', context=self.context, url=url, wait='none')

    def perform(self, actions):
        self.call('input.performActions', context=self.context, actions=actions)

    def screenshot_data(self):
        return self.call('browsingContext.captureScreenshot', context=self.context)['data']

    def drain(self):
        lines = [f'{e["params"].get("level")}: {e["params"].get("text")}' for e in self.events
                 if e.get('method') == 'log.entryAdded']
        return lines

    def close(self):
        try:
            self.call('browser.close')
            self.proc.wait(timeout=10)
        except Exception:
            self.proc.kill()
        self.display.close()
        shutil.rmtree(self.profile, ignore_errors=True)


def deserialize(value):
    """A value as WebDriver BiDi serializes it, as Python's."""
    kind = value.get('type')
    if kind in ('undefined', 'null'):
        return None
    if kind == 'array':
        return [deserialize(v) for v in value['value']]
    if kind == 'object':
        return {k if isinstance(k, str) else deserialize(k): deserialize(v) for k, v in value['value']}
    if kind == 'number' and isinstance(value['value'], str):
        return float(value['value'].replace('Infinity', 'inf'))
    return value.get('value')


def locales(lang):
    """A folder holding the glibc locale for lang, made once for this run (LOCPATH): a machine
    may have generated none but C."""
    folder = os.path.join(tempfile.gettempdir(), f'ztc-locales-{os.getuid()}')
    name = lang.replace('-', '_') + '.UTF-8'
    if not os.path.isdir(os.path.join(folder, name)):
        os.makedirs(folder, exist_ok=True)
        subprocess.run(['localedef', '-i', lang.replace('-', '_'), '-f', 'UTF-8', os.path.join(folder, name)],
                       check=True, capture_output=True)
    return folder, name


class WebKit(XInput, W3CBrowser):
    """WebKitGTK's MiniBrowser (the engine of Safari) with WebGL off, as some browsers have it: the
    window needs none. Its language is the locale's, which it runs in."""

    name = 'WebKitGTK'
    # Debian's build heeds no switch for WebAssembly (JSC_useWebAssembly is ignored).
    LACKS = ('WebGL',)
    MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'

    def __init__(self, lang='en-US', scale=1, size=(1024, 768), without=None):
        self.display = Display()
        port = free_port()
        folder, locale = locales(lang)
        env = {**self.display.env, 'LOCPATH': folder, 'LC_ALL': locale, 'GDK_SCALE': str(int(scale))}
        self.proc = subprocess.Popen(['WebKitWebDriver', f'--port={port}'], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.base = f'http://127.0.0.1:{port}'
        for _ in range(100):
            try:
                urllib.request.urlopen(self.base + '/status')
                break
            except OSError:
                time.sleep(0.1)
        args = ['--automation', f'--geometry={size[0]}x{size[1]}',
                '--enable-webgl=false']
        capabilities = {'alwaysMatch': {'webkitgtk:browserOptions': {'binary': self.MINIBROWSER, 'args': args}}}
        self.session = self.request('POST', '/session', {'capabilities': capabilities})['sessionId']
        self.focus_window()

    def request(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={'Content-Type': 'application/json'})
        try:
            with urllib.request.urlopen(request, timeout=120) as answer:
                return json.loads(answer.read())['value']
        except urllib.error.HTTPError as error:
            raise Failure(f'WebKitWebDriver {path}: {error.read().decode()[:400]}')

    def command(self, method, path, body=None):
        return self.request(method, f'/session/{self.session}{path}', body)

    def evaluate(self, expression, wait=False):
        if wait:
            return self.command('POST', '/execute/async', {
                'script': f'const done = arguments[0]; Promise.resolve({expression}).then(done, '
                          '(e) => done({__error: String(e)}));', 'args': []})
        return self.command('POST', '/execute/sync', {'script': f'return ({expression});', 'args': []})

    def navigate(self, url):
        # WebDriver's navigation waits for the page's load, which is what the test waits for next.
        self.command('POST', '/url', {'url': url})

    def perform(self, actions):
        self.command('POST', '/actions', {'actions': actions})

    def screenshot_data(self):
        return self.command('GET', '/screenshot')

    def drain(self):
        # Not to be had: WebDriver has no console, and MiniBrowser under automation writes none
        # (its setting that writes the console to the standard error holds only outside it).
        return None

    def close(self):
        try:
            self.request('DELETE', f'/session/{self.session}')
        except Exception:
            pass
        self.proc.terminate()
        self.proc.wait()
        self.display.close()

