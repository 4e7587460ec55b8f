// The duel's page: glue between the browser and the game's own engine (vorrak.js).
// The URL is the settings file; clicks and keys wait in a queue while the engine is busy.
"use strict";

// The screen's size, the move names' click bands and the settings' keys, as the engine
// has them (web_layout).
let WIDTH, HEIGHT, MOVES, KEYS = [];
const $ = (id) => document.getElementById(id);
const canvas = $("screen"), context = canvas.getContext("2d");
// The data the chooser lists and the duel reads: the bundled data, or the files an author
// gave (authors.js), kept here so that a fresh engine gets them again.
let own = null;

// One duel, as one run of the Windows program: its own engine, its busy flag, its input
// queue and the calls its engine makes back to the page (Module.page, src/web/main.cpp).
// The page shows one session at a time. Another retires it by taking its place: an engine
// still in the middle of a turn then runs on unseen, and nothing it does reaches the page.
class Session {
  constructor(given) {
    this.given = given;
    this.folder = given ? "/given/" : "/data/";
    this.busy = this.started = this.over = false;
    this.queue = [];
    this.said = this.verdict = "";
    this.ready = this.load();
  }

  get live() {
    return session === this;
  }

  async load() {
    this.engine = await createVorrak({ page: this });
    ({ width: WIDTH, height: HEIGHT, moves: MOVES, keys: KEYS } = JSON.parse(this.engine.UTF8ToString(this.engine._web_layout())));
    [canvas.width, canvas.height] = [WIDTH, HEIGHT];
    await unpackData(this.engine);
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
    $("chooser").hidden = true;
    canvas.hidden = false;
    fit();
    this.started = true;
    const folder = params.get("Path");
    makeFolder(this.engine, "/windows");
    this.engine.FS.writeFile("/windows/vorrak.ini", settingsFile(params, folder === null ? this.folder : "/fetched/"));
    return this.run(async () => {
      const trouble = folder !== null && (refusal(folder) || await fetchFolder(this.engine, folder));
      if (trouble) return this.stop(trouble);
      if (!this.live) return;
      await this.engine.ccall("web_start", null, ["string"], [params.has("skip") ? "vorrak skip" : "vorrak"], { async: true });
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

  async stop(text) {
    await this.messageBox(text);
    this.ended();
  }

  // What the engine calls: the canvas and the message line's live region, the message box
  // and the end.
  present() {
    if (!this.live) return;
    if (!performance.getEntriesByName("first screen").length) performance.mark("first screen");
    const { engine } = this;
    const pixels = new Uint8ClampedArray(engine.HEAPU8.buffer, engine._web_pixels(), WIDTH * HEIGHT * 4);
    context.putImageData(new ImageData(pixels, WIDTH, HEIGHT), 0, 0);
    const line = engine.UTF8ToString(engine._web_message()).trimEnd();
    if (line && line !== this.said) $("status").textContent = this.said = line;
  }

  messageBox(text) {
    if (!this.live) return Promise.resolve();
    this.verdict = text;
    $("messageText").textContent = text;
    $("message").showModal();
    return new Promise((done) => $("message").addEventListener("close", done, { once: true }));
  }

  ended() {
    this.over = true;
    this.queue = [];
    if (!this.live) return;
    $("result").textContent = this.verdict || this.said;  // a message box has the last word
    for (const b of $("moves").children) b.disabled = true;
    $("end").hidden = false;
    $("again").focus();
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

// The bundled data (data.js): one gzip'd run of files, each its name, a zero byte, its
// size in four bytes and its bytes.
async function unpackData(engine) {
  const packed = Uint8Array.from(atob(bundledData), (c) => c.charCodeAt(0));
  const run = new Blob([packed]).stream().pipeThrough(new DecompressionStream("gzip"));
  const bytes = new Uint8Array(await new Response(run).arrayBuffer());
  const view = new DataView(bytes.buffer);
  makeFolder(engine, "/data");
  for (let at = 0; at < bytes.length;) {
    const end = bytes.indexOf(0, at), size = view.getUint32(end + 1, true);
    const name = new TextDecoder().decode(bytes.subarray(at, end));
    engine.FS.writeFile(`/data/${name}`, bytes.subarray(end + 5, end + 5 + size));
    at = end + 5 + size;
  }
}

function makeFolder(engine, dir) {
  if (!engine.FS.analyzePath(dir).exists) engine.FS.mkdir(dir);
}

// The settings file the game's own reader reads, from a query's keys.
function settingsFile(params, folder) {
  const lines = settingsOf(params).filter((k) => k !== "Path")
    .map((k) => `${k}=${params.get(k).split(/[\r\n]/)[0]}`);
  lines.push(`Path=${folder}`);
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

function showPicture(box, number) {
  const { engine, folder } = session, file = `${folder}${number}.bmp`;
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
  session.ready.then((s) => s.live && s.play(params));
});

// A finished duel, like the Windows program's run, is over: a new one starts the page anew,
// or, with an author's files, which a reload would lose, a fresh session.
function afresh(then) {
  $("end").hidden = $("moves").hidden = canvas.hidden = true;
  newSession().then((s) => s.live && then(s));
}
$("again").addEventListener("click", () => (own ? afresh((s) => s.play(lastMatch)) : location.reload()));
for (const id of ["newAfter", "newMatch"])
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

// The bundled data's files [{name, bytes}], as the engine has unpacked them.
async function bundledFiles() {
  const { engine } = await session.ready;
  return engine.FS.readdir("/data").filter((n) => n !== "." && n !== "..")
    .map((name) => ({ name, bytes: engine.FS.readFile(`/data/${name}`) }));
}
// --- end of the studio's part ---

$("aboutButton").addEventListener("click", () => $("about").showModal());
addEventListener("popstate", () => location.reload());

newSession().then((s) => {
  const params = new URLSearchParams(location.search);
  if (settingsOf(params).length) s.play(params);
  else choose();
});
