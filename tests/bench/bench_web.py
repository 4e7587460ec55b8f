#!/usr/bin/python3
"""Web page benchmark in headless Chromium on 127.0.0.1, not a test: what a player's and an
author's visit fetch, how soon the page shows the duel screen against a page that draws the
same frames and bars in an inline script, and where that time goes, a repaint, the longest
task, the CPU of a pause, how long the page's checker takes over an author's files, and how
soon the studio shows an edit's findings and screen."""
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "web"))
from run import MATCH, PAGE, Browser, Site, data_set, give, open_studio  # noqa: E402
from serve import serve  # noqa: E402

RUNS = 15
# The duel screen's frames and bars, as its first painting has them, drawn by an inline script.
INLINE = """<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>Frames and bars</title></head>
<body><canvas id="screen" width="593" height="433"></canvas><script>
const c = document.getElementById("screen").getContext("2d");
c.fillStyle = "#fff"; c.fillRect(0, 0, 593, 433); c.strokeStyle = "#000";
for (const [l, t, r, b] of [[450, 25, 552, 35], [405, 40, 552, 180], [10, 265, 112, 275], [10, 280, 157, 420]])
  c.strokeRect(l + 0.5, t + 0.5, r - l - 1, b - t - 1);
c.fillStyle = "#0f0"; c.fillRect(451, 26, 100, 8); c.fillRect(11, 266, 100, 8);
performance.mark("first screen");
</script></body></html>"""
# The page's own marks, from navigation: its scripts run, the engine's code compiled, the
# engine started (an instance, its runtime), the first screen drawn (the database read, the
# window's first painting).
MARKS = ["scripts", "compiled", "engine", "first screen"]


def gzipped(names):
    total = 0
    for name in set(names):
        with open(os.path.join(PAGE, name), "rb") as f:
            total += len(gzip.compress(f.read(), 9))
    return total


# An edit in the studio to its findings and duel screen shown: a name typed (the studio waits
# for a pause in typing first), or the same edit sent at once.
EDITS = {
    "typed": """$('studioName').value = arguments[0]; $('studioName').dispatchEvent(new Event('input'));""",
    "sent": """send({edits: [{section: 'names', number: 1, text: arguments[0]}]});""",
}
SHOWN = """const t0 = performance.now(), before = $('studioScreen').src;
    const shown = new Promise((done) => new MutationObserver((_, o) => {
      if ($('studioScreen').src !== before) { o.disconnect(); done(performance.now() - t0); }
    }).observe($('studioScreen'), {attributes: true}));
    %s
    return shown;"""


def fetched(site, since):
    """The page's own files the server was asked for since then."""
    return [r.split('"GET /')[1].split()[0].split("?")[0] for r in site.requests()[since:]]


def first_screens(site, b):
    """From a disk, over http from the service worker's cache, and over http from the server:
    each time the game's page, then the inline one, each opened from a blank page, so that
    neither pays for leaving the other. The server keeps connections and compresses."""
    rows, hosted = [], serve(site.root)
    for base, bypass, where in ((f"file://{site.root}/", False, "file://"),
                                (hosted, False, "http, from the service worker's cache"),
                                (hosted, True, "http, from the server (a first visit)")):
        b.d.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": bypass})
        b.d.get(f"{base}index.html")  # once unmeasured: the worker there, if it is to be used
        b.wait("the page", lambda: b.js("return !!navigator.serviceWorker.controller || location.protocol === 'file:'"), "show")
        game, inline, marks = [], [], {m: [] for m in MARKS}
        for _ in range(RUNS):
            b.d.get("about:blank")
            b.d.get(f"{base}index.html?{MATCH}")
            game.append(b.wait("the first screen", lambda: b.js(
                "const m = performance.getEntriesByName('first screen')[0]; return m && m.startTime")))
            for m in MARKS:
                marks[m].append(b.js("return performance.getEntriesByName(arguments[0])[0].startTime", m))
            b.d.get("about:blank")
            b.d.get(f"{base}inline.html")
            inline.append(b.wait("the inline page", lambda: b.js(
                "const m = performance.getEntriesByName('first screen')[0]; return m && m.startTime")))
        rows.append((where, game, inline, {m: statistics.median(v) for m, v in marks.items()}))
    b.d.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": False})
    return rows


def main():
    site, b = Site(), Browser()
    with open(os.path.join(site.root, "inline.html"), "w") as f:
        f.write(INLINE)
    try:
        # A player's first visit over http, then an author's files: what the server was asked for.
        b.d.get(site.url("http"))
        b.wait("the files kept", lambda: b.js("return !!navigator.serviceWorker.controller"), "show")
        player = fetched(site, 0)
        with tempfile.TemporaryDirectory() as folder:
            data_set(folder, "bundled")
            asked = len(site.requests())
            give(b, folder)
            author = player + fetched(site, asked)
        # Long tasks are only seen by an observer that is there from the start.
        b.d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "window.longest = 0; window.over200 = 0; new PerformanceObserver(l => l.getEntries().forEach(e => {"
            "longest = Math.max(longest, e.duration); over200 += e.duration > 200;"
            "})).observe({type: 'longtask', buffered: true});"})
        b.d.execute_cdp_cmd("Performance.enable", {})
        screens = first_screens(site, b)
        b.d.get(site.url("http", MATCH))
        # The CPU of the opening's second pause of 1500 ms, from the browser's own counters.
        b.wait("the second pause", lambda: b.status().startswith("Old Tobrin sent out"))
        def cpu():
            m = {x["name"]: x["value"] for x in b.d.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
            return m["TaskDuration"]
        before, start = cpu(), time.time()
        time.sleep(1.0)
        pause_cpu = (cpu() - before) / (time.time() - start) * 1000
        b.ready()
        repaint = b.js("""const t0 = performance.now();
            for (let i = 0; i < 200; i++) session.engine._web_repaint();
            return (performance.now() - t0) / 200;""")
        for k in "1231":
            b.wait("the turn", lambda: not b.js("return session.busy"))
            b.key(k)
            time.sleep(0.2)
        b.wait("the turns", lambda: not b.js("return session.busy"))
        longest = b.js("return longest")
        # An author's folder: the bundled data, then 20 MB of random bytes as master.dat.
        b.d.get(site.url("http"))
        b.wait("the chooser", lambda: b.visible("chooser"))
        checks = []
        with tempfile.TemporaryDirectory() as folder:
            data_set(folder, "bundled")
            for garbage in (False, True):
                if garbage:
                    with open(os.path.join(folder, "master.dat"), "wb") as f:
                        f.write(os.urandom(20 << 20))
                b.js("longest = over200 = 0")
                start = time.time()
                give(b, folder)
                checks.append(((time.time() - start) * 1000, b.js("return longest"), b.js("return over200")))
        # The studio, on the bundled data, creature 1's form.
        open_studio(b, site)
        b.js("$('studio-creatures').value = 1; $('studio-creatures').dispatchEvent(new Event('change'))")
        edits = {how: [] for how in EDITS}
        for i in range(40):
            how = list(EDITS)[i % 2]
            b.wait("the studio idle", lambda: b.js("return answers.size === 0 && typing.size === 0"))
            edits[how].append(b.js(SHOWN % EDITS[how], f"Cindrel{i}"))
    finally:
        b.close()
        site.close()
    print("| Web page | Figure |\n|---|---:|")
    print(f"| A player's first visit over http, each file gzip -9'd: {', '.join(sorted(set(player)))} | "
          f"{gzipped(player) / 1000:.0f} KB |")
    print(f"| An author's, with the checker | {gzipped(author) / 1000:.0f} KB |")
    print(f"| The studio's own script, fetched when an author opens it | {gzipped(['studio.js']) / 1000:.1f} KB |")
    for where, game, inline, marks in screens:
        print(f"| First drawn duel screen, {where}: the page, the inline page, the difference (medians of {RUNS}) | "
              f"{statistics.median(game):.0f} ms ({min(game):.0f}-{max(game):.0f}), {statistics.median(inline):.0f} ms, "
              f"{statistics.median(game) - statistics.median(inline):+.0f} ms |")
        print(f"| Where its time goes: {', '.join(MARKS)} | {', '.join(f'{marks[m]:.0f}' for m in MARKS)} ms |")
    print(f"| A full repaint of the duel screen by the engine | {repaint:.3f} ms |")
    print(f"| Longest task on the main thread during the opening and four turns | {longest:.0f} ms |")
    print(f"| Main-thread busy time while the engine pauses | {pause_cpu:.1f} ms per second |")
    for (ms, task, over), what in zip(checks, ("the bundled data", "the same with 20 MB of garbage as master.dat")):
        print(f"| The page's check of {what}: findings shown; longest main-thread task, tasks over 200 ms | "
              f"{ms:.0f} ms; {task:.0f} ms, {over} |")
    for how, times in edits.items():
        print(f"| The studio: a name {how} to its findings and screen shown (median of 20, range) | "
              f"{statistics.median(times):.0f} ms ({min(times):.0f}-{max(times):.0f}) |")


if __name__ == "__main__":
    main()
