#!/usr/bin/env python3
"""Packs the bundled data for the web page into one script: webdata.py OUT.js DATABASE PICTURE...

A page opened from a disk can't fetch its neighbours, so the data rides in a script, in
base64: the database as it is, since a duel reads it first, and the pictures as one gzip'd
run of files, each its name, a zero byte, its size in four bytes (little-endian) and its
bytes. Far smaller, and far quicker to parse, than the files as they are; the page unpacks
the pictures while the duel's first screen is drawn.
"""
import base64
import gzip
import os
import struct
import sys


def pack(paths):
    run = b""
    for path in paths:
        with open(path, "rb") as f:
            data = f.read()
        run += os.path.basename(path).encode() + b"\0" + struct.pack("<I", len(data)) + data
    return gzip.compress(run, 9, mtime=0)


def main(argv):
    if len(argv) < 2:
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        database = base64.b64encode(f.read()).decode()
    pictures = base64.b64encode(pack(argv[2:])).decode()
    with open(argv[0], "w") as f:
        f.write("// Made by tools/webdata.py: the bundled data. Do not edit.\n"
                f"const bundledDatabase = [\"{os.path.basename(argv[1])}\", \"{database}\"];\n"
                f"const bundledPictures = \"{pictures}\";\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
