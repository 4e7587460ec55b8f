#!/usr/bin/env bash
# Opens the help file in the viewer and checks that it shows our contents
# window and no error box.
#   HLP      path of quanhelp.hlp
#   WINEPREFIX, DISPLAY   an existing prefix and a running X server
#   OUT_DIR  optional: where help.png is saved
#   TIMEOUT  optional: seconds to wait for the window (default 60: a busy machine has
#            once taken over 20 s to start Wine's viewer)
set -u

title='Morvit Quandor Vorrak Help'
timeout=${TIMEOUT:-60}

fail() { echo "help_viewer: FAIL: $*" >&2; exit 1; }

[ -n "${HLP:-}" ] || fail "HLP is not set"
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX is not set"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set"
[ -f "$HLP" ] || fail "no help file at $HLP"
export WINEARCH=${WINEARCH:-win32} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}

# The prefix's Z: drive is the Unix root.
abs=$(realpath "$HLP")
WIN_PATH="Z:${abs//\//\\}"

log=$(mktemp)
viewer=
cleanup() {
    if [ -n "$viewer" ] && kill -0 "$viewer" 2>/dev/null; then
        kill "$viewer" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$viewer" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$viewer" 2>/dev/null
    fi
    rm -f "$log"
}
trap cleanup EXIT

# Output to a file: Wine's helper processes would keep an inherited pipe open.
wine winhlp32 "$WIN_PATH" >"$log" 2>&1 </dev/null &
viewer=$!

error_box() {
    xdotool search --name '^(ERROR|WARNING)$' 2>/dev/null | head -1
    xdotool search --name 'Error while reading' 2>/dev/null | head -1
}
check_no_error_box() {
    [ -z "$(error_box)" ] || fail "the viewer shows an error box (file rejected or not found)"
    kill -0 "$viewer" 2>/dev/null || fail "the viewer ended early; its output: $(tail -5 "$log")"
}

deadline=$((SECONDS + timeout))
window=
while [ -z "$window" ]; do
    check_no_error_box
    [ $SECONDS -lt $deadline ] ||
        fail "no window named '$title' within ${timeout}s; the viewer's output: $(tail -5 "$log")"
    window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
    [ -n "$window" ] || sleep 0.2
done

# A box may still follow the window; watch for a moment before the picture.
settle=$((SECONDS + 2))
while [ $SECONDS -lt $settle ]; do
    check_no_error_box
    sleep 0.2
done

if [ -n "${OUT_DIR:-}" ]; then
    mkdir -p "$OUT_DIR"
    import -display "$DISPLAY" -window root -depth 8 "$OUT_DIR/help.png" ||
        fail "screenshot failed"
fi
echo "help_viewer: ok: '$title' shown for $WIN_PATH"
exit 0
