// Authors' own data: the files given by the pickers or by a drop are checked by vorcheck
// itself, in a worker (checker.js), and the chooser then lists them and plays them.
// Nothing leaves the page.
"use strict";

const MOST_BYTES = 64 << 20;  // a bigger file is left out, and the page says so
let giving = 0, checking = null, ownSettings = null, screenUrl = null;

// A name the in-memory folder can hold as one file of its own.
const fileName = (name) => name !== "" && name !== "." && name !== ".." && !/[\/\0]/.test(name);

async function give(files) {
  const n = ++giving;
  const kept = [], left = [];
  for (const file of files) {
    const read = fileName(file.name) && file.size <= MOST_BYTES && await file.arrayBuffer().catch(() => null);
    if (!read) left.push(file.name || "(no name)");
    // What was read is what is checked and played, whatever happens to the file meanwhile.
    else kept.push({ name: file.name, bytes: new Uint8Array(read), blob: new Blob([read]) });
  }
  if (n !== giving) return;  // given again meanwhile: only the last giving counts
  own = kept;
  ownSettings = kept.find((f) => f.name.toLowerCase() === "vorrak.ini") || null;
  await startEngine();
  if (n !== giving) return;
  fillChooser(null);
  $("play").disabled = true;
  $("bundled").hidden = false;
  $("leftOut").textContent = left.length ? `Left out, as too big, unreadable or not a file's name: ${left.join(", ")}.` : "";
  check(true);
}

// The whole check is vorcheck's of the files, with their vorrak.ini if there is one; without
// one, the chooser's match only draws the screen, and says nothing of its own.
function check(whole) {
  const args = whole ? ["--all", "--json"] : [];
  if (whole && ownSettings) args.push("--ini", `/given/${ownSettings.name}`);
  if (!whole) args.push("--ini", "/vorrak.ini");
  if (!whole || ownSettings) args.push("--screen", "/screen.bmp");
  args.push("/given/");
  const settings = !whole && new TextEncoder().encode(settingsFile(chosen(), "/given/"));
  run(args, settings, (data) => {
    if (!whole) return showScreen(data.screen);
    let found;
    try {
      found = JSON.parse(data.json);
    } catch {
      $("checking").textContent = `The check gave no findings: ${data.said || "it stopped"}.`;
      return;
    }
    showFindings(found);
    fillChooser(data.catalog);
    if (ownSettings) chooseFrom(found.settings);
    showChooser();
    $("play").disabled = false;
    if (ownSettings) showScreen(data.screen);
    else check(false);
  });
}

// One check at a time: a newer one stops the older, so no two givings ever mix.
function run(args, settings, done) {
  if (checking) checking.terminate();
  const worker = checking = new Worker(URL.createObjectURL(new Blob([checkerSource])));
  if (args.includes("--all")) $("checking").textContent = `Checking ${counted(own.length, "file")}…`;
  worker.onmessage = ({ data }) => {
    worker.terminate();
    if (checking !== worker) return;
    checking = null;
    done(data);
  };
  worker.onerror = (e) => {
    e.preventDefault();
    if (checking === worker) $("checking").textContent = `The check stopped: ${e.message}`;
  };
  worker.postMessage({ files: own.map(({ name, blob }) => ({ name, blob })), settings, args });
}

function counted(n, what) {
  return `${n} ${what}${n === 1 ? "" : "s"}`;
}

function showFindings(found) {
  $("findings").replaceChildren(...found.findings.map(findingItem));
  const listed = found.findings.length, all = found.errors + found.warnings;
  $("checking").textContent = `Checked ${counted(own.length, "file")}.`;
  $("counts").textContent = !all ? "No findings: the game reads everything as you meant it."
    : `${counted(found.errors, "error")}, ${counted(found.warnings, "warning")}` +
      (listed < all ? `; the first ${listed} are listed.` : ".");
  $("pictures").replaceChildren(...found.pictures.map((p) => item("li",
    `${p.file}: ${p.width} x ${p.height}, as ${p.use} at columns ${p.left}-${p.right - 1}, ` +
    `rows ${p.top}-${p.bottom - 1}; ${p.seeThroughPercent.toFixed(1)}% see-through white`)));
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
  checking = ownSettings = own = null;
  giving++;
  for (const id of ["findings", "pictures"]) $(id).replaceChildren();
  for (const id of ["checking", "counts", "leftOut"]) $(id).textContent = "";
  showScreen(null);
  $("bundled").hidden = true;
  $("play").disabled = false;
  startEngine().then(choose);
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
const chooserMoved = () => { if (own && !$("play").disabled) check(false); };
for (const id of KEYS) if ($(id)) $(id).addEventListener("input", chooserMoved);
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
  if ($("chooser").hidden || !engine) return;
  const entries = [], loose = [];
  for (const i of e.dataTransfer.items) {
    const entry = i.kind === "file" && i.webkitGetAsEntry && i.webkitGetAsEntry();
    if (entry) entries.push(entry);
    else if (i.kind === "file") loose.push(i.getAsFile());
  }
  dropped(entries, loose).then(give, (error) => { $("checking").textContent = `The drop could not be read: ${error.message}`; });
});
