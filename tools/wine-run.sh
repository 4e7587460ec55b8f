#!/usr/bin/env bash
# Runs a Windows test program under Wine in the prefix beside it (made on first use).
# Wine's helper processes would keep a caller's pipes open, so its output goes through a file.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
exe=$(realpath "$1"); shift
prefix=${VORRAK_PREFIX:-$(dirname "$exe")/wineprefix}
"$here/wine-prefix.sh" "$prefix" || { echo "wine-run: can't make the prefix $prefix" >&2; exit 1; }
out=$(mktemp)
WINEPREFIX="$prefix" WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d \
  wine "$exe" "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
rm -f "$out"
exit $status
