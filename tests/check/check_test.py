#!/usr/bin/env python3
"""The data checker on broken data sets: check_test.py VORCHECK [--wine] [BUNDLED_DATA_DIR]

Each case breaks a small, clean data set in one way and lists the exact findings expected:
severity, place, and the key words of the sentence. The same table runs against the native
checker (under the sanitizers) and the Windows one under Wine.
"""
import concurrent.futures
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.realpath(__file__))
ROOT = os.path.realpath(os.path.join(HERE, "..", ".."))

MASTER = ("[Moves]\r\n1=Jab\r\n2=Kick\r\n3=Bite\r\n[Trainers]\r\n1=Ann\r\n2=Bo\r\n"
          "[Names]\r\n001 Fluff\r\n002 Spark\r\n[Damage]\r\n1=10\r\n2=20\r\n3=30\r\n")
SETTINGS = dict(You="1", Opp="2", TrainerYou="1", TrainerOpp="2", Move1="1", Move2="2",
                Move3="3", OppMove1="1", OppMove2="2", OppMove3="3")
PICTURES = {"1.bmp": (40, 30), "2.bmp": (40, 30), "back1.bmp": (20, 25), "t2.bmp": (20, 25),
            "back2.bmp": (20, 25), "t1.bmp": (20, 25)}


def bmp(w, h, bits=24, compression=0, size=None, offset=54, cut=0):
    """A w x h picture, red with a white left half; the fields may be set wrong on purpose."""
    pad = (4 - 3 * w % 4) % 4
    row = b"".join(b"\xff\xff\xff" if x < w // 2 else b"\x00\x00\xc8" for x in range(w)) + b"\0" * pad
    pixels = row * abs(h)
    total = 54 + len(pixels)
    data = (b"BM" + struct.pack("<IHHI", total if size is None else size, 0, 0, offset) +
            struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression, len(pixels), 0, 0, 0, 0) + pixels)
    return data[:len(data) - cut] if cut else data


def ini(**changes):
    values = dict(SETTINGS, **changes)
    return "".join(f"{k}={v}\r\n" for k, v in values.items() if v is not None)


E, W = "error", "warning"

# name, files (None removes one), arguments, exit code, [(severity, place, key words...)]
CASES = [
    ("clean", {}, [], 0, []),
    ("clean with --all", {}, ["--all"], 0, []),
    # settings
    ("key in the wrong case", {"ini": ini(You=None) + "you=1\r\n"}, [], 1, [
        (E, "vorrak.ini:10", "not the key You", "ignores"),
        (E, "vorrak.ini", "You is not set", "no creature 0", "Not found."),
        (E, "0.bmp", "missing", "your creature")]),
    ("blank before a key", {"ini": ini() + " Opp=1\r\n"}, [], 1, [
        (E, "vorrak.ini:11", "not the key Opp")]),
    ("blank after a key", {"ini": ini() + "TrainerOpp =1\r\n"}, [], 1, [
        (E, "vorrak.ini:11", "not the key TrainerOpp")]),
    ("value not a number", {"ini": ini() + "Move1=one\r\n"}, [], 1, [
        (E, "vorrak.ini:11", "Move1", "not a number", "ignores")]),
    ("value over 16 bits", {"ini": ini() + "Move2=40000\r\n"}, [], 1, [
        (E, "vorrak.ini:11", "Move2", "16 bits", "ignores")]),
    ("key given twice", {"ini": ini() + "You=2\r\n"}, [], 0, [
        (W, "vorrak.ini:11", "You is given again", "line 1", "last one wins")]),
    ("number without a record", {"ini": ini(Opp="9")}, [], 1, [
        (E, "vorrak.ini:2", "Opp=9", "no creature 9", "Not found."),
        (E, "9.bmp", "missing", "opponent's creature")]),
    ("move without a record", {"ini": ini(Move3="77")}, [], 1, [
        (E, "vorrak.ini:7", "Move3=77", "no move 77", "Not found.", "no damage")]),
    ("Path without its backslash", {"path": "nobackslash"}, [], 2, [
        (E, "vorrak.ini:11", "no final backslash", "data" + "master.dat"),
        (E, "master.dat", "can't find or read")]),
    # database
    ("header in the wrong case", {"master.dat": MASTER.replace("[Trainers]", "[trainers]")}, [], 1, [
        (E, "master.dat:5", "not the header [Trainers]", "does not start"),
        (W, "master.dat:6", "[Moves] 1 is given again"),  # the trainers now sit among the moves
        (W, "master.dat:7", "[Moves] 2 is given again"),
        (E, "vorrak.ini:3", "TrainerYou=1", "no trainer 1", "Not found."),
        (E, "vorrak.ini:4", "TrainerOpp=2", "no trainer 2")]),
    ("header with a blank after it", {"master.dat": MASTER.replace("[Names]", "[Names] ")}, [], 1, [
        (E, "master.dat:8", "not the header [Names]"),
        (E, "master.dat:9", "not a record", "no \"=\""),  # read as trainers now
        (E, "master.dat:10", "not a record"),
        (E, "vorrak.ini:1", "You=1", "no creature 1"),
        (E, "vorrak.ini:2", "Opp=2", "no creature 2")]),
    ("records before the first header", {"master.dat": "5=Early\r\n" + MASTER}, [], 0, [
        (W, "master.dat:1", "before the first section header")]),
    ("a key twice in a section", {"master.dat": MASTER.replace("3=Bite\r\n", "3=Bite\r\n2=Again\r\n")}, [], 0, [
        (W, "master.dat:5", "[Moves] 2 is given again", "first on line 3", "never used")]),
    ("creature name too long", {"master.dat": MASTER.replace("001 Fluff", "001 Fluffington")}, [], 0, [
        (W, "master.dat:9", "creature 1", "11 characters", "first 10", "\"Fluffingto\"")]),
    ("move name too long", {"master.dat": MASTER.replace("1=Jab", "1=" + "J" * 70)}, [], 0, [
        (W, "master.dat:2", "move 1", "70 characters", "first 63", '"' + "J" * 63 + '"')]),
    ("creature not in columns", {"master.dat": MASTER.replace("001 Fluff", "1 Fluff")}, [], 1, [
        (E, "master.dat:9", "not a creature record", "characters 1 to 3"),
        (E, "vorrak.ini:1", "You=1", "no creature 1", "Not found.")]),
    ("record without =", {"master.dat": MASTER.replace("2=Bo", "2 Bo")}, [], 1, [
        (E, "master.dat:7", "not a record", "no \"=\""),
        # The trainers' lookup goes on into the sections after its own.
        (W, "vorrak.ini:4", "TrainerOpp=2", "no [Trainers] record 2", "takes line 13", "shows \"20\"")]),
    ("line over 254 characters", {"master.dat": MASTER.replace("3=Bite", "3=B" + "i" * 300)}, [], 0, [
        (W, "master.dat:4", "longer than 254", "line of its own"),
        (W, "master.dat:4", "move 3's name has 252 characters", "first 63")]),
    ("long line whose tail reads as a record",
     {"master.dat": MASTER.replace("3=Bite", "3=B" + "i" * 251 + "9=Tail")}, [], 1, [
        (W, "master.dat:4", "longer than 254"),
        (W, "master.dat:4", "move 3's name has 252 characters"),
        (E, "master.dat:4", "reads as [Moves] 9")]),
    ("damage not a number", {"master.dat": MASTER.replace("1=10", "1=1O")}, [], 1, [
        (E, "master.dat:12", "move 1", "\"1O\" is not a number", "no damage (0)")]),
    ("damage negative", {"master.dat": MASTER.replace("2=20", "2=-5")}, [], 0, [
        (W, "master.dat:13", "move 2", "negative", "heals", "by 5")]),
    ("damage that ends a duel", {"master.dat": MASTER.replace("3=30", "3=100")}, [], 0, [
        (W, "master.dat:14", "move 3", "one blow")]),
    ("move without damage", {"master.dat": MASTER.replace("3=30\r\n", "")}, [], 0, [
        (W, "vorrak.ini:7", "move 3 has no [Damage] record", "no damage"),
        (W, "vorrak.ini:10", "move 3 has no [Damage] record")]),
    ("unknown section", {"master.dat": MASTER + "[Items]\r\n4=Sword\r\n"}, [], 0, [
        (W, "master.dat:15", "\"[Items]\" is no section", "records of [Damage]")]),
    ("missing database", {"master.dat": None}, [], 2, [
        (E, "master.dat", "can't find or read")]),
    # pictures
    ("missing picture", {"2.bmp": None}, [], 1, [(E, "2.bmp", "missing", "nothing is drawn")]),
    ("not a bitmap", {"1.bmp": b"GIF89a" + b"\0" * 100}, [], 1, [(E, "1.bmp", "not a Windows bitmap")]),
    ("8-bit picture", {"1.bmp": bmp(40, 30, bits=8)}, [], 1, [(E, "1.bmp", "8-bit", "24-bit")]),
    ("compressed picture", {"t2.bmp": bmp(20, 25, compression=1)}, [], 1, [(E, "t2.bmp", "compressed")]),
    ("height 0", {"1.bmp": bmp(40, 0)}, [], 1, [(E, "1.bmp", "height 0", "nothing is drawn")]),
    ("stored top row first", {"2.bmp": bmp(40, -30)}, [], 1, [(E, "2.bmp", "height -30", "top row first")]),
    ("width 0", {"back1.bmp": bmp(0, 25)}, [], 1, [(E, "back1.bmp", "width 0", "nothing is drawn")]),
    ("shorter than its headers", {"1.bmp": bmp(40, 30)[:30]}, [], 1, [(E, "1.bmp", "30 bytes", "54 bytes")]),
    ("shorter than its rows", {"1.bmp": bmp(40, 30, size=54 + 120 * 30, cut=600)}, [], 1, [
        (E, "1.bmp", "too few for its 30 rows", "top 5 rows")]),
    ("size field disagrees", {"2.bmp": bmp(41, 30, size=54 + 123 * 30)}, [], 1, [
        (E, "2.bmp", "says 3744 bytes", "take 3774", "0 bytes instead of 1", "shears")]),
    ("pixels elsewhere", {"2.bmp": bmp(40, 30, offset=1078)}, [], 1, [(E, "2.bmp", "byte 1078", "shifted")]),
    ("bigger than its frame", {"1.bmp": bmp(150, 140)}, [], 0, [(W, "1.bmp", "150 x 140", "bigger than the 145 x 138")]),
    ("stray picture with --all", {"07.bmp": bmp(10, 10), "3.bmp": bmp(10, 10)}, ["--all"], 0, [
        (W, "07.bmp", "no record names", "without leading zeros"),
        (W, "3.bmp", "no record names")]),
    ("names in other cases, --all", {"master.dat": None, "MASTER.DAT": MASTER, "2.bmp": None,
                                     "2.BMP": bmp(40, 30), "back1.bmp": None, "Back1.Bmp": bmp(20, 25)},
     ["--all"], 0, []),
    ("names beyond ASCII", {"master.dat": MASTER.replace("001 Fluff", "001 Cr\u00e8me br\u00fbl\u00e9e"),
                            "\u00c9clair \u2019.bmp": bmp(10, 10)}, ["--all"], 0, [
        (W, "master.dat:9", "creature 1", "first 10", "\"Cr\u00e8me br\u00fbl\""),
        (W, "\u00c9clair \u2019.bmp", "no record names")]),
    ("creature without a picture, --all", {"master.dat": MASTER.replace("002 Spark", "002 Spark\r\n003 Third")},
     ["--all"], 1, [(E, "3.bmp", "missing", "nothing is drawn")]),
]


class Runner:
    def __init__(self, exe, wine):
        self.exe, self.wine = exe, wine

    def host_path(self, path):
        return "Z:" + path.replace("/", "\\") if self.wine else path

    def sep(self):
        return "\\" if self.wine else "/"

    def keep_server(self):
        """Keeps the prefix's Wine server up until the returned call ends it."""
        if not self.wine:
            return lambda: None
        prefix = os.environ.get("VORRAK_PREFIX", os.path.join(os.path.dirname(self.exe), "wineprefix"))
        subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh"), prefix], check=True)
        env = dict(os.environ, WINEPREFIX=prefix)
        subprocess.run(["wineserver", "-p"], env=env)
        return lambda: subprocess.run(["wineserver", "-k"], env=env)

    def run(self, args):
        cmd = [os.path.join(ROOT, "tools", "wine-run.sh"), self.exe] if self.wine else [self.exe]
        r = subprocess.run(cmd + args, capture_output=True, timeout=120)
        return r.returncode, r.stdout.decode("utf-8", "replace")


def make(folder, runner, files):
    data = os.path.join(folder, "data")
    os.makedirs(data)
    contents = {"master.dat": MASTER}
    contents.update({name: bmp(*size) for name, size in PICTURES.items()})
    for name, content in files.items():
        if name in ("ini", "path"):
            continue
        contents[name] = content
    for name, content in contents.items():
        if content is None:
            continue
        if isinstance(content, str):
            content = content.encode("cp1252")
        with open(os.path.join(data, name), "wb") as f:
            f.write(content)
    where = runner.host_path(data) + ("" if files.get("path") == "nobackslash" else runner.sep())
    text = files.get("ini", ini()) + f"Path={where}\r\n"
    settings = os.path.join(folder, "vorrak.ini")
    with open(settings, "w", newline="", encoding="cp1252") as f:
        f.write(text)
    return settings


def check_case(runner, folder, case):
    name, files, args, code, expected = case
    settings = make(folder, runner, files)
    got_code, out = runner.run(["--ini", runner.host_path(settings), "--json"] + args)
    problems = []
    if got_code != code:
        problems.append(f"exit code {got_code}, expected {code}")
    try:
        findings = json.loads(out)["findings"]
    except (ValueError, KeyError) as e:
        return [f"no JSON ({e}): {out[:500]!r}"]
    left = list(findings)
    for severity, place, *words in expected:
        match = next((f for f in left if f["severity"] == severity and f["place"] == place
                      and all(w in f["message"] for w in words)), None)
        if match:
            left.remove(match)
        else:
            problems.append(f"missing {severity} at {place} with {words}")
    problems += [f"unexpected {f['severity']} at {f['place']}: {f['message']}" for f in left]
    return problems


def check_text_and_records(runner, folder):
    """The plain report and the JSON records, on a data set with one warning."""
    problems = []
    settings = make(folder, runner, {"master.dat": MASTER.replace("2=20", "2=-5")})
    code, out = runner.run(["--ini", runner.host_path(settings)])
    lines = out.replace("\r\n", "\n").splitlines()
    wanted = "master.dat:13: warning: move 2's damage is negative: the move heals the other side by 5"
    if wanted not in lines:
        problems.append(f"text report lacks {wanted!r}: {lines}")
    if not re.match(r"1\.bmp: 40 x 30, as your creature at columns \d+-\d+, rows \d+-\d+; 50\.0% see-through white$",
                    next((l for l in lines if l.startswith("1.bmp:")), "")):
        problems.append(f"no place and see-through share for 1.bmp: {lines}")
    if lines[-1:] != ["vorcheck: 0 errors, 1 warning; 2 creatures, 2 trainers, 3 moves"]:
        problems.append(f"summary line: {lines[-1:]}")
    code, out = runner.run(["--ini", runner.host_path(settings), "--json", "--all"])
    doc = json.loads(out)
    if doc["moves"] != [{"number": 1, "name": "Jab", "damage": 10}, {"number": 2, "name": "Kick", "damage": -5},
                        {"number": 3, "name": "Bite", "damage": 30}]:
        problems.append(f"moves: {doc['moves']}")
    if [c["name"] for c in doc["creatures"]] != ["Fluff", "Spark"] or len(doc["trainers"]) != 2:
        problems.append(f"creatures and trainers: {doc['creatures']} {doc['trainers']}")
    return problems


def check_bundled(runner, data):
    """The bundled data set has no findings at all."""
    with tempfile.TemporaryDirectory() as folder:
        settings = os.path.join(folder, "vorrak.ini")
        with open(settings, "w", newline="") as f:
            f.write(ini(Opp="7") + f"Path={runner.host_path(os.path.realpath(data))}{runner.sep()}\r\n")
        code, out = runner.run(["--ini", runner.host_path(settings), "--all", "--json"])
        doc = json.loads(out)
        if code != 0 or doc["findings"]:
            return [f"bundled data: exit {code}, findings {doc['findings']}"]
        if len(doc["creatures"]) != 8 or len(doc["trainers"]) != 4 or len(doc["moves"]) != 24:
            return [f"bundled data: {len(doc['creatures'])} creatures, {len(doc['trainers'])} trainers"]
    return []


def main(argv):
    if len(argv) < 1:
        print(__doc__)
        return 2
    runner = Runner(os.path.realpath(argv[0]), "--wine" in argv)
    rest = [a for a in argv[1:] if a != "--wine"]
    failed = 0
    work = tempfile.mkdtemp(prefix="vorcheck-")
    checks = [(case[0], check_case, runner, os.path.join(work, str(i)), case)
              for i, case in enumerate(CASES)]
    checks.append(("text report and records", check_text_and_records, runner, os.path.join(work, "text")))
    if rest:
        checks.append(("bundled data", check_bundled, runner, rest[0]))
    # Each case has its folder; under an emulator a start takes seconds, so four at a time,
    # with one Wine server for them all.
    server = runner.keep_server()
    try:
        with concurrent.futures.ThreadPoolExecutor(4) as pool:
            results = [pool.submit(*check[1:]) for check in checks]
            for check, result in zip(checks, results):
                problems = result.result()
                print(f"{'ok  ' if not problems else 'FAIL'} {check[0]}")
                for p in problems:
                    print(f"     {p}")
                failed += bool(problems)
    finally:
        server()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{len(checks) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
