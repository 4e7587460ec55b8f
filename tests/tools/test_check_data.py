"""Tests for tools/check_data.py on small data folders made on the spot."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import check_data  # noqa: E402

MASTER = ("[Moves]\r\n1=Spark\r\n2=Gnaw\r\n[Trainers]\r\n1=Pell\r\n"
          "[Names]\r\n001 Nibbler\r\n[Damage]\r\n1=12\r\n2=20\r\n")


def bitmap(width=4, height=3, bits=24, info=40, offset=54, size=None):
    stride = ((width * bits // 8) + 3) & ~3
    pixels = bytes(stride * abs(height))
    size = 54 + len(pixels) if size is None else size
    return (struct.pack("<2sIHHI", b"BM", size, 0, 0, offset)
            + struct.pack("<IiiHHIIiiII", info, width, height, 1, bits, 0, len(pixels), 0, 0, 0, 0)
            + pixels)


class CheckDataTest(unittest.TestCase):
    def folder(self, master=MASTER, skip=(), **replace):
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        files = {"master.dat": master.encode(), "1.bmp": bitmap(),
                 "t1.bmp": bitmap(), "back1.bmp": bitmap()}
        files.update({name.replace("_", "."): data for name, data in replace.items()})
        for name, data in files.items():
            if name not in skip:
                with open(os.path.join(tmp.name, name), "wb") as f:
                    f.write(data)
        return tmp.name

    def test_good_folder_passes(self):
        faults, summary = check_data.check(self.folder())
        self.assertEqual(faults, [])
        self.assertIn("1 creatures, 1 trainers, 2 moves", summary)

    def test_faults_are_found(self):
        cases = [
            ("missing creature picture", dict(skip=("1.bmp",)), "1.bmp: missing"),
            ("missing trainer back", dict(skip=("back1.bmp",)), "back1.bmp: missing"),
            ("missing damage", dict(master=MASTER.replace("2=20\r\n", "")), "move 2 has no [Damage]"),
            ("damage without move", dict(master=MASTER + "3=9\r\n"), "[Damage] 3 is for no move"),
            ("damage not a number", dict(master=MASTER.replace("2=20", "2=lots")), "not a whole number"),
            ("creature name too long", dict(master=MASTER.replace("Nibbler", "Nibblerking")), "longer than 10"),
            ("move name too long", dict(master=MASTER.replace("Gnaw", "G" * 64)), "longer than 63"),
            ("number column broken", dict(master=MASTER.replace("001 ", "1 ")), "cannot read record"),
            ("unknown section", dict(master=MASTER + "[Items]\r\n"), "unknown section"),
            ("32-bit picture", dict(t1_bmp=bitmap(bits=32)), "expected uncompressed 24-bit"),
            ("too wide", dict(t1_bmp=bitmap(width=146)), "does not fit"),
            ("too high", dict(back1_bmp=bitmap(height=139)), "does not fit"),
            ("top-down rows", dict(back1_bmp=bitmap(height=-3)), "not positive"),
            ("other info header", dict(t1_bmp=bitmap(info=108)), "108 bytes"),
            ("pixel data moved", dict(t1_bmp=bitmap(offset=60)), "pixel data at 60"),
            ("wrong bfSize", dict(t1_bmp=bitmap(size=99)), "bfSize 99"),
            ("not a bitmap", dict(t1_bmp=b"GIF89a" + bytes(60)), "not a BMP"),
        ]
        for name, kwargs, message in cases:
            with self.subTest(name):
                faults, _ = check_data.check(self.folder(**kwargs))
                self.assertTrue(any(message in f for f in faults), faults)

    def test_command_line_exit_codes(self):
        tool = os.path.join(ROOT, "tools", "check_data.py")
        for skip, code in (((), 0), (("t1.bmp",), 1)):
            with self.subTest(skip=skip):
                run = subprocess.run([sys.executable, tool, self.folder(skip=skip)],
                                     capture_output=True, text=True)
                self.assertEqual(run.returncode, code, run.stderr)
                self.assertEqual(bool(run.stderr), code == 1)


if __name__ == "__main__":
    unittest.main()
