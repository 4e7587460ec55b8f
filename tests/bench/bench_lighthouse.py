#!/usr/bin/python3
"""Lighthouse over the web page, not a test: the chooser and a duel link, with the mobile and
the desktop presets, from a server on 127.0.0.1 that compresses what it sends, as hosts do.
Prints each run's scores and the audits that did not pass."""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "web"))
from run import MATCH, PAGE, ROOT  # noqa: E402
from serve import serve  # noqa: E402

LIGHTHOUSE = os.path.join(ROOT, "build", "npm-bench", "node_modules", "lighthouse", "cli", "index.js")
CATEGORIES = ["performance", "accessibility", "best-practices", "seo"]


def audit(url, preset):
    args = ["node", LIGHTHOUSE, url, "--output=json", "--output-path=stdout", "--quiet",
            "--only-categories=" + ",".join(CATEGORIES),
            "--chrome-flags=--headless=new --no-sandbox --disable-gpu"] + (["--preset=desktop"] if preset == "desktop" else [])
    run = subprocess.run(args, capture_output=True, text=True, env=dict(os.environ, CHROME_PATH="/usr/bin/chromium"))
    if run.returncode:
        raise SystemExit(f"bench_lighthouse: lighthouse failed: {run.stderr.strip().splitlines()[-1:]}")
    report = json.loads(run.stdout)
    scores = [round(report["categories"][c]["score"] * 100) for c in CATEGORIES]
    score = lambda ref: report["audits"][ref["id"]]["score"]  # noqa: E731
    failed = sorted({ref["id"] for c in CATEGORIES for ref in report["categories"][c]["auditRefs"]
                     if ref["weight"] and score(ref) is not None and score(ref) < 1})
    metrics = {k: report["audits"][k]["displayValue"] for k in
               ("first-contentful-paint", "largest-contentful-paint", "total-blocking-time", "cumulative-layout-shift")}
    return scores, failed, metrics


def main():
    if not os.path.exists(LIGHTHOUSE):
        raise SystemExit(f"bench_lighthouse: {LIGHTHOUSE} is missing: tools/bench.sh installs it")
    base = serve(PAGE) + "index.html"
    print("| Page, preset | Performance | Accessibility | Best practices | SEO | Audits that cost points | FCP, LCP, TBT, CLS |")
    print("|---|---:|---:|---:|---:|---|---|")
    for page, url in (("chooser", base), ("duel link", f"{base}?{MATCH}")):
        for preset in ("mobile", "desktop"):
            scores, failed, metrics = audit(url, preset)
            print(f"| {page}, {preset} | " + " | ".join(map(str, scores)) +
                  f" | {', '.join(failed) or 'none'} | {', '.join(metrics.values())} |")


if __name__ == "__main__":
    main()
