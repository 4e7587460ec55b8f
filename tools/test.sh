#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests and fuzzers, the web page in
# headless Chromium, the unit tests under Wine, the release checks, and the end-to-end
# tests of the real programs.
# Ends with "Summary: N passed, N failed, N skipped, N starts retried".
# tools/test.sh --busy runs the tests while a load keeps every core busy, as on a shared
# machine: a test that fails only then has a fault of its own.
set -uo pipefail
root=$(realpath "$(dirname "$0")/..")
cd "$root"
busy=false
[ "${1:-}" = --busy ] && busy=true
"$root/tools/build.sh" || { echo "Summary: 0 passed, 1 failed, 0 skipped, 0 starts retried"; exit 1; }
"$root/tools/release.sh" --no-build || { echo "Summary: 0 passed, 1 failed, 0 skipped, 0 starts retried"; exit 1; }
source "$root/tools/setup.sh"

passed=0 failed=0 skipped=0
if $busy; then
  install_packages stress-ng >/dev/null || true
  if command -v stress-ng >/dev/null; then
    stress-ng --cpu "$(nproc)" --quiet &
  else
    for _ in $(seq "$(nproc)"); do (while :; do :; done) & done
  fi
  trap 'kill $(jobs -p) 2>/dev/null' EXIT
  echo "test: every core is kept busy while the tests run"
fi
# How long each wait took, by kind (tests/deadlines.py): the slowest are told at the end.
export VORRAK_WAIT_LOG="$root/build/waits.log"
: >"$VORRAK_WAIT_LOG"
# A start under Wine that showed nothing by its deadline is tried once more; each such
# retry is a line here (tests/e2e/harness.py).
export VORRAK_RETRY_LOG="$root/build/retries.log"
: >"$VORRAK_RETRY_LOG"
x86=()  # what the tests under Wine run through
run() {  # run <build dir> <ctest arguments...>
  local dir=$1 log
  shift
  log=$(mktemp)
  (cd "$dir" && "${x86[@]}" ctest --output-on-failure "$@") 2>&1 | tee "$log"
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    grep -q "No tests were found" "$log" || failed=$((failed + 1))
  else
    local total bad
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
}
count() {  # count <build dir> <ctest arguments...>: how many tests those are
  (cd "$1" && shift && ctest -N "$@") | sed -nE 's/^Total Tests: ([0-9]+)/\1/p'
}

run build/native -j2
{ install_packages "${browser_packages[@]}" && install_npm build/npm "${test_npm_packages[@]}"; } ||
  { echo "Summary: $passed passed, $((failed + 1)) failed, 0 skipped, 0 starts retried"; exit 1; }
run build/web -j2
# The unit tests under Wine, the other Windows tests, then the end-to-end tests.
wine_tests() {  # wine_tests <unit test build> <program build> <ctest arguments for the latter...>
  local units=$1 programs=$2
  shift 2
  "${x86[@]}" "$root/tools/wine-prefix.sh" "$units/wineprefix"
  # A persistent server, so that parallel tests never meet one that is shutting down.
  WINEPREFIX="$root/$units/wineprefix" wineserver -p
  run "$units" -j2
  WINEPREFIX="$root/$units/wineprefix" wineserver -k
  run "$programs" "$@"
}
way=$(x86_way)
if [ "$way" = none ]; then
  echo "test: this machine runs no 32-bit programs, not even under qemu-i386: the tests under Wine are skipped"
  run build/win -j2 -LE wine
  skipped=$(($(count build/win -L wine) + 1))  # and build/wintest's unit tests, as one
else
  # Where the machine refuses 32-bit code, they run under qemu-i386 in a namespace of their own.
  [ "$way" = emulated ] && echo "test: this machine refuses 32-bit code: the programs under Wine run under qemu-i386"
  x86=("$root/tools/x86.sh")
  wine_tests build/wintest build/win -j2 -LE e2e
  run build/win -L e2e
fi

awk '$2 > top[$1] { top[$1] = $2; test[$1] = $3 }
  END { for (k in top) line = line (line ? ", " : "") k " " top[k] " s (" test[k] ")";
        if (line) print "Slowest waits: " line }' "$VORRAK_WAIT_LOG"
retried=$(wc -l <"$VORRAK_RETRY_LOG")
echo "Summary: $passed passed, $failed failed, $skipped skipped, $retried starts retried"
[ "$failed" -eq 0 ]
