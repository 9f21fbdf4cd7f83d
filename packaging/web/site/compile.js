// SPDX-License-Identifier: MIT
// Downloads and compiles the program's module off the page's thread, where the browser would
// otherwise decode it in long tasks as it arrives, and hands the compiled module to the page.
'use strict';

self.onmessage = async ({ data: url }) => {
    try {
        const response = await fetch(url);
        if (!response.ok)
            throw new Error(`${url}: ${response.status} ${response.statusText}`);
        const module = WebAssembly.compileStreaming
            ? await WebAssembly.compileStreaming(response)
            : await WebAssembly.compile(await response.arrayBuffer());
        self.postMessage({ module });
    } catch (error) {
        self.postMessage({ error: `${error.message || error}` });
    }
};
