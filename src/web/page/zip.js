// Zip files for the studio: written with every entry stored as it is (pictures and a text of
// a few kilobytes gain little from packing), read stored or deflated by the browser's own
// decompression. What can't be a data folder is refused whole, with a sentence saying why.
"use strict";

const ZIP_MOST_ENTRIES = 4096, ZIP_MOST_BYTES = 256 << 20;

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  for (let k = 0; k < 8; k++) n = n & 1 ? 0xedb88320 ^ (n >>> 1) : n >>> 1;
  return n >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 255] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

// The time of day and the date, as a zip holds them.
function dosTime(d) {
  return [d.getHours() << 11 | d.getMinutes() << 5 | d.getSeconds() >> 1,
    Math.max(d.getFullYear() - 1980, 0) << 9 | (d.getMonth() + 1) << 5 | d.getDate()];
}

// A zip of [{path, bytes}], names in UTF-8.
function makeZip(entries, when = new Date()) {
  const parts = [], directory = [], [time, date] = dosTime(when);
  let offset = 0;
  const header = (signature, fields, name) => {
    const out = new DataView(new ArrayBuffer(4 + fields.reduce((n, [size]) => n + size, 0)));
    out.setUint32(0, signature, true);
    let at = 4;
    for (const [size, value] of fields) {
      if (size === 2) out.setUint16(at, value, true);
      else out.setUint32(at, value, true);
      at += size;
    }
    return [new Uint8Array(out.buffer), name];
  };
  for (const { path, bytes } of entries) {
    const name = new TextEncoder().encode(path), crc = crc32(bytes);
    const common = [[2, 20], [2, 0x800], [2, 0], [2, time], [2, date], [4, crc], [4, bytes.length],
      [4, bytes.length], [2, name.length], [2, 0]];
    const local = header(0x04034b50, common, name);
    directory.push(...header(0x02014b50, [[2, 20], ...common, [2, 0], [2, 0], [2, 0], [4, 0], [4, offset]], name));
    parts.push(...local, bytes);
    offset += local[0].length + name.length + bytes.length;
  }
  const size = directory.reduce((n, p) => n + p.length, 0);
  const [end] = header(0x06054b50, [[2, 0], [2, 0], [2, entries.length], [2, entries.length], [4, size],
    [4, offset], [2, 0]]);
  return new Blob([...parts, ...directory, end], { type: "application/zip" });
}

class ZipRefusal extends Error {}

// The entries of a zip as [{path, bytes}], directories left out; refused whole (a
// ZipRefusal) when one would go outside its folder or the zip is more than a data folder.
async function readZip(file) {
  if (file.size > ZIP_MOST_BYTES) throw new ZipRefusal(`it is larger than ${ZIP_MOST_BYTES >> 20} MB`);
  const bytes = new Uint8Array(await file.arrayBuffer()), view = new DataView(bytes.buffer);
  const lowest = Math.max(0, bytes.length - 22 - 65535);
  let end = bytes.length - 22;
  while (end >= lowest && view.getUint32(end, true) !== 0x06054b50) end--;
  if (end < lowest) throw new ZipRefusal("it is no zip file");
  const count = view.getUint16(end + 10, true);
  let at = view.getUint32(end + 16, true);
  if (count === 0xffff || at === 0xffffffff) throw new ZipRefusal("it is a zip of more than 4 GB or 65,535 entries");
  if (count > ZIP_MOST_ENTRIES) throw new ZipRefusal(`it holds ${count} entries, where a data folder has at most ${ZIP_MOST_ENTRIES} files`);
  const entries = [];
  let total = 0;
  for (let k = 0; k < count; k++) {
    if (at + 46 > bytes.length || view.getUint32(at, true) !== 0x02014b50) throw new ZipRefusal("its list of entries is damaged");
    const [flags, method] = [view.getUint16(at + 8, true), view.getUint16(at + 10, true)];
    const [crc, packed, size] = [12, 16, 20].map((o) => view.getUint32(at + 4 + o, true));
    const [nameLength, extra, comment] = [28, 30, 32].map((o) => view.getUint16(at + o, true));
    const path = new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength));
    const local = view.getUint32(at + 42, true);
    at += 46 + nameLength + extra + comment;
    if (/^[\\/]|^[a-z]:/i.test(path) || path.split(/[\\/]/).includes(".."))
      throw new ZipRefusal(`its entry "${path}" would be written outside the folder it unpacks into`);
    if (path.endsWith("/")) continue;
    if (flags & 1) throw new ZipRefusal(`its entry "${path}" is encrypted`);
    if (method !== 0 && method !== 8) throw new ZipRefusal(`its entry "${path}" is packed in a way this page can't unpack`);
    if (local + 30 > bytes.length) throw new ZipRefusal(`its entry "${path}" is damaged`);
    const from = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
    if ((total += size) > ZIP_MOST_BYTES) throw new ZipRefusal(`it unpacks to more than ${ZIP_MOST_BYTES >> 20} MB`);
    const data = await unpacked(bytes.subarray(from, from + packed), method, size, path);
    if (crc32(data) !== crc) throw new ZipRefusal(`its entry "${path}" is damaged`);
    entries.push({ path, bytes: data });
  }
  return entries;
}

// Deflated bytes unpacked no further than the size the zip states for them.
async function unpacked(data, method, size, path) {
  if (method === 0) return data;
  const out = new Uint8Array(size), reader = new Blob([data]).stream().pipeThrough(new DecompressionStream("deflate-raw")).getReader();
  let at = 0;
  try {
    for (let part; !(part = await reader.read()).done; at += part.value.length) {
      if (at + part.value.length > size) throw new ZipRefusal(`its entry "${path}" is larger than it says`);
      out.set(part.value, at);
    }
  } catch (e) {
    reader.cancel().catch(() => {});
    throw e instanceof ZipRefusal ? e : new ZipRefusal(`its entry "${path}" is damaged`);
  }
  return out;
}
