#!/usr/bin/env bash
# Builds both builds: build/native (core, tests, fuzzers, tools, game data) and build/win (vorrak.exe).
set -euo pipefail
root=$(dirname "$(realpath "$0")")/..
cd "$root"
"$root/tools/setup.sh"

if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build build/native

if [ ! -f build/win/build.ninja ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
fi
cmake --build build/win
