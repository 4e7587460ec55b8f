// The duel's page: glue between the browser and the game's own engine (vorrak.js).
// The URL is the settings file; clicks and keys wait in a queue while the engine is busy.
"use strict";

// The screen's size, the move names' click bands and the settings' keys, as the engine
// has them (web_layout).
let WIDTH, HEIGHT, MOVES, KEYS = [];
const $ = (id) => document.getElementById(id);
const canvas = $("screen"), context = canvas.getContext("2d");
let engine, busy = false, said = "";
const queue = [];
// The data the chooser lists and the duel reads: the bundled data, or the files an author
// gave (authors.js), kept here so that a fresh engine gets them again.
let own = null;
const dataFolder = () => (own ? "/given/" : "/data/");

// What the engine calls back (see src/web/main.cpp).
window.Vorrak = {
  present() {
    if (!performance.getEntriesByName("first screen").length) performance.mark("first screen");
    const pixels = new Uint8ClampedArray(engine.HEAPU8.buffer, engine._web_pixels(), WIDTH * HEIGHT * 4);
    context.putImageData(new ImageData(pixels, WIDTH, HEIGHT), 0, 0);
    const line = engine.UTF8ToString(engine._web_message()).trimEnd();
    if (line && line !== said) $("status").textContent = said = line;
  },
  messageBox(text) {
    $("messageText").textContent = text;
    $("message").showModal();
    return new Promise((done) => $("message").addEventListener("close", done, { once: true }));
  },
  ended() {
    $("result").textContent = said;
    for (const b of $("moves").children) b.disabled = true;
    $("end").hidden = false;
    $("again").focus();
  },
};

// One call into the engine at a time; what comes meanwhile waits, as in a message queue.
async function call(name, types, args) {
  busy = true;
  await engine.ccall(name, null, types, args, { async: true });
  busy = false;
  if (queue.length && !engine._web_ended()) {
    const [x, y] = queue.shift();
    call("web_click", ["number", "number"], [x, y]);
  }
}

function click(x, y) {
  if (!engine || $("end").hidden === false) return;
  if (busy) queue.push([x, y]);
  else call("web_click", ["number", "number"], [x, y]);
}

// A click just inside move k's band names it, whatever the length of its name.
const clickMove = (k) => click(MOVES[k - 1].left + 1, MOVES[k - 1].top + 1);

canvas.addEventListener("click", (e) => {
  const r = canvas.getBoundingClientRect();
  click(Math.floor((e.clientX - r.left) * WIDTH / r.width), Math.floor((e.clientY - r.top) * HEIGHT / r.height));
});
document.addEventListener("keydown", (e) => {
  if (!canvas.hidden && ["1", "2", "3"].includes(e.key) && !e.ctrlKey && !e.altKey && !e.metaKey) clickMove(+e.key);
});

// The largest whole number of device pixels per screen pixel that fits, or smoothly smaller.
function fit() {
  const dpr = window.devicePixelRatio || 1;
  const room = Math.min((innerWidth - 16) * dpr / WIDTH, (innerHeight - 110) * dpr / HEIGHT);
  const scale = room >= 1 ? Math.floor(room) / dpr : Math.min((innerWidth - 16) / WIDTH, 1);
  canvas.style.width = `${WIDTH * scale}px`;
  canvas.style.height = `${HEIGHT * scale}px`;
  canvas.classList.toggle("smooth", room < 1);
}
addEventListener("resize", fit);

function settingsOf(params) {
  return KEYS.filter((k) => params.has(k));
}

// A Path must name a folder beside the page: nothing with a scheme, nor a host of its own.
const refusal = (folder) => `The Path ${folder} is refused: it must name a folder beside this page.`;

function sameOrigin(folder, name) {
  if (/^[a-z][a-z0-9+.-]*:/i.test(folder) || /^[\\/][\\/]/.test(folder)) return null;
  try {
    const url = new URL(folder + name, location.href);
    return url.origin === location.origin ? url : null;
  } catch {
    return null;
  }
}

async function fetchFolder(folder) {
  makeFolder("/fetched");
  for (const name of engine.UTF8ToString(engine._web_files()).split("\n")) {
    const url = sameOrigin(folder, name);
    if (!url) throw new Error(refusal(folder));
    if (location.protocol === "file:")
      throw new Error(`Could not fetch ${folder}${name}: a page opened from a disk can't fetch files. Serve its folder over http.`);
    const answer = await fetch(url).catch(() => null);
    if (!answer) throw new Error(`Could not fetch ${folder}${name}.`);
    if (answer.status === 404) continue;  // the game does without a missing file
    if (!answer.ok) throw new Error(`Could not fetch ${folder}${name}: ${answer.status} ${answer.statusText}.`);
    engine.FS.writeFile(`/fetched/${name}`, new Uint8Array(await answer.arrayBuffer()));
  }
}

// The bundled data (data.js): one gzip'd run of files, each its name, a zero byte, its
// size in four bytes and its bytes.
async function unpackData() {
  const packed = Uint8Array.from(atob(bundledData), (c) => c.charCodeAt(0));
  const run = new Blob([packed]).stream().pipeThrough(new DecompressionStream("gzip"));
  const bytes = new Uint8Array(await new Response(run).arrayBuffer());
  const view = new DataView(bytes.buffer);
  makeFolder("/data");
  for (let at = 0; at < bytes.length;) {
    const end = bytes.indexOf(0, at), size = view.getUint32(end + 1, true);
    const name = new TextDecoder().decode(bytes.subarray(at, end));
    engine.FS.writeFile(`/data/${name}`, bytes.subarray(end + 5, end + 5 + size));
    at = end + 5 + size;
  }
}

function makeFolder(dir) {
  if (!engine.FS.analyzePath(dir).exists) engine.FS.mkdir(dir);
}

// An engine runs one duel, as the Windows program does: each duel, and each giving of an
// author's files, has a fresh one.
async function startEngine() {
  engine = await createVorrak();
  ({ width: WIDTH, height: HEIGHT, moves: MOVES, keys: KEYS } = JSON.parse(engine.UTF8ToString(engine._web_layout())));
  [canvas.width, canvas.height] = [WIDTH, HEIGHT];
  await unpackData();
  if (!own) return;
  makeFolder("/given");
  // The engine only reads them: it may keep the page's own bytes, uncopied.
  for (const { name, bytes } of own) engine.FS.writeFile(`/given/${name}`, bytes, { canOwn: true });
}

// The settings file the game's own reader reads, from a query's keys.
function settingsFile(params, folder) {
  const lines = settingsOf(params).filter((k) => k !== "Path")
    .map((k) => `${k}=${params.get(k).split(/[\r\n]/)[0]}`);
  lines.push(`Path=${folder}`);
  return lines.join("\r\n") + "\r\n";
}

// The query, written out as the settings file that the game's own reader reads.
async function play(params) {
  $("chooser").hidden = true;
  canvas.hidden = false;
  fit();
  const folder = params.get("Path");
  makeFolder("/windows");
  engine.FS.writeFile("/windows/vorrak.ini", settingsFile(params, folder === null ? dataFolder() : "/fetched/"));
  try {
    if (folder !== null) await fetchFolder(folder);
  } catch (e) {
    await Vorrak.messageBox(e.message);
    said = e.message;
    Vorrak.ended();
    return;
  }
  await call("web_start", ["string"], [params.has("skip") ? "vorrak skip" : "vorrak"]);
  makeMoveButtons();
}

function makeMoveButtons() {
  const moves = $("moves");
  moves.replaceChildren();
  for (const k of [1, 2, 3]) {
    const b = document.createElement("button");
    b.type = "button";
    b.textContent = engine.UTF8ToString(engine._web_move(k)) || `Move ${k}`;
    b.setAttribute("aria-keyshortcuts", String(k));
    b.disabled = !!engine._web_ended();
    b.addEventListener("click", () => clickMove(k));
    moves.append(b);
  }
  moves.hidden = false;
}

// The chooser: the lists are the game's own record listing of the data (web_catalog).
function fillChooser(listing) {
  const catalog = JSON.parse(listing || '{"trainers": [], "creatures": [], "moves": []}');
  const fill = (id, items, shown) => {
    $(id).replaceChildren(...items.map((item) => new Option(shown(item), item[0])));
  };
  for (const id of ["TrainerYou", "TrainerOpp"]) fill(id, catalog.trainers, (t) => t[1]);
  for (const id of ["You", "Opp"]) fill(id, catalog.creatures, (c) => c[1]);
  for (const id of ["Move1", "Move2", "Move3", "OppMove1", "OppMove2", "OppMove3"])
    fill(id, catalog.moves, (m) => `${m[1]} (damage ${m[2]})`);
}

function choose() {
  fillChooser(engine.UTF8ToString(engine.ccall("web_catalog", "number", ["string"], ["/data/"])));
  const stored = remembered();
  if (stored === null) $("random").click();  // a first visit: any match rather than a mirror
  const last = new URLSearchParams(stored || "");
  for (const k of settingsOf(last)) if ($(k)) $(k).value = last.get(k);
  $("skip").checked = last.has("skip");
  showChooser();
}

function showChooser() {
  for (const id of ["You", "Opp"]) $(id).dispatchEvent(new Event("change"));
  $("chooser").hidden = false;
}
for (const [id, preview] of [["You", "yourPreview"], ["Opp", "oppPreview"]])
  $(id).addEventListener("change", () => showPicture($(preview), $(id).value));

// The last match played; a browser may keep no storage for a page opened from a disk.
function remembered() {
  try {
    return localStorage.getItem("vorrak.match");
  } catch {
    return null;
  }
}
function remember(query) {
  try {
    localStorage.setItem("vorrak.match", query);
  } catch {
    // the chooser then opens on a random match next time
  }
}

function showPicture(box, number) {
  const file = `${dataFolder()}${number}.bmp`;
  box.replaceChildren();
  if (!engine.FS.analyzePath(file).exists) return;
  const img = new Image();
  img.alt = "";
  img.src = URL.createObjectURL(new Blob([engine.FS.readFile(file)], { type: "image/bmp" }));
  box.append(img);
}

$("random").addEventListener("click", () => {
  for (const select of $("chooser").querySelectorAll("select")) {
    select.selectedIndex = Math.floor(Math.random() * select.options.length);
    select.dispatchEvent(new Event("change"));
  }
});
function chosen() {
  const params = new URLSearchParams();
  for (const k of KEYS) if ($(k)) params.set(k, $(k).value);
  if ($("skip").checked) params.set("skip", "");
  return params;
}

let lastMatch;
$("chooser").addEventListener("submit", (e) => {
  e.preventDefault();
  const params = lastMatch = chosen();
  if (!own) {  // an author's files live only in this page: no address can bring them back
    const query = params.toString().replace(/skip=$/, "skip");
    remember(query);
    history.pushState(null, "", `?${query}`);
  }
  play(params);
});

// A finished duel, like the Windows program's run, is over: a new one starts the page anew,
// or, with an author's files, which a reload would lose, a fresh engine.
function onFreshEngine(then) {
  $("end").hidden = $("moves").hidden = canvas.hidden = true;
  startEngine().then(then);
}
$("again").addEventListener("click", () => (own ? onFreshEngine(() => play(lastMatch)) : location.reload()));
for (const id of ["newAfter", "newMatch"])
  $(id).addEventListener("click", () => (own ? onFreshEngine(showChooser) : (location.href = location.pathname)));
$("aboutButton").addEventListener("click", () => $("about").showModal());
addEventListener("popstate", () => location.reload());

startEngine().then(() => {
  const params = new URLSearchParams(location.search);
  if (settingsOf(params).length) play(params);
  else choose();
});
