#!/usr/bin/env bash
# Builds the game and plays one duel with the bundled content (options: tools/play.sh --help).
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
for a in "$@"; do
  if [ "$a" = --help ] || [ "$a" = -h ]; then exec python3 "$root/tools/play.py" --help; fi
done
"$root/tools/build.sh" >/dev/null
exec python3 "$root/tools/play.py" "$@"
