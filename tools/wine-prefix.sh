#!/usr/bin/env bash
# Makes a Wine prefix once, set up for headless runs: wine-prefix.sh PREFIX
# The first is booted into build/wineprefix-base-$WINEARCH (half a minute, more where Wine
# runs under an emulator); every prefix is a copy of that one.
set -euo pipefail
prefix=$(realpath -m "$1")
base=$(realpath -m "$(dirname "$0")/../build/wineprefix-base-${WINEARCH:-win32}")
export WINEPREFIX="$base" WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d

boot() {
  rm -rf "$base"
  wine wineboot --init >"$base.log" 2>&1 </dev/null
  wineserver -w
  reg() { wine reg add "$@" /f >>"$base.log" 2>&1 </dev/null; }
  # Without a window manager, Wine draws its own frames; and a crash must not wait on a dialog.
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  # Debian's Wine finds its own fonts only inside the prefix.
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/* "$base/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  wineserver -w
  touch "$base/.vorrak-ready"
}

mkdir -p "$(dirname "$base")" "$(dirname "$prefix")"
exec 8>"$base.lock"
flock 8
[ -f "$base/.vorrak-ready" ] || boot
flock -u 8
[ "$prefix" = "$base" ] && exit 0

exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.vorrak-ready" ] && exit 0
rm -rf "$prefix"
cp -a "$base" "$prefix"
