#!/usr/bin/env bash
# Installs what building, playing and testing need, only when it is missing.
# Sourced, it only defines install_packages, which every script that installs goes through,
# and runs_32bit.

packages=(cmake make ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  libgtest-dev python3 nsis zip unzip emscripten faketime)
# The browser tests' own: a real browser and its driver.
browser_packages=(chromium chromium-driver python3-selenium)

# Where the machine can't run 32-bit programs, 32-bit Wine can't either: the end-to-end
# tests then run a 64-bit build of the same programs under 64-bit Wine.
wine64_packages=(wine64 g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  binutils-mingw-w64-x86-64)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# install_packages PACKAGE...: installs those not installed yet.
# A mirror in the middle of a sync can serve the security suite's index of one architecture
# out of step with its release file. Then the i386 twins of the amd64 packages, whose newest
# versions come from that suite, can't be had at the same versions, and the install fails.
# The retry pins the security suite below the main suite, for that one call only.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_ dpkg --add-architecture i386 || return
  fi
  sudo_ apt-get update -qq >/dev/null 2>&1 ||
    echo "setup: some package indexes failed to download; going on with those there are"

  local log pins status=0
  log=$(mktemp) || return
  sudo_ apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1 && { rm -f "$log"; return 0; }

  echo "setup: the install failed; trying again with the security suite pinned below the main suite"
  pins=$(mktemp -d) || return
  printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$pins/security-low"
  sudo_ apt-get -o Dir::Etc::PreferencesParts="$pins" install -y -qq --no-install-recommends \
    "${missing[@]}" >"$log" 2>&1 || status=$?
  rm -rf "$pins"
  [ "$status" -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return "$status"
}

# runs_32bit: true where the machine runs 32-bit x86 programs (Wine's own 32-bit loader).
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  set -euo pipefail
  install_packages "${packages[@]}"
  runs_32bit || install_packages "${wine64_packages[@]}"
fi
