// The page's service worker, over http(s) only: it keeps the page's own files from the
// first visit on, so that the page plays offline after it. Each release has a cache of its
// own, named from its version and its files (tools/webcache.py writes them in); a new
// release's worker fills its cache, takes over and deletes the old one.
"use strict";

const SCOPE = new URL("./", location.href).href;  // the page's folder
const CACHE = `vorrak ${SCOPE} @CACHE@`;
const FILES = @FILES@;
// The checker only authors use: kept once an author's visit has fetched it.
const LATER = @LATER@;

self.addEventListener("install", (e) => {
  // As the server has them now: what the browser's own cache holds may be the old release.
  const fresh = FILES.map((file) => new Request(file, { cache: "no-cache" }));
  e.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(fresh)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (e) => {
  const old = (name) => name.startsWith(`vorrak ${SCOPE} `) && name !== CACHE;
  e.waitUntil(caches.keys().then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page's own files from the cache; anything else (a Path's folder) from the network.
self.addEventListener("fetch", (e) => {
  const url = new URL(e.request.url);
  if (e.request.method !== "GET" || !url.href.startsWith(SCOPE)) return;
  const name = url.pathname.slice(new URL(SCOPE).pathname.length);
  // The page itself, whatever its query, or as its folder's address.
  const file = e.request.mode === "navigate" && (name === "" || name === "index.html") ? "index.html" : name;
  if (!FILES.includes(file) && !LATER.includes(file)) return;
  e.respondWith(caches.open(CACHE).then(async (cache) => {
    const kept = await cache.match(file);
    if (kept) return kept;
    const answer = await fetch(e.request);
    if (answer.ok && LATER.includes(file)) await cache.put(file, answer.clone());
    return answer;
  }));
});
