// SPDX-License-Identifier: MIT
// Loads the calculator into the page: checks what the browser must have, downloads and compiles
// the program with a progress bar, starts it in a screen of the window's own size (scaled down on
// a smaller tablet) or, on a phone, arranged for touch in a screen the size of the page, and makes
// the page work offline from then on.
'use strict';

(() => {
    const body = document.body;
    const program = body.dataset.program;
    const moduleSize = Number(body.dataset.moduleSize);
    // The window's size as the program makes it, in its own pixels.
    const windowSize = { width: Number(body.dataset.windowWidth), height: Number(body.dataset.windowHeight) };
    const loading = document.getElementById('loading');
    const progress = loading.querySelector('progress');
    const problem = document.getElementById('problem');
    const screen = document.getElementById('screen');
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
        loading.hidden = true;
        screen.hidden = true;
        problem.textContent = text;
        problem.hidden = false;
    }

    function hasWebGL() {
        try {
            const canvas = document.createElement('canvas');
            return !!(canvas.getContext('webgl2') || canvas.getContext('webgl'));
        } catch (e) {
            return false;
        }
    }

    // The window arranged for touch where a finger is the pointer and the desktop window would be
    // drawn at less than nine tenths of its size, held upright or sideways: a phone, or a small
    // tablet. Upright and sideways alike, so that turning it keeps the arrangement; measured on
    // the device's screen, which the page's own zoom does not change.
    function arrangement() {
        if (!matchMedia('(pointer: coarse)').matches)
            return 'desktop';
        const margin = 16;
        const [short, long] = [window.screen.width, window.screen.height].sort((a, b) => a - b);
        const zoom = (width, height) => Math.min(width / (windowSize.width + margin),
                                                 height / (windowSize.height + margin));
        return Math.min(zoom(short, long), zoom(long, short)) < 0.9 ? 'touch' : 'desktop';
    }

    // A tablet too small for the window shows the page as wide as it must be for the whole
    // window to fit, and scales it to its screen itself, at its full resolution. (A desktop
    // browser ignores this: a smaller browser window there scrolls.)
    function fitTheScreen() {
        const margin = 16;
        const width = Math.ceil(Math.max(windowSize.width + margin,
            (windowSize.height + margin) * window.innerWidth / window.innerHeight));
        if (width > window.innerWidth)
            document.querySelector('meta[name=viewport]').content = `width=${width}`;
    }

    // The module, compiled as it downloads; the bar follows the bytes on their way to the
    // compiler. The size is that of the module itself, whatever encoding the server sends it in.
    async function compile(url) {
        const response = await fetch(url);
        if (!response.ok)
            throw new Error(`${url}: ${response.status} ${response.statusText}`);
        let received = 0;
        const counted = response.body.pipeThrough(new TransformStream({
            transform(chunk, controller) {
                received += chunk.length;
                progress.value = Math.min(received / moduleSize, 1);
                controller.enqueue(chunk);
            },
        }));
        const module = new Response(counted, { headers: { 'Content-Type': 'application/wasm' } });
        if (WebAssembly.compileStreaming)
            return WebAssembly.compileStreaming(module);
        return WebAssembly.compile(await module.arrayBuffer());
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

    // Marks the first frame drawn after the program has shown its window.
    function markDrawn() {
        requestAnimationFrame(() => requestAnimationFrame(() => {
            performance.mark('ztc-window-drawn');
            body.dataset.state = 'running';
        }));
    }

    // Where this browser keeps the switch that turns WebGL back on, as far as it says which it is.
    function webGLHint() {
        const agent = navigator.userAgent;
        const hints = [
            [/Edg\//, 'In Edge, turn on "Use graphics acceleration when available" under Settings, System and performance.'],
            [/Firefox\//, 'In Firefox, turn on "Use hardware acceleration when available" under Settings, General, Performance, and set webgl.disabled to false in about:config.'],
            [/Chrome\//, 'In Chrome, turn on "Use graphics acceleration when available" under Settings, System.'],
            [/iPhone|iPad/, 'On an iPhone or iPad, turn WebGL on under Settings, Apps, Safari, Advanced, Feature Flags.'],
            [/Macintosh.*Safari\//, 'In Safari, turn WebGL on under Develop, Feature Flags.'],
        ];
        const hint = hints.find(([pattern]) => pattern.test(agent));
        return hint ? hint[1] : 'Turn on hardware acceleration in its settings.';
    }

    async function start() {
        if (typeof WebAssembly !== 'object') {
            fail('This calculator needs a browser that runs WebAssembly. Any current Chrome, Edge, Firefox or Safari does.');
            return;
        }
        if (!hasWebGL()) {
            fail(`This calculator draws with WebGL, which this browser has turned off or lacks. ${webGLHint()} Or try another browser.`);
            return;
        }
        // The program reads the choice as it starts; on a phone the style sheet makes the screen
        // the page's size, which the program follows as the phone turns.
        body.dataset.arrangement = arrangement();
        if (body.dataset.arrangement === 'desktop') {
            screen.style.width = `${windowSize.width}px`;
            screen.style.height = `${windowSize.height}px`;
            fitTheScreen();
        }

        const [compiled] = await Promise.all([
            compile(`${program}.wasm`),
            loadScript(`${program}.js`),
        ]);
        loading.hidden = true;
        screen.hidden = false;
        await window.createQtAppInstance({
            qtContainerElements: [screen],
            instantiateWasm(imports, receive) {
                WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled),
                                                               (error) => fail(`The calculator could not start: ${error}`));
                return {};
            },
            print: (text) => console.log(text),
            printErr: (text) => console.warn(text),
            onAbort: (text) => fail(`The calculator stopped: ${text}`),
        });
        markDrawn();
        whole = true;

        if ('serviceWorker' in navigator)
            navigator.serviceWorker.register('sw.js').then(watchForUpdates, () => {});
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
