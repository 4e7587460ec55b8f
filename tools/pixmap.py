#!/usr/bin/env python3
"""Turns text pixel maps into 24-bit BMP pictures, 16-colour icons, PNG icons for
the web page and the game's font table.

A pixel map reads, top to bottom:

    # comments and blank lines are ignored outside the rows
    size 40 36          # width and height in letters
    scale 3             # optional: each letter becomes a 3 x 3 block
    k = 201818          # palette: one letter, '=', RRGGBB
    r = c83c28
    pixels              # then exactly `height` rows of `width` letters
    ....kkkk....

'.' is always pure white, the see-through colour of the game's pictures,
so no palette entry may use FFFFFF in a picture.

Usage:
    pixmap.py bmp SRC.txt OUT.bmp
    pixmap.py ico SRC16.txt SRC32.txt OUT.ico
    pixmap.py png SRC.txt SIDE OUT.png    # enlarged by a whole number to SIDE
    pixmap.py font SRC.txt OUT.cpp
"""
import re
import struct
import sys
import zlib

CLEAR = "."
WHITE = (255, 255, 255)
MAX_SIDE = 1024

# The font map holds characters 32..255 in code order, 16 cells of 8 x 10 to a
# row, so fourteen rows.
FONT_FIRST, FONT_COUNT, FONT_PER_ROW = 32, 224, 16
FONT_CELL_W, FONT_CELL_H = 8, 10
FONT_SIZE = (FONT_PER_ROW * FONT_CELL_W, FONT_COUNT // FONT_PER_ROW * FONT_CELL_H)

# The standard 16-colour VGA palette: icons may only use these.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


class PixmapError(Exception):
    pass


class Image:
    """Rows of RGB tuples, or None where the picture is see-through."""

    def __init__(self, rows):
        self.rows = rows
        self.width = len(rows[0])
        self.height = len(rows)


def parse(text, name="<text>"):
    size, scale, palette, rows = None, 1, {}, None
    lines = text.splitlines()
    for number, raw in enumerate(lines, 1):
        where = f"{name}:{number}"
        line = raw.split("#", 1)[0].strip()
        if rows is not None:
            if len(rows) == size[1]:
                if line:
                    raise PixmapError(f"{where}: more than {size[1]} rows")
                continue
            rows.append(_row(line, size[0], palette, where))
            continue
        if not line:
            continue
        words = line.split()
        if words[0] == "size":
            size = _numbers(words, where)
        elif words[0] == "scale":
            (scale,) = _numbers(words, where, count=1)
        elif words[0] == "pixels":
            if size is None:
                raise PixmapError(f"{where}: 'pixels' before 'size'")
            rows = []
        else:
            _palette_line(line, palette, where)
    if rows is None:
        raise PixmapError(f"{name}: no 'pixels' line")
    if len(rows) != size[1]:
        raise PixmapError(f"{name}: {len(rows)} rows, 'size' says {size[1]}")
    if max(size) * scale > MAX_SIDE:
        raise PixmapError(f"{name}: larger than {MAX_SIDE} pixels after scaling")
    return Image(_scaled(rows, scale))


def _numbers(words, where, count=2):
    if len(words) != count + 1 or not all(w.isdigit() for w in words[1:]):
        raise PixmapError(f"{where}: '{words[0]}' needs {count} whole number(s)")
    values = tuple(int(w) for w in words[1:])
    if min(values) < 1:
        raise PixmapError(f"{where}: '{words[0]}' must be at least 1")
    return values


def _palette_line(line, palette, where):
    match = re.fullmatch(r"(\S)\s*=\s*([0-9A-Fa-f]{6})", line)
    if not match:
        raise PixmapError(f"{where}: expected 'letter = RRGGBB', got '{line}'")
    letter, hexcode = match.groups()
    if letter == CLEAR:
        raise PixmapError(f"{where}: '{CLEAR}' is reserved for see-through white")
    if letter in palette:
        raise PixmapError(f"{where}: letter '{letter}' defined twice")
    palette[letter] = tuple(int(hexcode[i:i + 2], 16) for i in (0, 2, 4))


def _row(row, width, palette, where):
    if len(row) != width:
        raise PixmapError(f"{where}: row has {len(row)} letters, 'size' says {width}")
    pixels = []
    for column, letter in enumerate(row, 1):
        if letter == CLEAR:
            pixels.append(None)
        elif letter in palette:
            pixels.append(palette[letter])
        else:
            raise PixmapError(f"{where}: column {column}: unknown letter '{letter}'")
    return pixels


def _scaled(rows, scale):
    out = []
    for row in rows:
        wide = [p for p in row for _ in range(scale)]
        out.extend(list(wide) for _ in range(scale))
    return out


def bmp_bytes(image):
    if any(p == WHITE for row in image.rows for p in row):
        raise PixmapError("a palette colour is FFFFFF, which would be see-through; "
                          "use '.' for background or e.g. FAFAFA for white parts")
    stride = (image.width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(image.rows):
        for pixel in row:
            r, g, b = pixel or WHITE
            data += bytes((b, g, r))
        data += bytes(stride - image.width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, image.width, image.height, 1, 24,
                       0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def ico_bytes(images):
    blobs = [_ico_image(image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for image, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", image.width % 256, image.height % 256,
                           16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def _ico_image(image):
    colour_stride = ((image.width * 4 + 31) // 32) * 4
    mask_stride = ((image.width + 31) // 32) * 4
    colours, mask = bytearray(), bytearray()
    for row in reversed(image.rows):
        indices = [_vga_index(p) for p in row]
        bits = [1 if p is None else 0 for p in row]
        colours += _pack(indices, 4, colour_stride)
        mask += _pack(bits, 1, mask_stride)
    info = struct.pack("<IiiHHIIiiII", 40, image.width, image.height * 2, 1, 4,
                       0, len(colours) + len(mask), 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    return info + palette + bytes(colours) + bytes(mask)


def png_bytes(image, side):
    """A square picture enlarged, each pixel a block, see-through where it is '.'."""
    if image.width != image.height or side % image.width:
        raise PixmapError(f"a {image.width} x {image.height} map can't be enlarged "
                          f"to {side} x {side} by a whole number")
    rows = _scaled(image.rows, side // image.width)
    raw = b"".join(b"\0" + b"".join(bytes((*p, 255)) if p else bytes(4) for p in row)
                   for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    header = struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def _vga_index(pixel):
    if pixel is None:
        return 0
    if pixel not in VGA:
        raise PixmapError("icon colour %02X%02X%02X is not one of the 16 VGA colours"
                          % pixel)
    return VGA.index(pixel)


def _pack(values, bits, stride):
    """Packs small values most significant first, as DIB rows want them."""
    out = bytearray(stride)
    per_byte = 8 // bits
    for i, value in enumerate(values):
        shift = 8 - bits * (i % per_byte + 1)
        out[i // per_byte] |= value << shift
    return out


def font_source(image):
    if (image.width, image.height) != FONT_SIZE:
        raise PixmapError("font map must be %d x %d, got %d x %d"
                          % (FONT_SIZE + (image.width, image.height)))
    inks = {p for row in image.rows for p in row} - {None, WHITE}
    if len(inks) > 1:
        raise PixmapError(f"font map has {len(inks)} ink colours; it may have only one")
    lines = ["// Made by tools/pixmap.py from content/font.txt: do not edit.",
             f"extern const unsigned char kFontRows[{FONT_COUNT}][{FONT_CELL_H}] = {{"]
    for index in range(FONT_COUNT):
        left = index % FONT_PER_ROW * FONT_CELL_W
        top = index // FONT_PER_ROW * FONT_CELL_H
        rows = []
        for row in image.rows[top:top + FONT_CELL_H]:
            bits = [0 if p in (None, WHITE) else 1 for p in row[left:left + FONT_CELL_W]]
            rows.append("0x%02X" % _pack(bits, 1, 1)[0])
        lines.append(f"    {{{', '.join(rows)}}},  // {_char_literal(FONT_FIRST + index)}")
    return "\n".join(lines + ["};", ""])


def _char_literal(code):
    """Quoted so that '\\' cannot end a comment line and splice the next one; from 127
    up as the number, as the source stays ASCII."""
    ch = chr(code)
    if code >= 127:
        return str(code)
    return "'\\%s'" % ch if ch in "\\'" else f"'{ch}'"


def _load(path):
    try:
        with open(path, encoding="ascii") as f:
            return parse(f.read(), path)
    except (OSError, UnicodeDecodeError) as e:
        raise PixmapError(f"{path}: {e}")


def main(argv):
    if len(argv) == 3 and argv[0] == "bmp":
        image = _load(argv[1])
        try:
            result = bmp_bytes(image)
        except PixmapError as e:
            raise PixmapError(f"{argv[1]}: {e}")
    elif len(argv) == 4 and argv[0] == "ico":
        small, large = _load(argv[1]), _load(argv[2])
        for image, side in ((small, 16), (large, 32)):
            if (image.width, image.height) != (side, side):
                raise PixmapError(f"icon image must be {side} x {side}, "
                                  f"got {image.width} x {image.height}")
        result = ico_bytes([small, large])
    elif len(argv) == 4 and argv[0] == "png" and argv[2].isdigit():
        try:
            result = png_bytes(_load(argv[1]), int(argv[2]))
        except PixmapError as e:
            raise PixmapError(f"{argv[1]}: {e}")
    elif len(argv) == 3 and argv[0] == "font":
        try:
            result = font_source(_load(argv[1])).encode("ascii")
        except PixmapError as e:
            raise PixmapError(f"{argv[1]}: {e}")
    else:
        print(__doc__.split("Usage:")[1].rstrip(), file=sys.stderr)
        return 1
    with open(argv[-1], "wb") as f:
        f.write(result)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except PixmapError as e:
        print(f"pixmap: {e}", file=sys.stderr)
        sys.exit(1)
