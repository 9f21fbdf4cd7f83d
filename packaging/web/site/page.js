// SPDX-License-Identifier: MIT
// Loads the calculator into the page: checks what the browser must have, downloads and compiles
// the program while a placeholder of the window stands in its place, starts it in a screen of
// the window's own size (scaled down on a smaller tablet) or, on a phone, arranged for touch in a
// screen the size of the page (arrangement.js chose which), and makes the page work offline from
// then on. The program builds its window in short steps, and says when it is shown (shown);
// what the user typed or tapped meanwhile then goes to the window.
'use strict';

(() => {
    const root = document.documentElement;
    const body = document.body;
    const program = body.dataset.program;
    const problem = document.getElementById('problem');
    const screen = document.getElementById('screen');
    const placeholder = document.getElementById('placeholder');
    const loading = document.getElementById('loading');
    let calculator = null;
    // Whether this tab holds all of its version of the site: once the program runs, it needs no
    // more of it. A new version asks every tab before it takes over (sw.js).
    let whole = false;
    if ('serviceWorker' in navigator) {
        navigator.serviceWorker.addEventListener('message', (event) => {
            if (event.data === 'whole?' && event.ports[0])
                event.ports[0].postMessage(whole);
        });
        navigator.serviceWorker.startMessages();
    }

    function fail(text) {
        screen.hidden = true;
        problem.textContent = text;
        problem.hidden = false;
    }

    // Keys and taps that come before the window is shown, kept for it: the program would drop
    // them, having no window to give them to yet.
    const early = [];
    const starting = () => body.dataset.state !== 'running';
    function keep(event) {
        if (!starting())
            return;
        // Nothing of it reaches the program's canvas before there is a window.
        event.stopPropagation();
        if (event.cancelable)
            event.preventDefault();
        if (event.type === 'keydown' || event.type === 'keyup') {
            const { key, code, location, repeat, ctrlKey, shiftKey, altKey, metaKey } = event;
            early.push({ key: event.type, init: { key, code, location, repeat, ctrlKey, shiftKey, altKey, metaKey } });
        } else if (event.type === 'pointerdown') {
            early.pressed = { x: event.clientX, y: event.clientY, id: event.pointerId };
        } else if (event.type === 'pointerup' && early.pressed && early.pressed.id === event.pointerId &&
                   Math.hypot(event.clientX - early.pressed.x, event.clientY - early.pressed.y) <= 10) {
            const { left, top } = screen.getBoundingClientRect();
            early.push({ tap: [Math.round(early.pressed.x - left), Math.round(early.pressed.y - top)] });
        }
    }
    for (const type of ['keydown', 'keyup'])
        document.addEventListener(type, keep, true);
    for (const type of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel', 'touchstart',
                        'touchmove', 'touchend', 'touchcancel', 'wheel', 'contextmenu'])
        screen.addEventListener(type, keep, { capture: true, passive: false });

    function handOnEarly() {
        const canvas = screen.querySelector('canvas');
        for (const { key, init, tap } of early.splice(0)) {
            if (tap)
                calculator.ztcClickAt(...tap);
            else
                canvas.dispatchEvent(new KeyboardEvent(key, { ...init, bubbles: true, cancelable: true }));
        }
    }

    // The module, compiled by the browser as it downloads, in a worker where the browser has
    // them and can hand a compiled module over, else on the page.
    function compile(url) {
        if (!window.Worker)
            return compileHere(url);
        return new Promise((resolve, reject) => {
            const worker = new Worker('compile.js');
            worker.onmessage = ({ data }) => {
                worker.terminate();
                if (data.module instanceof WebAssembly.Module)
                    resolve(data.module);
                else if (data.error)
                    reject(new Error(data.error));
                else
                    resolve(compileHere(url));
            };
            worker.onerror = (event) => {
                event.preventDefault();
                worker.terminate();
                resolve(compileHere(url));
            };
            worker.postMessage(url);
        });
    }

    async function compileHere(url) {
        const response = await fetch(url);
        if (!response.ok)
            throw new Error(`${url}: ${response.status} ${response.statusText}`);
        if (WebAssembly.compileStreaming)
            return WebAssembly.compileStreaming(response);
        return WebAssembly.compile(await response.arrayBuffer());
    }

    function loadScript(url) {
        return new Promise((resolve, reject) => {
            const script = document.createElement('script');
            script.src = url;
            script.onload = resolve;
            script.onerror = () => reject(new Error(`${url} did not load`));
            document.head.appendChild(script);
        });
    }

    // The program has shown its window. Once it is drawn, the canvas is shown under the
    // placeholder; a frame later, once its controls' elements are all on the page for a screen
    // reader, the window takes the placeholder's place and gets what was typed or tapped
    // meanwhile. (A browser hands a shown canvas to its compositor whole at every frame that
    // changes it, which on a phone costs as much as a control's paint: hidden, the window's
    // first paint in parts costs that once.)
    window.ztcPage = {
        shown() {
            const frame = () => new Promise((resolve) => requestAnimationFrame(resolve));
            const drawn = frame().then(frame).then(() => {
                body.dataset.state = 'drawn';
                return frame();
            });
            Promise.all([drawn, window.ztcAccess && window.ztcAccess.allMade]).then(() => {
                placeholder.remove();
                loading.remove();
                performance.mark('ztc-window-drawn');
                body.dataset.state = 'running';
                handOnEarly();
                whole = true;
                if ('serviceWorker' in navigator)
                    navigator.serviceWorker.register('sw.js').then(watchForUpdates, () => {});
            });
        },
    };

    // Once the placeholder is on the screen: a browser draws nothing new while the module's
    // download and compilation keep the page busy. A page that paints nothing (a tab opened in
    // the background) starts all the same.
    function painted() {
        return new Promise((resolve) => {
            setTimeout(resolve, 1000);
            if (!(PerformanceObserver.supportedEntryTypes || []).includes('paint')) {
                requestAnimationFrame(() => setTimeout(resolve, 0));
                return;
            }
            new PerformanceObserver((list, observer) => {
                if (list.getEntriesByName('first-contentful-paint').length) {
                    observer.disconnect();
                    resolve();
                }
            }).observe({ type: 'paint', buffered: true });
        });
    }

    async function start() {
        if (typeof WebAssembly !== 'object') {
            fail('This calculator needs a browser that runs WebAssembly. Any current Chrome, Edge, Firefox or Safari does.');
            return;
        }
        await painted();
        const [compiled] = await Promise.all([
            compile(`${program}.wasm`),
            loadScript(`${program}.js`),
        ]);
        calculator = await window.createQtAppInstance({
            qtContainerElements: [screen],
            instantiateWasm(imports, receive) {
                WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled),
                                                               (error) => fail(`The calculator could not start: ${error}`));
                return {};
            },
            // Given a status to show, the loader starts the program in a task after the one that
            // instantiated the module, rather than in one long task with it.
            setStatus() {},
            print: (text) => console.log(text),
            printErr: (text) => console.warn(text),
            onAbort: (text) => fail(`The calculator stopped: ${text}`),
        });
    }

    // A new version's worker, once it holds all of its files, hears that this tab holds all of
    // its own; when every tab has said so it takes over, and the next visit gets it whole.
    function watchForUpdates(registration) {
        const tell = (worker) => {
            if (!worker)
                return;
            const whenInstalled = () => worker.state === 'installed' && worker.postMessage('whole');
            whenInstalled();
            worker.addEventListener('statechange', whenInstalled);
        };
        tell(registration.waiting);
        tell(registration.installing);
        registration.addEventListener('updatefound', () => tell(registration.installing));
    }

    start().catch((error) => fail(`The calculator could not be loaded: ${error.message}`));
})();
