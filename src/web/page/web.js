// The duel's page: glue between the browser and the game's own engine (vorrak.js).
// The URL is the settings file; clicks and keys wait in a queue while the engine is busy.
"use strict";
performance.mark("scripts");

// The screen's size, the move names' click bands and the settings' keys, as the engine
// has them (web_layout).
let WIDTH, HEIGHT, MOVES, KEYS = [];
const $ = (id) => document.getElementById(id);
const canvas = $("screen"), context = canvas.getContext("2d");
// The data the chooser lists and the duel reads: the bundled data, or the files an author
// gave (authors.js), kept here so that a fresh engine gets them again.
let own = null;

// A picture of the bundled data (data.js), each gzip'd on its own: unpacked the first time a
// duel or the chooser shows it, and kept; null for a name the data lacks.
const picturesUnpacked = new Map();
function bundledPicture(name) {
  if (!picturesUnpacked.has(name)) picturesUnpacked.set(name, data.then(async () => {
    if (!Object.hasOwn(bundledPictures, name)) return null;
    const run = new Blob([bytesOf(bundledPictures[name])]).stream().pipeThrough(new DecompressionStream("gzip"));
    return new Uint8Array(await new Response(run).arrayBuffer());
  }));
  return picturesUnpacked.get(name);
}

// One duel, as one run of the Windows program: its own engine, its busy flag, its input
// queue and the calls its engine makes back to the page (Module.page, src/web/main.cpp).
// The page shows one session at a time. Another retires it by taking its place: an engine
// still in the middle of a turn then runs on unseen, and nothing it does reaches the page.
class Session {
  constructor(given) {
    this.given = given;
    this.folder = given ? "/given/" : "/data/";
    this.busy = this.started = this.starting = this.over = this.broken = false;
    this.queue = [];
    this.said = this.verdict = this.trouble = "";
    this.path = this.hitPoints = null;
    // A page whose engine can't be had says so, and goes no further.
    this.ready = this.load().catch((e) => {
      this.trouble = `The game's engine could not be loaded: ${e.message || e}`;
      if (this.live) this.failed();
      this.broken = true;
      return this;
    });
  }

  get live() {
    return session === this && !this.broken;
  }

  // Each duel's engine is an instance of the one compiled code (engineCode, index.html),
  // made at once.
  async load() {
    const code = await engineCode;
    this.engine = await createVorrak({ page: this, instantiateWasm: (imports, receive) => {
      const instance = new WebAssembly.Instance(code, imports);
      receive(instance, code);
      return instance.exports;
    } });
    ({ width: WIDTH, height: HEIGHT, moves: MOVES, keys: KEYS } = JSON.parse(this.engine.UTF8ToString(this.engine._web_layout())));
    [canvas.width, canvas.height] = [WIDTH, HEIGHT];
    performance.mark("engine");
    makeFolder(this.engine, "/data");
    await data;
    this.engine.FS.writeFile(`/data/${bundledDatabase[0]}`, bytesOf(bundledDatabase[1]));
    if (this.given) {
      makeFolder(this.engine, "/given");
      // The engine only reads them: it may keep the page's own bytes, uncopied.
      for (const { name, bytes } of this.given) this.engine.FS.writeFile(`/given/${name}`, bytes, { canOwn: true });
    }
    return this;
  }

  // The query, written out as the settings file that the game's own reader reads. A
  // session plays one duel, as its engine runs one.
  play(params) {
    if (this.started) return;
    this.started = this.starting = true;
    showDuel(params.has("skip"));
    this.path = params.get("Path");
    this.dataFolder = this.path === null ? this.folder : "/fetched/";
    makeFolder(this.engine, "/windows");
    this.engine.FS.writeFile("/windows/vorrak.ini", settingsFile(params, this.dataFolder));
    return this.run(async () => {
      const trouble = this.path !== null && (refusal(this.path) || await fetchFolder(this.engine, this.path));
      if (trouble) return this.stop(trouble);
      if (!this.live) return;
      // The first screen, as the window's first painting; then the duel, with its pictures.
      await this.engine.ccall("web_prepare", null, [], [], { async: true });
      if (this.dataFolder === "/data/") await this.unpack();
      if (!this.live || this.over) return;
      // Where the link names what the data lacks, the checker says why, beside the duel.
      if (this.engine._web_link_flawed()) checkLink(this, params);
      await this.engine.ccall("web_begin", null, ["string"], [params.has("skip") ? "vorrak skip" : "vorrak"], { async: true });
      this.starting = false;
      if (this.live) this.makeMoveButtons();
    });
  }

  // A click at a client point of the duel screen. What comes while the engine works waits,
  // as in a message queue; what comes while a dialog is open is lost, as on Windows, where
  // the dialog disables the game's window.
  click(x, y) {
    if (!this.started || this.over || document.querySelector("dialog[open]")) return;
    if (this.busy) this.queue.push([x, y]);
    else this.run(() => this.engine.ccall("web_click", null, ["number", "number"], [x, y], { async: true }));
  }

  // One piece of the engine's work at a time; a failure ends the duel with a message.
  async run(work) {
    this.busy = true;
    try {
      await work();
    } catch (e) {
      await this.stop(`The game stopped: ${e.message || e}`);
    } finally {
      this.busy = false;
    }
    if (this.live && this.queue.length) this.click(...this.queue.shift());
  }

  // The bundled pictures the match reads, into the bundled data's folder. Engines only read
  // them, so each may keep the same bytes, uncopied.
  async unpack() {
    const names = this.engine.UTF8ToString(this.engine._web_files()).split("\n").slice(1);
    const pictures = await Promise.all(names.map(bundledPicture));
    names.forEach((name, i) => pictures[i] && this.engine.FS.writeFile(`/data/${name}`, pictures[i], { canOwn: true }));
  }

  // What the page itself can't go on with is said in the same box, and the duel ends.
  async stop(text) {
    this.trouble = text;
    if (this.live) await showBox(text);
    this.ended();
  }

  // What the engine calls: the canvas, the page's own text of it and the live region, the
  // message box and the end.
  present() {
    if (!this.live) return;
    if (!performance.getEntriesByName("first screen").length) performance.mark("first screen");
    const { engine } = this;
    const pixels = new Uint8ClampedArray(engine.HEAPU8.buffer, engine._web_pixels(), WIDTH * HEIGHT * 4);
    context.putImageData(new ImageData(pixels, WIDTH, HEIGHT), 0, 0);
    const line = engine.UTF8ToString(engine._web_message()).trimEnd();
    const sides = [1, 0].map((k) => ({ hp: engine._web_hit_points(k),
      told: `${engine.UTF8ToString(engine._web_name(k)) || (k ? "Opponent" : "You")}: ` +
        `${engine._web_hit_points(k)} of ${engine._web_full_hit_points(k)}` }));
    $("line").textContent = line;
    [$("oppSide").textContent, $("youSide").textContent] = sides.map((s) => s.told);
    // The live region says each new message line, with the hit points of a side it struck.
    const struck = sides.filter((s, k) => this.hitPoints && s.hp !== this.hitPoints[k]).map((s) => ` ${s.told}.`);
    this.hitPoints = sides.map((s) => s.hp);
    if (!line || line === this.said) return;
    $("spoken").textContent = this.said = line;
    $("blow").textContent = struck.join("");
  }

  messageBox(text) {
    if (!this.live) return Promise.resolve();
    this.verdict = text;
    return showBox(text);
  }

  ended() {
    this.over = true;
    this.queue = [];
    if (!this.live) return;
    if (this.starting) return this.failed();
    $("result").textContent = this.trouble || this.verdict || this.said;  // a message box has the last word
    for (const b of $("moves").children) b.disabled = true;
    $("end").hidden = false;
    $("again").focus();
  }

  // A start that failed says what failed, in words, and offers New match: Play again would
  // only fail again.
  failed() {
    const where = this.path !== null ? `the folder ${this.path} beside this page, which the link's Path names`
      : this.given ? "the files you gave" : "the data that comes with the game";
    const database = this.engine && this.engine.UTF8ToString(this.engine._web_files()).split("\n")[0];
    $("failedWhy").textContent = this.trouble || `${this.verdict} The game looks for ${database} in ${where}.`;
    $("chooser").hidden = $("duel").hidden = true;
    $("failed").hidden = false;
    $("newFailed").focus();
  }

  makeMoveButtons() {
    const { engine } = this, moves = $("moves");
    moves.replaceChildren();
    for (const k of [1, 2, 3]) {
      const b = document.createElement("button");
      b.type = "button";
      b.textContent = engine.UTF8ToString(engine._web_move(k)) || `Move ${k}`;
      b.setAttribute("aria-keyshortcuts", String(k));
      b.disabled = this.over;
      b.addEventListener("click", () => clickMove(k));
      moves.append(b);
    }
    moves.hidden = false;
  }
}

// The duel the page shows, or the one its chooser will play.
let session = null;

// A fresh engine for the next duel, with the data the page holds now; the last session is
// retired at once. Resolves to the new session, which may itself be retired by then.
function newSession() {
  session = new Session(own);
  return session.ready;
}

// A click just inside move k's band names it, whatever the length of its name.
const clickMove = (k) => session.click(MOVES[k - 1].left + 1, MOVES[k - 1].top + 1);

canvas.addEventListener("click", (e) => {
  const r = canvas.getBoundingClientRect();
  session.click(Math.floor((e.clientX - r.left) * WIDTH / r.width), Math.floor((e.clientY - r.top) * HEIGHT / r.height));
});
document.addEventListener("keydown", (e) => {
  if (["1", "2", "3"].includes(e.key) && !e.ctrlKey && !e.altKey && !e.metaKey) clickMove(+e.key);
});

// The game's message box, titled "Message" as on Windows; resolves when it is closed.
function showBox(text) {
  $("messageText").textContent = text;
  $("message").showModal();
  return new Promise((done) => $("message").addEventListener("close", done, { once: true }));
}

function showDuel(skipped) {
  $("chooser").hidden = $("failed").hidden = true;
  $("duel").hidden = false;
  $("skipped").hidden = !skipped;
  fit();
}

// The screen as large as the window allows without scrolling: the largest whole number of
// device pixels per screen pixel, or, where not even one CSS pixel per screen pixel fits,
// the largest scale that does, smoothly; the game's text then also shows as page text. The
// moves go under the screen, or beside it where that leaves the screen larger (a phone
// held sideways).
const UNDER = 56, BESIDE = 260;  // the room the moves take under the screen or beside it
function fit() {
  if ($("duel").hidden) return;
  const dpr = devicePixelRatio || 1, width = $("duel").clientWidth;
  const height = document.documentElement.clientHeight - $("duel").offsetTop - 8;
  const scale = (w, h) => {
    const room = Math.min(w / WIDTH, h / HEIGHT);
    return room >= 1 ? Math.floor(room * dpr) / dpr : room;
  };
  const under = scale(width, height - UNDER), beside = scale(width - BESIDE, height);
  const s = Math.max(under, beside);
  $("duel").classList.toggle("beside", beside > under);
  $("duel").classList.toggle("small", s < 1);
  canvas.classList.toggle("smooth", s < 1);
  canvas.style.width = `${s < 1 ? Math.floor(WIDTH * s) : WIDTH * s}px`;
  canvas.style.height = `${s < 1 ? Math.floor(HEIGHT * s) : HEIGHT * s}px`;
}
addEventListener("resize", fit);

function settingsOf(params) {
  return KEYS.filter((k) => params.has(k));
}

// A Path names a plain folder beside the page, as the settings file's names one beside the
// game: from the address, anything else could fetch from anywhere on the site, or beyond.
function refusal(folder) {
  // As the server will read it: the browser drops tabs, line ends and blanks around it,
  // and %2e%2e is ".." once decoded.
  const plain = folder.replace(/[\t\n\r]/g, "").replace(/^[\0- ]+|[\0- ]+$/g, "")
    .replace(/%([0-9a-f]{2})/gi, (_, hex) => String.fromCharCode(parseInt(hex, 16)));
  const why = /^[a-z][a-z0-9+.-]*:|^[\\/]/i.test(plain) ? "it must name a folder beside this page"
    : plain.split("/").includes("..") ? "it may not go up out of this page's folder with \"..\""
    : /[?#]/.test(plain) ? "a folder's name may not hold \"?\" or \"#\", which end the path of an address"
    : plain.includes("\\") ? "folders are parted by \"/\" in a web address, not by \"\\\""
    : !new URL(folder, location.href).href.startsWith(new URL(".", location.href).href) ? "it must name a folder beside this page"
    : null;
  return why && `The Path ${folder} is refused: ${why}.`;
}

// The match's files from the Path's folder, over http; a file the game does without may be
// missing. Says what went wrong, if anything did.
async function fetchFolder(engine, folder) {
  makeFolder(engine, "/fetched");
  for (const name of engine.UTF8ToString(engine._web_files()).split("\n")) {
    if (location.protocol === "file:")
      return `Could not fetch ${folder}${name}: a page opened from a disk can't fetch files. Serve its folder over http.`;
    const answer = await fetch(new URL(folder + name, location.href)).catch(() => null);
    if (!answer) return `Could not fetch ${folder}${name}.`;
    if (answer.status === 404) continue;  // the game does without a missing file
    if (!answer.ok) return `Could not fetch ${folder}${name}: ${answer.status} ${answer.statusText}.`;
    engine.FS.writeFile(`/fetched/${name}`, new Uint8Array(await answer.arrayBuffer()));
  }
  return null;
}

function makeFolder(engine, dir) {
  if (!engine.FS.analyzePath(dir).exists) engine.FS.mkdir(dir);
}

// The settings file the game's own reader reads, from a query's keys, with the folder as
// its Path if there is one.
function settingsFile(params, folder) {
  const lines = settingsOf(params).filter((k) => k !== "Path")
    .map((k) => `${k}=${params.get(k).split(/[\r\n]/)[0]}`);
  if (folder !== null) lines.push(`Path=${folder}`);
  return lines.join("\r\n") + "\r\n";
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
  const { engine } = session;
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

// The bundled data's picture, or an author's given one.
async function showPicture(box, number) {
  const { engine, folder } = session, name = `${number}.bmp`, shown = box.shown = {};
  const bytes = folder === "/data/" ? await bundledPicture(name)
    : engine.FS.analyzePath(folder + name).exists && engine.FS.readFile(folder + name);
  if (box.shown !== shown) return;  // another was chosen meanwhile
  box.replaceChildren();
  if (!bytes) return;
  const img = new Image();
  img.alt = "";
  img.src = URL.createObjectURL(new Blob([bytes], { type: "image/bmp" }));
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
  session.ready.then((s) => s.live && s.play(params));
});

// A finished duel, like the Windows program's run, is over: a new one starts the page anew,
// or, with an author's files, which a reload would lose, a fresh session.
function afresh(then) {
  $("end").hidden = $("moves").hidden = $("duel").hidden = $("linkCheck").hidden = $("failed").hidden = true;
  newSession().then((s) => s.live && then(s));
}
$("again").addEventListener("click", () => (own ? afresh((s) => s.play(lastMatch)) : location.reload()));
for (const id of ["newAfter", "newMatch", "newFailed"])
  $(id).addEventListener("click", () => (leave ? leave() : own ? afresh(showChooser) : (location.href = location.pathname)));
// --- for the studio (studio.js) ---
// Files another part of the page holds, played at once as given files. New match then goes
// back there, and the page's data is again what it was.
let leave = null;
function playGiven(files, params, back) {
  const before = own;
  own = files;
  lastMatch = params;
  leave = () => {
    own = before;
    leave = null;
    afresh(back);
  };
  afresh((s) => s.play(params));
}

// The bundled data's files [{name, bytes}], every picture unpacked.
async function bundledFiles() {
  await data;
  const names = Object.keys(bundledPictures), pictures = await Promise.all(names.map(bundledPicture));
  return [{ name: bundledDatabase[0], bytes: bytesOf(bundledDatabase[1]) }, ...names.map((name, i) => ({ name, bytes: pictures[i] }))];
}
// --- end of the studio's part ---

$("aboutButton").addEventListener("click", () => $("about").showModal());
addEventListener("popstate", () => location.reload());

// The duel the address names, or the chooser, once every script of the page has run.
const parsed = new Promise((done) => (document.readyState === "loading" ? addEventListener("DOMContentLoaded", done) : done()));
Promise.all([newSession(), parsed]).then(([s]) => {
  if (!s.live) return;
  const params = new URLSearchParams(location.search);
  if (settingsOf(params).length) s.play(params);
  else choose();
});

// Hosted, the page keeps its files for offline play (sw.js); from a disk it has no worker.
if (location.protocol.startsWith("http") && "serviceWorker" in navigator)
  addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(() => {}));
