#!/usr/bin/env python3
"""Carries scripts as one string, for a worker the page makes from a Blob:
websource.py OUT.js NAME FILE...

A page opened from a disk may not start a worker from a file beside it, so the worker's
script rides, as text, in a script the page loads with the rest.
"""
import json
import sys


def main(argv):
    if len(argv) < 3:
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    out, name, paths = argv[0], argv[1], argv[2:]
    text = ""
    for path in paths:
        with open(path, encoding="utf-8") as f:
            text += f.read() + "\n"
    with open(out, "w", encoding="utf-8") as f:
        f.write(f"// Made by tools/websource.py. Do not edit.\nconst {name} = {json.dumps(text)};\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
