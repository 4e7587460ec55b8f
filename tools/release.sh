#!/usr/bin/env bash
# Builds every release artifact into build/release: the installer, the portable zip, and
# the folder both are made from. tools/release.sh [--no-build]
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
cd "$root"
[ "${1:-}" = --no-build ] || "$root/tools/build.sh" >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win/CMakeCache.txt)
[ -n "$version" ] || { echo "release: no project version in build/win" >&2; exit 1; }
out=build/release
stage=$out/vorrak-$version
rm -rf "$out"
mkdir -p "$stage/data"

crlf() { sed -e "s/@VERSION@/$version/g" -e 's/\r*$/\r/' "$1"; }
cp build/win/vorrak.exe build/win/vorcheck.exe build/win/vormatch.exe "$stage/"
cp build/native/data/* "$stage/data/"
cp build/native/help/quanhelp.html "$stage/"
crlf release/readme.txt.in >"$stage/readme.txt"
crlf release/vorrak.ini.in >"$stage/vorrak.ini"

# The data folder's files, listed once for the installer and the uninstaller alike.
{
  echo '!macro DATA_FILES DO'
  for f in "$stage"/data/*; do echo "  !insertmacro \${DO} \"$(basename "$f")\""; done
  echo '!macroend'
} >"$out/data.nsh"

(cd "$out" && rm -f "vorrak-$version-win32.zip" && zip -qrX "vorrak-$version-win32.zip" "vorrak-$version")

# The web page: one folder that plays from a disk or from any static server.
web=$out/vorrak-$version-web
mkdir -p "$web"
cp build/web/page/* "$web/"
(cd "$out" && zip -qrX "vorrak-$version-web.zip" "vorrak-$version-web")
makensis -V2 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DDATA_LIST="$(realpath "$out/data.nsh")" \
  -DICON="$(realpath build/win/res/vorrak.ico)" -DOUTFILE="$(realpath "$out")/vorrak-$version-setup.exe" \
  release/vorrak.nsi >"$out/makensis.log" || { cat "$out/makensis.log" >&2; exit 1; }

echo "release: $out/vorrak-$version-setup.exe"
echo "release: $out/vorrak-$version-win32.zip"
echo "release: $out/vorrak-$version-web.zip"
