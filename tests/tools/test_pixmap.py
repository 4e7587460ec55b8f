"""Tests for tools/pixmap.py: BMP, ICO, PNG and font layout and input validation."""
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import pixmap  # noqa: E402


def source(rows, scale=1, palette="k = 102030\nr = C02010\n"):
    return (f"size {len(rows[0])} {len(rows)}\nscale {scale}\n{palette}pixels\n"
            + "\n".join(rows) + "\n")


def pixel(bmp, x, y):
    """RGB of the pixel at x, y counted from the top, read as a viewer would."""
    width, height = struct.unpack_from("<ii", bmp, 18)
    stride = (width * 3 + 3) & ~3
    at = 54 + (height - 1 - y) * stride + x * 3
    b, g, r = bmp[at:at + 3]
    return r, g, b


class BmpTest(unittest.TestCase):
    def test_header_and_padding(self):
        for width, stride in ((1, 4), (2, 8), (3, 12), (4, 12), (5, 16)):
            with self.subTest(width=width):
                bmp = pixmap.bmp_bytes(pixmap.parse(source(["k" * width] * 2)))
                magic, size, offset = struct.unpack_from("<2sI4xI", bmp)
                info, w, h, planes, bits, comp, image = struct.unpack_from("<IiiHHII", bmp, 14)
                self.assertEqual((magic, offset, info), (b"BM", 54, 40))
                self.assertEqual((w, h, planes, bits, comp), (width, 2, 1, 24, 0))
                self.assertEqual(image, stride * 2)
                self.assertEqual(size, len(bmp))
                self.assertEqual(len(bmp), 54 + stride * 2)
                self.assertEqual(bmp[54 + width * 3:54 + stride], bytes(stride - width * 3))

    def test_rows_are_stored_bottom_up(self):
        bmp = pixmap.bmp_bytes(pixmap.parse(source(["k.", "r."])))
        self.assertEqual(bmp[54:57], bytes((0x10, 0x20, 0xC0)))  # bottom row first, BGR
        self.assertEqual(pixel(bmp, 0, 0), (0x10, 0x20, 0x30))
        self.assertEqual(pixel(bmp, 1, 0), (255, 255, 255))

    def test_scale_makes_blocks(self):
        bmp = pixmap.bmp_bytes(pixmap.parse(source(["kr"], scale=3)))
        self.assertEqual(struct.unpack_from("<ii", bmp, 18), (6, 3))
        for y in range(3):
            self.assertEqual([pixel(bmp, x, y)[0] for x in range(6)], [0x10] * 3 + [0xC0] * 3)


class ErrorTest(unittest.TestCase):
    CASES = [
        ("row too short", source(["kk", "k"]), "row has 1 letters"),
        ("too few rows", "size 2 2\nk = 000000\npixels\nkk\n", "1 rows"),
        ("too many rows", source(["kk"]) + "kk\n", "more than 1 rows"),
        ("unknown letter", source(["kx"]), "unknown letter 'x'"),
        ("short colour", source(["k"], palette="k = 12345\n"), "RRGGBB"),
        ("letter twice", source(["k"], palette="k = 000000\nk = 111111\n"), "defined twice"),
        ("dot redefined", source(["k"], palette="k = 000000\n. = 111111\n"), "reserved"),
        ("zero size", "size 0 1\npixels\n\n", "at least 1"),
        ("bad scale", source(["k"]).replace("scale 1", "scale x"), "whole number"),
        ("no pixels", "size 1 1\nk = 000000\n", "no 'pixels'"),
        ("too large", source(["k"], scale=2000), "larger than"),
    ]

    def test_bad_sources_are_rejected(self):
        for name, text, message in self.CASES:
            with self.subTest(name), self.assertRaises(pixmap.PixmapError) as caught:
                pixmap.parse(text)
            self.assertIn(message, str(caught.exception))

    def test_white_in_a_figure_is_refused(self):
        with self.assertRaises(pixmap.PixmapError):
            pixmap.bmp_bytes(pixmap.parse(source(["w"], palette="w = FFFFFF\n")))

    def test_command_line_reports_and_exits_1(self):
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.txt")
            with open(bad, "w") as f:
                f.write(source(["kx"]))
            run = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "pixmap.py"),
                                  "bmp", bad, os.path.join(tmp, "out.bmp")],
                                 capture_output=True, text=True)
        self.assertEqual(run.returncode, 1)
        self.assertIn("bad.txt:6: column 2: unknown letter 'x'", run.stderr)


class PngTest(unittest.TestCase):
    def test_enlarged_blocks_and_see_through(self):
        png = pixmap.png_bytes(pixmap.parse(source(["k.", "rk"])), 6)
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(struct.unpack_from(">4sII5B", png, 12), (b"IHDR", 6, 6, 8, 6, 0, 0, 0))
        size = struct.unpack_from(">I", png, 33)[0]
        rows = zlib.decompress(png[41:41 + size])
        row = lambda y: rows[y * 25 + 1:(y + 1) * 25]  # noqa: E731 (each row: filter byte, 6 RGBA)
        k, r = bytes((0x10, 0x20, 0x30, 255)), bytes((0xC0, 0x20, 0x10, 255))
        self.assertEqual([row(y)[:4] for y in (0, 2, 3, 5)], [k, k, r, r])
        self.assertEqual(row(2)[12:], bytes(12))  # '.' is see-through

    def test_only_a_whole_enlargement(self):
        with self.assertRaises(pixmap.PixmapError):
            pixmap.png_bytes(pixmap.parse(source(["k.", "rk"])), 5)


class IcoTest(unittest.TestCase):
    def icon(self):
        vga = "k = 000000\nr = FF0000\n"
        small = pixmap.parse(source(["r" + "." * 15] + ["k" * 16] * 15, palette=vga))
        large = pixmap.parse(source(["k" * 32] * 32, palette=vga))
        return pixmap.ico_bytes([small, large])

    def test_directory_and_sizes(self):
        ico = self.icon()
        self.assertEqual(struct.unpack_from("<HHH", ico), (0, 1, 2))
        offset = 6 + 32
        for i, side in enumerate((16, 32)):
            w, h, colours, _, planes, bits, size, at = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
            self.assertEqual((w, h, colours, planes, bits, at), (side, side, 16, 1, 4, offset))
            self.assertEqual(size, 40 + 64 + side * side // 2 + 4 * side)
            info, iw, ih, _, ibits = struct.unpack_from("<IiiHH", ico, at)
            self.assertEqual((info, iw, ih, ibits), (40, side, side * 2, 4))
            offset += size
        self.assertEqual(offset, len(ico))

    def test_and_mask_marks_see_through_pixels(self):
        ico = self.icon()
        at = struct.unpack_from("<I", ico, 6 + 12)[0]
        colours = at + 40 + 64
        top_row = colours + 15 * 8          # rows are bottom-up, 8 bytes each
        self.assertEqual(ico[top_row], 0x90)  # bright red (9) then black (0)
        mask = colours + 16 * 8
        self.assertEqual(ico[mask + 15 * 4:mask + 16 * 4], bytes((0x7F, 0xFF, 0, 0)))
        self.assertEqual(ico[mask:mask + 4], bytes(4))

    def test_non_vga_colour_is_refused(self):
        image = pixmap.parse(source(["k"], palette="k = 123456\n"))
        with self.assertRaises(pixmap.PixmapError):
            pixmap.ico_bytes([image])


class FontTest(unittest.TestCase):
    # (x, y) of an inked pixel, the character whose cell holds it, its row, that row's byte
    PIXELS = [((0, 0), " ", 0, 0x80), ((7, 9), " ", 9, 0x01), ((9, 0), "!", 0, 0x40),
              ((10, 24), "A", 4, 0x20), ((113, 59), "~", 9, 0x40), ((0, 60), "\x80", 0, 0x80),
              ((127, 139), "\xff", 9, 0x01)]

    def test_cells_become_bytes_and_odd_maps_are_refused(self):
        grid = [["."] * 128 for _ in range(140)]
        for (x, y), *_ in self.PIXELS:
            grid[y][x] = "k"
        text = pixmap.font_source(pixmap.parse(source(["".join(r) for r in grid])))
        values = [int(v, 16) for v in re.findall(r"0x([0-9A-F]{2})", text)]
        self.assertEqual(len(values), 224 * 10)
        expected = [0] * len(values)
        for _, char, row, byte in self.PIXELS:
            expected[(ord(char) - 32) * 10 + row] = byte
        self.assertEqual(values, expected)
        text.encode("ascii")
        for name, rows in (("short", ["." * 128] * 139), ("two inks", ["kr" + "." * 126] * 140)):
            with self.subTest(name), self.assertRaises(pixmap.PixmapError):
                pixmap.font_source(pixmap.parse(source(rows)))


class ShippedArtTest(unittest.TestCase):
    """Every pixel map in the repo builds, and the logo has its fixed size."""

    def test_all_sources_build(self):
        folders = [os.path.join(ROOT, "content", "art"), os.path.join(ROOT, "src", "res", "art")]
        for folder in folders:
            for name in sorted(os.listdir(folder)):
                with self.subTest(name), open(os.path.join(folder, name)) as f:
                    image = pixmap.parse(f.read(), name)
                    if not name.startswith("icon"):
                        pixmap.bmp_bytes(image)
                    if name == "logo.txt":
                        self.assertEqual((image.width, image.height), (294, 117))


if __name__ == "__main__":
    unittest.main()
