#!/usr/bin/env python3
"""lean.py LIMIT_KIB EXE...: fails when an exe's code section is over the limit, or when it
carries the C++ library's exception machinery, which a small Win32 program has no use for."""
import struct
import sys

# Names that only the C++ library's exception and thread support leaves in an exe's data.
MACHINERY = [b"__gxx_personality", b"terminate called", b"__cxa_", b"std::bad_alloc",
             b"recursive_init_error"]


def text_size(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, optional = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    first = pe + 24 + optional
    for i in range(count):
        name, vsize = struct.unpack_from("<8sI", data, first + 40 * i)
        if name.rstrip(b"\0") == b".text":
            return vsize
    return 0


def main(args):
    if len(args) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    limit, bad = int(args[0]) * 1024, 0
    for path in args[1:]:
        data = open(path, "rb").read()
        size = text_size(data)
        found = [m.decode() for m in MACHINERY if m in data]
        verdict = "ok" if size <= limit and not found else "TOO BIG" if size > limit else "NOT LEAN"
        print(f"{path.split('/')[-1]}: .text {size / 1024:.1f} KiB (limit {limit // 1024} KiB)"
              + (f", carries {', '.join(found)}" if found else "") + f": {verdict}")
        bad += verdict != "ok"
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
