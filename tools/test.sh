#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests and fuzzers, the web page in
# headless Chromium, the unit tests under Wine, the release checks, and the end-to-end
# tests of the real programs.
# Ends with "N passed, N failed" (and ", N skipped" where the machine can't run some).
set -uo pipefail
root=$(realpath "$(dirname "$0")/..")
cd "$root"
"$root/tools/build.sh" || { echo "Summary: 0 passed, 1 failed"; exit 1; }
"$root/tools/release.sh" --no-build || { echo "Summary: 0 passed, 1 failed"; exit 1; }
source "$root/tools/setup.sh"

passed=0 failed=0 skipped=0
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
count() {  # count <build dir> <ctest arguments...>: how many tests those are
  (cd "$1" && shift && ctest -N "$@") | sed -nE 's/^Total Tests: ([0-9]+)/\1/p'
}

run build/native -j2
install_packages "${browser_packages[@]}" || { echo "Summary: $passed passed, $((failed + 1)) failed"; exit 1; }
run build/web -j2
if runs_32bit; then
  "$root/tools/wine-prefix.sh" build/wintest/wineprefix
  # A persistent server, so that parallel tests never meet one that is shutting down.
  WINEPREFIX="$root/build/wintest/wineprefix" wineserver -p
  run build/wintest -j2
  WINEPREFIX="$root/build/wintest/wineprefix" wineserver -k
  run build/win -j2 -LE e2e
  run build/win -L e2e
else
  # The end-to-end tests of the programs run on their 64-bit build; what only the 32-bit
  # build can show (the unit tests under Wine, the installer, the checker's exe) is skipped.
  echo "test: this machine can't run 32-bit programs: the end-to-end tests run the 64-bit" \
    "build under 64-bit Wine; the unit tests under Wine, the installer and zip tests and" \
    "the checker's Windows exe are skipped"
  run build/win -j2 -LE wine
  run build/win64 -L wine -E '^(release|check)\.'
  skipped=$(( $(count build/win -L wine -R '^(release|check)\.') + $(count build/native -R '^unit\.') ))
fi

echo "Summary: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
