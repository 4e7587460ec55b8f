#!/usr/bin/env bash
# Runs a Windows test program under Wine in the prefix beside it (made on first use).
# Wine's helper processes would keep a caller's pipes open, so its output goes through a file.
# A start that says nothing by the helpers' deadline (under an emulator, about one in a
# hundred hangs at its start) is tried once more, and noted in VORRAK_RETRY_LOG.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
exe=$(realpath "$1"); shift
prefix=${VORRAK_PREFIX:-$(dirname "$exe")/wineprefix}
"$here/wine-prefix.sh" "$prefix" || { echo "wine-run: can't make the prefix $prefix" >&2; exit 1; }
export WINEPREFIX="$prefix" WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
deadline=$(sed -nE 's/^ *"helper": ([0-9]+).*/\1/p' "$here/../tests/deadlines.py")
out=$(mktemp)
for attempt in 1 2; do
  wine "$exe" "$@" >"$out" 2>&1 </dev/null &
  pid=$!
  for _ in $(seq $((deadline * 10))); do
    [ -s "$out" ] || ! kill -0 $pid 2>/dev/null && break
    sleep 0.1
  done
  [ -s "$out" ] || ! kill -0 $pid 2>/dev/null && break
  kill -9 $pid 2>/dev/null
  wait $pid 2>/dev/null
  said="$(basename "$exe") said nothing within $deadline s"
  [ $attempt = 2 ] && { echo "wine-run: $said, twice" >&2; rm -f "$out"; exit 1; }
  echo "${VORRAK_TEST:-wine-run}: $said" >>"${VORRAK_RETRY_LOG:-/dev/null}"
done
wait $pid
status=$?
cat "$out"
rm -f "$out"
exit $status
