#!/usr/bin/env python3
"""Checks a game data folder: master.dat records and the pictures they need.

Usage: check_data.py DATA_DIR
Prints every fault and exits 1, or prints a one-line summary and exits 0.
"""
import os
import struct
import sys

SECTIONS = ("[Moves]", "[Trainers]", "[Names]", "[Damage]")
MAX_CREATURE_NAME = 10
MAX_MOVE_NAME = 63
FRAME_W, FRAME_H = 145, 138


def read_master(path, faults):
    """Returns {section: {number: value}} for the four sections."""
    records = {s: {} for s in SECTIONS}
    section = None
    with open(path, encoding="latin-1", newline=None) as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        where = f"master.dat:{number}"
        if not line.strip():
            continue
        if line.startswith("["):
            section = line.strip()
            if section not in records:
                faults.append(f"{where}: unknown section {section}")
                section = None
            continue
        if section is None:
            faults.append(f"{where}: record outside a known section")
            continue
        key, value = _split(section, line)
        if key is None:
            faults.append(f"{where}: cannot read record '{line}'")
        elif key in records[section]:
            faults.append(f"{where}: {section} {key} appears twice")
        else:
            records[section][key] = value
    return records


def _split(section, line):
    # Creatures sit in fixed columns: number in 1-3, a blank, name from 5.
    if section == "[Names]":
        key, gap, value = line[:3].strip(), line[3:4], line[4:]
        if gap != " ":
            return None, None
    else:
        key, sep, value = line.partition("=")
        if not sep:
            return None, None
        key = key.strip()
    if not key.isdigit() or int(key) < 1:
        return None, None
    return int(key), value


def bitmap_fault(path):
    """Returns why the file is not a picture the game can draw, or None."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return "missing"
    if len(data) < 54 or data[:2] != b"BM":
        return "not a BMP file"
    size, offset = struct.unpack_from("<I4xI", data, 2)
    info, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if info != 40:
        return f"info header is {info} bytes, expected 40"
    if bits != 24 or compression != 0:
        return f"{bits}-bit with compression {compression}, expected uncompressed 24-bit"
    if width <= 0 or height <= 0:
        return f"size {width} x {height} is not positive"
    if offset != 54:
        return f"pixel data at {offset}, expected 54"
    expected = 54 + ((width * 3 + 3) & ~3) * height
    if size != expected or len(data) != expected:
        return f"bfSize {size}, file {len(data)} bytes, expected {expected}"
    if planes != 1:
        return f"{planes} planes, expected 1"
    if width > FRAME_W or height > FRAME_H:
        return f"{width} x {height} does not fit the {FRAME_W} x {FRAME_H} frame"
    return None


def check(folder):
    faults = []
    master = os.path.join(folder, "master.dat")
    if not os.path.isfile(master):
        return [f"{master}: missing"], None
    records = read_master(master, faults)
    moves, trainers = records["[Moves]"], records["[Trainers]"]
    names, damage = records["[Names]"], records["[Damage]"]
    for move in sorted(moves.keys() - damage.keys()):
        faults.append(f"move {move} has no [Damage] record")
    for move in sorted(damage.keys() - moves.keys()):
        faults.append(f"[Damage] {move} is for no move")
    for move, value in sorted(damage.items()):
        if not value.strip().lstrip("-").isdigit():
            faults.append(f"[Damage] {move}: '{value}' is not a whole number")
    for move, name in sorted(moves.items()):
        if len(name) > MAX_MOVE_NAME:
            faults.append(f"move {move}: name longer than {MAX_MOVE_NAME}")
    for creature, name in sorted(names.items()):
        if len(name) > MAX_CREATURE_NAME:
            faults.append(f"creature {creature}: '{name}' longer than {MAX_CREATURE_NAME}")
    pictures = [f"{n}.bmp" for n in sorted(names)]
    for trainer in sorted(trainers):
        pictures += [f"t{trainer}.bmp", f"back{trainer}.bmp"]
    for picture in pictures:
        fault = bitmap_fault(os.path.join(folder, picture))
        if fault:
            faults.append(f"{picture}: {fault}")
    summary = (f"check_data: {len(names)} creatures, {len(trainers)} trainers, "
               f"{len(moves)} moves, {len(pictures)} pictures OK")
    return faults, summary


def main(argv):
    if len(argv) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 1
    faults, summary = check(argv[0])
    for fault in faults:
        print(f"check_data: {fault}", file=sys.stderr)
    if faults:
        return 1
    print(summary)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
