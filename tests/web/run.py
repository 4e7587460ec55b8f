#!/usr/bin/python3
"""Tests of the web page in headless Chromium: run.py NAME runs one of them, from file://
and from a server on 127.0.0.1, and exits 0 when it passes. Every wait has a deadline from
tests/deadlines.py, and one that fails says which way: the browser or the server never
started, the page's engine had already stopped, or the condition never came (with what the
page showed last)."""
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import json
import random
import re
import zipfile

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests"))
from deadlines import DEADLINES, waited  # noqa: E402
import studio_recipe as recipe  # noqa: E402
PAGE = os.environ.get("VORRAK_WEB_PAGE", os.path.join(ROOT, "build", "web", "page"))
VORCHECK = os.path.join(ROOT, "build", "native", "vorcheck")
VORDATA = os.path.join(ROOT, "build", "native", "vordata")
DATA = os.path.join(ROOT, "build", "native", "data")
# The example match of the release's vorrak.ini: Cindrel against Voltuft.
MATCH = "You=1&Opp=7&TrainerYou=1&TrainerOpp=3&Move1=1&Move2=2&Move3=3&OppMove1=19&OppMove2=20&OppMove3=21"
W, H = 593, 433


class Failure(AssertionError):
    pass


def expect(what, seen, wanted):
    if seen != wanted:
        raise Failure(f"{what}: expected {wanted!r}, saw {seen!r}")


def bmp(w, h, rgb):
    pad = (4 - 3 * w % 4) % 4
    row = bytes((rgb[2], rgb[1], rgb[0])) * w + b"\0" * pad
    pixels = row * h
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels)


class Site:
    """The page and the tests' data folders, from disk and from a server of its own."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="vorrak-web-")
        shutil.copytree(PAGE, self.root, dirs_exist_ok=True)
        mine = os.path.join(self.root, "mine")
        os.mkdir(mine)
        shutil.copy(os.path.join(DATA, "master.dat"), mine)
        for name, rgb in (("1.bmp", (200, 0, 0)), ("7.bmp", (0, 0, 200)), ("back1.bmp", (0, 90, 0)),
                          ("t3.bmp", (90, 0, 90))):
            with open(os.path.join(mine, name), "wb") as f:
                f.write(bmp(40, 30, rgb))
        os.mkdir(os.path.join(self.root, "empty"))
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port = s.getsockname()[1]
        self.log = open(os.path.join(tempfile.gettempdir(), f"vorrak-web-{self.port}.log"), "w+")
        self.server = subprocess.Popen(["/usr/bin/python3", "-m", "http.server", "--bind", "127.0.0.1",
                                        str(self.port), "--directory", self.root],
                                       stdout=subprocess.DEVNULL, stderr=self.log)
        began = time.time()
        while True:
            try:
                socket.create_connection(("127.0.0.1", self.port), 0.2).close()
                waited("helper", began)
                break
            except OSError:
                if self.server.poll() is not None:
                    raise Failure(f"the test server failed to start: exit {self.server.returncode}")
                if time.time() > began + DEADLINES["helper"]:
                    raise Failure(f"the test server did not answer within {DEADLINES['helper']} s")
                time.sleep(0.05)

    def url(self, how, query=""):
        base = f"http://127.0.0.1:{self.port}/" if how == "http" else f"file://{self.root}/"
        return base + "index.html" + (f"?{query}" if query else "")

    def requests(self):
        """The requests the server has answered so far."""
        with open(self.log.name) as f:
            return [line for line in f if '"GET ' in line]

    def close(self):
        self.server.terminate()
        self.server.wait()
        self.log.close()
        os.unlink(self.log.name)
        shutil.rmtree(self.root, ignore_errors=True)


class Browser:
    def __init__(self, size=(1000, 800)):
        o = Options()
        o.binary_location = "/usr/bin/chromium"
        for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  f"--window-size={size[0]},{size[1]}"]:
            o.add_argument(a)
        o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        began = time.time()
        try:
            self.d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=o)
        except WebDriverException as e:
            raise Failure(f"Chromium failed to start: {(e.msg or str(e)).strip().splitlines()[-1]}")
        waited("helper", began)
        self.console = []
        self.d.set_page_load_timeout(DEADLINES["show"])
        self.d.set_script_timeout(DEADLINES["answer"])

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def wait(self, what, ok, kind="answer"):
        began = time.time()
        while True:
            try:
                value = ok()
            except WebDriverException as e:
                raise Failure(f"{what}: the browser had already gone: {e.msg}")
            if value:
                waited(kind, began)
                return value
            stopped = [e for e in self.errors() if "Aborted" in e or "RuntimeError" in e]
            if stopped:
                raise Failure(f"{what}: the page's engine had already stopped: {stopped[0]}")
            if time.time() > began + DEADLINES[kind]:
                shot = os.path.join(tempfile.gettempdir(), "vorrak-web-failed.png")
                self.d.save_screenshot(shot)
                raise Failure(f"{what}: not seen within {DEADLINES[kind]} s; the page showed status "
                              f"{self.status()!r} (see {shot}); console {self.errors()!r}")
            time.sleep(0.05)

    def status(self):
        """The message line, as the live region says it (the hit points it adds aside)."""
        return self.js("return document.getElementById('spoken').textContent")

    def visible(self, id_):
        return self.js("const e = document.getElementById(arguments[0]); return !!e && !e.hidden "
                       "&& getComputedStyle(e).display !== 'none'", id_)

    def pixels(self):
        return bytes(self.js("return Array.from(document.getElementById('screen').getContext('2d')"
                             ".getImageData(0, 0, 593, 433).data)"))

    def at(self, pixels, x, y):
        i = 4 * (y * W + x)
        return tuple(pixels[i:i + 3])

    def click(self, x, y):
        """A click at client pixel (x, y) of the duel screen, wherever the canvas is shown."""
        self.js("""const c = document.getElementById('screen'), r = c.getBoundingClientRect();
            c.dispatchEvent(new MouseEvent('click', {bubbles: true,
                clientX: r.left + (arguments[0] + 0.5) * r.width / 593,
                clientY: r.top + (arguments[1] + 0.5) * r.height / 433}));""", x, y)

    def key(self, k):
        self.js("document.dispatchEvent(new KeyboardEvent('keydown', {key: arguments[0]}))", k)

    def errors(self, allowed=()):
        # The driver gives each console message once: keep them for later questions.
        self.console += self.d.get_log("browser")
        return [e["message"] for e in self.console
                if e["level"] == "SEVERE" and not any(a in e["message"] for a in allowed)]

    def ready(self):
        """Waits until the engine has finished what it was asked: the move buttons are made."""
        self.wait("the duel screen", lambda: self.visible("moves") or self.visible("end"), "show")

    def close(self):
        self.d.quit()


def bar_length(pixels, browser, left, top):
    return sum(browser.at(pixels, x, top + 4) == (0, 255, 0) for x in range(left, left + 100))


# --- the tests ------------------------------------------------------------------------------

def vorcheck_screen(ini, folder):
    """The 24-bit bitmap vorcheck --screen draws for the settings file's match."""
    with tempfile.TemporaryDirectory() as tmp:
        picture = os.path.join(tmp, "screen.bmp")
        subprocess.run([VORCHECK, "--ini", ini, "--screen", picture, folder], capture_output=True)
        with open(picture, "rb") as f:
            return f.read()


def expect_screen(what, b, data):
    """The canvas holds exactly the pixels of the bitmap."""
    stride = (3 * W + 3) // 4 * 4
    got = b.pixels()
    for y in range(H):
        row = data[54 + (H - 1 - y) * stride:]
        for x in range(W):
            wanted = (row[3 * x + 2], row[3 * x + 1], row[3 * x])
            if b.at(got, x, y) != wanted:
                raise Failure(f"{what}: canvas pixel ({x}, {y}) is {b.at(got, x, y)}, "
                              f"vorcheck --screen has {wanted}")


def test_first_screen(site, b):
    """After the opening, the canvas is vorcheck --screen's picture for the same match."""
    with tempfile.TemporaryDirectory() as tmp:
        ini = os.path.join(tmp, "vorrak.ini")
        with open(ini, "w") as f:
            f.write(MATCH.replace("&", "\r\n") + "\r\n")
        data = vorcheck_screen(ini, DATA)
    for how in ("file", "http"):
        b.d.get(site.url(how, MATCH))
        b.ready()
        expect(f"{how}: message", b.status(), "Go! Cindrel!")
        expect_screen(how, b, data)
        size = b.js("const r = document.getElementById('screen').getBoundingClientRect();"
                    "return [r.width * devicePixelRatio / 593, r.height * devicePixelRatio / 433]")
        expect(f"{how}: a whole scale", size[0] == size[1] == int(size[0]) >= 1, True)


def test_turn(site, b):
    """A click, key 2, and a click during the pause that is handled after it."""
    b.d.get(site.url("http", MATCH + "&skip"))
    b.ready()
    b.click(205, 304)
    b.wait("the player's move", lambda: b.status() == "Cindrel used Ember Snap!")
    expect("the opponent's bar after a damage of 14", bar_length(b.pixels(), b, 451, 26), 86)
    b.wait("the answer", lambda: b.status().startswith("Voltuft used "))
    b.wait("the turn's end", lambda: not b.js("return session.busy"))
    b.key("2")
    b.wait("key 2", lambda: b.status() == "Cindrel used Cinder Lash!")
    b.click(205, 344)  # during the pause: it waits its turn
    b.wait("the queued click", lambda: b.status() == "Cindrel used Kiln Burst!")
    expect("the opponent's bar", bar_length(b.pixels(), b, 451, 26), 100 - 14 - 22 - 30)


def test_end(site, b):
    """A whole duel from the help's example address, then the end's two buttons."""
    with open(os.path.join(ROOT, "content", "help", "quanhelp.txt")) as f:
        example = re.search(r"^\| index\.html\?(\S+)$", f.read(), re.M).group(1)
    b.d.get(site.url("file", example))
    b.ready()
    began = time.time()
    while not b.visible("end"):
        if time.time() > began + DEADLINES["duel"]:
            raise Failure(f"the duel did not end within {DEADLINES['duel']} s; status {b.status()!r}")
        if not b.js("return session.busy"):
            b.key("3")
        time.sleep(0.1)
    expect("result", b.js("return document.getElementById('result').textContent") in
           ("You won again!", "Lorn Ashby won!", "Old Tobrin won!"), True)
    expect("end buttons", b.js("return [...document.querySelectorAll('#end button')].map(e => e.textContent)"),
           ["Play again", "New match"])


def test_path_folder(site, b):
    """Path names a folder beside the page, fetched over http: its own pictures show."""
    b.d.get(site.url("http", MATCH + "&Path=mine/"))
    b.ready()
    pixels = b.pixels()
    expect("player's picture from the folder", b.at(pixels, 84, 410), (200, 0, 0))
    expect("opponent's picture from the folder", b.at(pixels, 480, 170), (0, 0, 200))
    loaded = b.js("return performance.getEntriesByType('resource').map(e => e.name)")
    expect("fetched from the folder", sorted(n.split("/")[-1] for n in loaded if "/mine/" in n),
           ["1.bmp", "7.bmp", "back1.bmp", "master.dat", "t3.bmp"])


def test_bad_input(site, b):
    """A start that fails gives the game's box or the page's, then says what failed in words,
    with New match and no duel; a Path that is no plain folder is refused, unfetched."""
    cases = [  # how, query, the box's text, the words after it if not the same
        ("http", "Path=empty/&You=1&skip", "Can't find master.dat file!",
         "Can't find master.dat file! The game looks for master.dat in the folder empty/ beside this page"),
        ("http", "Path=http://example.com/&You=1", "is refused"),
        ("http", "Path=//example.com/&You=1", "is refused"),
        ("http", "Path=/\\example.com/&You=1", "is refused"),
        ("http", "Path=../&You=1", 'with ".."'),
        ("http", "Path=mine/%252E%252e/&You=1", 'with ".."'),
        ("http", "Path=mine%3F/&You=1", '"?" or "#"'),
        ("http", "Path=mine%2523/&You=1", '"?" or "#"'),
        ("http", "Path=mine%255C..%255C&You=1", 'not by "\\"'),
        ("file", "Path=mine/&You=1", "Could not fetch mine/master.dat"),
    ]
    for how, query, text, *words in cases:
        asked = len(site.requests())
        b.d.get(site.url(how, query))
        b.wait(f"{query}: the box", lambda: b.js("return document.getElementById('message').open"))
        shown = b.js("return document.getElementById('messageText').textContent")
        expect(f"{query}: box text", text in shown, True)
        b.js("document.querySelector('#message button').click()")
        b.wait(f"{query}: the failed start", lambda: b.visible("failed"))
        expect(f"{query}: words, New match, a duel", [(words or [text])[0] in b.js("return $('failedWhy').textContent"),
               b.js("return document.activeElement.id"), b.visible("duel")], [True, "newFailed", False])
        hosts = b.js("return performance.getEntriesByType('resource').map(e => new URL(e.name).host)")
        expect(f"{query}: requests elsewhere", [h for h in hosts if h not in ("", f"127.0.0.1:{site.port}")], [])
        if "Can't find" not in text:  # refused, or from a disk: nothing was asked of the server
            expect(f"{query}: fetched", [r for r in site.requests()[asked:] if "master.dat" in r], [])
    b.js("$('newFailed').click()")
    b.wait("New match: the chooser", lambda: b.visible("chooser"))


# A link without a fault, then links that name what the data lacks or values that are no numbers.
LINKS = [MATCH, MATCH.replace("Move1=1", "Move1=7abc"), MATCH.replace("Opp=7", "Opp=77"),
         MATCH.replace("Move2=2", "Move2="), "You=1"]


def test_bad_link(site, b):
    """A link whose settings name what the data lacks, or values that are no numbers, gets
    vorcheck's own findings for its vorrak.ini beside the duel, which plays on; a link without
    a fault never fetches the checker."""
    for query in LINKS:
        asked = len(site.requests())
        b.d.get(site.url("http", query + "&skip"))
        b.ready()
        b.key("1")
        b.wait(f"{query}: a move", lambda: " used " in b.status())
        if query == MATCH:
            expect("checker fetched", [r for r in site.requests()[asked:] if "checker" in r] + [b.visible("linkCheck")], [False])
            continue
        b.wait(f"{query}: the findings", lambda: b.js("return $('linkCounts').textContent.includes('plays as')"))
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, "vorrak.ini"), "w") as f:
                f.write(b.js("return settingsFile(new URLSearchParams(arguments[0]), null)", query + "&skip"))
            expect(f"{query}: findings", shown_findings(b, "linkFindings"), vorcheck_findings(folder, DATA))


def test_zip_plays_from_disk(site, b):
    """The release's web zip, unpacked, plays from disk: index.html at its folder's top."""
    release = os.path.join(ROOT, "build", "release")
    zips = [z for z in os.listdir(release) if z.endswith("-web.zip")] if os.path.isdir(release) else []
    expect("web zips in build/release", len(zips), 1)
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["unzip", "-q", os.path.join(release, zips[0]), "-d", tmp], check=True)
        expect("the zip's one folder", os.listdir(tmp), [zips[0][:-len(".zip")]])
        b.d.get(f"file://{tmp}/{zips[0][:-len('.zip')]}/index.html?{MATCH}&skip")
        b.ready()
        b.key("1")
        b.wait("a move", lambda: b.status() == "Cindrel used Ember Snap!")


# --- authors' own files ---------------------------------------------------------------------

def data_set(folder, kind):
    """Writes one of the tests' data sets of an author into folder."""
    rng = random.Random(kind)
    with open(os.path.join(DATA, "master.dat"), "rb") as f:
        master = f.read()
    files = {}
    if kind == "bundled":
        for name in os.listdir(DATA):
            if name.endswith(".bmp") or name == "master.dat":
                with open(os.path.join(DATA, name), "rb") as f:
                    files[name] = f.read()
        files["vorrak.ini"] = MATCH.replace("&", "\r\n").encode() + b"\r\n"
    elif kind == "broken":
        lines = master.split(b"\n")
        lines[5:5] = [b"no equals sign here", b"12=\xe9t\xe9 \xff", b"[names]"]
        files["master.dat"] = b"\n".join(lines[:-40])
        files["1.bmp"] = bmp(40, 30, (200, 0, 0))[:90]  # truncated
        files["7.bmp"] = bmp(2, 2, (0, 0, 200))[:18] + struct.pack("<ii", 40000, -40000) + bmp(2, 2, (0, 0, 200))[26:]
        files["t3.bmp"] = b""
        files["\u00c9clair \u00e9t\u00e9.bmp"] = bmp(10, 10, (1, 2, 3))
        files["vorrak.ini"] = b"You=1\r\nOpp=77\r\nMove1=abc\r\nmove2 = 2\r\nTrainerYou=1\r\n\xff\xfe=\r\n"
    elif kind == "no master.dat":
        files["1.bmp"] = bmp(40, 30, (200, 0, 0))
        files["vorrak.ini"] = b"You=1\r\nOpp=7\r\n"
    elif kind == "hundreds":
        files["master.dat"] = master
        for n in range(300):
            files[f"{n}.bmp"] = bytes(rng.randrange(256) for _ in range(rng.randrange(200)))
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def give(b, folder):
    """Gives every file of folder through the page's file picker; waits for the findings."""
    b.js("document.getElementById('checking').textContent = ''")
    paths = sorted(os.path.join(folder, n) for n in os.listdir(folder))
    b.js("document.getElementById('giveFiles').value = ''")  # the driver adds to what is there
    b.d.find_element("id", "giveFiles").send_keys("\n".join(paths))
    b.wait("the findings", lambda: b.js("return document.getElementById('checking').textContent")
           .startswith("Checked"))


def shown_findings(b, list_id="findings"):
    return b.js("""return [...document.getElementById(arguments[0]).children].map(e =>
        [e.dataset.file, e.dataset.line || null, e.dataset.severity, e.querySelector('.sentence').textContent])""", list_id)


def vorcheck_findings(folder, data=None):
    """vorcheck's findings for a folder with its vorrak.ini, of all of it or (with data) of
    what that vorrak.ini names in data."""
    ini = os.path.join(folder, "vorrak.ini")
    args = [VORCHECK, "--json"] + (["--ini", ini] if os.path.exists(ini) else [])
    args += ["--all", folder + "/"] if data is None else [data + "/"]
    found = json.loads(subprocess.run(args, capture_output=True).stdout)["findings"]
    out = []
    for f in found:
        file, _, line = f["place"].rpartition(":")
        if not line.isdigit():
            file, line = f["place"], None
        out.append([file, line, f["severity"], f["message"].replace(folder + "/", "/given/")])
    return out


def page_files(requests):
    """Leaves out the requests of the page's own files (the checker, fetched once it is needed)."""
    return [r for r in requests if r.split('"GET /')[1].split()[0] not in os.listdir(PAGE)]


def test_authors_findings(site, b):
    """Each data set given in turn to one page: the checker's own findings, and only its own."""
    b.d.get(site.url("http"))
    b.wait("the chooser", lambda: b.visible("chooser"))
    loaded = len(site.requests())
    for kind in ("broken", "bundled", "no master.dat", "hundreds"):
        with tempfile.TemporaryDirectory() as folder:
            data_set(folder, kind)
            give(b, folder)
            expect(f"{kind}: findings", shown_findings(b), vorcheck_findings(folder))
        if kind == "bundled":
            expect("bundled: counts", b.js("return document.getElementById('counts').textContent"),
                   "No findings: the game reads everything as you meant it.")
    expect("requests after load", page_files(site.requests()[loaded:]), [])


def test_authors_play(site, b):
    """An author's own pictures in a duel, then the bundled data back; nothing is fetched."""
    b.d.get(site.url("http"))
    b.wait("the chooser", lambda: b.visible("chooser"))
    loaded = len(site.requests())
    give(b, os.path.join(site.root, "mine"))
    b.wait("the screen of the chooser's match", lambda: b.visible("ownScreen"))
    for k, v in (("You", "1"), ("Opp", "7"), ("TrainerYou", "1"), ("TrainerOpp", "3")):
        b.js("document.getElementById(arguments[0]).value = arguments[1]", k, v)
    b.js("document.getElementById('play').click()")
    b.ready()
    pixels = b.pixels()
    expect("player's own picture", b.at(pixels, 84, 410), (200, 0, 0))
    expect("opponent's own picture", b.at(pixels, 480, 170), (0, 0, 200))
    b.key("1")
    b.wait("a move", lambda: b.status() == "Cindrel used Ember Snap!")
    b.js("document.getElementById('newMatch').click()")
    b.wait("the chooser again, with the files still given", lambda: b.visible("chooser") and b.visible("bundled"))
    b.js("document.getElementById('bundled').click()")
    b.wait("the bundled data back", lambda: not b.visible("bundled") and b.js(
        "return document.getElementById('You').options.length") == 8)
    expect("requests after load", page_files(site.requests()[loaded:]), [])


# Given data sets whose names go beyond ASCII or whose files are named in other cases:
# what to change in the bundled data, the renamed files, and the names the game shows then
# (your creature, your three moves).
TEXT_CASES = [
    ("Windows-1252 names",
     {"1=Ember Snap": "1=Caf\u00e9 \u201cBl\u00e2ze\u201d \u2013 \u20ac\u00ff", "2=Cinder Lash": "2=Na\u00efve \u2018Quill\u2019",
      "3=Kiln Burst": "3=\u0152uvre \u2014 \u00df", "001 Cindrel": "001 Cr\u00e8me\u2019s",
      "007 Voltuft": "007 \u00c9lectrique\u2019s", "1=Ardo Venn": "1=Zo\u00eb \u00d1\u00fa\u00f1ez"},
     {"\u00c9t\u00e9 \u2019.bmp": "1.bmp"},
     ("Cr\u00e8me\u2019s", ["Caf\u00e9 \u201cBl\u00e2ze\u201d \u2013 \u20ac\u00ff", "Na\u00efve \u2018Quill\u2019", "\u0152uvre \u2014 \u00df"])),
    ("names in other cases", {}, {"MASTER.DAT": "master.dat", "7.BMP": "7.bmp", "Back1.Bmp": "back1.bmp"},
     ("Cindrel", ["Ember Snap", "Cinder Lash", "Kiln Burst"])),
]


def test_authors_text(site, b):
    """Given files, named and naming things as on Windows: the chooser, the findings, the move
    buttons, the live region and the canvas show what the game and vorcheck show."""
    b.d.get(site.url("http"))
    b.wait("the chooser", lambda: b.visible("chooser"))
    for what, changes, renamed, (creature, moves) in TEXT_CASES:
        with tempfile.TemporaryDirectory() as folder:
            data_set(folder, "bundled")
            with open(os.path.join(folder, "master.dat"), "rb") as f:
                master = f.read()
            for old, new in changes.items():
                master = master.replace(old.encode("cp1252"), new.encode("cp1252"))
            with open(os.path.join(folder, "master.dat"), "wb") as f:
                f.write(master)
            for new, old in renamed.items():
                shutil.copy(os.path.join(folder, old), os.path.join(folder, new))
                if new.lower() == old:
                    os.unlink(os.path.join(folder, old))
            give(b, folder)
            expect(f"{what}: findings", shown_findings(b), vorcheck_findings(folder))
            listed = b.js("return [...document.getElementById('Move1').options].map((o) => o.text)")
            expect(f"{what}: moves in the chooser", [m for m in moves if not any(o.startswith(m + " (damage")
                                                                                 for o in listed)], [])
            expect(f"{what}: creature in the chooser", creature[:10] in b.js(
                "return [...document.getElementById('You').options].map((o) => o.text)"), True)
            b.js("document.getElementById('play').click()")
            b.ready()
            expect(f"{what}: move buttons", b.js(
                "return [...document.querySelectorAll('#moves button')].map((e) => e.textContent)"), moves)
            expect(f"{what}: live region", b.status(), f"Go! {creature}!")
            expect_screen(what, b, vorcheck_screen(os.path.join(folder, "vorrak.ini"), folder + "/"))
            b.key("1")
            b.wait(f"{what}: a move", lambda: b.status() == f"{creature} used {moves[0]}!")
            b.js("document.getElementById('newMatch').click()")
            b.wait(f"{what}: the chooser again", lambda: b.visible("chooser"))


def test_authors_garbage(site, b):
    """20 MB of random bytes, dropped as master.dat: the findings come, the page answers meanwhile."""
    b.d.get(site.url("file"))
    b.wait("the chooser", lambda: b.visible("chooser"))
    b.js("""const bytes = new Uint8Array(20 << 20);
        for (let at = 0; at < bytes.length; at += 65536) crypto.getRandomValues(bytes.subarray(at, at + 65536));
        const drop = new DataTransfer();
        drop.items.add(new File([bytes], 'master.dat'));
        dispatchEvent(new DragEvent('drop', {dataTransfer: drop, cancelable: true}));""")
    b.wait("the check", lambda: b.js("return $('checking').textContent").startswith("Checking"))
    expect("About opened during the check", b.js("$('aboutButton').click(); const open = $('about').open; "
           "$('about').close(); return open && $('checking').textContent.startsWith('Checking')"), True)
    b.wait("the findings", lambda: b.js("return document.getElementById('checking').textContent")
           .startswith("Checked"), "work")
    expect("findings listed", b.js("return document.getElementById('findings').children.length") > 0, True)


# --- one duel at a time ------------------------------------------------------------------

# On the bundled data and on given files: steps (keys, play / play-skip with MATCH, STEPS),
# the player's moves in the last duel, and what the page says at the end.
LIFE = [
    ("play-skip 1 move new play 2", ["Cindrel used Cinder Lash!"], "Voltuft used "),
    ("play-skip 3333 won 11 end 1 again ready 2", ["Cindrel used Cinder Lash!"], "Voltuft used "),
    ("play-skip about 123 close 2", ["Cindrel used Cinder Lash!"], "Voltuft used "),
    ("play-skip ready lose 1 box 23 close end", ["Cindrel used Ember Snap!"], "Can't find master.dat file!"),
]
STEPS = {  # waits return what they wait for
    "move": "return $('status').textContent.startsWith('Cindrel used')",
    "won": "return $('status').textContent === 'You won again!'",
    "end": "return !$('end').hidden",
    "ready": "return !$('moves').hidden && $('end').hidden",
    "box": "return $('message').open",
    "new": "$('newMatch').click()",
    "again": "lines = []; $('again').click()",
    "about": "$('aboutButton').click()",
    "close": "document.querySelector('dialog[open] button').click()",
    "lose": "session.engine.FS.unlink(session.folder + 'master.dat')",  # as an author might
}


def test_life(site, b):
    """New match mid-turn, Play again, keys at the end and behind dialogs: one duel at a time."""
    b.d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """window.lines = [];
        addEventListener('DOMContentLoaded', () => new MutationObserver(() => lines.push($('spoken').textContent))
            .observe($('spoken'), {childList: true}));"""})
    for data, (steps, moves, text) in [(d, row) for d in ("bundled", "given") for row in LIFE]:
        b.d.get(site.url("http"))
        b.wait("the chooser", lambda: b.visible("chooser"))
        if data == "given":
            give(b, os.path.join(site.root, "mine"))
        for step in steps.split():
            if step.isdigit():
                b.js("for (const key of arguments[0]) document.dispatchEvent(new KeyboardEvent('keydown', {key}))", step)
            elif step.startswith("play"):
                b.wait(step, lambda: b.js("return !$('chooser').hidden && !$('play').disabled"))
                b.js("for (const [k, v] of new URLSearchParams(arguments[0])) $(k).value = v;"
                     "$('skip').checked = arguments[1]; lines = []; $('play').click()", MATCH, step == "play-skip")
            elif STEPS[step].startswith("return"):
                b.wait(f"{data}, {steps}: {step}", lambda: b.js(STEPS[step]))
            else:
                b.js(STEPS[step])
        b.wait(f"{data}, {steps}: the last turn", lambda: b.js("return !session.busy"))
        seen = [[m for m in b.js("return lines") if m.startswith("Cindrel used")],
                b.js("return ($('end').hidden ? $('status') : $('result')).textContent").startswith(text), b.errors()]
        expect(f"{data}, {steps}: moves, shown, console errors", seen, [moves, True, []])


# --- every screen, every state, offline ------------------------------------------------------

# (width, height, device pixel ratio): phones held upright and sideways, a tablet, desktops.
VIEWPORTS = [(320, 568, 2), (360, 640, 3), (390, 844, 3), (412, 915, 2.625), (844, 390, 3), (768, 1024, 2),
             (1280, 800, 1), (1920, 1080, 1)]
LAYOUT = """const c = $('screen').getBoundingClientRect(), e = session.engine, root = document.documentElement;
    const told = (k) => `${e._web_hit_points(k)} of ${e._web_full_hit_points(k)}`;
    const small = !$('duel').hidden && c.width < WIDTH;
    return {wider: root.scrollWidth > root.clientWidth,
        screen: $('duel').hidden || (c.left >= 0 && c.top >= 0 && c.right <= innerWidth && c.bottom <= innerHeight),
        words: !small || ($('words').offsetHeight > 0 && $('line').textContent === e.UTF8ToString(e._web_message()).trimEnd()
            && $('oppSide').textContent.endsWith(told(1)) && $('youSide').textContent.endsWith(told(0))
            && ['line', 'oppSide', 'youSide'].every((id) => parseFloat(getComputedStyle($(id)).fontSize) >= 16)
            && [...$('moves').children].every((m) => m.offsetHeight >= 48))};"""


def test_viewports(site, b):
    """At every size, in the chooser and in a duel: nothing wider than the window, the whole
    screen in view, and where it is shown below one CSS pixel per screen pixel, the engine's
    message line and hit points as page text of 16 px or more, and moves 48 px high."""
    for w, h, dpr in VIEWPORTS:
        b.d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                            {"width": w, "height": h, "deviceScaleFactor": dpr, "mobile": w < 1000})
        for query in ("", MATCH + "&skip"):
            b.d.get(site.url("http", query))
            b.wait(f"{w} x {h}: the page", lambda: b.visible("chooser") or b.visible("moves"), "show")
            if query:
                b.key("1")
                b.wait(f"{w} x {h}: a move", lambda: b.status().startswith("Cindrel used"))
            expect(f"{w} x {h} {query[:6]}", b.js(LAYOUT), {"wider": False, "screen": True, "words": True})


AXE = os.path.join(ROOT, "build", "npm", "node_modules", "axe-core", "axe.min.js")
STRONG = "You=1&Opp=7&TrainerYou=1&TrainerOpp=3&Move1=12&Move2=12&Move3=12&OppMove1=13&OppMove2=13&OppMove3=13&skip"


def states(site, b):
    """Brings the page into each state a player or an author meets, in turn, and names it."""
    def at(query, what, ready, page="index.html"):
        b.d.get(site.url("http", query).replace("index.html", page))
        b.wait(what, lambda: b.js(ready), "show")
        return what
    yield at("", "the chooser", "return !$('chooser').hidden")
    yield at(MATCH, "the opening", "return $('spoken').textContent.endsWith('wants to fight!')")
    yield at(MATCH + "&skip", "a duel", "return !$('moves').hidden")
    b.js("$('aboutButton').click()")
    yield "About"
    at(STRONG, "a duel", "return !$('moves').hidden")
    while not b.visible("end"):
        b.js("if (!session.busy) $('moves').firstChild.click()")
        b.wait("a turn", lambda: not b.js("return session.busy") or b.visible("end"), "duel")
    yield "the end"
    yield at("Path=empty/&You=1", "the error dialog", "return $('message').open")
    b.js("$('message').querySelector('button').click()")
    b.wait("the failed start", lambda: b.visible("failed"))
    yield "the failed start"
    yield at(MATCH.replace("Opp=7", "Opp=77") + "&skip", "a link's findings", "return $('linkFindings').children.length > 0")
    at("", "the chooser", "return !$('chooser').hidden")
    with tempfile.TemporaryDirectory() as folder:
        data_set(folder, "broken")
        give(b, folder)
    yield "an author's findings"
    open_studio(b, site)
    yield "the studio"
    yield at("", "the help page", "return document.readyState === 'complete'", "quanhelp.html")


def test_axe(site, b):
    """axe-core finds nothing wrong in any state of the page, nor in the help page."""
    if not os.path.exists(AXE):
        raise Failure(f"{AXE} is missing: tools/test.sh installs it")
    with open(AXE) as f:
        axe = f.read()
    for state in states(site, b):
        b.js(axe)
        found = b.d.execute_async_script("""axe.run(document, {resultTypes: ['violations']}).then((r) => arguments[0](
            r.violations.map((v) => [v.id, v.impact, v.nodes.map((n) => n.target.join(' ')).slice(0, 3)])))""")
        expect(f"{state}: violations", found, [])


def test_offline(site, b):
    """Hosted, the page is installable; visited once, it reloads offline and plays a duel, and
    asks the server nothing; a new release's worker replaces the old cache."""
    def caches():
        return b.d.execute_async_script("caches.keys().then(arguments[0])")

    def offline(yes):
        b.d.execute_cdp_cmd("Network.emulateNetworkConditions", {"offline": yes, "latency": 0,
                            "downloadThroughput": -1, "uploadThroughput": -1})
    b.d.execute_cdp_cmd("Network.enable", {})
    b.d.get(site.url("http"))
    b.wait("the files kept", lambda: b.js("return !!navigator.serviceWorker.controller"), "show")
    expect("installability", b.d.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"], [])
    for release in ("first", "next"):
        offline(True)
        asked = len(site.requests())
        b.d.get(site.url("http", MATCH + "&skip"))
        b.ready()
        b.key("1")
        b.wait(f"{release}: a move offline", lambda: b.status() == "Cindrel used Ember Snap!")
        expect(f"{release}: the release offline, requests", [b.js("return document.body.dataset.release || 'first'"),
               site.requests()[asked:]], [release, []])
        if release == "next":
            break
        kept = caches()
        with open(os.path.join(site.root, "sw.js")) as f:
            worker = f.read()
        with open(os.path.join(site.root, "sw.js"), "w") as f:
            f.write(worker.replace(kept[0].split()[-1], "next-release"))
        with open(os.path.join(site.root, "index.html")) as f:
            page = f.read()
        with open(os.path.join(site.root, "index.html"), "w") as f:
            f.write(page.replace("<body>", '<body data-release="next">'))
        offline(False)
        b.d.get(site.url("http"))
        b.wait("the next release's cache alone", lambda: [c.split()[-1] for c in caches()] == ["next-release"], "show")
# --- the studio ------------------------------------------------------------------------------

def studio_said(b):
    return b.js("return $('studioSaid').textContent")


def open_studio(b, site):
    b.d.get(site.url("http"))
    b.wait("the chooser", lambda: b.visible("chooser"))
    b.js("$('makeOwn').click()")
    b.wait("the studio's draft", lambda: b.js("return !!window.studioOpen && !$('studio').hidden") and
           studio_said(b).startswith("Started"), "show")


def studio_do(b, what, action, said, kind="answer"):
    """An edit in the studio: a field typed in, a button clicked or a file given; waits until
    the studio says said. A file goes to the input a CSS selector names."""
    b.js("$('studioSaid').textContent = ''")
    if action[0] == "file":
        b.d.find_element("css selector", action[1]).send_keys(action[2])
    elif action[0] == "click":
        b.js("document.querySelector(arguments[0]).click()", action[1])
    else:
        b.js("const e = $(arguments[0]); e.value = arguments[1]; e.dispatchEvent(new Event(arguments[2]))",
             action[1], action[2], "change" if action[1] == "studioNumber" else "input")
    b.wait(what, lambda: said in studio_said(b), kind)


def test_studio(site, b):
    """A creature made in the studio from a transparent PNG, with two new moves: played, kept
    over a reload, exported and imported again. The zip holds what vordata makes of the same
    edits; vorcheck finds no error in it and draws the picture at its place."""
    with tempfile.TemporaryDirectory() as tmp:
        b.d.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": tmp})
        b.d.get(site.url("http", MATCH))
        b.ready()
        expect("what a player fetched of the studio", [r for r in site.requests() if "studio" in r], [])
        open_studio(b, site)
        image = os.path.join(tmp, "creature.png")
        with open(image, "wb") as f:
            f.write(recipe.png())
        (number, name), frame = recipe.CREATURE, "#studioFrames input"
        studio_do(b, "a new creature", ("click", "[data-add=creatures]"), f"Creature {number} is now")
        studio_do(b, "its name", ("type", "studioName", name), f'Creature {number} is now "{name}"')
        studio_do(b, "its picture", ("file", frame, image), f"{number}.bmp: 145 x 115, enlarged from 29 x 23 5 times")
        for n, move, damage in recipe.MOVES:
            studio_do(b, "a new move", ("click", "[data-add=moves]"), f"Move {n} is now")
            studio_do(b, "its name", ("type", "studioName", move), f'Move {n} is now "{move}"')
            studio_do(b, "its damage", ("type", "studioDamage", str(damage)), f'Damage for move {n} is now "{damage}"')
        b.js("for (const [k, v] of Object.entries(arguments[0])) {"
             "  $('studio' + k).value = v; $('studio' + k).dispatchEvent(new Event('input')); }", recipe.MATCH)
        b.wait("the match checked", lambda: b.js("return answers.size === 0"))
        expect("the findings", b.js("return $('studioCounts').textContent"),
               "No findings: the game reads everything as you meant it.")
        b.js("$('studioPlay').click()")
        b.ready()
        b.key("1")
        b.wait("the new move", lambda: b.status() == f"{name} used {recipe.MOVES[0][1]}!")
        b.js("$('newMatch').click()")
        b.wait("the studio again", lambda: b.visible("studio"))
        b.js("$('studioExport').click()")
        zipped = os.path.join(tmp, "mydata.zip")
        b.wait("the zip", lambda: os.path.exists(zipped) and not os.path.exists(zipped + ".crdownload"))
        out, made = os.path.join(tmp, "out"), os.path.join(tmp, "made")
        subprocess.run(["unzip", "-q", zipped, "-d", out], check=True)
        recipe.make_with_vordata(VORDATA, DATA, made)
        folder = os.path.join(out, "mydata")
        files = lambda d: {n: open(os.path.join(d, n), "rb").read() for n in os.listdir(d) if n != "vorrak.ini"}
        expect("the exported files against vordata's", files(folder) == files(made), True)
        # As the game reads it, started from the folder the zip was unpacked in: its own Path.
        checked = json.loads(subprocess.run([VORCHECK, "--all", "--json", "--ini", "mydata/vorrak.ini", "--screen",
                                             "screen.bmp"], cwd=out, capture_output=True).stdout)
        expect("vorcheck's errors on the zip", checked["errors"], 0)
        expect("the zip's settings", {k: checked["settings"][k] for k in list(recipe.MATCH) + ["Path"]},
               recipe.MATCH | {"Path": "mydata\\"})
        with open(os.path.join(out, "screen.bmp"), "rb") as f:
            screen = f.read()
        stride = (3 * W + 3) // 4 * 4
        at = lambda x, y: tuple(reversed(screen[54 + (H - 1 - y) * stride + 3 * x:][:3]))
        expect("the picture on vorcheck's screen", recipe.misplaced(at), [])
        open_studio(b, site)  # afresh: the draft was kept
        expect("the kept draft", studio_said(b).startswith("Started from your kept draft"), True)
        b.js("$('studioStart').open = true")
        studio_do(b, "an empty draft", ("click", "[data-start=empty]"), "Started from nothing: 0 files")
        expect("an empty draft's records and pictures", b.js("return [found.creatures, found.pictures]"), [[], []])
        studio_do(b, "the zip imported", ("file", "#studioZip", zipped), f"Started from mydata.zip: {len(files(made))} files")
        expect("the creatures imported", b.js("return [...$('studio-creatures').options].map(o => o.text)")[-1], f"{number} {name}")
        expect("the match imported", b.js("return $('studioYou').value"), str(number))


# Bad input to the studio, each given to creature 1's form: what, how, what the studio says,
# and whether the draft changes (else every file stays as it was).
STUDIO_BAD = [
    ("a broken PNG", ("file", "#studioFrames input", "broken.png"), "can't be read as a picture", False),
    ("a 50-megapixel image", ("file", "#studioFrames input", "huge.png"), "1.bmp: 145 x 113, scaled down from 8000 x 6250", True),
    ("a zip of 5000 entries", ("file", "#studioZip", "many.zip"), "it holds 5000 entries", False),
    ("a zip with a path up", ("file", "#studioZip", "up.zip"), 'its entry "../t1.bmp" would be written outside', False),
    ("a damaged zip", ("file", "#studioZip", "damaged.zip"), 'its entry "d/master.dat" is damaged', False),
    ("a name beyond Windows-1252", ("type", "studioName", "\u03a9mega"), "no character U+03A9", False),
    ("a name of 10,000 characters", ("type", "studioName", "x" * 10000), "cut to its first 10 characters", True),
    ("a creature's number above 999", ("type", "studioNumber", "1000"), "from -99 to 999", False),
]


def test_studio_bad_input(site, b):
    """Broken, huge or hostile input: the studio says what it did or why not, keeps the draft
    and goes on answering."""
    with tempfile.TemporaryDirectory() as tmp:
        with open(os.path.join(tmp, "broken.png"), "wb") as f:
            f.write(recipe.png()[:60] + bytes(200))
        with open(os.path.join(tmp, "huge.png"), "wb") as f:
            f.write(recipe.png(8000, 6250, (b"\xc8\0\0\xff" * 8000 for _ in range(6250))))
        with zipfile.ZipFile(os.path.join(tmp, "many.zip"), "w") as z:
            for i in range(5000):
                z.writestr(f"d/{i}.bmp", "")
        with zipfile.ZipFile(os.path.join(tmp, "up.zip"), "w") as z:
            z.writestr("d/master.dat", "[Moves]\r\n")
            z.writestr("../t1.bmp", "")
        with zipfile.ZipFile(os.path.join(tmp, "damaged.zip"), "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("d/master.dat", "[Moves]\r\n1=Jab\r\n" * 50)
        with open(os.path.join(tmp, "damaged.zip"), "r+b") as f:
            f.seek(50)
            f.write(b"\xff\xff")
        open_studio(b, site)
        b.js("$('studio-creatures').value = 1; $('studio-creatures').dispatchEvent(new Event('change'))")
        b.wait("creature 1's form", lambda: b.visible("studioRecord"))
        draft = "return [...draft].map(([n, b]) => n + ' ' + b.reduce((h, c) => (h * 31 + c) | 0, 0))"
        for what, (how, where, value), said, changes in STUDIO_BAD:
            before = b.js(draft)
            given = os.path.join(tmp, value) if how == "file" else value
            studio_do(b, what, (how, where, given), said, "work")
            expect(f"{what}: the draft kept", b.js(draft) == before, not changes)
            studio_do(b, f"after {what}: an edit", ("type", "studioName", "Cindrel"), 'Creature 1 is now "Cindrel"')


TESTS = {name[5:]: f for name, f in dict(globals()).items() if name.startswith("test_")}
# Loading a file that is not there is what these tests are about.
EXPECTED_ERRORS = {"bad_input": ("Failed to load resource", "net::ERR_FILE_NOT_FOUND", "Not allowed to load"),
                   "axe": ("Failed to load resource",)}


def main():
    name = sys.argv[1]
    os.environ["VORRAK_TEST"] = "web." + name
    if name not in TESTS:
        print(f"no test {name}")
        return 2
    site, b = Site(), None
    try:
        b = Browser()
        TESTS[name](site, b)
        expect("console errors", b.errors(EXPECTED_ERRORS.get(name, ())), [])
        print(f"{name}: passed")
        return 0
    except Failure as e:
        print(f"{name}: FAILED: {e}")
        return 1
    finally:
        if b:
            b.close()
        site.close()


if __name__ == "__main__":
    sys.exit(main())
