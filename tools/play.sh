#!/usr/bin/env bash
# Builds the game and plays one duel with the bundled content (options: tools/play.sh --help).
# tools/play.sh --web [PORT] builds the web page instead and serves it on 127.0.0.1.
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
for a in "$@"; do
  if [ "$a" = --help ] || [ "$a" = -h ]; then exec python3 "$root/tools/play.py" --help; fi
done
"$root/tools/build.sh" >/dev/null
if [ "${1:-}" = --web ]; then
  port=${2:-8593}
  echo "play: the duel in a browser at http://127.0.0.1:$port/ (Ctrl+C ends it)"
  if [ -n "${DISPLAY:-}" ]; then
    for b in xdg-open chromium firefox; do
      command -v $b >/dev/null && { (sleep 1; $b "http://127.0.0.1:$port/" >/dev/null 2>&1) & break; }
    done
  fi
  exec python3 -m http.server --bind 127.0.0.1 "$port" --directory "$root/build/web/page"
fi
source "$root/tools/setup.sh"
if [ "$(x86_way)" = none ]; then
  echo "play: this machine runs no 32-bit programs, not even under qemu-i386; tools/play.sh --web plays in a browser" >&2
  exit 1
fi
# Where the machine refuses 32-bit code, the game runs under qemu-i386 (tools/x86.sh).
exec "$root/tools/x86.sh" python3 "$root/tools/play.py" "$@"
