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
# The unit tests under Wine, the other Windows tests, then the end-to-end tests.
wine_tests() {  # wine_tests <unit test build> <program build> <ctest arguments for the latter...>
  local units=$1 programs=$2
  shift 2
  "$root/tools/wine-prefix.sh" "$units/wineprefix"
  # A persistent server, so that parallel tests never meet one that is shutting down.
  WINEPREFIX="$root/$units/wineprefix" wineserver -p
  run "$units" -j2
  WINEPREFIX="$root/$units/wineprefix" wineserver -k
  run "$programs" "$@"
}
if runs_32bit; then
  wine_tests build/wintest build/win -j2 -LE e2e
  run build/win -L e2e
else
  # The 64-bit build of the same sources under 64-bit Wine; what only the 32-bit build
  # can show, the installer and the zip, is skipped.
  echo "test: this machine can't run 32-bit programs: the tests under Wine run the 64-bit" \
    "build under 64-bit Wine; the installer and zip tests are skipped"
  export PATH="$root/tools/wine64:$PATH" WINEARCH=win64
  run build/win -j2 -LE wine
  wine_tests build/win64test build/win64 -L wine -E '^release\.'
  skipped=$(count build/win -L wine -R '^release\.')
fi

echo "Summary: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
