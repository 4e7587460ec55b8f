#!/usr/bin/env python3
"""imports.py EXE...: fails when an exe imports a function that one of Windows 95, 98, ME,
NT 4.0, 2000 or XP lacks, naming each missing DLL!function and the versions that lack it.

Wine can't show this: its DLLs keep their modern exports whatever version it reports.
"""
import os
import struct
import sys

LISTS = os.path.join(os.path.dirname(os.path.realpath(__file__)), "winapi")
VERSIONS = [("win95", "Windows 95"), ("win98", "Windows 98"), ("winMe", "Windows ME"),
            ("winnt4", "NT 4.0"), ("win2000", "Windows 2000"), ("winXP", "Windows XP")]


def imports(path):
    """(DLL, function) pairs of a PE32 file's import table; ordinals as '#N'."""
    b = open(path, "rb").read()
    pe = struct.unpack_from("<I", b, 0x3C)[0]
    if b[pe:pe + 4] != b"PE\0\0":
        raise ValueError(f"{path}: not a PE file")
    sections, optional = struct.unpack_from("<H", b, pe + 6)[0], struct.unpack_from("<H", b, pe + 20)[0]
    opt = pe + 24
    if struct.unpack_from("<H", b, opt)[0] != 0x10B:
        raise ValueError(f"{path}: not a 32-bit PE file")
    table = struct.unpack_from("<I", b, opt + 104)[0]
    heads = [struct.unpack_from("<IIII", b, opt + optional + 40 * i + 8) for i in range(sections)]

    def at(rva):
        for vsize, va, rsize, raw in heads:
            if va <= rva < va + max(vsize, rsize):
                return rva - va + raw
        raise ValueError(f"{path}: address {rva:#x} outside every section")

    def name(o):
        return b[o:b.index(b"\0", o)].decode("latin-1")

    out, d = [], at(table) if table else None
    while d is not None:
        lookup, _, _, dll_name, iat = struct.unpack_from("<IIIII", b, d)
        if not dll_name:
            break
        dll = name(at(dll_name)).upper()
        dll = dll[:-4] if dll.endswith(".DLL") else dll
        t = at(lookup or iat)
        while True:
            entry = struct.unpack_from("<I", b, t)[0]
            if not entry:
                break
            out.append((dll, f"#{entry & 0xFFFF}" if entry >> 31 else name(at(entry) + 2)))
            t += 4
        d += 20
    return out


def exports(version, dll, cache={}):
    key = (version, dll)
    if key not in cache:
        p = os.path.join(LISTS, version, dll + ".txt")
        cache[key] = set(open(p).read().split()) if os.path.exists(p) else set()
    return cache[key]


def missing(path):
    """{'DLL!function': [versions lacking it]} for one exe."""
    out = {}
    for dll, fn in imports(path):
        lacking = [label for version, label in VERSIONS if fn not in exports(version, dll)]
        if lacking:
            out[f"{dll}!{fn}"] = lacking
    return out


def main(paths):
    if not paths:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    bad = 0
    for path in paths:
        found = missing(path)
        name = os.path.basename(path)
        if not found:
            print(f"{name}: {len(imports(path))} imports, every one on Windows 95 through XP")
            continue
        bad += 1
        print(f"{name} will not load everywhere; missing imports:")
        for what, lacking in sorted(found.items()):
            print(f"  {what}: not on {', '.join(lacking)}")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
