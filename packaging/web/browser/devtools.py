# SPDX-License-Identifier: MIT
"""A small DevTools-protocol client: Debian's headless Chromium with a fresh profile, spoken to
over a pipe, whose mouse, touch and key events take the browser's own input path."""
import base64
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

CHROMIUM = os.environ.get('ZTC_CHROMIUM', '/usr/bin/chromium')


class Failure(Exception):
    pass


class Browser:
    """Headless Chromium with a fresh profile, spoken to over --remote-debugging-pipe."""

    def __init__(self, lang='en-US', scale=1, size=(1024, 768)):
        self.profile = tempfile.mkdtemp(prefix='ztc-chromium-')
        to_browser, self._commands = os.pipe()
        self._answers, from_browser = os.pipe()

        def pipes():
            os.dup2(to_browser, 3)
            os.dup2(from_browser, 4)

        # No calls home (this machine has no network but its own), and software WebGL.
        flags = ['--headless', '--no-sandbox', '--no-first-run', '--disable-background-networking',
                 '--disable-component-update', '--disable-sync', '--disable-quic',
                 '--disable-default-apps', '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
                 f'--window-size={size[0]},{size[1]}', f'--force-device-scale-factor={scale}',
                 f'--lang={lang}', f'--accept-lang={lang}', f'--user-data-dir={self.profile}',
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

    def expect_clean(self):
        """The page reported no error, and nothing its security policy refused."""
        problems = [line for line in self.drain() if 'Content Security Policy' in line or 'rror' in line]
        if problems:
            raise Failure('the page reported:\n' + '\n'.join(problems))

    def evaluate(self, expression, wait=False):
        result = self.page('Runtime.evaluate', expression=expression, awaitPromise=wait,
                           returnByValue=True)
        if 'exceptionDetails' in result:
            raise Failure(f'{expression}: {result["exceptionDetails"]}')
        return result['result'].get('value')

    def open(self, url, timeout=60):
        """Goes to the site and waits for the calculator's window; returns the milliseconds from
        navigation to its first drawn frame."""
        # The page that goes must not be taken for the one that comes.
        self.evaluate('document.body && delete document.body.dataset.state')
        self.page('Page.navigate', url=url)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            state = self.evaluate("document.body ? document.body.dataset.state || '' : ''")
            if state == 'running':
                return self.evaluate("performance.getEntriesByName('ztc-window-drawn')[0].startTime")
            problem = self.evaluate("(e => e && !e.hidden ? e.textContent : '')(document.getElementById('problem'))")
            if problem:
                raise Failure(f'the page says: {problem}\n' + '\n'.join(self.drain()))
            time.sleep(0.05)
        raise Failure('the calculator did not start:\n' + '\n'.join(self.drain()))

    def screen_origin(self):
        return self.evaluate("(r => [r.left, r.top])(document.getElementById('screen').getBoundingClientRect())")

    def screenshot(self, path):
        data = self.page('Page.captureScreenshot', format='png')['data']
        with open(path, 'wb') as f:
            f.write(base64.b64decode(data))

    def close(self):
        try:
            self.call('Browser.close')
            self.proc.wait(timeout=10)
        except Exception:
            self.proc.kill()
        shutil.rmtree(self.profile, ignore_errors=True)
