#!/usr/bin/env python3
"""End-to-end tests of vorrak.exe: run.py NAME runs one of them and exits 0 when it passes."""
import os
import re
import struct
import subprocess
import sys
import time

from harness import (BUILD, DEADLINES, EXE, PREFIX, ROOT, Failure, Game, bmp, waited,
                     whole_relay, windows_path)
import studio_recipe as recipe

BLACK, WHITE, GREEN = (0, 0, 0), (255, 255, 255), (0, 255, 0)
RED, BLUE, NEAR_WHITE = (200, 0, 0), (0, 0, 200), (255, 255, 254)


def master(opp_damage=63):
    return ("[Moves]\r\n1=Jab\r\n2=Swipe Low\r\n3=Tackle Hard\r\n11=Zip\r\n12=Zap\r\n13=Zop\r\n"
            "[Trainers]\r\n1=Rex\r\n2=Mara\r\n[Names]\r\n001 Fluff\r\n002 Spark\r\n"
            "[Damage]\r\n1=63\r\n2=0\r\n3=150\r\n"
            f"11={opp_damage}\r\n12={opp_damage}\r\n13={opp_damage}\r\n")


def creature():
    """56 x 50: red, first column of every row blue; in the bottom row one pure white
    pixel (column 20) and one just short of white (column 30)."""
    rows = [[BLUE] + [RED] * 55 for _ in range(50)]
    rows[49][20] = WHITE
    rows[49][30] = NEAR_WHITE
    return bmp(rows)


def duel(name, *args, opp_damage=63, pictures=True, opp_picture=None, version=None, **settings):
    g = Game(name)
    if version:
        g.report_version(version)
    g.write("master.dat", master(opp_damage))
    if pictures:
        g.write("1.bmp", creature())
        g.write("2.bmp", opp_picture or creature())
    values = dict(You=1, Opp=2, TrainerYou=2, TrainerOpp=1, Move1=1, Move2=2, Move3=3,
                  OppMove1=11, OppMove2=12, OppMove3=13)
    values.update(settings)
    g.settings(**values)
    g.start(*args)
    g.window()
    return g


def expect(what, seen, wanted):
    if seen != wanted:
        raise Failure(f"{what}: expected {wanted!r}, saw {seen!r}")


def expect_bar(image, left, top, green_length):
    for x in range(left, left + 100):
        for y in range(top, top + 8):
            expect(f"bar pixel ({x}, {y})", image.at(x, y), GREEN if x < left + green_length else WHITE)


def expect_frame(image, left, top, right, bottom):
    for x in range(left, right):
        expect(f"frame top ({x}, {top})", image.at(x, top), BLACK)
        expect(f"frame bottom ({x}, {bottom - 1})", image.at(x, bottom - 1), BLACK)
    for y in range(top, bottom):
        expect(f"frame left ({left}, {y})", image.at(left, y), BLACK)
        expect(f"frame right ({right - 1}, {y})", image.at(right - 1, y), BLACK)


def messages(g):
    """Messages in the order they appeared; the painting draws each one twice in a row."""
    out = []
    for ms, _, _, text in g.texts(200, 400):
        if text and (not out or out[-1][1] != text):
            out.append((ms, text))
    return out


def first(g, text):
    for ms, t in messages(g):
        if t == text:
            return ms
    raise Failure(f"message {text!r} never drawn; drawn: {[t for _, t in messages(g)]}")


# --- the screen --------------------------------------------------------------------------

def test_screen_layout():
    g = duel("screen_layout", "skip")
    g.idle()
    style, exstyle, title = g.probe("style").split(" ", 2)
    style, exstyle = int(style, 16), int(exstyle, 16)
    expect("title", title, "Morvit Quandor Vorrak")
    expect("caption, system menu, sizable frame", style & 0x00CC0000, 0x00CC0000)
    expect("no minimise or maximise box", style & 0x00030000, 0)
    expect("client and window edges", exstyle & 0x300, 0x300)
    image = g.wait_shot("the duel screen", lambda i: i.at(451, 26) == GREEN)
    expect_frame(image, 450, 25, 552, 35)
    expect_frame(image, 405, 40, 552, 180)
    expect_frame(image, 10, 265, 112, 275)
    expect_frame(image, 10, 280, 157, 420)
    expect_bar(image, 451, 26, 100)
    expect_bar(image, 11, 266, 100)
    for x, y, text in [(200, 300, "Jab"), (200, 320, "Swipe Low"), (200, 340, "Tackle Hard")]:
        if not any(t[3] == text for t in g.texts(x, y)):
            raise Failure(f"{text!r} not drawn at ({x}, {y})")
        if not any(image.at(px, py) == BLACK for px in range(x, x + 8 * len(text))
                   for py in range(y, y + 10)):
            raise Failure(f"no text to be seen at ({x}, {y})")
    w, h = g.client[2], g.client[3]
    if not (580 <= w <= 593 and 420 <= h <= 433):
        raise Failure(f"client area {w} x {h}, expected a little under 593 x 433")
    return g


def test_skip_shows_no_names():
    g = duel("skip_shows_no_names", "skip")
    g.idle()
    image = g.wait_shot("the duel screen", lambda i: i.at(451, 26) == GREEN)
    expect("names drawn", [t for t in g.texts() if (t[1], t[2]) in ((450, 10), (10, 250))], [])
    for x in range(406, 551):
        for y in range(41, 179):
            expect(f"opponent's frame inside ({x}, {y})", image.at(x, y), WHITE)
    expect("opening messages", messages(g), [])
    g.click(201, 301)  # moves still work
    g.wait_text("Fluff used Jab!")
    return g


def test_pictures_placed():
    g = duel("pictures_placed")
    g.wait_text("Go! Fluff!")
    g.idle()
    image = g.wait_shot("both creatures", lambda i: i.at(453, 150) == RED and i.at(60, 400) == RED)
    # Opponent's 56 x 50 picture as stored: columns 452..507, rows 130..179.
    for y in range(130, 180):
        expect(f"opponent first column ({452}, {y})", image.at(452, y), BLUE)
    for y in range(130, 179):  # row 179 is the frame's bottom line
        expect(f"opponent left of picture (451, {y})", image.at(451, y), WHITE)
        expect(f"opponent right of picture (508, {y})", image.at(508, y), WHITE)
    expect("opponent row above", image.at(470, 129), WHITE)
    expect("opponent body", image.at(507, 130), RED)
    expect("see-through white shows the frame line", image.at(472, 179), BLACK)
    expect("near white is drawn", image.at(482, 179), NEAR_WHITE)
    # Player's picture mirrored: columns 56..111, the first stored column at 111.
    for y in range(370, 420):
        expect(f"player first column (111, {y})", image.at(111, y), BLUE)
    for y in range(370, 419):
        expect(f"player left of picture (55, {y})", image.at(55, y), WHITE)
        expect(f"player right of picture (112, {y})", image.at(112, y), WHITE)
    expect("player body", image.at(56, 370), RED)
    expect("player row above", image.at(80, 369), WHITE)
    expect("player see-through white", image.at(91, 419), BLACK)
    expect("player near white", image.at(81, 419), NEAR_WHITE)
    expect("opponent name", [t[3] for t in g.texts(450, 10)][-1], "Spark")
    expect("player name", [t[3] for t in g.texts(10, 250)][-1], "Fluff")
    return g


def test_studio_creature():
    """The creature an author makes in the web page's studio, written by vordata as the
    browser test holds the studio's zip to be: unpacked in the game's start folder and named
    by its vorrak.ini's own Path, it plays, its picture at its place."""
    g = Game("studio_creature")
    native = os.path.join(ROOT, "build", "native")
    recipe.make_with_vordata(os.path.join(native, "vordata"), os.path.join(native, "data"), os.path.join(g.dir, "mydata"))
    g.settings(**recipe.MATCH, Path="mydata\\")
    g.start()
    g.window()
    name = recipe.CREATURE[1]
    g.wait_text(f"Go! {name}!")
    g.idle()
    image = g.wait_shot("the creature's picture at its place", lambda i: not recipe.misplaced(i.at))
    image.save_png(os.path.join(g.dir, "window.png"))
    g.click(201, 321)
    g.wait_text(f"{name} used {recipe.MOVES[1][1]}!")
    return g


def test_edited_pictures_repaint():
    """A picture changed during the duel shows at the next repaint, whether its size stays
    (only its time tells) or not; a deleted one leaves its frame empty."""
    g = duel("edited_pictures_repaint")
    g.wait_text("Go! Fluff!")
    g.idle()
    g.wait_shot("both creatures", lambda i: i.at(453, 150) == RED and i.at(60, 400) == RED)
    green = bmp([[BLUE] + [GREEN] * 55 for _ in range(50)])  # the same size as before
    g.write("2.bmp", green)
    g.write("1.bmp", bmp([[BLUE] * 30 for _ in range(20)]))  # smaller: 30 x 20
    g.probe("repaint", g.hwnd)
    image = g.wait_shot("the edited pictures", lambda i: i.at(453, 150) == GREEN)
    expect("opponent's first column", image.at(452, 150), BLUE)
    # The player's 30 x 20 picture stands bottom-centred in its frame, at rows 399..418.
    expect("player's new picture", image.at(80, 410), BLUE)
    expect("the old one is gone", image.at(60, 400), WHITE)
    os.remove(os.path.join(g.data, "2.bmp"))
    g.probe("repaint", g.hwnd)
    g.wait_shot("no opponent picture", lambda i: i.at(453, 150) == WHITE)
    return g


def test_wider_window_shows_more_of_a_picture():
    """A picture wider than the window is cut at its edge; widening the window shows more."""
    g = duel("wider_window_shows_more", opp_picture=bmp([[RED] * 400 for _ in range(60)]))
    g.wait_text("Go! Fluff!")
    g.idle()
    # 400 wide, centred on the opponent's frame: columns 279..678, rows 120..179.
    g.wait_shot("the opponent's picture", lambda i: i.at(300, 150) == RED)
    expect("cut at the window's edge", g.client[2] < 660, True)
    g.probe("grow", g.hwnd, 150, 0)
    g.window()
    image = g.wait_shot("the part the window had cut off", lambda i: i.at(660, 150) == RED)
    expect("beyond the picture", image.at(690, 150), WHITE)
    return g


def test_opening_scene():
    g = Game("opening_scene")
    g.write("master.dat", master())
    g.write("t1.bmp", bmp([[(0, 120, 0)] * 100 for _ in range(80)]))
    g.write("back2.bmp", bmp([[(120, 0, 120)] * 100 for _ in range(80)]))
    g.settings(You=1, Opp=2, TrainerYou=2, TrainerOpp=1)
    g.start()
    g.window()
    g.wait_text("Rex wants to fight!")
    # Opponent's trainer at (428, 98): columns 429..528, rows 99..178; player's at (10, 338).
    image = g.wait_shot("trainer pictures", lambda i: i.at(429, 99) == (0, 120, 0)
                        and i.at(11, 339) == (120, 0, 120))
    for x, y, c in [(428, 99, WHITE), (528, 178, (0, 120, 0)), (529, 120, WHITE),
                    (470, 98, WHITE), (110, 418, (120, 0, 120)), (111, 400, WHITE),
                    (50, 338, WHITE)]:
        expect(f"trainer picture edge ({x}, {y})", image.at(x, y), c)
    expect("trainer names", ([t[3] for t in g.texts(450, 10)][0], [t[3] for t in g.texts(10, 250)][0]),
           ("Rex", "Mara"))
    g.wait_text("Go! Fluff!")
    a, b, c = (first(g, m) for m in ("Rex wants to fight!", "Rex sent out Spark!", "Go! Fluff!"))
    # A pause is never cut short; a late one, on a busy machine, is not yet a second pause.
    for what, gap in (("challenge to sent out", b - a), ("sent out to go", c - b)):
        if not 1490 <= gap < 3000:
            raise Failure(f"{what}: {gap} ms, expected 1500")
    g.idle()
    return g


def test_close_gives_zero():
    g = duel("close_gives_zero")  # asked to close during the opening
    g.probe("post", g.hwnd, 0x10, 0)
    expect("exit code", g.exit_code(), 0)
    first(g, "Go! Fluff!")  # the close took effect once the opening was over
    return g


def test_missing_database():
    g = Game("missing_database")
    g.settings(You=1, Opp=2)
    g.start()
    box = g.sight("find", "Message").split()[0]
    expect("box text", "Can't find master.dat file!" in g.probe("texts", box).splitlines(), True)
    g.probe("post", box, 0x111, 1)
    expect("exit code", g.exit_code(), 0)
    expect("boxes shown", len(g.calls("MessageBoxA")), 1)
    expect("opening", messages(g), [])
    return g


def test_unreadable_database():
    # Another program holds the file open without sharing it.
    g = Game("unreadable_database")
    g.write("master.dat", master())
    g.settings(You=1)
    locker = g.background_probe("lock", windows_path(os.path.join(g.data, "master.dat")),
                                1000 * (DEADLINES["show"] + DEADLINES["answer"]), says="locked")
    g.start("skip")
    box = g.sight("find", "Message").split()[0]
    texts = g.probe("texts", box).splitlines()
    locker.kill()
    expect("box text", "Can't read master.dat file!" in texts, True)
    g.probe("post", box, 0x111, 1)
    expect("exit code", g.exit_code(), 0)
    expect("boxes shown", len(g.calls("MessageBoxA")), 1)
    return g


# --- playing -------------------------------------------------------------------------------

def test_one_round():
    g = duel("one_round", "skip")
    g.idle()
    g.click(205, 304)
    g.wait_text("Fluff used Jab!")
    g.idle()
    said = messages(g)
    replies = [m for m in said if m[1].startswith("Spark used ")]
    if len(replies) != 1 or replies[0][1] not in ("Spark used Zip!", "Spark used Zap!", "Spark used Zop!"):
        raise Failure(f"opponent's answer: {said}")
    gap = replies[0][0] - first(g, "Fluff used Jab!")
    if not 1000 <= gap < 2000:
        raise Failure(f"opponent answered after {gap} ms, expected 1000")
    image = g.wait_shot("both bars at 37", lambda i: i.at(48, 270) == WHITE and i.at(488, 30) == WHITE)
    expect_bar(image, 451, 26, 37)
    expect_bar(image, 11, 266, 37)
    return g


def test_click_edges():
    g = duel("click_edges", "skip")
    g.idle()
    for x, y in [(200, 301), (201, 300), (224, 301), (205, 308), (205, 315), (205, 320),
                 (281, 321), (289, 341), (205, 348), (100, 100)]:
        g.click(x, y)
    g.idle()
    g.click(223, 307)  # the last pixel of "Jab"'s band
    g.wait_text("Fluff used Jab!")
    g.idle()
    expect("player moves made", [m[1] for m in messages(g) if m[1].startswith("Fluff")],
           ["Fluff used Jab!"])
    return g


def test_queued_click():
    g = duel("queued_click", "skip")
    g.idle()
    g.click(205, 304)
    g.wait_text("Fluff used Jab!")
    g.click(205, 304)  # during the turn: waits, then plays as a new click
    expect("exit code", g.exit_code(), 0)
    order = [m[1] for m in messages(g)]
    expect("messages", [order[0], order[1][:11], order[2], order[3]],
           ["Fluff used Jab!", "Spark used ", "Fluff used Jab!", "You won again!"])
    return g


def test_player_wins():
    g = duel("player_wins", "skip")
    g.idle()
    g.click(205, 344)
    g.wait_text("You won again!")
    g.probe("gone")
    expect("exit code", g.exit_code(), 0)
    blow, won = first(g, "Fluff used Tackle Hard!"), first(g, "You won again!")
    if not 500 <= won - blow < 1000:
        raise Failure(f"winner announced {won - blow} ms after the blow, expected 500")
    closed = [c.ms for c in g.calls("DestroyWindow")]
    if not closed or not 2000 <= closed[-1] - won < 4000:
        raise Failure(f"window closed at {closed}, message at {won}: expected 2000 ms later")
    expect("opponent's turn after the end", [m for m in messages(g) if m[1].startswith("Spark")], [])
    return g


def test_opponent_wins():
    g = duel("opponent_wins", "skip", opp_damage=100)
    g.idle()
    g.click(205, 324)
    g.wait_text("Rex won!")
    expect("exit code", g.exit_code(), 0)
    expect("moves", [m[1] for m in messages(g)][0], "Fluff used Swipe Low!")
    return g


# --- the golden trace ---------------------------------------------------------------------

GOLDEN = os.path.join(ROOT, "tests", "e2e", "golden_duel.trace")
# The message loop and the pauses' waits follow the clock and the mouse, not the duel.
UNTRACED = {"GetMessageA", "TranslateMessage", "DispatchMessageA", "DefWindowProcA",
            "MsgWaitForMultipleObjects"}
# Arguments that are handles or addresses, by position: they differ from run to run.
HANDLES = {
    "BeginPaint": (0, 1), "EndPaint": (0, 1), "GetDC": (0,), "ReleaseDC": (0, 1),
    "SelectObject": (0, 1), "SetBkMode": (0,), "TextOutA": (0, 3), "Rectangle": (0,),
    "DeleteObject": (0,), "FillRgn": (0, 1, 2), "MessageBoxA": (0, 1, 2), "DestroyWindow": (0,),
    "GetClientRect": (0, 1), "WindowFromDC": (0,), "EqualRect": (0, 1),
    "CreateDIBSection": (0, 1, 3, 4), "CreateCompatibleDC": (0,), "BitBlt": (0, 5),
    "SetTextColor": (0,), "SetBkColor": (0,), "DeleteDC": (0,), "GetClipBox": (0, 1),
    "SetDIBitsToDevice": (0, 9, 10), "StretchDIBits": (0, 9, 10), "UpdateWindow": (0,),
    "ShowWindow": (0,), "RegisterClassA": (0,), "LoadIconA": (0, 1), "LoadCursorA": (0,),
    "LoadStringA": (0, 2), "CreateWindowExA": (1, 2, 8, 9, 10, 11), "ClientToScreen": (0, 1),
    "GetWindowRect": (0, 1), "SetWindowPos": (0, 1), "ValidateRect": (0, 1),
    "CreateFontA": (13,),
}


def golden_calls(g):
    """The game's own GDI and USER calls, one per line, handles and addresses masked."""
    out = []
    for c in g.calls():
        if c.name in UNTRACED:
            continue
        args = [a.strip() for a in re.findall(r'(?:[^,"]|"(?:[^"\\]|\\.)*")+', c.args)]
        handles = HANDLES.get(c.name, ())
        for i, a in enumerate(args):
            m = re.match(r"([0-9a-f]+)(.*)", a)
            if m:  # a 64-bit trace shows what lies above a 32-bit argument too
                number = "h" if i in handles else f"{int(m.group(1), 16) & 0xFFFFFFFF:08x}"
                args[i] = number + m.group(2)
        out.append(f"{c.name}({','.join(args)})")
    return out


def wait_count(g, text, n):
    began = time.time()
    while sum(t == text for _, t in messages(g)) < n:
        if time.time() > began + DEADLINES["answer"]:
            raise Failure(f"{text!r} not drawn {n} times within {DEADLINES['answer']} s: "
                          f"{messages(g)}{g.and_gone()}")
        time.sleep(0.05)
    waited("answer", began)


def test_golden_trace():
    """Every GDI and USER call of a scripted duel, opening included, as the program made them
    when its duel was first split from its screen."""
    g = Game("golden_trace")
    g.write("master.dat", "[Moves]\r\n1=Jab\r\n2=Swipe Low\r\n3=Tackle Hard\r\n11=Zap\r\n"
            "[Trainers]\r\n1=Rex\r\n2=Mara\r\n[Names]\r\n001 Fluff\r\n002 Spark\r\n"
            "[Damage]\r\n1=40\r\n2=0\r\n3=150\r\n11=30\r\n")
    g.write("1.bmp", creature())
    g.write("2.bmp", bmp([[BLUE] * 57 for _ in range(41)]))
    g.write("t1.bmp", bmp([[(0, 120, 0)] * 100 for _ in range(80)]))
    g.write("back2.bmp", creature())
    g.settings(You=1, Opp=2, TrainerYou=2, TrainerOpp=1, Move1=1, Move2=2, Move3=3,
               OppMove1=11, OppMove2=11, OppMove3=11)
    with whole_relay():
        g.start()
        g.window()
        g.wait_text("Go! Fluff!")
        g.idle()
        g.probe("repaint", g.hwnd)
        for turn in range(1, 4):
            g.idle()
            g.click(205, 304)
            wait_count(g, "Fluff used Jab!", turn)
        expect("exit code", g.exit_code(), 0)
    seen = golden_calls(g)
    if os.environ.get("VORRAK_RECORD_GOLDEN"):
        with open(GOLDEN, "w") as f:
            f.write("\n".join(seen) + "\n")
        return g
    with open(GOLDEN) as f:
        wanted = f.read().splitlines()
    for i, (a, b) in enumerate(zip(seen, wanted)):
        if a != b:
            raise Failure(f"call {i + 1}: expected {b}, saw {a}")
    expect("number of calls", len(seen), len(wanted))
    return g


# --- the same pixels as the checker's picture ------------------------------------------

VORCHECK = os.path.join(ROOT, "build", "native", "vorcheck")
# Where text is drawn, to the screen's right edge: the game's font is the system's, the
# checker's a pixel font of its own.
TEXT_LINES = [(450, 10), (10, 250), (200, 300), (200, 320), (200, 340), (200, 400)]


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    w, h = struct.unpack_from("<ii", data, 18)
    stride = (3 * w + 3) // 4 * 4
    rows = [data[54 + (h - 1 - y) * stride:][:3 * w] for y in range(h)]
    return w, h, [bytes(b for i in range(w) for b in reversed(row[3 * i:3 * i + 3])) for row in rows]


def test_screen_matches_checker():
    """For matches with pictures of odd sizes, and ones wider than their frames, the real
    window after the opening and vorcheck --screen agree on every pixel outside the text."""
    matches = [  # your picture, the opponent's: (width, height)
        ((56, 50), (57, 41)),
        ((1, 1), (3, 3)),
        ((150, 60), (201, 145)),
    ]
    for number, (yours, theirs) in enumerate(matches):
        g = Game(f"screen_matches_checker_{number}")
        g.write("master.dat", master())
        for name, (w, h) in (("1.bmp", yours), ("2.bmp", theirs)):
            g.write(name, bmp([[BLUE] + [(10 * (x % 20), 90, 250 - y % 200) for x in range(w - 1)]
                               for y in range(h)]))
        g.write("t1.bmp", bmp([[(0, 120, 0)] * 100 for _ in range(80)]))
        g.settings(You=1, Opp=2, TrainerYou=2, TrainerOpp=1, Move1=1, Move2=2, Move3=3,
                   OppMove1=11, OppMove2=12, OppMove3=13)
        ini = os.path.join(PREFIX, "drive_c", "windows", "vorrak.ini")
        picture = os.path.join(g.dir, "checker.bmp")
        r = subprocess.run([VORCHECK, "--ini", ini, "--screen", picture, g.data], capture_output=True,
                           text=True)
        expect(f"match {number}: vorcheck's exit code ({r.stderr})", r.returncode in (0, 1), True)
        w, h, rows = read_bmp(picture)
        expect("picture size", (w, h), (593, 433))
        g.start()
        g.window()
        g.wait_text("Go! Fluff!")
        g.idle()
        g.probe("repaint", g.hwnd)
        g.idle()
        shot = g.wait_shot("the duel screen", lambda i: i.at(451, 26) == GREEN)
        for y in range(min(h, shot.height)):
            for x in range(min(w, shot.width)):
                # The system's glyphs may reach a little past their cells.
                if any(x >= tx - 3 and ty - 2 <= y < ty + 12 for tx, ty in TEXT_LINES):
                    continue
                seen, wanted = shot.at(x, y), tuple(rows[y][3 * x:3 * x + 3])
                if seen != wanted:
                    shot.save_png(os.path.join(g.dir, "window.png"))
                    raise Failure(f"match {number}: pixel ({x}, {y}) is {seen} in the window, "
                                  f"{wanted} in vorcheck's picture (see {g.dir})")
        g.close()


# --- the menu ---------------------------------------------------------------------------------

def test_menu_exit():
    g = duel("menu_exit", "skip")
    g.idle()
    g.keys("alt+f", "x")
    expect("exit code", g.exit_code(), 0)
    return g


def logo_top_left():
    with open(os.path.join(BUILD, "res", "logo.bmp"), "rb") as f:
        data = f.read()
    w, h = int.from_bytes(data[18:22], "little"), int.from_bytes(data[22:26], "little")
    row = 54 + (h - 1) * ((3 * w + 3) // 4 * 4)
    b, g_, r = data[row:row + 3]
    return (r, g_, b)


def test_about_box():
    g = duel("about_box", "skip")
    g.idle()
    g.keys("alt+h", "a")
    hwnd, x, y, w, h = map(int, g.probe("find", "About Morvit Quandor Vorrak").split())
    main = g.client
    g.client = (x, y, w, h)
    image = g.wait_shot("the logo", lambda i: i.at(7, 6) == logo_top_left())
    image.save_png(os.path.join(g.dir, "about.png"))
    expect("logo's last pixel", image.at(300, 122) != WHITE, True)
    g.keys("alt+w")  # "Go to Web Page" does nothing
    g.probe("find", "About Morvit Quandor Vorrak")
    g.keys("Escape")
    g.client = main
    g.idle()
    expect("About boxes open", g.probe("count", "About Morvit Quandor Vorrak"), "0")
    g.probe("post", g.hwnd, 0x10, 0)
    expect("exit code", g.exit_code(), 0)
    return g


def test_help_call():
    g = Game("help_call")
    hlp = os.path.join(ROOT, "build", "native", "data", "quanhelp.hlp")
    if os.path.exists(hlp):
        with open(hlp, "rb") as f:
            g.write("quanhelp.hlp", f.read())
    g.write("master.dat", master())
    g.settings(You=1, Opp=2)
    g.start("skip")
    g.window()
    g.idle()
    g.keys("alt+h", "c")
    viewer = g.probe("find", "Morvit Quandor Vorrak Help", wait="show").split()
    g.client = tuple(map(int, viewer[1:]))
    # The contents topic's heading is drawn in dark blue at the top of the viewer's text.
    image = g.wait_shot("the contents topic", lambda i: any(
        i.at(x, y)[2] > 80 and i.at(x, y)[0] < 60 and i.at(x, y)[1] < 60
        for x in range(0, 120, 2) for y in range(20, 50)))
    image.save_png(os.path.join(g.dir, "help.png"))
    calls = g.calls("WinHelpA")
    expect("WinHelpA calls", len(calls), 1)
    name = calls[0].text()
    if not name or not name.lower().endswith("\\data\\quanhelp.hlp"):
        raise Failure(f"help file asked for: {name!r}")
    expect("command and data", calls[0].numbers()[-2:], [3, 0])
    expect("error boxes", g.probe("count", "ERROR"), "0")
    return g


def test_help_viewer():
    script = os.path.join(ROOT, "tests", "e2e", "help_viewer.sh")
    hlp = os.path.join(ROOT, "build", "native", "data", "quanhelp.hlp")
    if not os.path.exists(script) or not os.path.exists(hlp):
        raise Failure("help viewer script or help file missing")
    g = Game("help_viewer")
    from harness import Display, wine_env, windows_path
    g.display = Display()
    env = wine_env(g.display.name)
    env.update(HLP=hlp, WIN_PATH=windows_path(hlp), OUT_DIR=g.dir)
    r = subprocess.run(["bash", script], env=env)
    expect("help viewer script", r.returncode, 0)
    return g


# --- the match dialog -------------------------------------------------------------------

VORMATCH = os.path.join(BUILD, "vormatch.exe")
IDC_YOU, IDC_OPP, IDC_MOVE1 = 101, 111, 104
PLAYER_INI = ("; my own notes\r\nPath={path}\r\nYou=1\nOpp=2\r\nColour=blue\r\nTrainerYou=2\r\n"
              "TrainerOpp=1\r\nMove1=1\r\nMove2=2\r\nMove3=3\r\nOppMove1=11\r\nOppMove2=12\r\n"
              "OppMove3=13")


def match_dialog(name, read_only=False):
    g = Game(name)
    g.write("master.dat", master())
    g.write("1.bmp", creature())
    g.write("2.bmp", creature())
    g.settings(PLAYER_INI.format(path=windows_path(g.data) + "\\"))
    ini = os.path.join(PREFIX, "drive_c", "windows", "vorrak.ini")
    if read_only:
        os.chmod(ini, 0o444)
    g.start(exe=VORMATCH)
    g.box = g.sight("find", "Choose a Match").split()[0]
    return g, ini


def ini_bytes(ini):
    with open(ini, "rb") as f:
        return f.read()


def test_match_lists():
    g, ini = match_dialog("match_lists")
    expect("creatures listed", g.probe("items", g.box, IDC_YOU).splitlines(), ["Fluff", "Spark"])
    expect("the opponent's creature shown", g.probe("items", g.box, IDC_OPP).splitlines(), ["Fluff", "Spark"])
    moves = g.probe("items", g.box, IDC_MOVE1).splitlines()
    expect("moves with their damage", moves[:3], ["Jab (damage 63)", "Swipe Low (damage 0)",
                                                  "Tackle Hard (damage 150)"])
    g.probe("post", g.box, 0x111, 2)  # IDCANCEL
    expect("exit code", g.exit_code(), 0)
    return g


def test_match_keyboard_play():
    g, ini = match_dialog("match_keyboard_play")
    before = ini_bytes(ini)
    g.focus("Choose a Match")
    g.keys("alt+y", "Down", "alt+o", "Up", "alt+1", "Down", "Return")  # Spark against Fluff
    g.window()
    g.wait_text("Go! Spark!")
    names = {(t[1], t[2]): t[3] for t in g.texts() if (t[1], t[2]) in ((450, 10), (10, 250))}
    expect("the opponent's name drawn", names.get((450, 10)), "Fluff")
    expect("your name drawn", names.get((10, 250)), "Spark")
    wanted = (before.replace(b"You=1\n", b"You=2\n").replace(b"Opp=2\r\n", b"Opp=1\r\n")
              .replace(b"Move1=1\r\n", b"Move1=2\r\n"))
    expect("vorrak.ini after Play", ini_bytes(ini), wanted)
    g.probe("post", g.hwnd, 0x10, 0)
    expect("exit code of the dialog", g.exit_code(), 0)
    return g


def test_match_cancel():
    g, ini = match_dialog("match_cancel")
    before = ini_bytes(ini)
    g.focus("Choose a Match")
    g.keys("alt+y", "Down", "Escape")
    expect("exit code", g.exit_code(), 0)
    expect("vorrak.ini after Cancel", ini_bytes(ini), before)
    if os.path.exists(ini + ".new"):
        raise Failure("a new settings file was left behind")
    return g


def test_match_read_only():
    g, ini = match_dialog("match_read_only", read_only=True)
    try:
        before = ini_bytes(ini)
        g.focus("Choose a Match")
        g.keys("alt+y", "Down", "alt+s")
        box = g.probe("holding", "is read-only, so the match was not saved").split()[0]
        g.probe("post", box, 0x111, 1)  # OK
        expect("vorrak.ini, read-only", ini_bytes(ini), before)
        g.probe("post", g.box, 0x111, 2)
        expect("exit code", g.exit_code(), 0)
    finally:
        os.chmod(ini, 0o644)
    return g


# Old version numbers must be tolerated; that the exe loads there is the import check's proof.
# Windows 10 tells a program without a compatibility manifest (the probe) that it is 6.2.
REPORTED = [("win98", "4.10 1"), ("nt40", "4.0 2"), ("winxp", "5.1 2"), ("win7", "6.1 2"),
            ("win10", "6.2 2")]


def test_old_versions():
    try:
        for version, number in REPORTED:
            g = duel(f"version_{version}", "skip", version=version)
            expect(f"{version}: version the probe is told", g.probe("version"), number)
            g.idle()
            g.wait_shot(f"{version}: the duel screen", lambda i: i.at(451, 26) == GREEN)
            g.click(205, 304)
            g.wait_text("Fluff used Jab!")
            g.idle()
            if not any(m[1].startswith("Spark used ") for m in messages(g)):
                raise Failure(f"{version}: no answer from the opponent: {messages(g)}")
            g.click(205, 344)
            g.wait_text("You won again!")
            expect(f"{version}: exit code", g.exit_code(), 0)
            g.close()
    finally:
        Game("version_reset").report_version(None)


def test_exe_is_static():
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", EXE], capture_output=True, text=True).stdout
    dlls = sorted(set(re.findall(r"DLL Name: (\S+)", out)))
    allowed = {"GDI32.dll", "KERNEL32.dll", "msvcrt.dll", "USER32.dll", "ADVAPI32.dll"}
    if not dlls or not set(dlls) <= allowed:
        raise Failure(f"imports {dlls}")
    kind = subprocess.run(["file", EXE], capture_output=True, text=True).stdout
    if "PE32 executable (GUI) Intel 80386" not in kind:
        raise Failure(kind)
    rc = subprocess.run(["i686-w64-mingw32-windres", "-i", EXE, "-O", "rc"], capture_output=True,
                        text=True).stdout
    for wanted in ['"QUANDORICON" 14', '"MENU_0" MENU', '"LOGO" 2', '"AB" DIALOG 236, 148, 177, 108',
                   "RT_MANIFEST", "E&xit", "&Contents",
                   "&About Morvit Quandor Vorrak...", "Go to &Web Page", "Morvit Quandor Vorrak\"",
                   "Tahoma", "VERSIONINFO"]:
        if wanted not in rc:
            raise Failure(f"{wanted!r} not among the resources")
    return None


def main():
    name = sys.argv[1]
    os.environ["VORRAK_TEST"] = "e2e." + name
    test = globals().get("test_" + name)
    if not test:
        print(f"no test {name}")
        return 2
    try:
        test()
        print(f"{name}: passed")
        return 0
    except Failure as e:
        print(f"{name}: FAILED: {e}")
        return 1
    finally:
        for g in Game.running:
            g.close()


if __name__ == "__main__":
    sys.exit(main())
