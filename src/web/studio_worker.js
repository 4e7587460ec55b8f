// The studio's worker: the checker's module (createVorcheck, above it in this script), kept
// while the studio is open, with the author's draft in its folder /draft/. Each message is a
// batch of edits through the core's writer, made whole or not at all, and the draft is then
// checked: vorcheck's findings, the duel screen of the author's match and the pictures asked
// for, each in its frame. One message at a time, in the order they came.
"use strict";
const DRAFT = "/draft/";
let vorcheck = null, printed = [], complained = [], queue = Promise.resolve();

onmessage = ({ data }) => {
  queue = queue.then(() => answer(data).catch((e) => ({ failed: String(e.message || e) })))
    .then((reply) => postMessage({ id: data.id, ...reply }, moved(reply)));
};

// The reply's bytes go to the page moved, not copied.
const moved = (reply) => [reply.screen, ...(reply.files || []).map(([, b]) => b), ...(reply.frames || []).map((f) => f.bmp)]
  .filter(Boolean).map((b) => b.buffer);

async function answer({ load, edits = [], settings, frames = [] }) {
  vorcheck = vorcheck || await createVorcheck({ print: (l) => printed.push(l), printErr: (l) => complained.push(l) });
  const changed = new Map(), left = load ? loadDraft(load) : [];
  const refused = await editAll(edits, changed);
  const names = load ? listed() : [...changed.keys()];
  return { refused, said: edits.map((e) => e.said).filter(Boolean), left, whole: !!load,
    files: names.map((name) => [name, read(DRAFT + name)]), ...check(settings), frames: frames.map(frame) };
}

// A new draft: the files' names as Windows reads them, whatever their case, each file once.
function loadDraft(files) {
  const { FS } = vorcheck, left = [];
  if (FS.analyzePath(DRAFT).exists) for (const name of listed()) FS.unlink(DRAFT + name);
  else FS.mkdir(DRAFT);
  for (const { name, bytes } of files) {
    const lower = name.replace(/[A-Z]/g, (c) => c.toLowerCase());
    if (FS.analyzePath(DRAFT + lower).exists) left.push(name);
    else FS.writeFile(DRAFT + lower, bytes);
  }
  return left;
}

const listed = () => vorcheck.FS.readdir(DRAFT).filter((n) => n !== "." && n !== "..");
const read = (file) => vorcheck.FS.analyzePath(file).exists ? vorcheck.FS.readFile(file) : null;

// The edits in order; at the first refusal every file is put back as it was. The refusal's
// sentence, or null. Each file touched is noted in changed with its bytes before.
async function editAll(edits, changed) {
  const note = (name) => changed.has(name) || changed.set(name, read(DRAFT + name));
  for (const edit of edits) {
    const why = await edit1(edit, note);
    if (why === null) continue;
    for (const [name, bytes] of changed)
      if (bytes) vorcheck.FS.writeFile(DRAFT + name, bytes);
      else if (read(DRAFT + name)) vorcheck.FS.unlink(DRAFT + name);
    changed.clear();
    return why;
  }
  return null;
}

const said = () => vorcheck.ccall("studio_said", "string", [], []);
const pictureFile = (kind, number) => vorcheck.ccall("studio_picture_file", "string", ["string", "number"], [kind, number]);

// One edit: a record set or removed, a picture written from an image, or a record's picture
// moved to another number or removed. Null when done (edit.said tells what was done), else why not.
async function edit1(edit, note) {
  if ("section" in edit) {
    note("master.dat");
    const done = vorcheck.ccall("studio_record", "number", ["string", "string", "number", "string"],
      [DRAFT, edit.section, edit.number, edit.text ?? null]);
    edit.said = said();
    return done ? null : edit.said;
  }
  const from = pictureFile(edit.kind, edit.number);
  if (!from) return said();
  note(from);
  if (edit.image) return picture(edit, from);
  const to = edit.to === undefined ? "" : pictureFile(edit.kind, edit.to);
  if (edit.to !== undefined && !to) return said();
  if (!read(DRAFT + from)) return null;
  if (to) note(to);
  if (to) vorcheck.FS.writeFile(DRAFT + to, read(DRAFT + from));
  vorcheck.FS.unlink(DRAFT + from);
  return null;
}

// The image decoded here, off the page's thread, to its exact pixels; then made the
// picture by the core.
async function picture(edit, file) {
  let pixels, width, height;
  try {
    const bitmap = await createImageBitmap(edit.image, { premultiplyAlpha: "none", colorSpaceConversion: "none" });
    ({ width, height } = bitmap);
    const context = new OffscreenCanvas(width, height).getContext("2d");
    context.drawImage(bitmap, 0, 0);
    bitmap.close();
    pixels = context.getImageData(0, 0, width, height).data;
  } catch (e) {
    return `${edit.name || "the image"} can't be read as a picture by this browser (${e.message})`;
  }
  const at = vorcheck._studio_image(pixels.length);
  if (!at) return `${edit.name || "the image"} is too large for this browser's memory`;
  vorcheck.HEAPU8.set(pixels, at);
  const done = vorcheck.ccall("studio_picture", "number", ["string", "string", "number", "number", "number"],
    [DRAFT, edit.kind, edit.number, width, height]);
  edit.said = said();
  return done ? null : edit.said;
}

// vorcheck --all --json on the draft, with the match's settings, and its duel screen.
function check(settings) {
  vorcheck.FS.writeFile("/vorrak.ini", settings);
  printed = [];
  complained = [];
  vorcheck.callMain(["--all", "--json", "--ini", "/vorrak.ini", "--screen", "/screen.bmp", DRAFT]);
  const screen = read("/screen.bmp");
  if (screen) vorcheck.FS.unlink("/screen.bmp");
  return { json: printed.join("\n"), complained: complained.join("\n"), screen };
}

function frame({ kind, number }) {
  const shown = vorcheck.ccall("studio_frame", "number", ["string", "string", "number", "string"],
    [DRAFT, kind, number, "/frame.bmp"]);
  return { kind, number, there: shown === 1, bmp: shown ? read("/frame.bmp") : null };
}
