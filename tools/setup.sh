#!/usr/bin/env bash
# Installs what building, playing and testing need, only when it is missing.
set -euo pipefail

packages=(cmake make ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  libgtest-dev python3 nsis zip unzip)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || sudo_ dpkg --add-architecture i386
sudo_ apt-get update -qq
sudo_ apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
