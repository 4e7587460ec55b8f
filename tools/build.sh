#!/usr/bin/env bash
# Builds everything: build/native (core, tests, fuzzers, tools, game data), build/win (the
# shipped Windows programs and the release) and build/wintest (the unit tests for Wine);
# and build/web (the web page, with Emscripten).
# tools/build.sh --release builds only what tools/release.sh packs.
set -euo pipefail
root=$(dirname "$(realpath "$0")")/..
cd "$root"
"$root/tools/setup.sh"
source "$root/tools/setup.sh"

configure() {  # configure <build dir> <cmake arguments...>
  local dir=$1
  shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}
# What we ship carries the last commit's time, not the build's (reproducible builds); the
# linker takes it from SOURCE_DATE_EPOCH, and a new one links the programs again.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
epoch_stamp() {
  [ "$(cat "$1/source-date-epoch" 2>/dev/null)" = "$SOURCE_DATE_EPOCH" ] || echo "$SOURCE_DATE_EPOCH" >"$1/source-date-epoch"
}
configure build/native -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVORRAK_SANITIZE="${VORRAK_SANITIZE:-ON}"
configure build/win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
epoch_stamp build/win
# The web page, from the same core: Debian's node needs NODE_PATH to find emcc's modules.
export NODE_PATH=/usr/share/nodejs
[ -f build/web/build.ninja ] ||
  emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
if [ "${1:-}" = --release ]; then
  cmake --build build/native --target game_data help_file
  cmake --build build/win --target vorrak vorcheck vormatch vordata
  cmake --build build/web --target vorrak_web web_page
  exit 0
fi
configure build/wintest -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DVORRAK_MINGW_THREADS=posix
cmake --build build/native
cmake --build build/win
cmake --build build/wintest
cmake --build build/web
