#!/usr/bin/env python3
"""Writes the web page's service worker: webcache.py TEMPLATE OUT.js VERSION FILE... [-- LATER...]

In the template, @CACHE@ becomes the name of this release's cache, made of VERSION and a
hash of every file's name and bytes, so that any change of the page makes a new cache that
replaces the old; @FILES@ becomes the names of the FILEs, which the worker keeps at the
first visit, and @LATER@ those of the LATER files, which it keeps once the page fetches them.
"""
import hashlib
import json
import os
import sys


def main(argv):
    if len(argv) < 4:
        print(__doc__.splitlines()[0], file=sys.stderr)
        return 2
    template, out, version, rest = argv[0], argv[1], argv[2], argv[3:]
    kept, later = (rest[:rest.index("--")], rest[rest.index("--") + 1:]) if "--" in rest else (rest, [])
    digest = hashlib.sha256()
    for path in sorted(kept + later, key=os.path.basename):
        with open(path, "rb") as f:
            digest.update(os.path.basename(path).encode() + b"\0" + f.read())
    names = lambda paths: json.dumps(sorted(os.path.basename(p) for p in paths))  # noqa: E731
    with open(template, encoding="utf-8") as f:
        text = f.read()
    text = (text.replace("@CACHE@", f"{version}-{digest.hexdigest()[:16]}")
            .replace("@FILES@", names(kept)).replace("@LATER@", names(later)))
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
