#!/usr/bin/env bash
# Runs every fuzzer longer than the tests do, each on both cores, and prints its runs:
# tools/fuzz.sh [seconds per fuzzer, default 300]
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
seconds=${1:-300}
"$root/tools/build.sh" >/dev/null
cd "$root/build/native"
echo "| Fuzzer | Seconds | Runs | Runs/s |"
echo "|---|---:|---:|---:|"
for f in fuzz_*; do
  [ -x "$f" ] || continue
  name=${f#fuzz_}
  mkdir -p "fuzz-corpus/$name"
  seeds="$root/tests/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds="$root/tests/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=
  start=$(date +%s.%N)
  # One fuzzer per core, sharing the corpus. Each keeps its process (fork mode would reload
  # the whole corpus for every job), and without the power schedule: its bookkeeping cost
  # a third of each run of these small parsers, whose coverage is full within seconds.
  pids=()
  for worker in 1 2; do
    # Inputs of up to 1 KiB hold several lines of over 254 characters; larger ones only slow it.
    "./$f" -entropic=0 -max_total_time="$seconds" -max_len=1024 -rss_limit_mb=2048 \
      "fuzz-corpus/$name" $seeds >"fuzz-$name-$worker.log" 2>&1 &
    pids+=($!)
  done
  runs=0
  for worker in 1 2; do
    log="fuzz-$name-$worker.log"
    if ! wait "${pids[worker - 1]}"; then
      kill "${pids[@]}" 2>/dev/null || true
      echo "fuzz: $f found a fault; see build/native/$log" >&2
      tail -30 "$log" >&2
      exit 1
    fi
    n=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
    runs=$((runs + ${n:-0}))
  done
  awk -v n="$name" -v r="$runs" -v s="$start" -v e="$(date +%s.%N)" \
    'BEGIN { printf "| %s | %.0f | %d | %.0f |\n", n, e - s, r, r / (e - s) }'
done
