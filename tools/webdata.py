#!/usr/bin/env python3
"""Packs the bundled data for the web page into one script: webdata.py OUT.js DATABASE PICTURE...

A page opened from a disk can't fetch its neighbours, so the data rides in a script, in
base64: the database as it is, since a duel reads it first, and each picture gzip'd on its
own, for the page to unpack only the pictures a duel or the chooser shows, when it first
shows them. Far smaller, and far quicker to parse, than the files as they are.
"""
import base64
import gzip
import json
import os
import sys


def packed(path, squeeze):
    with open(path, "rb") as f:
        data = f.read()
    return base64.b64encode(gzip.compress(data, 9, mtime=0) if squeeze else data).decode()


def main(argv):
    if len(argv) < 2:
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    database = [os.path.basename(argv[1]), packed(argv[1], False)]
    pictures = {os.path.basename(path): packed(path, True) for path in argv[2:]}
    with open(argv[0], "w") as f:
        f.write("// Made by tools/webdata.py: the bundled data. Do not edit.\n"
                f"const bundledDatabase = {json.dumps(database)};\nconst bundledPictures = {json.dumps(pictures)};\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
