#!/usr/bin/env python3
"""Packs the bundled data for the web page into one script: webdata.py OUT.js FILE...

A page opened from a disk can't fetch its neighbours, so the data rides in a script: one
gzip'd run of files, each its name, a zero byte, its size in four bytes (little-endian) and
its bytes, in base64. Far smaller, and far quicker to parse, than the files as they are.
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
    text = base64.b64encode(pack(argv[1:])).decode()
    with open(argv[0], "w") as f:
        f.write(f"// Made by tools/webdata.py: the bundled data. Do not edit.\nconst bundledData = \"{text}\";\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
