#!/usr/bin/env bash
# Makes a 32-bit Wine prefix once and sets it up for headless runs: wine-prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.vorrak-ready" ] && exit 0

export WINEPREFIX="$prefix" WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
rm -rf "$prefix"
wine wineboot --init >"$prefix.log" 2>&1 </dev/null
wineserver -w
reg() { wine reg add "$@" /f >>"$prefix.log" 2>&1 </dev/null; }
# Without a window manager, Wine draws its own frames; and a crash must not wait on a dialog.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
# Debian's Wine finds its own fonts only inside the prefix.
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi
wineserver -w
touch "$prefix/.vorrak-ready"
