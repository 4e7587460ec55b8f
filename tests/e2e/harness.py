"""Runs the real vorrak.exe under Wine in a virtual X display and looks at what it does.

Every wait is for a condition with a deadline from tests/deadlines.py; nothing sleeps a fixed
time as its check. A wait that fails says which way: a helper that never started, the
program under test already gone (with its exit code), or the condition not come by the
deadline (with what was seen last).
"""
import contextlib
import os
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests"))
from deadlines import DEADLINES, waited  # noqa: E402
BUILD = os.environ.get("VORRAK_WIN_BUILD", os.path.join(ROOT, "build", "win"))
PREFIX = os.environ.get("VORRAK_E2E_PREFIX", os.path.join(BUILD, "wineprefix-e2e"))
EXE = os.path.join(BUILD, "vorrak.exe")
PROBE = os.path.join(BUILD, "probe.exe")

# tools/x86.sh sets win64 where our 32-bit programs run under qemu-i386.
WINEARCH = os.environ.get("WINEARCH", "win32")

RELAYED = ["TextOutA", "MessageBoxA", "WinHelpA", "DestroyWindow", "PostQuitMessage",
           "SetDIBitsToDevice", "Rectangle", "DialogBoxParamA", "EndDialog", "FillRgn"]


class Failure(AssertionError):
    pass


class NotSeen(Failure):
    """A wait's condition did not come by its deadline."""


HELPER = DEADLINES["helper"]


def seconds(wait):
    """A wait's deadline: a kind of wait from tests/deadlines.py, or seconds."""
    return DEADLINES[wait] if isinstance(wait, str) else wait


def retried(what):
    """Notes a start that showed nothing and was tried again, for the test command's summary."""
    print(f"retried: {what}")
    log = os.environ.get("VORRAK_RETRY_LOG")
    if log:
        with open(log, "a") as f:
            f.write(f"{os.environ.get('VORRAK_TEST', '?')}: {what}\n")


def last_line(path, leave_out=""):
    with open(path, errors="replace") as f:
        lines = [l.strip() for l in f if l.strip() and l.strip() != leave_out]
    return lines[-1] if lines else "nothing"


def wine_env(display, relay=False):
    env = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH=WINEARCH, DISPLAY=display,
               WINEDLLOVERRIDES="winemenubuilder.exe=d")
    env["WINEDEBUG"] = "+timestamp,+relay" if relay else "-all"
    return env


def prepare_prefix():
    """The end-to-end prefix: the common set-up plus a relay trace of the game's own calls."""
    subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh"), PREFIX], check=True)
    marker = os.path.join(PREFIX, ".e2e-ready")
    if os.path.exists(marker):
        return
    env = wine_env(":0")
    key = r"HKCU\Software\Wine\Debug"
    def reg(*args):
        subprocess.run(["wine", "reg"] + list(args), env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    reg("delete", key, "/v", "RelayFromExclude", "/f")
    reg("add", key, "/v", "RelayFromInclude", "/d", "vorrak.exe", "/f")
    relay_only(RELAYED)
    open(marker, "w").close()


def relay_only(names, wait=True):
    """Has the relay trace log only these functions, or whole DLLs as "gdi32.*"; a running
    server takes the change at once, and waiting would wait for a persistent one."""
    env = wine_env(":0")
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude",
                    "/d", ";".join(names), "/f"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if wait:
        subprocess.run(["wineserver", "-w"], env=env)


@contextlib.contextmanager
def whole_relay():
    """Every GDI and USER call of the game in the trace, for the length of the block."""
    prepare_prefix()
    relay_only(["gdi32.*", "user32.*"])
    try:
        yield
    finally:
        relay_only(RELAYED, wait=False)


class Display:
    """An Xvfb server of our own, on a display number it picks itself: two harnesses on one
    machine never share one."""

    def __init__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp"], pass_fds=(write,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        began = time.time()
        with os.fdopen(read) as said:
            ready, _, _ = select.select([said], [], [], HELPER)
            number = said.readline().strip() if ready else ""
        if not number:
            self.proc.kill()
            raise Failure(f"Xvfb failed to start: exit {self.proc.wait()}" if ready else
                          f"Xvfb: no display within {HELPER} s")
        self.name = f":{number}"
        waited("helper", began)

    def close(self):
        self.proc.terminate()
        self.proc.wait()


class Image:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def save_png(self, path):
        with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height) + self.data)
        subprocess.run(["convert", f.name, path], check=True)
        os.unlink(f.name)


def bmp(rows):
    """A 24-bit bitmap file from rows of (r, g, b), top row first."""
    h, w = len(rows), len(rows[0])
    pad = (4 - 3 * w % 4) % 4
    pixels = b"".join(b"".join(bytes((b, g, r)) for r, g, b in row) + b"\0" * pad
                      for row in reversed(rows))
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 0, 0, 0, 0) + pixels)


def windows_path(path):
    return "Z:" + os.path.realpath(path).replace("/", "\\")


class Call:
    def __init__(self, ms, name, args):
        self.ms, self.name, self.args = ms, name, args

    def text(self):
        m = re.search(r'"((?:[^"\\]|\\.)*)"', self.args)
        return re.sub(r"\\(.)", r"\1", m.group(1)) if m else None

    def numbers(self):
        return [int(v, 16) for v in re.findall(r"(?<![\w\"])([0-9a-f]{8})(?![\w])", self.args)]

    def __repr__(self):
        return f"{self.ms}:{self.name}({self.args})"


# The probe's commands that wait, with a deadline in milliseconds as their last argument.
WAITS = {"window", "idle", "gone", "find", "holding"}


class Game:
    """One run of the game with a data set of the test's own."""

    running = []  # every game started, so that a failed test still cleans up

    def __init__(self, name, folder=None):
        Game.running.append(self)
        self.name = name
        self.dir = folder or os.path.join(BUILD, "e2e", name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(os.path.join(self.dir, "data"))
        self.data = os.path.join(self.dir, "data")
        self.trace_file = os.path.join(self.dir, "trace.log")
        self.proc = None
        self.display = None
        self.client = None
        prepare_prefix()

    # --- data -------------------------------------------------------------------------
    def write(self, name, content):
        if isinstance(content, str):
            content = content.encode("cp1252")
        with open(os.path.join(self.data, name), "wb") as f:
            f.write(content)

    def settings(self, text=None, **values):
        if text is None:
            values.setdefault("Path", windows_path(self.data) + "\\")
            text = "".join(f"{k}={v}\r\n" for k, v in values.items())
        with open(os.path.join(PREFIX, "drive_c", "windows", "vorrak.ini"), "w", newline="") as f:
            f.write(text)

    def report_version(self, version):
        """Has Wine report an older (or newer) Windows to the game and the probe alone."""
        env = wine_env(":0")
        for exe in ("vorrak.exe", "probe.exe"):
            key = rf"HKCU\Software\Wine\AppDefaults\{exe}"
            args = ["add", key, "/v", "Version", "/d", version, "/f"] if version else ["delete", key, "/f"]
            subprocess.run(["wine", "reg"] + args, env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # --- running ----------------------------------------------------------------------
    def open_display(self):
        if not self.display:
            self.display = Display()
            # One persistent server for the whole test: probes never meet one shutting down.
            subprocess.run(["wineserver", "-p"], env=wine_env(self.display.name))
        return self.display

    def start(self, *args, relay=True, exe=EXE):
        self.open_display()
        self.env = wine_env(self.display.name, relay)
        self.command = ["wine", exe] + list(args)
        self.seen = False
        self.launch()
        return self

    def launch(self):
        self.log = open(self.trace_file, "w")
        self.proc = subprocess.Popen(self.command, env=self.env, cwd=self.dir,
                                     stdin=subprocess.DEVNULL, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        self.started = time.time()

    def and_gone(self):
        """"; the program had already exited with code N" once it has, else nothing."""
        if self.proc and self.proc.poll() is not None:
            return f"; the program had already exited with code {self.proc.returncode}"
        return ""

    def start_probe(self, args, name="probe"):
        """Starts the probe and waits for its first word; one that says nothing within
        HELPER seconds is started once more. Gives it with its output files."""
        out, err = (os.path.join(self.dir, f"{name}.{k}") for k in ("out", "err"))
        for attempt in (1, 2):
            with open(out, "w") as o, open(err, "w") as e:
                proc = subprocess.Popen(["wine", PROBE] + args, stdout=o, stderr=e,
                                        stdin=subprocess.DEVNULL,
                                        env=wine_env(self.open_display().name))
            began = time.time()
            while "probe: started" not in open(err).read():
                if proc.poll() is not None:
                    raise Failure(f"probe {args[0]} failed to start: exit {proc.returncode}: "
                                  f"{last_line(err)}")
                if time.time() > began + HELPER:
                    break
                time.sleep(0.05)
            else:
                waited("helper", began)
                return proc, out, err
            proc.kill()
            proc.wait()
            if attempt == 1:
                retried(f"probe {args[0]} said nothing within {HELPER} s")
        raise Failure(f"probe {args[0]} said nothing within {HELPER} s, twice: {last_line(err)}")

    def probe(self, *args, check=True, wait="answer"):
        """Runs the probe to its end and gives what it printed; None when its wait ended at
        the deadline and check is false."""
        args = [str(a) for a in args]
        if args[0] in WAITS:
            args.append(str(int(seconds(wait) * 1000)))
        said = " ".join(args)
        began = time.time()
        proc, out, err = self.start_probe(args)
        try:
            proc.wait(seconds(wait) + HELPER)
        except subprocess.TimeoutExpired:
            proc.kill()
            raise Failure(f"probe {said}: still running after {seconds(wait) + HELPER} s")
        text = open(out, errors="replace").read().strip()
        if proc.returncode == 0:
            if args[0] in WAITS and isinstance(wait, str):
                waited(wait, began)
            return text
        if proc.returncode == 1 and args[0] in WAITS:
            if not check:
                return None
            raise NotSeen(f"probe {said}: not within {seconds(wait)} s; {text or 'nothing seen'}"
                          f"{self.and_gone()}")
        raise Failure(f"probe {said} failed: exit {proc.returncode}: "
                      f"{text or last_line(err, 'probe: started')}")

    def sight(self, *args, wait="show"):
        """The probe's first sight of the program just started. A start that shows nothing
        by the deadline is tried once more; one that ended, or showed something else, is
        not."""
        try:
            text = self.probe(*args, wait=wait)
        except NotSeen as e:
            if self.seen or self.and_gone() or "visible windows: none" not in str(e):
                raise
            self.proc.kill()
            self.proc.wait()
            self.log.close()
            retried(f"{os.path.basename(self.command[1])} showed nothing within {seconds(wait)} s")
            self.launch()
            text = self.probe(*args, wait=wait)
        self.seen = True
        return text

    def background_probe(self, *args, says):
        """Starts a probe that stays running, once it has printed what it says when ready."""
        proc, out, err = self.start_probe([str(a) for a in args], "background")
        began = time.time()
        while says not in open(out).read():
            if proc.poll() is not None:
                raise Failure(f"probe {args[0]} exited with {proc.returncode} before it was "
                              f"ready: {last_line(err, 'probe: started')}")
            if time.time() > began + DEADLINES["answer"]:
                raise NotSeen(f"probe {args[0]}: not ready within {DEADLINES['answer']} s")
            time.sleep(0.05)
        waited("answer", began)
        return proc

    def window(self):
        hwnd, x, y, w, h = map(int, self.sight("window").split())
        self.hwnd, self.client = hwnd, (x, y, w, h)
        return self.client

    def idle(self):
        self.probe("idle")

    def exit_code(self, wait="end"):
        began = time.time()
        try:
            code = self.proc.wait(seconds(wait))
        except subprocess.TimeoutExpired:
            said = [t[3] for t in self.texts(200, 400)]
            raise NotSeen(f"the program did not end within {seconds(wait)} s; the last message "
                          f"drawn: {said[-1] if said else 'none'}")
        waited("end", began)
        return code

    def close(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.display:
            subprocess.run(["wineserver", "-k"], env=wine_env(self.display.name))
            self.display.close()
            self.display = None
        if getattr(self, "log", None):
            self.log.close()

    # --- looking and clicking ---------------------------------------------------------
    def shot(self):
        """The client area as it is on the X screen now."""
        raw = subprocess.run(["import", "-display", self.display.name, "-window", "root",
                              "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", raw)
        sw, sh = int(m.group(1)), int(m.group(2))
        data = raw[m.end():]
        x0, y0, w, h = self.client
        rows = [data[3 * ((y0 + y) * sw + x0):3 * ((y0 + y) * sw + x0 + w)] for y in range(h)]
        return Image(w, h, b"".join(rows))

    def wait_shot(self, what, ok):
        began = time.time()
        while True:
            gone = self.and_gone()
            image = self.shot()
            if ok(image):
                waited("answer", began)
                return image
            if gone or time.time() > began + DEADLINES["answer"]:
                image.save_png(os.path.join(self.dir, "failed.png"))
                within = gone or f" within {DEADLINES['answer']} s"
                raise NotSeen(f"{what}: not seen{within} (the last seen is {self.dir}/failed.png)")
            time.sleep(0.05)

    def click(self, x, y):
        cx, cy = self.client[0] + x, self.client[1] + y
        subprocess.run(["xdotool", "mousemove", str(cx), str(cy), "click", "1"],
                       env=dict(os.environ, DISPLAY=self.display.name), check=True)

    def focus(self, title, whole=True):
        """Gives the keyboard to the X window of the given title, or the one it begins."""
        env = dict(os.environ, DISPLAY=self.display.name)
        found = subprocess.run(["xdotool", "search", "--name", f"^{title}" + "$" * whole], env=env,
                               capture_output=True, text=True).stdout.split()
        if not found:
            raise Failure(f"no window {title!r} on the screen")
        subprocess.run(["xdotool", "windowfocus", "--sync", found[-1]], env=env, check=True)

    def keys(self, *keys):
        env = dict(os.environ, DISPLAY=self.display.name)
        subprocess.run(["xdotool", "key", "--delay", "100"] + list(keys), env=env, check=True)

    # --- the program's own calls --------------------------------------------------------
    def calls(self, name=None):
        self.log.flush()
        out = []
        with open(self.trace_file, errors="replace") as f:
            for line in f:
                m = re.match(r"(\d+)\.(\d+):[0-9a-f]+:Call \w+\.(\w+)\((.*)\) ret=", line)
                if m and (name is None or m.group(3) == name):
                    out.append(Call(int(m.group(1)) * 1000 + int(m.group(2)), m.group(3),
                                    m.group(4)))
        return out

    def texts(self, x=None, y=None):
        """Texts drawn with TextOutA, optionally only those at (x, y), blanks stripped."""
        out = []
        for c in self.calls("TextOutA"):
            n = c.numbers()
            if len(n) >= 3 and (x is None or (n[1] == x and n[2] == y)):
                out.append((c.ms, n[1], n[2], (c.text() or "").rstrip()))
        return out

    def wait_text(self, text, x=200, y=400):
        """Waits for the text to be drawn there, until the deadline or the program's end."""
        began = time.time()
        while time.time() < began + DEADLINES["answer"]:
            gone = self.and_gone()
            for t in self.texts(x, y):
                if t[3] == text:
                    waited("answer", began)
                    return t
            if gone:
                break
            time.sleep(0.05)
        within = gone or f" within {DEADLINES['answer']} s"
        raise NotSeen(f"text {text!r} at ({x}, {y}) not drawn{within}; drawn there: "
                      f"{[t[3] for t in self.texts(x, y)]}")
