#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests and fuzzers, the unit tests
# under Wine, the release checks, and the end-to-end tests of the real programs.
# Ends with "N passed, N failed".
set -uo pipefail
root=$(realpath "$(dirname "$0")/..")
cd "$root"
"$root/tools/build.sh" || { echo "Summary: 0 passed, 1 failed"; exit 1; }
"$root/tools/release.sh" --no-build || { echo "Summary: 0 passed, 1 failed"; exit 1; }
"$root/tools/wine-prefix.sh" build/wintest/wineprefix

passed=0 failed=0
run() {  # run <build dir> <ctest arguments...>
  local dir=$1 log
  shift
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure "$@") 2>&1 | tee "$log"
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

run build/native -j2
# A persistent server, so that parallel tests never meet one that is shutting down.
WINEPREFIX="$root/build/wintest/wineprefix" wineserver -p
run build/wintest -j2
WINEPREFIX="$root/build/wintest/wineprefix" wineserver -k
run build/win -j2 -LE e2e
run build/win -L e2e

echo "Summary: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
