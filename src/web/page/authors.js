// Authors' own data: the files given by the pickers or by a drop are checked by vorcheck
// itself, in a worker (checker.js), and the chooser then lists them and plays them.
// Nothing leaves the page. The checker also says what a link names that the data lacks.
"use strict";

const MOST_BYTES = 64 << 20;  // a bigger file is left out, and the page says so
let giving = 0, checking = null, screenUrl = null;

// A name the in-memory folder can hold as one file of its own.
const fileName = (name) => name !== "" && name !== "." && name !== ".." && !/[\/\0]/.test(name);

// Only names and sizes are looked at here: the worker reads the files, and hands their bytes
// over for the duel when it is done, so that this thread copies nothing big.
function give(files) {
  const kept = [], left = [];
  for (const file of files) {
    if (fileName(file.name) && file.size <= MOST_BYTES) kept.push({ name: file.name, file });
    else left.push(file.name || "(no name)");
  }
  giving++;
  fillChooser(null);
  $("play").disabled = true;
  $("bundled").hidden = false;
  $("leftOut").textContent = left.length ? `Left out, as too big or not a file's name: ${left.join(", ")}.` : "";
  check(kept);
}

const settingsIn = (files) => files.find((f) => f.name.toLowerCase() === "vorrak.ini") || null;

// The whole check of a giving is vorcheck's of the files, with their vorrak.ini if there is
// one. Without one, the chooser's match only draws the screen (check(null)), and says
// nothing of its own.
function check(files) {
  const whole = !!files, ini = whole && settingsIn(files);
  const args = whole ? ["--all", "--json"] : ["--ini", "/vorrak.ini"];
  if (ini) args.push("--ini", `/given/${ini.name}`);
  if (!whole || ini) args.push("--screen", "/screen.bmp");
  args.push("/given/");
  const settings = !whole && new TextEncoder().encode(settingsFile(chosen(), "/given/"));
  const n = giving;
  run(n, files || own, args, settings, async (data) => {
    if (!whole) return showScreen(data.screen);
    let found;
    try {
      found = JSON.parse(data.json);
    } catch {
      $("checking").textContent = `The check gave no findings: ${data.said || "it stopped"}.`;
      return;
    }
    files.forEach((f, i) => { f.bytes = new Uint8Array(data.bytes[i]); });
    own = files;
    const s = await newSession();
    if (n !== giving || !s.live) return;  // given again meanwhile: only the last giving counts
    showFindings(found);
    fillChooser(data.catalog);
    if (ini) chooseFrom(found.settings);
    showChooser();
    $("play").disabled = false;
    if (ini) showScreen(data.screen);
    else check(null);
  });
}

// The checker is fetched only when it is first needed, not on a player's visit: as a
// script, which a page opened from a disk may load where it may fetch nothing. It carries
// its worker's script as text (checker.js, tools/websource.py), since a worker can't be
// started from a file there either. Resolves to that script's address, for new Worker().
function loadChecker() {
  loadChecker.loading = loadChecker.loading || new Promise((ok, no) => {
    const script = Object.assign(document.createElement("script"), { src: "checker.js" });
    script.onload = () => ok(URL.createObjectURL(new Blob([checkerSource], { type: "text/javascript" })));
    script.onerror = () => {
      loadChecker.loading = null;  // the next need tries again
      script.remove();
      no(new Error("checker.js could not be loaded"));
    };
    document.head.append(script);
  });
  return loadChecker.loading;
}

// vorcheck on the files in a worker of its own: done gets its answer; said, in words, why
// there is none. The browser reads a File as it was when it was given, or fails if it has
// changed since. Returns the worker, for a newer check to stop.
function checkInWorker(source, { files, settings, args, listing }, said, done) {
  const worker = new Worker(source);
  worker.onmessage = ({ data }) => {
    worker.terminate();
    if (data.unread) said(`${data.unread} has changed or gone since it was given: give the files again.`);
    else if (data.failed) said(`The check stopped: ${data.failed}`);
    else done(data);
  };
  worker.onerror = (e) => {
    e.preventDefault();
    said(`The check stopped: ${e.message}`);
  };
  worker.postMessage({ files: files.map(({ name, file }) => ({ name, file })), settings, args, listing });
  return worker;
}

// One check of an author's files at a time: a newer one stops the older, so no two givings
// ever mix.
async function run(n, files, args, settings, done) {
  if (args.includes("--all")) $("checking").textContent = `Checking ${counted(files.length, "file")}…`;
  const source = await loadChecker().catch(() => null);
  if (!source) {
    $("checking").textContent = "The check stopped: checker.js could not be loaded.";
    return;
  }
  if (n !== giving) return;
  if (checking) checking.terminate();
  const listing = args.includes("--all");  // a giving's check also lists its records
  const worker = checking = checkInWorker(source, { files, settings, args, listing },
    (words) => { if (checking === worker) $("checking").textContent = words; },
    (data) => {
      if (checking !== worker) return;
      checking = null;
      done(data);
    });
}

// A link whose settings name what the data lacks, or values that are no numbers: the
// checker's findings for its vorrak.ini, as an author would see them, beside the duel.
async function checkLink(s, params) {
  const { FS } = s.engine, folder = s.dataFolder;
  const files = FS.readdir(folder).filter((name) => FS.isFile(FS.stat(folder + name).mode))
    .map((name) => ({ name, file: new Blob([FS.readFile(folder + name)]) }));
  const settings = new TextEncoder().encode(settingsFile(params, params.get("Path")));
  const said = (words) => { if (s.live) $("linkCounts").textContent = words; };
  $("linkFindings").replaceChildren();
  said("The checker looks at this link…");
  $("linkCheck").hidden = false;
  const source = await loadChecker().catch(() => null);
  if (!source) return said("The check stopped: checker.js could not be loaded.");
  checkInWorker(source, { files, settings, args: ["--json", "--ini", "/vorrak.ini", "/given/"] }, said, (data) => {
    if (!s.live) return;
    const found = JSON.parse(data.json);
    said(`${countsOf(found)} The duel plays as the game plays it.`);
    listInSlices($("linkFindings"), found.findings, findingItem);
  });
}

function counted(n, what) {
  return `${n} ${what}${n === 1 ? "" : "s"}`;
}

// The checker's counts, in words.
function countsOf(found) {
  const listed = found.findings.length, all = found.errors + found.warnings;
  return !all ? "No findings: the game reads everything as you meant it."
    : `${counted(found.errors, "error")}, ${counted(found.warnings, "warning")}` +
      (listed < all ? `; the first ${listed} are listed.` : ".");
}

function showFindings(found) {
  listInSlices($("findings"), found.findings, findingItem);
  $("checking").textContent = `Checked ${counted(own.length, "file")}.`;
  $("counts").textContent = countsOf(found);
  $("pictures").replaceChildren(...found.pictures.map((p) => item("li",
    `${p.file}: ${p.width} x ${p.height}, as ${p.use} at columns ${p.left}-${p.right - 1}, ` +
    `rows ${p.top}-${p.bottom - 1}; ${p.seeThroughPercent.toFixed(1)}% see-through white`)));
}

// Thousands of findings go in a slice at a time, so that the page keeps answering.
function listInSlices(list, all, make) {
  const shown = list.slices = (list.slices || 0) + 1;
  list.replaceChildren();
  const slice = (from) => {
    if (shown !== list.slices) return;  // a newer list has begun
    list.append(...all.slice(from, from + 250).map(make));
    if (from + 250 < all.length) setTimeout(slice, 0, from + 250);
  };
  slice(0);
}

function item(tag, text, className) {
  const e = document.createElement(tag);
  e.textContent = text;
  if (className) e.className = className;
  return e;
}

// "master.dat:12" is line 12 of master.dat; a place without a line is a whole file.
function findingItem({ severity, place, message }) {
  const [, file, line] = place.match(/^(.*?)(?::(\d+))?$/);
  const li = item("li", "", severity);
  Object.assign(li.dataset, { file, severity }, line ? { line } : {});
  li.append(item("span", line ? `${file}, line ${line}` : file, "place"), " ",
    item("span", severity, "severity"), " ", item("span", message, "sentence"));
  return li;
}

function showScreen(bitmap) {
  if (screenUrl) URL.revokeObjectURL(screenUrl);
  screenUrl = bitmap && URL.createObjectURL(new Blob([bitmap], { type: "image/bmp" }));
  $("ownScreen").hidden = !bitmap;
  if (bitmap) $("ownScreen").src = screenUrl;
}

// The chooser set to the given vorrak.ini's match, as far as its lists have the numbers.
function chooseFrom(settings) {
  for (const k of KEYS) {
    const select = $(k);
    if (select && [...select.options].some((o) => o.value === String(settings[k]))) select.value = settings[k];
  }
}

function backToBundled() {
  if (checking) checking.terminate();
  checking = own = null;
  giving++;
  listInSlices($("findings"), [], findingItem);
  $("pictures").replaceChildren();
  for (const id of ["checking", "counts", "leftOut"]) $(id).textContent = "";
  showScreen(null);
  $("bundled").hidden = true;
  $("play").disabled = false;
  newSession().then((s) => s.live && choose());
}

// A dropped folder gives the files at its top, as the folder picker does.
async function dropped(entries, loose) {
  const files = [...loose];
  const fileOf = (entry) => new Promise((ok, no) => entry.file(ok, no));
  for (const entry of entries) {
    if (entry.isFile) files.push(await fileOf(entry));
    if (!entry.isDirectory) continue;
    const reader = entry.createReader();
    for (let some; (some = await new Promise((ok, no) => reader.readEntries(ok, no))).length;)
      for (const e of some) if (e.isFile) files.push(await fileOf(e));
  }
  return files;
}

// Emptied once taken, so that giving the same files again, edited, checks them again.
$("giveFiles").addEventListener("change", (e) => {
  give([...e.target.files]);
  e.target.value = "";
});
$("giveFolder").addEventListener("change", (e) => {
  give([...e.target.files].filter((f) => f.webkitRelativePath.split("/").length <= 2));
  e.target.value = "";
});
$("bundled").addEventListener("click", backToBundled);
// The player's own choice (not the chooser's own settling of its lists) draws the screen again.
const chooserMoved = () => { if (own && !$("play").disabled) check(null); };
for (const select of $("chooser").querySelectorAll("select")) select.addEventListener("input", chooserMoved);
$("random").addEventListener("click", chooserMoved);

// Anything dropped on the page is taken, never opened in its place.
addEventListener("dragover", (e) => {
  e.preventDefault();
  document.body.classList.toggle("dropping", !$("chooser").hidden);
});
addEventListener("dragleave", (e) => { if (!e.relatedTarget) document.body.classList.remove("dropping"); });
addEventListener("drop", (e) => {
  e.preventDefault();
  document.body.classList.remove("dropping");
  if ($("chooser").hidden) return;
  const entries = [], loose = [];
  for (const i of e.dataTransfer.items) {
    const entry = i.kind === "file" && i.webkitGetAsEntry && i.webkitGetAsEntry();
    if (entry) entries.push(entry);
    else if (i.kind === "file") loose.push(i.getAsFile());
  }
  dropped(entries, loose).then(give, (error) => { $("checking").textContent = `The drop could not be read: ${error.message}`; });
});

// --- the studio ---
// studio.js loads when an author first opens it: a player never fetches it.
function openStudio() {
  if (typeof studioOpen === "function") return studioOpen();
  const script = Object.assign(document.createElement("script"), { src: "studio.js" });
  script.addEventListener("load", () => studioOpen());
  script.addEventListener("error", () => {
    script.remove();
    $("checking").textContent = "The studio could not be loaded: studio.js is missing beside this page.";
  });
  document.body.append(script);
}
$("makeOwn").addEventListener("click", openStudio);
// --- end of the studio's part ---
