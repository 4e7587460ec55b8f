#!/usr/bin/env python3
"""Carries files as one string in a script, for a page opened from a disk, which may not
fetch the files beside it nor start a worker from one:
websource.py [--base64] OUT.js NAME FILE...

The files' text, one after another, becomes the constant NAME: the script of the
checker's worker, made from a Blob. With --base64, the bytes of one file, in base64: the
engine's WebAssembly.
"""
import base64
import json
import sys


def main(argv):
    binary = argv[:1] == ["--base64"]
    if binary:
        argv = argv[1:]
    if len(argv) < 3 or (binary and len(argv) != 3):
        print(__doc__.splitlines()[2], file=sys.stderr)
        return 2
    out, name, paths = argv[0], argv[1], argv[2:]
    if binary:
        with open(paths[0], "rb") as f:
            text = base64.b64encode(f.read()).decode()
    else:
        text = ""
        for path in paths:
            with open(path, encoding="utf-8") as f:
                text += f.read() + "\n"
    with open(out, "w", encoding="utf-8") as f:
        f.write(f"// Made by tools/websource.py. Do not edit.\nconst {name} = {json.dumps(text)};\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
