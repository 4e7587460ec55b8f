// The studio: an author makes a data set in the page. Forms edit the records, pictures come
// from any image the browser reads, and the core's own writer makes the files in the
// checker's worker (studio_worker.js), which checks the draft after every edit. The draft is
// played, kept in the browser's own storage and exported as a zip. It loads only when an
// author first opens it (openStudio, authors.js).
"use strict";

const TYPING_MS = 40;      // an edit is sent once typing has paused this long
const MOST_LISTED = 500;   // findings shown; the counts tell of the rest

// The records the forms edit: their section as the writer names it, their pictures' kinds.
const KINDS = {
  creatures: { section: "names", noun: "creature",
    pictures: [["creature", "Picture, as the opponent's creature (yours is drawn mirrored)"]] },
  trainers: { section: "trainers", noun: "trainer",
    pictures: [["trainer", "Facing you, on the opponent's side"], ["back", "From behind, on your side"]] },
  moves: { section: "moves", noun: "move", pictures: [] },
};

const STUDIO_STYLE = `
  #studio { background: #fff; border: 1px solid #bbb; padding: 12px 16px; max-width: 760px; }
  #studio h1 { font-size: 1.2em; margin: 0 0 8px; }
  #studio .lists { display: flex; flex-wrap: wrap; gap: 10px; }
  #studio .lists fieldset { flex: 1 1 200px; }
  #studio .lists select { width: 100%; }
  #studio input:not([type]) { font: inherit; }
  #studio .frames { display: flex; flex-wrap: wrap; gap: 12px; }
  #studio figure { margin: 4px 0; outline-offset: 2px; }
  #studio figure img { display: block; max-width: 100%; height: auto; image-rendering: pixelated; }
  #studio figure.dropping { outline: 3px dashed #36c; }
  #studioSaid.refused { color: #a00; font-weight: bold; }
  #studio .severity { text-transform: uppercase; font-size: 0.8em; padding: 0 4px; border-radius: 3px; }
  #studio .error .severity { background: #c22; color: #fff; }
  #studio .warning .severity { background: #fc3; }
  #studioFindings { max-height: 30vh; overflow: auto; }
  #studioScreen { display: block; max-width: 100%; height: auto; image-rendering: pixelated; border: 1px solid #888; }
  #studio .sides { display: flex; flex-wrap: wrap; gap: 10px; }
  #studio .sides fieldset { flex: 1 1 300px; }
  #studio p label { display: inline; }`;

const STUDIO_HTML = `
  <h1>Make your own</h1>
  <p>Make creatures, trainers and moves, give them pictures (choose, drop or paste any image),
    and see at once what the game does with them. Your draft stays in this browser, kept for
    your next visit; nothing is sent anywhere.</p>
  <details id="studioStart"><summary>Start again from…</summary>
    <div class="give">
      <button type="button" data-start="bundled">The bundled data</button>
      <button type="button" data-start="given">The files you gave</button>
      <label class="button">A folder… <input type="file" id="studioFolder" webkitdirectory></label>
      <button type="button" data-start="empty">Nothing</button>
    </div>
  </details>
  <div class="give">
    <label class="button">Import a zip… <input type="file" id="studioZip" accept=".zip,application/zip"></label>
  </div>
  <div class="lists">${Object.entries(KINDS).map(([kind, { noun }]) => `
    <fieldset><legend>${kind[0].toUpperCase()}${kind.slice(1)}</legend>
      <select size="7" id="studio-${kind}" aria-label="${kind}"></select>
      <button type="button" data-add="${kind}">Add a ${noun}</button>
    </fieldset>`).join("")}
  </div>
  <fieldset id="studioRecord" hidden><legend></legend>
    <label>Number <input id="studioNumber" inputmode="numeric" size="6"></label>
    <label>Name <input id="studioName" autocomplete="off" size="40"></label>
    <label id="studioDamageLabel">Damage <input id="studioDamage" inputmode="numeric" size="6"></label>
    <div id="studioFrames" class="frames"></div>
    <button type="button" id="studioRemove">Remove</button>
  </fieldset>
  <p id="studioSaid" role="status"></p>
  <fieldset id="studioMatch"><legend>The match you see and play</legend>
    <div class="sides"><fieldset><legend>You</legend></fieldset><fieldset><legend>Opponent</legend></fieldset></div>
  </fieldset>
  <p id="studioCounts"></p>
  <ol id="studioFindings"></ol>
  <img id="studioScreen" alt="The duel screen of this match once the opening is over">
  <p>
    <button type="button" id="studioPlay">Play</button>
    <label>Folder <input id="studioFolderName" value="mydata" size="12"></label>
    <button type="button" id="studioExport">Export a zip</button>
    <button type="button" id="studioClose">Close</button>
  </p>
  <p id="studioExported"></p>`;

const section = $("studio");
let worker = null, asked = 0;
const answers = new Map(), typing = new Map();  // typing: a field's edit waiting for a pause
// The draft as the worker last wrote it, by file name; the match; the last check's findings
// and records; the record the form shows; the picture a paste goes to.
let draft = new Map(), match = new URLSearchParams(), found = null, selected = null, pasteTo = null;

// Shows the studio, begun at its first opening from the kept draft or the bundled data.
async function studioOpen() {
  $("chooser").hidden = true;
  section.hidden = false;
  if (!section.childElementCount) build();
  if (worker) return;
  if (!await loadChecker().then(() => true, () => false)) return say("The studio can't work: checker.js could not be loaded.", true);
  startWorker();
  const kept = await stored.load();
  if (kept && kept.files.length) {
    match = new URLSearchParams(kept.match);
    $("studioFolderName").value = kept.folder || "mydata";
    await startFrom(kept.files, "your kept draft");
  } else {
    await startFrom(await bundledFiles(), "the bundled data");
  }
}

// The worker with the checker's module and the studio's own script after it.
function startWorker() {
  if (worker) worker.terminate();
  worker = new Worker(URL.createObjectURL(new Blob([checkerSource, studioWorkerSource])));
  worker.onmessage = ({ data }) => {
    answers.get(data.id)(data);
    answers.delete(data.id);
  };
  worker.onerror = (e) => say(`The studio's worker stopped: ${e.message}`, true);
}

function build() {
  const style = document.createElement("style");
  style.textContent = STUDIO_STYLE;
  document.head.append(style);
  section.innerHTML = STUDIO_HTML;
  for (const kind of Object.keys(KINDS)) $(`studio-${kind}`).addEventListener("change", (e) => choose(kind, +e.target.value));
  section.addEventListener("click", clicked);
  for (const id of ["studioName", "studioDamage"]) $(id).addEventListener("input", () => {
    clearTimeout((typing.get(id) || {}).timer);
    typing.set(id, { timer: setTimeout(typed, TYPING_MS, id), record: selected });
  });
  $("studioNumber").addEventListener("change", renumber);
  $("studioZip").addEventListener("change", (e) => taken(e, importZip));
  $("studioFolder").addEventListener("change", (e) => taken(e, folderGiven));
  for (const key of matchKeys()) {
    const { side, list, nth } = role(key), label = document.createElement("label");
    label.append(`${list === "moves" ? `Move ${nth % 3 + 1}` : list === "trainers" ? "Trainer" : "Creature"} `,
      Object.assign(document.createElement("select"), { id: `studio${key}` }));
    label.lastChild.addEventListener("input", (e) => {
      match.set(key, e.target.value);
      stored.put("match", match.toString());
      send({});
    });
    $("studioMatch").querySelectorAll(".sides fieldset")[side].append(label);
  }
  section.addEventListener("dragover", (e) => e.preventDefault());
  section.addEventListener("drop", dropped);
  document.addEventListener("paste", pasted);
}

// A file input's files, taken once: the same file given again is taken again.
function taken(e, use) {
  const files = [...e.target.files];
  e.target.value = "";
  if (files.length) use(e.target.webkitdirectory ? files : files[0]);
}

function clicked(e) {
  const b = e.target.closest("button");
  if (!b) return;
  typed();
  if (b.dataset.start === "bundled") bundledFiles().then((files) => startFrom(files, "the bundled data"));
  if (b.dataset.start === "given") own ? startFrom(own, "the files you gave") : say("Give your files under the match chooser first.", true);
  if (b.dataset.start === "empty") startFrom([], "nothing");
  if (b.dataset.add) add(b.dataset.add);
  if (b.id === "studioRemove") remove();
  if (b.id === "studioPlay") play();
  if (b.id === "studioExport") exportZip();
  if (b.id === "studioClose") close();
}

function say(text, refused = false) {
  $("studioSaid").textContent = text;
  $("studioSaid").classList.toggle("refused", refused);
}

// --- talking to the worker ---------------------------------------------------------------

// Sends edits (or a new draft) with the match and the pictures the form shows; the answers
// are taken in the order sent. With a vorrak.ini of its own, the answer's settings are the match.
function send(message) {
  if (!worker) return Promise.resolve();
  const id = ++asked, number = selected && selected.number;
  const frames = selected ? KINDS[selected.kind].pictures.map(([kind]) => ({ kind, number })) : [];
  const settings = new TextEncoder().encode(settingsFile(match, "/draft/"));
  worker.postMessage({ id, settings, frames, ...message });
  return new Promise((done) => answers.set(id, done)).then((r) => take(r, message));
}

// A worker that failed an edit is begun again with the draft as it was before it.
function take(r, { settings: ini, load }) {
  if (r.failed) {
    startWorker();
    if (!load) send({ load: [...draft].map(([name, bytes]) => ({ name, bytes })) });
    return say(`Not done: the studio stopped (${r.failed}). Your draft is as it was.`, true);
  }
  if (r.whole) draft = new Map();
  for (const [name, bytes] of r.files) bytes ? draft.set(name, bytes) : draft.delete(name);
  try {
    found = JSON.parse(r.json);
  } catch {
    return say(`The check gave no findings: ${r.complained || "it stopped"}.`, true);
  }
  if (ini) for (const k of KEYS) if (k !== "Path") match.set(k, found.settings[k]);
  const settled = settleMatch();
  if (r.files.length || r.whole || ini || settled) stored.keep(r.files, r.whole);
  if (r.refused) say(`Not done: ${r.refused}. Your draft is as it was.`, true);
  else if (r.said.length) say(r.said.map((s) => `${s[0].toUpperCase()}${s.slice(1)}.`).join(" "));
  listRecords();
  showFindings(r.screen);
  showFrames(r.frames);
  if (settled) send({});  // its screen was of a match the draft no longer has
  return r;
}

// A new draft from files [{name, bytes}]; a vorrak.ini among them gives the match. left:
// what was not taken, each with why.
async function startFrom(files, what, left = []) {
  const ini = files.find((f) => f.name.toLowerCase() === "vorrak.ini");
  const data = files.filter((f) => f !== ini);
  selected = null;
  $("studioRecord").hidden = true;
  $("studioStart").open = false;
  const r = await send({ load: data.map(({ name, bytes }) => ({ name, bytes })), ...(ini ? { settings: ini.bytes } : {}) });
  if (!r) return;
  left.push(...r.left.map((name) => `${name} (the same file as another on Windows)`));
  say(`Started from ${what}: ${counted(draft.size, "file")}${left.length ? `; left out: ${left.join(", ")}` : ""}.`);
}

// --- the forms ---------------------------------------------------------------------------

function listRecords() {
  for (const [kind, { noun }] of Object.entries(KINDS)) {
    const list = $(`studio-${kind}`);
    list.replaceChildren(...found[kind].map((r) => new Option(`${r.number} ${r.name}`, r.number)));
    list.value = selected && selected.kind === kind ? selected.number : "";
    list.setAttribute("aria-label", `${counted(found[kind].length, noun)}`);
  }
  if (selected && !record(selected.kind, selected.number)) choose(null);
  for (const key of matchKeys()) {
    const list = found[role(key).list];
    $(`studio${key}`).replaceChildren(...list.map((r) => new Option(`${r.number} ${r.name}`, r.number)));
    $(`studio${key}`).value = match.get(key);
  }
}

const record = (kind, number) => found[kind].find((r) => r.number === number);

// The settings' keys of a match (the engine's own list), your side's first, and what each
// names: its side, its list, and which of the list's records it takes by default.
const matchKeys = () => KEYS.filter((k) => k !== "Path").sort((a, b) => role(a).side - role(b).side);
function role(key) {
  const side = key.includes("Opp") ? 1 : 0, move = /Move(\d)$/.exec(key);
  return { side, list: move ? "moves" : key.startsWith("Trainer") ? "trainers" : "creatures",
    nth: move ? 3 * side + Number(move[1]) - 1 : side };
}

// The match's numbers, each one the draft has, or else one of its records. True if changed.
function settleMatch() {
  let changed = false;
  if (!found) return false;
  for (const key of matchKeys()) {
    const { list, nth } = role(key), records = found[list];
    if (records.some((r) => String(r.number) === match.get(key)) || !records.length) continue;
    match.set(key, records[nth % records.length].number);
    changed = true;
  }
  return changed;
}

// The form shows one record: its number, its name, a move's damage and its pictures.
function choose(kind, number) {
  typed();
  selected = kind ? { kind, number } : null;
  $("studioRecord").hidden = !kind;
  for (const k of Object.keys(KINDS)) if (k !== kind) $(`studio-${k}`).value = "";
  if (!kind) return;
  const r = record(kind, number), { noun, pictures } = KINDS[kind];
  $("studioRecord").querySelector("legend").textContent = `${noun[0].toUpperCase()}${noun.slice(1)} ${number}`;
  $("studioNumber").value = number;
  $("studioName").value = r.name;
  $("studioDamageLabel").hidden = kind !== "moves";
  $("studioDamage").value = r.damage ?? "";
  $("studioFrames").replaceChildren(...pictures.map(([kind, caption]) => frameFigure(kind, caption)));
  pasteTo = pictures.length ? pictures[0][0] : null;
  return send({});
}

function frameFigure(kind, caption) {
  const figure = document.createElement("figure");
  figure.tabIndex = 0;
  figure.dataset.kind = kind;
  figure.innerHTML = `<img alt="" width="294" height="280"><figcaption class="give">${caption} <span></span>
    <label class="button">Choose an image… <input type="file" accept="image/*"></label></figcaption>`;
  figure.querySelector("input").addEventListener("change", (e) => taken(e, (file) => givePicture(kind, file)));
  figure.addEventListener("focus", () => { pasteTo = kind; });
  figure.addEventListener("dragenter", () => figure.classList.add("dropping"));
  figure.addEventListener("dragleave", () => figure.classList.remove("dropping"));
  return figure;
}

function showFrames(frames) {
  for (const { kind, number, there, bmp } of frames) {
    const figure = $("studioFrames").querySelector(`[data-kind="${kind}"]`);
    if (!figure || !selected || selected.number !== number) continue;
    const img = figure.querySelector("img");
    URL.revokeObjectURL(img.src);
    img.src = bmp ? URL.createObjectURL(new Blob([bmp], { type: "image/bmp" })) : "";
    img.alt = there ? `The picture in its frame, as the game draws it` : "An empty frame";
    figure.querySelector("span").textContent = there ? "" : "(none yet)";
  }
}

// The fields' edits waiting for a pause in typing, sent now; each goes to the record it was
// typed for.
function typed(only) {
  for (const [id, { timer, record: { kind, number } }] of typing) {
    if (only && id !== only) continue;
    clearTimeout(timer);
    typing.delete(id);
    send({ edits: [{ section: id === "studioDamage" ? "damage" : KINDS[kind].section, number, text: fieldText(id) }] });
  }
}

// No line holds more than 254 characters: a longer text is cut here already, to keep it small.
const fieldText = (id) => [...$(id).value].slice(0, 1000).join("");

const numberOf = (text) => /^\s*-?\d+\s*$/.test(text) ? Number(text) : NaN;

// A record moves to another number with its name, damage and pictures, all or nothing.
function renumber() {
  typed();
  const { kind, number } = selected, to = numberOf($("studioNumber").value), r = record(kind, number);
  const { section, noun, pictures } = KINDS[kind];
  const why = Number.isNaN(to) ? "a number is written in digits, like 12 or -3"
    : record(kind, to) ? `there is already a ${noun} ${to}` : null;
  if (why) {
    $("studioNumber").value = number;
    return say(`Not done: ${why}.`, true);
  }
  const edits = [{ section, number: to, text: fieldText("studioName") }, { section, number }];
  if (kind === "moves") edits.push({ section: "damage", number: to, text: String(r.damage) }, { section: "damage", number });
  edits.push(...pictures.map(([picture]) => ({ kind: picture, number, to })));
  for (const key of matchKeys()) if (role(key).list === kind && match.get(key) === String(number)) match.set(key, to);
  selected = { kind, number: to };
  send({ edits }).then((a) => (a && !a.refused ? choose(kind, to) : choose(kind, number)));
}

async function add(kind) {
  const { section, noun } = KINDS[kind], numbers = found[kind].map((r) => r.number);
  let number = Math.max(0, ...numbers) + 1;
  if (kind === "creatures" && number > 999) for (number = 1; numbers.includes(number);) number++;
  const edits = [{ section, number, text: kind === "creatures" ? `New ${number}` : `New ${noun} ${number}` }];
  if (kind === "moves") edits.push({ section: "damage", number, text: "10" });
  const r = await send({ edits });
  if (!r || r.refused) return;
  if (kind === "creatures") match.set("You", number);
  stored.put("match", match.toString());
  await choose(kind, number);
  $("studioName").select();
}

function remove() {
  const { kind, number } = selected, { section, pictures } = KINDS[kind];
  const edits = [{ section, number }, ...pictures.map(([picture]) => ({ kind: picture, number }))];
  if (kind === "moves") edits.push({ section: "damage", number });
  send({ edits });
}

function givePicture(kind, file) {
  if (!selected || !file) return;
  if (file.size > MOST_BYTES) return say(`Not done: ${file.name} is larger than ${MOST_BYTES >> 20} MB.`, true);
  say(`Making the picture from ${file.name}…`);
  send({ edits: [{ kind, number: selected.number, image: file, name: file.name }] });
}

// A zip anywhere on the studio is imported; an image goes to the frame it is dropped on, or
// to the record's first picture.
function dropped(e) {
  e.preventDefault();
  const figure = e.target.closest("figure");
  if (figure) figure.classList.remove("dropping");
  const file = e.dataTransfer.files[0];
  if (!file) return;
  if (/\.zip$/i.test(file.name) || file.type === "application/zip") importZip(file);
  else givePicture(figure ? figure.dataset.kind : pasteTo, file);
}

function pasted(e) {
  if (section.hidden || !selected || !pasteTo) return;
  const file = [...e.clipboardData.files].find((f) => f.type.startsWith("image/"));
  if (!file) return;
  e.preventDefault();
  givePicture(pasteTo, file);
}

function showFindings(screen) {
  const listed = found.findings.slice(0, MOST_LISTED), all = found.errors + found.warnings;
  $("studioFindings").replaceChildren(...listed.map(findingItem));
  $("studioCounts").textContent = !all ? "No findings: the game reads everything as you meant it."
    : `${counted(found.errors, "error")}, ${counted(found.warnings, "warning")}` +
      (listed.length < all ? `; the first ${listed.length} are listed.` : ".");
  const img = $("studioScreen");
  URL.revokeObjectURL(img.src);
  img.hidden = !screen;
  if (screen) img.src = URL.createObjectURL(new Blob([screen], { type: "image/bmp" }));
}

// --- in and out ----------------------------------------------------------------------------

// A folder's files at its top, as the folder picker gives them.
async function folderGiven(files) {
  const top = files.filter((f) => f.webkitRelativePath.split("/").length <= 2);
  const kept = top.filter((f) => f.size <= MOST_BYTES);
  let read;
  try {
    read = await Promise.all(kept.map(async (f) => ({ name: f.name, bytes: new Uint8Array(await f.arrayBuffer()) })));
  } catch (e) {
    return say(`Not done: the folder could not be read (${e.message}). Your draft is as it was.`, true);
  }
  startFrom(read, "your folder", top.filter((f) => !kept.includes(f)).map((f) => `${f.name} (larger than ${MOST_BYTES >> 20} MB)`));
}

// A zip's files, at its top or in the one folder it holds; a refused zip changes nothing.
async function importZip(file) {
  let entries;
  try {
    entries = await readZip(file);
  } catch (e) {
    return say(`${file.name} is refused: ${e.message}. Your draft is as it was.`, true);
  }
  const tops = new Set(entries.map((e) => (e.path.includes("/") ? e.path.split("/")[0] + "/" : "")));
  const top = tops.size === 1 ? [...tops][0] : "";
  const files = entries.map((e) => ({ name: e.path.slice(top.length), bytes: e.bytes }));
  const plain = (f) => fileName(f.name) && !f.name.includes("\\");
  await startFrom(files.filter(plain), file.name, files.filter((f) => !plain(f)).map((f) => `${f.name} (in a folder)`));
}

function play() {
  const files = [...draft].map(([name, bytes]) => ({ name, bytes }));
  section.hidden = true;
  playGiven(files, new URLSearchParams(match), () => { section.hidden = false; });
}

function exportZip() {
  const folder = $("studioFolderName").value.trim();
  if (!/^[A-Za-z0-9_-]{1,32}$/.test(folder))
    return say("Not done: name the folder with 1 to 32 letters, digits, \"-\" or \"_\", so that Windows and a web address both take it.", true);
  stored.put("folder", folder);
  const entries = [...draft.keys()].sort().map((name) => ({ path: `${folder}/${name}`, bytes: draft.get(name) }));
  entries.push({ path: `${folder}/vorrak.ini`, bytes: new TextEncoder().encode(settingsFile(match, `${folder}\\`)) });
  const link = Object.assign(document.createElement("a"), { href: URL.createObjectURL(makeZip(entries)), download: `${folder}.zip` });
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  const query = [...match].map(([k, v]) => `${k}=${v}`).join("&");
  $("studioExported").textContent = `${folder}.zip holds the folder ${folder}: your data and a vorrak.ini for this ` +
    `match, whose Path is ${folder}\\. For the game on Windows, unpack it into the game's folder and copy ` +
    `vorrak.ini into your Windows folder (or set its Path to the folder wherever you unpacked it). For this ` +
    `page on a web server, unpack it beside index.html and open index.html?Path=${folder}/&${query}`;
}

function close() {
  section.hidden = true;
  showChooser();
}

// --- kept in the browser -------------------------------------------------------------------

// The draft in the browser's own storage (IndexedDB): an entry a file ("file:" and its name),
// the match and the export's folder. Where the browser keeps nothing, the studio says so once.
const stored = {
  db: null,
  async open() {
    if (this.db === null) this.db = new Promise((done) => {
      const asking = indexedDB.open("vorrak-studio", 1);
      asking.onupgradeneeded = () => asking.result.createObjectStore("draft");
      asking.onsuccess = () => done(asking.result);
      asking.onerror = () => done(null);
    }).catch(() => null);
    const db = await this.db;
    if (!db && !this.told) say("This browser keeps nothing for this page: export a zip to keep your draft.", true);
    this.told = true;
    return db;
  },
  async change(work) {
    const db = await this.open();
    if (!db) return;
    const t = db.transaction("draft", "readwrite");
    work(t.objectStore("draft"));
    await new Promise((done) => { t.oncomplete = t.onerror = t.onabort = done; });
  },
  put(key, value) {
    return this.change((s) => s.put(value, key));
  },
  keep(files, whole) {
    return this.change((s) => {
      if (whole) {
        s.clear();
        s.put(match.toString(), "match");
        s.put($("studioFolderName").value, "folder");
      }
      for (const [name, bytes] of files) bytes ? s.put(bytes, `file:${name}`) : s.delete(`file:${name}`);
    });
  },
  async load() {
    const db = await this.open();
    if (!db) return null;
    const s = db.transaction("draft").objectStore("draft");
    const [keys, values] = await Promise.all([s.getAllKeys(), s.getAll()].map((r) =>
      new Promise((done) => { r.onsuccess = () => done(r.result); r.onerror = () => done([]); })));
    const kept = { files: [] };
    keys.forEach((key, i) => {
      if (key.startsWith("file:")) kept.files.push({ name: key.slice(5), bytes: values[i] });
      else kept[key] = values[i];
    });
    return kept;
  },
};
