#!/usr/bin/env bash
# Runs every fuzzer longer than the tests do: tools/fuzz.sh [seconds per fuzzer, default 300]
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
seconds=${1:-300}
"$root/tools/build.sh" >/dev/null
cd "$root/build/native"
for f in fuzz_*; do
  [ -x "$f" ] || continue
  name=${f#fuzz_}
  mkdir -p "fuzz-corpus/$name"
  seeds="$root/tests/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds=
  echo "== $f for $seconds s"
  "./$f" -max_total_time="$seconds" -rss_limit_mb=2048 "fuzz-corpus/$name" $seeds 2>&1 | tail -3
done
