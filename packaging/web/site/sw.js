// SPDX-License-Identifier: MIT
// Keeps one whole version of the site for use without a network. Every version caches all of its
// files under its own name before it may take over, and answers from that cache alone; so a page
// never mixes two versions, and an old version's cache goes when a new one takes over.
'use strict';

const version = '@VERSION@';
const files = [@FILES@];
const cacheName = `zandrel-ticket-calculator-${version}`;

self.addEventListener('install', (event) => {
    // Past the browser's own cache, so that nothing of an older version slips in.
    event.waitUntil(caches.open(cacheName).then((cache) =>
        cache.addAll(files.map((file) => new Request(file, { cache: 'no-cache' })))));
});

// The page says when it holds all of its own version; only then may this one take over.
self.addEventListener('message', (event) => {
    if (event.data === 'activate')
        self.skipWaiting();
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((names) => Promise.all(
        names.filter((name) => name !== cacheName).map((name) => caches.delete(name)))));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)
        return;
    // A visit to any page of the site opens the calculator.
    const lookup = request.mode === 'navigate' ? new URL('./', self.registration.scope).href : request;
    event.respondWith(caches.open(cacheName).then((cache) => cache.match(lookup, { ignoreSearch: true }))
        .then((cached) => cached || fetch(request)));
});
