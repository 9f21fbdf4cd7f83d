// SPDX-License-Identifier: MIT
// Chooses how the window is arranged before the page is first drawn, so that the page's first
// paint, a placeholder of the window, already has the window's size and arrangement: for touch
// where a finger is the pointer and the desktop window would be drawn at less than nine tenths of
// its size, held upright or sideways (a phone, or a small tablet), else the desktop window.
// Upright and sideways alike, so that turning it keeps the arrangement; measured on the device's
// screen, which the page's own zoom does not change. The program reads the choice as it starts.
'use strict';

(() => {
    const root = document.documentElement;
    // The window's size as the program makes it, in its own pixels.
    const width = Number(root.dataset.windowWidth);
    const height = Number(root.dataset.windowHeight);
    const margin = 16;
    const [short, long] = [window.screen.width, window.screen.height].sort((a, b) => a - b);
    const zoom = (across, down) => Math.min(across / (width + margin), down / (height + margin));
    const touch = matchMedia('(pointer: coarse)').matches &&
        Math.min(zoom(short, long), zoom(long, short)) < 0.9;
    root.dataset.arrangement = touch ? 'touch' : 'desktop';

    // A tablet too small for the window shows the page as wide as it must be for the whole
    // window to fit, and scales it to its screen itself, at its full resolution. (A desktop
    // browser ignores this: a smaller browser window there scrolls.)
    if (!touch) {
        const wide = Math.ceil(Math.max(width + margin, (height + margin) * window.innerWidth / window.innerHeight));
        if (wide > window.innerWidth)
            document.querySelector('meta[name=viewport]').content = `width=${wide}`;
    }
})();
