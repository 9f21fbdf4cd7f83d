// SPDX-License-Identifier: MIT
// Keeps one whole version of the site for use without a network. Every version caches all of its
// files under its own name before it may take over, and answers from that cache alone; so a page
// never mixes two versions. A new version takes over only once every tab that runs the
// calculator holds all of its own version, and then deletes the caches of its older versions:
// the caches of anything else on the same site stay.
'use strict';

const version = '@VERSION@';
const files = [@FILES@];
const prefix = 'zandrel-ticket-calculator-';
const cacheName = `${prefix}${version}`;
// The calculator's own page, as the files list it.
const page = './';

self.addEventListener('install', (event) => {
    // Past the browser's own cache, so that nothing of an older version slips in.
    event.waitUntil(caches.open(cacheName).then((cache) =>
        cache.addAll(files.map((file) => new Request(file, { cache: 'no-cache' })))));
});

// Whether a tab holds all of the version it runs; one that does not answer (its scripts not yet
// run, or busy) does not.
function whole(tab) {
    return new Promise((resolve) => {
        const channel = new MessageChannel();
        const timeout = setTimeout(() => resolve(false), 1000);
        channel.port1.onmessage = (event) => {
            clearTimeout(timeout);
            resolve(event.data === true);
        };
        tab.postMessage('whole?', [channel.port2]);
    });
}

function runsCalculator(tab) {
    const path = new URL(tab.url).pathname;
    const scope = new URL(self.registration.scope).pathname;
    return path === scope || path === `${scope}index.html`;
}

// A tab says it holds all of its version: this one takes over if every tab of the calculator
// does. A tab still loading an older version would otherwise get the rest of its files from
// this one.
self.addEventListener('message', (event) => {
    if (event.data !== 'whole')
        return;
    event.waitUntil(self.clients.matchAll({ type: 'window', includeUncontrolled: true })
        .then((tabs) => Promise.all(tabs.filter(runsCalculator).map(whole)))
        .then((answers) => answers.every(Boolean) && self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((names) => Promise.all(
        names.filter((name) => name.startsWith(prefix) && name !== cacheName)
            .map((name) => caches.delete(name)))));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== self.location.origin)
        return;
    // The page is kept under the site's own address, whichever way it is asked for.
    const scope = new URL(self.registration.scope);
    const lookup = url.pathname === `${scope.pathname}index.html` ? new URL(page, scope).href : request;
    event.respondWith(caches.open(cacheName).then(async (cache) => {
        const cached = await cache.match(lookup, { ignoreSearch: true });
        if (cached)
            return cached;
        if (request.mode !== 'navigate')
            return fetch(request);
        // A page of the site this version does not hold comes from the server; with no network,
        // the calculator.
        try {
            return await fetch(request);
        } catch (error) {
            return (await cache.match(new URL(page, scope).href)) || Response.error();
        }
    }));
});
