#!/usr/bin/env python3
"""vordata against the game's own reader: vordata_test.py VORDATA VORCHECK [--wine]

Each case runs one vordata command on a small, clean data set, then reads the data back with
vorcheck --all --json. A refusal exits with 1, says why in one line and changes no file.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.realpath(__file__)), "..", "check"))
from check_test import MASTER, ROOT, Runner, bmp  # noqa: E402


def bmp32(w, h, alpha, fields=True):
    """A w x h 32-bit blue bitmap, top row first, with alpha(x, y): in a bit field of a
    version 4 header, or plain in each pixel's fourth byte."""
    pixels = b"".join(struct.pack("<BBBB", 200, 0, 0, alpha(x, y)) for y in range(h) for x in range(w))
    head = 108 if fields else 40
    info = struct.pack("<IiiHHIIiiII", head, w, -h, 1, 32, 3 if fields else 0, len(pixels), 0, 0, 0, 0)
    info += struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000) + bytes(52) if fields else b""
    return b"BM" + struct.pack("<IHHI", 14 + head + len(pixels), 0, 0, 14 + head) + info + pixels


RING = bmp32(16, 16, lambda x, y: 255 if 4 <= x < 12 and 4 <= y < 12 else 0)

# name, command after DIR, image given, exit code, words of its one line, then what vorcheck
# reads: (list, number or file, field, value; field None: no such entry)
CASES = [
    ("set a creature", ["set", "names", "3", "Mossback"], None, 0, ["creature 3", "new record"],
     [("creatures", 3, "name", "Mossback")]),
    ("set a move in place", ["set", "moves", "2", "Double Kick"], None, 0, ["move 2 is now"],
     [("moves", 2, "name", "Double Kick"), ("moves", 2, "damage", 20)]),
    ("remove a move", ["remove", "moves", "3"], None, 0, ["move 3 removed"], [("moves", 3, None, None)]),
    ("a picture with alpha", ["picture", "creature", "1"], RING, 0, ["1.bmp: 128 x 128", "8 times"],
     [("pictures", "1.bmp", "seeThroughPercent", 75.0)]),
    ("a plain 32-bit picture is opaque", ["picture", "trainer", "2"], bmp32(30, 30, lambda x, y: 0, False),
     0, ["t2.bmp: 120 x 120", "0 see-through"], [("pictures", "t2.bmp", "seeThroughPercent", 0.0)]),
    ("a large picture is scaled down", ["picture", "back", "2"], bmp(400, 50), 0,
     ["back2.bmp: 145 x 18, scaled down from 400 x 50"], [("pictures", "back2.bmp", "height", 18)]),
    ("damage not a number", ["set", "damage", "1", "35%"], None, 1, ["a damage is a number"], []),
    ("no record to remove", ["remove", "moves", "9"], None, 1, ["there is no move 9 to remove"], []),
    ("number out of range", ["set", "moves", "70000", "Far"], None, 1, ["-32768 to 32767"], []),
    ("a 16-bit image", ["picture", "creature", "1"], bmp(8, 8, bits=16), 1, ["24- or 32-bit"], []),
    ("a cut image", ["picture", "creature", "1"], bmp(8, 8, cut=10), 1, ["shorter than its pixels"], []),
    ("no image", ["picture", "creature", "1"], b"", 1, ["can't read"], []),
    ("a wrong command", ["rename", "moves", "1", "x"], None, 2, ["usage"], []),
]


def check_case(runner, checker, data, case):
    name, command, image, code, words, reads = case
    os.makedirs(data)
    files = {"master.dat": MASTER.encode(), **({"in.bmp": image} if image else {})}
    for file, content in files.items():
        open(os.path.join(data, file), "wb").write(content)
    args = [runner.host_path(data)] + command + ([runner.host_path(os.path.join(data, "in.bmp"))] if image is not None else [])
    wine = [os.path.join(ROOT, "tools", "wine-run.sh")] if runner.wine else []
    r = subprocess.run(wine + [runner.exe] + args, capture_output=True, timeout=120)
    said = (r.stdout + r.stderr).decode("cp1252").replace("\r\n", "\n")  # under Wine, one stream
    problems = [] if r.returncode == code else [f"exit code {r.returncode}, expected {code}"]
    if code != 2 and said.count("\n") != 1:
        problems.append(f"not one line: {said!r}")
    problems += [f"no {w!r} in {said!r}" for w in words if w not in said]
    if code != 0:
        now = {f: open(os.path.join(data, f), "rb").read() for f in os.listdir(data)}
        return problems + ([f"files changed: {sorted(now)}"] if now != files else [])
    doc = json.loads(checker.run([runner.host_path(data) + runner.sep(), "--all", "--json"])[1])
    for kind, key, field, value in reads:
        got = next((e for e in doc[kind] if e["file" if kind == "pictures" else "number"] == key), None)
        if not ((got is not None and got[field] == value) if field else got is None):
            problems.append(f"{kind} {key}: {got}, expected {field} {value}")
    return problems


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    runner, checker = (Runner(os.path.realpath(exe), "--wine" in argv) for exe in argv[:2])
    failed = 0
    with tempfile.TemporaryDirectory(prefix="vordata-") as work:
        for i, case in enumerate(CASES):
            problems = check_case(runner, checker, os.path.join(work, str(i)), case)
            print(f"{'ok  ' if not problems else 'FAIL'} {case[0]}")
            print("".join(f"     {p}\n" for p in problems), end="")
            failed += bool(problems)
    print(f"{len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
