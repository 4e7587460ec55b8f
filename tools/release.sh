#!/usr/bin/env bash
# Builds every release artifact into build/release: the installer, the portable zip, the
# folder both are made from, the web zip, and their SHA256SUMS. tools/release.sh [--no-build]
# The same commit gives the same bytes: every time stamp is the last commit's.
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
cd "$root"
[ "${1:-}" = --no-build ] || "$root/tools/build.sh" >/dev/null

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win/CMakeCache.txt)
[ -n "$version" ] || { echo "release: no project version in build/win" >&2; exit 1; }
out=build/release
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
stage=$out/vorrak-$version
rm -rf "$out"
mkdir -p "$stage/data"

crlf() { sed -e "s/@VERSION@/$version/g" -e 's/\r*$/\r/' "$1"; }
cp build/win/vorrak.exe build/win/vorcheck.exe build/win/vormatch.exe build/win/vordata.exe "$stage/"
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

# The web page: one folder that plays from a disk or from any static server.
web=$out/vorrak-$version-web
mkdir -p "$web"
cp build/web/page/* "$web/"

# What goes into the zips and the installer: plain permissions, the commit's time; the zips
# list the files in name order, without directory entries or extra fields.
pack() {  # pack <folder> <zip>
  chmod -R u=rwX,go=rX "$1"
  find "$1" -exec touch -h -d "@$epoch" {} +
  (cd "$out" && find "$(basename "$1")" -type f | LC_ALL=C sort | TZ=UTC zip -qXD "$2" -@)
}
pack "$stage" "vorrak-$version-win32.zip"
pack "$web" "vorrak-$version-web.zip"
makensis -V2 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DDATA_LIST="$(realpath "$out/data.nsh")" \
  -DICON="$(realpath build/win/res/vorrak.ico)" -DOUTFILE="$(realpath "$out")/vorrak-$version-setup.exe" \
  release/vorrak.nsi >"$out/makensis.log" || { cat "$out/makensis.log" >&2; exit 1; }

(cd "$out" && sha256sum "vorrak-$version-setup.exe" "vorrak-$version-win32.zip" "vorrak-$version-web.zip" >SHA256SUMS)

echo "release: $out/vorrak-$version-setup.exe"
echo "release: $out/vorrak-$version-win32.zip"
echo "release: $out/vorrak-$version-web.zip"
echo "release: $out/SHA256SUMS"
