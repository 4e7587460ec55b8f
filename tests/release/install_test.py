#!/usr/bin/env python3
"""End-to-end tests of the release under Wine, in a prefix of their own:
install_test.py NAME runs one (install, reinstall, uninstall, zip) and exits 0 when it passes.
The release must have been built (tools/release.sh) into VORRAK_RELEASE."""
import os
import re
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.realpath(__file__))
ROOT = os.path.realpath(os.path.join(HERE, "..", ".."))
BUILD = os.environ.get("VORRAK_WIN_BUILD", os.path.join(ROOT, "build", "win"))
PREFIX = os.path.join(BUILD, "wineprefix-release")
os.environ["VORRAK_E2E_PREFIX"] = PREFIX
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import (DEADLINES, RELAYED, WINEARCH, Failure, Game, prepare_prefix,  # noqa: E402
                     relay_only, windows_path, wine_env)

VERSION = os.environ.get("VORRAK_VERSION", "")
RELEASE = os.environ.get("VORRAK_RELEASE", os.path.join(ROOT, "build", "release"))
SETUP = os.path.join(RELEASE, f"vorrak-{VERSION}-setup.exe")
ZIP = os.path.join(RELEASE, f"vorrak-{VERSION}-win32.zip")

NAME = "Morvit Quandor Vorrak"
C = os.path.join(PREFIX, "drive_c")
# On 64-bit Windows a 32-bit installer puts its programs among the other 32-bit ones.
PROGRAMS = "Program Files (x86)" if WINEARCH == "win64" else "Program Files"
INSTDIR = os.path.join(C, PROGRAMS, NAME)
INSTDIR_WIN = rf"C:\{PROGRAMS}\{NAME}"
SETTINGS = os.path.join(C, "windows", "vorrak.ini")
MENU = os.path.join(C, "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", NAME)
KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\MorvitQuandorVorrak"
INSTALLED = ["vorrak.exe", "vorcheck.exe", "vormatch.exe", "vordata.exe", "quanhelp.html", "readme.txt", "uninstall.exe",
             "data/master.dat", "data/quanhelp.hlp", "data/1.bmp", "data/8.bmp", "data/t1.bmp", "data/back4.bmp"]
SHORTCUTS = [f"{NAME}.lnk", "Choose a Match.lnk", "Help.lnk", "Uninstall.lnk"]


def expect(what, seen, wanted):
    if seen != wanted:
        raise Failure(f"{what}: expected {wanted!r}, saw {seen!r}")


def wine(*args):
    """Runs a Wine program to its end, then waits for the prefix's server to go too."""
    env = wine_env(":0")
    try:
        r = subprocess.run(["wine"] + list(args), env=env, stdin=subprocess.DEVNULL,
                           capture_output=True, text=True, errors="replace", timeout=2 * DEADLINES["end"])
        subprocess.run(["wineserver", "-w"], env=env, timeout=DEADLINES["end"])
    except subprocess.TimeoutExpired as e:
        raise Failure(f"{' '.join(e.cmd)}: still running after {e.timeout} s")
    return r


def registry():
    """The Add/Remove Programs entry's values, or None without it."""
    r = wine("reg", "query", KEY)
    if r.returncode != 0:
        return None
    return dict(m.groups() for m in re.finditer(r"^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$", r.stdout, re.M))


def settings_bytes():
    with open(SETTINGS, "rb") as f:
        return f.read()


def fresh_prefix():
    shutil.rmtree(PREFIX, ignore_errors=True)
    for leftover in (PREFIX + ".lock", PREFIX + ".log"):
        if os.path.exists(leftover):
            os.unlink(leftover)
    subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh"), PREFIX], check=True)


def install():
    if not os.path.exists(SETUP):
        raise Failure(f"{SETUP} is missing: run tools/release.sh first")
    r = wine(SETUP, "/S")
    expect("setup exit code", r.returncode, 0)


def uninstall():
    r = wine(os.path.join(INSTDIR, "uninstall.exe"), "/S")  # relaunches itself: wine() waits
    expect("uninstaller exit code", r.returncode, 0)


def play_installed(exe, you, opp, move):
    """Starts the installed game from its own folder and plays one round with the bundled data."""
    g = Game("release_" + os.path.basename(os.path.dirname(exe)).replace(" ", "_"))
    try:
        g.start(exe=exe)
        g.window()
        g.wait_text(f"Go! {you}!")
        g.idle()
        if not any(t[3] == opp for t in g.texts(450, 10)):
            raise Failure(f"opponent's name {opp!r} not drawn; drawn: {g.texts(450, 10)}")
        g.click(205, 304)
        g.wait_text(f"{you} used {move}!")
        g.idle()
        if not any(t[3].startswith(f"{opp} used ") for t in g.texts(200, 400)):
            raise Failure(f"no answer from {opp}: {[t[3] for t in g.texts(200, 400)]}")
        g.probe("post", g.hwnd, 0x10, 0)  # WM_CLOSE
        expect("the game's exit code", g.exit_code(), 0)
    finally:
        g.close()


# --- the tests --------------------------------------------------------------------------

def test_install():
    fresh_prefix()
    install()
    missing = [f for f in INSTALLED if not os.path.isfile(os.path.join(INSTDIR, f))]
    expect("installed files missing", missing, [])
    expect("shortcuts", sorted(os.listdir(MENU)) if os.path.isdir(MENU) else None, sorted(SHORTCUTS))
    text = settings_bytes().decode("cp1252")
    expect("vorrak.ini Path", re.findall(r"^Path=(.*)\r$", text, re.M), [INSTDIR_WIN + "\\data\\"])
    for key in ("You", "Opp", "TrainerYou", "TrainerOpp", "Move1", "OppMove3"):
        if not re.search(rf"^{key}=\d+\r$", text, re.M):
            raise Failure(f"vorrak.ini has no default {key}: {text!r}")
    values = registry()
    if values is None:
        raise Failure(f"no registry entry {KEY}")
    expect("DisplayName", values.get("DisplayName"), NAME)
    expect("DisplayVersion", values.get("DisplayVersion"), VERSION)
    expect("UninstallString", values.get("UninstallString"), f'"{INSTDIR_WIN}\\uninstall.exe"')
    expect("QuietUninstallString", values.get("QuietUninstallString"), f'"{INSTDIR_WIN}\\uninstall.exe" /S')
    for key in ("Publisher", "DisplayIcon", "EstimatedSize", "NoModify", "NoRepair"):
        if not values.get(key):
            raise Failure(f"registry entry lacks {key}: {values}")
    imports = subprocess.run([sys.executable, os.path.join(HERE, "imports.py"),
                              os.path.join(INSTDIR, "uninstall.exe")], capture_output=True, text=True)
    expect("uninstaller's imports: " + imports.stdout, imports.returncode, 0)
    play_installed(os.path.join(INSTDIR, "vorrak.exe"), "Cindrel", "Voltuft", "Ember Snap")


def test_play_now():
    """The finish page's Play now starts Choose a Match through the shell on Vista and
    later, so that it runs with the player's own rights, and directly before."""
    match = rf'"{INSTDIR_WIN}\vormatch.exe"'
    key = rf"HKCU\Software\Wine\AppDefaults\{os.path.basename(SETUP)}"
    started = {"win7": rf'"C:\windows\explorer.exe" {match}', "winxp": match}
    prepare_prefix()
    wine("reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayFromInclude", "/d",
         os.path.basename(SETUP), "/f")
    relay_only(["CreateProcessA"])
    try:
        for version, command in started.items():
            wine("reg", "add", key, "/v", "Version", "/d", version, "/f")
            g = Game(f"play_now_{version}")
            try:
                g.start(exe=SETUP)
                g.sight("find", f"{NAME} Setup")
                for page in ("Welcome to", "Destination Folder", "Play now"):
                    g.probe("holding", page)
                    g.focus(f"{NAME} Setup", whole=False)  # its pages add to the title
                    g.keys("Return")
                box = g.probe("find", "Choose a Match", wait="show").split()[0]
                expect(f"{version}: the installer's exit code", g.exit_code(), 0)
                expect(f"{version}: what the installer started",
                       [c.text() for c in g.calls("CreateProcessA")], [command])
                g.probe("post", box, 0x111, 2)  # IDCANCEL
            finally:
                g.close()
    finally:
        wine("reg", "delete", key, "/f")
        wine("reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayFromInclude", "/d",
             "vorrak.exe", "/f")
        relay_only(RELAYED)


# A player's file: a note, an unknown key, two Path lines, LF and CR LF, no final line end.
PLAYER_INI = (b"; my own match\r\nPath=D:\\old\\data\\\r\nYou=3\nOpp=5\r\nPathX=keep\r\n"
              b" Path=not a key\r\nTrainerYou=2\r\nPath=E:\\older\\\r\nOppMove3=9")


def test_reinstall():
    with open(SETTINGS, "wb") as f:
        f.write(PLAYER_INI)
    install()
    new = ("Path=" + INSTDIR_WIN + "\\data\\\r\n").encode("cp1252")
    wanted = re.sub(rb"(?m)^Path=[^\r\n]*(\r\n|\n|\r)?", lambda m: new, PLAYER_INI)
    expect("vorrak.ini after a second install", settings_bytes(), wanted)
    # Without any Path line, one is added after the player's last line.
    with open(SETTINGS, "wb") as f:
        f.write(b"You=4")
    install()
    expect("vorrak.ini without Path", settings_bytes(), b"You=4\r\n" + new)


def leftovers():
    found = []
    for top in (INSTDIR, MENU):
        if os.path.exists(top):
            found += [os.path.relpath(os.path.join(d, f), C) for d, _, fs in os.walk(top) for f in fs] or [top]
    if os.path.exists(SETTINGS):
        found.append("windows/vorrak.ini")
    if registry() is not None:
        found.append(KEY)
    return found


def test_uninstall():
    if not os.path.exists(os.path.join(INSTDIR, "uninstall.exe")):
        install()
    uninstall()
    expect("left behind after uninstalling", leftovers(), [])
    # A settings file set up for another data folder is the player's: it stays as it was.
    install()
    own = b"Path=D:\\My Creatures\\\r\nYou=2\r\n"
    with open(SETTINGS, "wb") as f:
        f.write(own)
    uninstall()
    expect("the player's vorrak.ini", settings_bytes(), own)
    os.unlink(SETTINGS)
    expect("left behind besides it", leftovers(), [])


def test_zip():
    folder = os.path.join(BUILD, "e2e", "zip")
    shutil.rmtree(folder, ignore_errors=True)
    with zipfile.ZipFile(ZIP) as z:
        names = z.namelist()
        z.extractall(folder)
    top = f"vorrak-{VERSION}/"
    outside = [n for n in names if not n.startswith(top)]
    expect("entries outside the one folder", outside, [])
    for wanted in ["vorrak.exe", "vorcheck.exe", "vormatch.exe", "vordata.exe", "quanhelp.html", "vorrak.ini", "readme.txt",
                   "data/master.dat", "data/quanhelp.hlp", "data/1.bmp", "data/t4.bmp", "data/back1.bmp"]:
        if top + wanted not in names:
            raise Failure(f"{top + wanted} not in the zip")
    unpacked = os.path.join(folder, top)
    readme = open(os.path.join(unpacked, "readme.txt"), "rb").read()
    lines = readme.split(b"\r\n")
    expect("readme lines with a bare LF or CR", [l for l in lines if b"\n" in l or b"\r" in l], [])
    expect("readme lines of 78 characters or more", [l for l in lines if len(l) >= 78], [])
    expect("readme's first line", lines[0].decode(), f"{NAME} {VERSION}")
    for topic in (b"vorrak.ini", b"Windows folder", b"Path", b"TrainerOpp", b"OppMove3", b"skip",
                  b"Uninstall", b"quanhelp.html"):
        if topic not in readme:
            raise Failure(f"the readme does not mention {topic.decode()}")
    # As the readme says: copy vorrak.ini into the Windows folder and point Path at the data.
    example = open(os.path.join(unpacked, "vorrak.ini"), "rb").read().decode("cp1252")
    data = windows_path(os.path.join(unpacked, "data")) + "\\"
    edited = re.sub(r"(?m)^Path=.*$", lambda m: "Path=" + data + "\r", example)
    with open(SETTINGS, "w", newline="", encoding="cp1252") as f:
        f.write(edited)
    # The checker, with the settings where the game reads them, has nothing to say.
    r = wine(os.path.join(unpacked, "vorcheck.exe"))
    if r.returncode != 0 or "vorcheck: no findings" not in r.stdout:
        raise Failure(f"vorcheck on the unpacked game: exit {r.returncode}: {r.stdout}{r.stderr}")
    play_installed(os.path.join(unpacked, "vorrak.exe"), "Cindrel", "Voltuft", "Ember Snap")
    os.unlink(SETTINGS)


def main():
    test = globals().get("test_" + sys.argv[1]) if len(sys.argv) > 1 else None
    if not test:
        print(__doc__)
        return 2
    os.environ["VORRAK_TEST"] = "release." + sys.argv[1]
    try:
        test()
        print(f"{sys.argv[1]}: passed")
        return 0
    except Failure as e:
        print(f"{sys.argv[1]}: FAILED: {e}")
        return 1


if __name__ == "__main__":
    sys.exit(main())
