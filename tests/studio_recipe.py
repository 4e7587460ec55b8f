"""One creature made by an author, for the tests that follow it from the web page's studio to
the Windows program: a picture drawn as pixel art with see-through parts, two new moves, and
the match they play. vordata makes the same data from the bundled data, so that the chain
holds: the browser test compares the studio's export with it, the end-to-end test plays it."""
import os
import shutil
import struct
import subprocess
import zlib

CREATURE = (9, "Lumbrel")
MOVES = [(25, "Lumi\u00e8re Jab", 21), (26, "Lantern Slam", 33)]  # number, name, damage
MATCH = {"You": 9, "Opp": 7, "TrainerYou": 1, "TrainerOpp": 3, "Move1": 25, "Move2": 26, "Move3": 1,
         "OppMove1": 19, "OppMove2": 20, "OppMove3": 21}
BODY, STRIPE, WHITE, NEAR_WHITE = (150, 60, 190), (0, 0, 200), (255, 255, 255), (255, 255, 254)

# 29 x 23 pixels, enlarged 5 times into the creature's 145 x 138 room: 145 x 115.
W, H, SCALE = 29, 23, 5


def pixel(x, y):
    """The image's pixel (r, g, b, a): a body in a see-through field, a blue stripe on its
    left edge, an opaque white eye and a faint shadow that is less than half opaque."""
    if x < 2 and 5 <= y < 18:
        return STRIPE + (255,)
    if 7 <= x < 10 and 6 <= y < 9:
        return WHITE + (255,)
    if ((x - 15) / 13) ** 2 + ((y - 11) / 10) ** 2 <= 1:
        return BODY + (255,)
    return (40, 40, 40, 100) if y == 22 else (0, 0, 0, 0)


def _rows():
    return [[pixel(x, y) for x in range(W)] for y in range(H)]


def png(w=W, h=H, rows=None):
    """An 8-bit RGBA PNG of rows of pixel bytes, top first: by default the creature's image."""
    rows = rows or (bytes(c for p in row for c in p) for row in _rows())
    packer = zlib.compressobj()
    packed = b"".join(packer.compress(b"\0" + row) for row in rows) + packer.flush()
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", packed) + chunk(b"IEND", b""))


def bmp32():
    """The same image as a 32-bit bitmap with alpha, as vordata reads it."""
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(_rows()) for r, g, b, a in row)
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, W, H, 1, 32, 0, len(pixels), 0, 0, 0, 0) + pixels)


def make_with_vordata(vordata, bundled, folder):
    """The bundled data with the creature and its moves, written by vordata in the order the
    studio's forms write them."""
    shutil.copytree(bundled, folder, dirs_exist_ok=True,
                    ignore=lambda _, names: [n for n in names if n != "master.dat" and not n.endswith(".bmp")])
    image = os.path.join(folder, "image.tmp")
    with open(image, "wb") as f:
        f.write(bmp32())
    commands = [["set", "names", CREATURE[0], CREATURE[1]], ["picture", "creature", CREATURE[0], image]]
    for number, name, damage in MOVES:
        commands += [["set", "moves", number, name], ["set", "damage", number, damage]]
    for c in commands:
        args = [vordata, folder] + [str(a).encode("cp1252") if i == 3 and c[0] == "set" else str(a)
                                    for i, a in enumerate(c)]
        done = subprocess.run(args, capture_output=True)
        if done.returncode:
            raise AssertionError(f"vordata {c}: {done.stderr.decode(errors='replace')}")
    os.unlink(image)


def misplaced(at, opponent=False):
    """Where the creature's picture, drawn as the player's (mirrored) or the opponent's, and
    the ring of pixels around it differ from what they should be on a duel screen whose
    pixels at(x, y) gives: the first few of [(x, y, seen, wanted)]. See-through pixels show
    what is behind them: the frame's line, or white."""
    w, h = W * SCALE, H * SCALE
    left, top, right, bottom = (405, 40, 552, 180) if opponent else (10, 280, 157, 420)
    x0, y0 = left + 74 - w // 2 + (1 if opponent else 0), top + 140 - h
    on_frame = lambda x, y: ((x in (left, right - 1) and top <= y < bottom) or
                             (y in (top, bottom - 1) and left <= x < right))
    wrong = []
    for y in range(y0 - 1, y0 + h + 1):
        for x in range(x0 - 1, x0 + w + 1):
            column, row = (x - x0) // SCALE, (y - y0) // SCALE
            inside = 0 <= x - x0 < w and 0 <= y - y0 < h
            r, g, b, a = pixel(column if opponent else W - 1 - column, row) if inside else (0, 0, 0, 0)
            wanted = ((0, 0, 0) if on_frame(x, y) else WHITE) if a < 128 else NEAR_WHITE if (r, g, b) == WHITE else (r, g, b)
            if tuple(at(x, y)) != wanted:
                wrong.append((x, y, tuple(at(x, y)), wanted))
    return wrong[:5]
