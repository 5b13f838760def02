// Vasul's service worker: keeps the page, the game and its pack so that the game starts and
// plays without a network. The page puts the pack in the cache as it downloads it; the worker
// keeps the rest on installing. A new build has a new cache name, and the old cache goes.
'use strict';

const BUILD = '@BUILD@';
// The page names the same cache: the build, and the folder this copy of the page is served from.
const SCOPE = new URL(self.registration.scope).pathname;
const CACHE = `vasul-${BUILD} ${SCOPE}`;
const SHELL = ['./', 'index.html', 'vasul-page.js', 'vasul.js', 'vasul.wasm', 'pack.json',
  'manifest.webmanifest', 'icon-32.png', 'icon-192.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
      // Asked again of the server, which answers "not modified" for what the page just loaded.
      .then((cache) => cache.addAll(SHELL.map((url) => new Request(url, {cache: 'no-cache'}))))
      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
      .then((names) => Promise.all(names
          .filter((name) => name.startsWith('vasul-') && name.endsWith(` ${SCOPE}`) &&
                  name !== CACHE)
          .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// What the cache holds, or else the network; the page's query string (?seed=N) does not
// make another page.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE)
      .then((cache) => cache.match(request, {ignoreSearch: true}))
      .then((hit) => hit || fetch(request)));
});
