#!/usr/bin/env python3
"""Start-up and memory benchmark of the real vorrak.exe under Wine, not a test.

Start to window: from starting `wine vorrak.exe` to its window on the X screen, seen by
xdotool (which runs natively, so that no emulated helper adds its own start).
Start-up: from RegisterClassA to the first BeginPaint, read off Wine's trace of the game's own
calls, with a 100-byte master.dat and with a 1 MB one in the same run; the difference is what
the database costs (eight lookups). Memory: the game's peak working set after one round,
with the bundled data and with the 1 MB database.
"""
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("VORRAK_WIN_BUILD", os.path.join(ROOT, "build", "win"))
os.environ["VORRAK_E2E_PREFIX"] = os.path.join(BUILD, "wineprefix-bench")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402

harness.RELAYED = ["RegisterClassA", "BeginPaint", "TextOutA"]
RUNS = 7
DATA = os.path.join(ROOT, "build", "native", "data")


def small_master():
    return ("[Moves]\r\n1=Jab\r\n2=Kick\r\n3=Bite\r\n[Trainers]\r\n1=Ann\r\n[Names]\r\n"
            "001 Fluff\r\n002 Spark\r\n[Damage]\r\n1=10\r\n2=20\r\n3=30\r\n")


def big_master():
    """1 MiB: filler moves first, so every lookup reads nearly the whole file."""
    lines = ["; start-up benchmark", "[Moves]"]
    size, k = 40, 1000
    while size < (1 << 20) - 200:
        line = f"{k}=Filler move number {k}"
        lines.append(line)
        size += len(line) + 2
        k += 1
    lines += ["1=Jab", "2=Kick", "3=Bite", "[Trainers]", "1=Ann", "[Names]", "001 Fluff",
              "002 Spark", "[Damage]", "1=10", "2=20", "3=30"]
    return "\r\n".join(lines) + "\r\n"


MATCH = dict(You=1, Opp=2, TrainerYou=1, TrainerOpp=1, Move1=1, Move2=2, Move3=3,
             OppMove1=1, OppMove2=2, OppMove3=3)


def start(name, master, data_dir=None, **match):
    g = harness.Game(name)
    if master is not None:
        g.write("master.dat", master)
    g.settings(**(dict(MATCH, **match) if not data_dir else dict(match, Path=data_dir)))
    g.start("skip")
    g.window()
    g.idle()
    return g


def startup_ms(master):
    """RegisterClassA to the first BeginPaint, median of RUNS starts."""
    times = []
    for i in range(RUNS):
        g = start(f"bench_startup_{i}", master)
        try:
            calls = g.calls()
            begin = next(c.ms for c in calls if c.name == "RegisterClassA")
            paint = next(c.ms for c in calls if c.name == "BeginPaint")
            times.append(paint - begin)
        finally:
            g.close()
    return statistics.median(times), min(times), max(times)


def start_to_window_ms():
    """From the start of `wine vorrak.exe` to its window on the screen, median of RUNS."""
    times = []
    for i in range(RUNS):
        g = harness.Game(f"bench_window_{i}")
        g.write("master.dat", small_master())
        g.settings(**MATCH)
        try:
            g.start("skip", relay=False)
            env = dict(os.environ, DISPLAY=g.display.name)
            while not subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                      "^Morvit Quandor Vorrak$"], env=env,
                                     capture_output=True).stdout.strip():
                if time.time() - g.started > harness.DEADLINES["show"]:
                    raise harness.Failure("no window")
                time.sleep(0.005)
            times.append(1000 * (time.time() - g.started))
        finally:
            g.close()
    return statistics.median(times), min(times), max(times)


def peak_memory(master, data_dir=None, **match):
    """Peak working set in KiB after one round of the duel."""
    g = start("bench_memory", master, data_dir, **match)
    try:
        g.click(205, 304)
        g.idle()
        g.wait_text("Fluff used Jab!" if master else "Cindrel used Ember Snap!")
        g.idle()
        peak, _ = map(int, g.probe("memory").split())
        return peak // 1024
    finally:
        g.close()


def main():
    shown = start_to_window_ms()
    print("| Work | ms |")
    print("|---|---:|")
    print(f"| Start of `wine vorrak.exe` to its window on the screen (median of {RUNS}; range) "
          f"| {shown[0]:.0f} ({shown[1]:.0f}-{shown[2]:.0f}) |")
    print()
    small = startup_ms(small_master())
    big = startup_ms(big_master())
    print("| Work | 100-byte master.dat | 1 MB master.dat | The database's share |")
    print("|---|---:|---:|---:|")
    print(f"| Start-up, RegisterClassA to the first BeginPaint (ms, median of {RUNS}; range) "
          f"| {small[0]:.0f} ({small[1]}-{small[2]}) | {big[0]:.0f} ({big[1]}-{big[2]}) "
          f"| {big[0] - small[0]:.0f} |")
    bundled = peak_memory(None, harness.windows_path(DATA) + "\\", You=1, Opp=7, TrainerYou=1,
                          TrainerOpp=3, Move1=1, Move2=2, Move3=3, OppMove1=19, OppMove2=20,
                          OppMove3=21)
    large = peak_memory(big_master())
    print()
    print("| Peak working set after one round | KiB |")
    print("|---|---:|")
    print(f"| bundled data | {bundled} |")
    print(f"| 1 MB master.dat | {large} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
