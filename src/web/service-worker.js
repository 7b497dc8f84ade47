// Keeps every file of the page, so that the page opens again with no network once it has been
// opened. The files are kept in a cache named by the version and by what they are, which the
// worker of a page published again fills afresh, taking over from the last once it has, and the
// last cache is deleted.
"use strict";

const cache = "@TENSORT_CACHE@";
const files = "@TENSORT_CACHED@".split(";");

addEventListener("install", (event) => {
  const kept = caches.open(cache).then((store) =>
    store.addAll(files.map((file) => new Request(file, { cache: "reload" }))));
  event.waitUntil(kept.then(() => skipWaiting()));
});

addEventListener("activate", (event) => {
  const old = caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith("tensort-") && name !== cache).map((name) => caches.delete(name))));
  event.waitUntil(old.then(() => clients.claim()));
});

// A file of the page comes from the cache; anything else from the network, as it would.
addEventListener("fetch", (event) => {
  event.respondWith(caches.open(cache).then(async (store) =>
    (await store.match(event.request, { ignoreSearch: true })) ?? fetch(event.request)));
});
