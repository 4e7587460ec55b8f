#!/usr/bin/python3
"""Web page benchmark in headless Chromium on 127.0.0.1, not a test: what the page costs to
fetch, how soon it shows the duel screen, a repaint, the longest task, the CPU of a pause,
how long the page's checker takes over an author's files, and how soon the studio shows
an edit's findings and screen."""
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "web"))
from run import MATCH, PAGE, Browser, Site, data_set, give, open_studio  # noqa: E402

RUNS = 15


def packed():
    """Each file of the web folder, gzip -9'd: its size."""
    sizes = {}
    for name in sorted(os.listdir(PAGE)):
        with open(os.path.join(PAGE, name), "rb") as f:
            sizes[name] = len(gzip.compress(f.read(), 9))
    return sizes


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


def main():
    site, b = Site(), Browser()
    try:
        # Long tasks are only seen by an observer that is there from the start.
        b.d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "window.longest = 0; window.over200 = 0; new PerformanceObserver(l => l.getEntries().forEach(e => {"
            "longest = Math.max(longest, e.duration); over200 += e.duration > 200;"
            "})).observe({type: 'longtask', buffered: true});"})
        b.d.execute_cdp_cmd("Performance.enable", {})
        firsts = []
        for _ in range(RUNS):
            b.d.get(site.url("http", MATCH))
            firsts.append(b.wait("the first screen", lambda: b.js(
                "const m = performance.getEntriesByName('first screen')[0]; return m && m.startTime")))
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
        player = {e.split("/")[-1] for e in b.js("return performance.getEntriesByType('resource').map(e => e.name)")}
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
    sizes = packed()
    print("| Web page | Figure |\n|---|---:|")
    print(f"| Transfer, every file of the folder gzip -9'd | {sum(sizes.values()) / 1000:.0f} KB |")
    fetched = ", ".join(sorted(player & set(sizes)))
    print(f"| What a player's page fetched ({fetched}, and index.html), gzip -9'd | "
          f"{(sizes['index.html'] + sum(sizes[n] for n in player & set(sizes))) / 1000:.0f} KB |")
    print(f"| The studio's own script, fetched when an author opens it | {sizes['studio.js'] / 1000:.1f} KB |")
    print(f"| Navigation to the first drawn duel screen (median of {RUNS}, range) | "
          f"{statistics.median(firsts):.0f} ms ({min(firsts):.0f}-{max(firsts):.0f}) |")
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
