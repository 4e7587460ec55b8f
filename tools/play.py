#!/usr/bin/env python3
"""Plays one duel with the bundled content under Wine.

With a display, the game's window opens there. Without one, a short scripted duel is
played in a virtual display and recorded as PNG screenshots and an animated GIF.
"""
import argparse
import datetime
import json
import os
import random
import subprocess
import sys
import time

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
DATA = os.path.join(ROOT, "build", "native", "data")
PREFIX = os.path.join(ROOT, "build", "play", "wineprefix")
WIN = os.path.join(ROOT, "build", "win")
os.environ.setdefault("VORRAK_WIN_BUILD", WIN)
EXE = os.path.join(WIN, "vorrak.exe")
CHECK = os.path.join(ROOT, "build", "native", "vorcheck")


def known_numbers():
    """The creatures, trainers and moves the game will find, read by the game's own reader."""
    out = subprocess.run([CHECK, "--json", "--all", DATA + "/"], capture_output=True, text=True)
    if out.returncode == 2:
        sys.exit(f"play: the data can't be read: {out.stderr.strip()}")
    doc = json.loads(out.stdout)
    return {kind: [r["number"] for r in doc[kind]] for kind in ("creatures", "trainers", "moves")}


def numbers(text):
    values = [int(v) for v in text.split(",")]
    if len(values) != 3:
        raise argparse.ArgumentTypeError("give three move numbers, e.g. 1,2,3")
    return values


def options():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0],
                                epilog="tools/play.sh --web [PORT] serves the web page instead.")
    p.add_argument("--you", type=int, help="your creature's number")
    p.add_argument("--opp", type=int, help="the opponent's creature's number")
    p.add_argument("--trainer-you", type=int, help="your trainer's number")
    p.add_argument("--trainer-opp", type=int, help="the opponent trainer's number")
    p.add_argument("--moves", type=numbers, help="your three moves, e.g. 1,2,3")
    p.add_argument("--opp-moves", type=numbers, help="the opponent's three moves")
    p.add_argument("--skip", action="store_true", help="leave out the opening scene")
    p.add_argument("--record", metavar="DIR", help="record a scripted duel into DIR even with a display")
    return p.parse_args()


def match(args):
    known = known_numbers()
    creatures, trainers, moves = known["creatures"], known["trainers"], known["moves"]
    you = args.you if args.you is not None else random.choice(creatures)
    opp = args.opp if args.opp is not None else random.choice([c for c in creatures if c != you] or creatures)
    ty = args.trainer_you if args.trainer_you is not None else random.choice(trainers)
    to = args.trainer_opp if args.trainer_opp is not None else random.choice(
        [t for t in trainers if t != ty] or trainers)
    mine = args.moves or random.sample(moves, 3)
    theirs = args.opp_moves or random.sample(moves, 3)
    return dict(You=you, Opp=opp, TrainerYou=ty, TrainerOpp=to, Move1=mine[0], Move2=mine[1],
                Move3=mine[2], OppMove1=theirs[0], OppMove2=theirs[1], OppMove3=theirs[2])


def write_settings(values):
    values = dict(values, Path="Z:" + DATA.replace("/", "\\") + "\\")
    with open(os.path.join(PREFIX, "drive_c", "windows", "vorrak.ini"), "w", newline="") as f:
        f.write("".join(f"{k}={v}\r\n" for k, v in values.items()))


def has_display():
    display = os.environ.get("DISPLAY")
    return bool(display) and subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0


def play(args):
    env = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH=os.environ.get("WINEARCH", "win32"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="winemenubuilder.exe=d")
    cmd = ["wine", EXE] + (["skip"] if args.skip else [])
    with open(os.path.join(os.path.dirname(PREFIX), "wine.log"), "w") as log:
        return subprocess.run(cmd, env=env, cwd=DATA, stdout=log, stderr=log).returncode


def record(args, folder):
    os.environ["VORRAK_E2E_PREFIX"] = PREFIX
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    from harness import Game
    os.makedirs(folder, exist_ok=True)
    g = Game("record", folder=os.path.join(folder, "run"))
    frames = []

    def snap():
        path = os.path.join(folder, f"frame{len(frames):03d}.png")
        g.shot().save_png(path)
        frames.append(path)

    try:
        g.start(*(["skip"] if args.skip else []), relay=False)
        g.window()
        deadline = time.time() + 6
        while time.time() < deadline and g.probe("idle", check=False, wait=0) is None:
            snap()  # the opening, while it plays
        for _ in range(40):
            if g.probe("idle", check=False, wait=10) is None:
                break
            snap()
            g.click(203, random.choice((304, 324, 344)))
            turn_end = time.time() + 2.6
            while time.time() < turn_end and g.proc.poll() is None:
                snap()
                time.sleep(0.25)
        code = g.exit_code(30)
    finally:
        g.close()
    subprocess.run(["convert", "-delay", "25", "-loop", "0"] + frames +
                   [os.path.join(folder, "duel.gif")], check=True)
    print(f"play: recorded {len(frames)} screenshots and duel.gif in {folder}")
    return code


def main():
    args = options()
    subprocess.run([os.path.join(ROOT, "tools", "wine-prefix.sh"), PREFIX], check=True)
    values = match(args)
    write_settings(values)
    print("play: " + ", ".join(f"{k}={v}" for k, v in values.items()))
    if args.record or not has_display():
        stamp = datetime.datetime.now().strftime("%Y%m%d-%H%M%S")
        return record(args, os.path.realpath(args.record or os.path.join(ROOT, "build", f"play-{stamp}")))
    return play(args)


if __name__ == "__main__":
    sys.exit(main())
