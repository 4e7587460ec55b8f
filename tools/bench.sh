#!/usr/bin/env bash
# Runs the benchmarks and prints one table: the drawing and the pauses under Wine in a
# virtual display (build/win), the database lookups natively without sanitizers (build/bench).
set -euo pipefail
root=$(dirname "$(realpath "$0")")/..
cd "$root"
"$root/tools/setup.sh"
source "$root/tools/setup.sh"

# Where the machine refuses 32-bit code, the programs under Wine run under qemu-i386: their
# timings are then the emulator's (tools/x86.sh).
win=build/win
if [ "$(x86_way)" = none ]; then
  echo "bench: this machine runs no 32-bit programs, not even under qemu-i386" >&2
  exit 1
fi
[ "${VORRAK_X86:-}" ] || [ "$(x86_way)" = native ] || exec "$root/tools/x86.sh" "$0" "$@"
if [ ! -f $win/build.ninja ]; then
  cmake -S . -B $win -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
fi
cmake --build $win --target bench_draw vorrak probe >/dev/null
# Its own folder: the sanitizers of build/native would distort the timings.
if [ ! -f build/bench/build.ninja ]; then
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORRAK_SANITIZE=OFF >/dev/null
fi
cmake --build build/bench --target bench_lookup >/dev/null

display=77
while [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done

# Not through tools/wine-run.sh, which takes a long silence for a start that hung.
tools/wine-prefix.sh $win/wineprefix
out=$(mktemp)
DISPLAY=:$display WINEPREFIX="$root/$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d \
  wine $win/bench_draw.exe >"$out" 2>&1 </dev/null || { echo "bench: bench_draw failed: $(cat "$out")" >&2; exit 1; }
draw=$(cat "$out")
rm -f "$out"
# Wine's helpers of this run go before their display does.
WINEPREFIX="$root/$win/wineprefix" timeout 30 wineserver -w || true
lookup=$(build/bench/bench_lookup) || { echo "bench: bench_lookup failed" >&2; exit 1; }
# The web page in headless Chromium: it needs the native build's data and help.
install_packages "${browser_packages[@]}"
"$root/tools/build.sh" >/dev/null
web=$(/usr/bin/python3 tests/bench/bench_web.py) || { echo "bench: bench_web failed" >&2; exit 1; }
install_npm build/npm-bench "${bench_npm_packages[@]}"
lighthouse=$(/usr/bin/python3 tests/bench/bench_lighthouse.py) || { echo "bench: bench_lighthouse failed" >&2; exit 1; }

printf '%s\n\n%s\n\n%s\n\n%s\n' "$draw" "$lookup" "$web" "$lighthouse" | tr -d '\r'
echo
# Start-up with a tiny and a large database, and the game's peak working set.
VORRAK_WIN_BUILD="$root/$win" python3 tests/bench/bench_startup.py
echo
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo "Machine: $(nproc) cores, $cpu; $(uname -sr); $(wine --version)${VORRAK_X86:+, 32-bit programs under qemu-i386}"
