// Keeps the game's files so that, after one visit, the page plays with the
// network gone. Each build names its own cache (the build writes the name
// below from the version and the files' contents) and asks for its game by
// names that carry a hash of each file's contents; once a new build's worker
// has its files, it takes over and the old cache goes.

'use strict';

const cacheName = '@KORDAVAN_CACHE@';
const files = ['./', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];
const builtFiles = ['kordavan.js?v=@KORDAVAN_JS_HASH@', 'kordavan.pack.gz?v=@KORDAVAN_PACK_HASH@'];

self.addEventListener('install', (event) => {
  // Revalidated rather than fetched afresh: the page has just downloaded
  // them, so an unchanged file costs a "not modified" answer. A file named
  // by its contents is the same wherever it is found, so the browser's own
  // copy of it needs no asking at all.
  const requests = files.map((file) => new Request(file, {cache: 'no-cache'}))
      .concat(builtFiles.map((file) => new Request(file, {cache: 'force-cache'})));
  event.waitUntil(caches.open(cacheName)
      .then((cache) => cache.addAll(requests))
      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
      .then((names) => Promise.all(names
          .filter((name) => name.startsWith('kordavan-') && name !== cacheName)
          .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName).then(async (cache) => {
    // The game's files only by their exact names: an old build's file never
    // stands in for a new one's.
    const kept = await cache.match(request) ||
        (request.mode === 'navigate' ? await cache.match('./') : undefined);
    return kept || fetch(request);
  }));
});
