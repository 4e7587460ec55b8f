#!/usr/bin/env bash
# Builds everything: build/native (core, tests, fuzzers, tools, game data), build/win (the
# shipped Windows programs and the release) and build/wintest (the unit tests for Wine);
# build/web (the web page, with Emscripten); where the machine can't run 32-bit programs,
# also build/win64 and build/win64test (the same programs and unit tests, 64-bit).
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
configure build/native -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
configure build/win -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
configure build/wintest -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DVORRAK_MINGW_THREADS=posix
cmake --build build/native
cmake --build build/win
cmake --build build/wintest
# The web page, from the same core: Debian's node needs NODE_PATH to find emcc's modules.
[ -f build/web/build.ninja ] ||
  NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build build/web
if ! runs_32bit; then
  configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
  configure build/win64test -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DVORRAK_MINGW_THREADS=posix
  cmake --build build/win64 --target vorrak probe vormatch vorcheck
  cmake --build build/win64test
fi
