#!/usr/bin/env bash
# Installs what building, playing and testing need, only when it is missing.
# Sourced, it only defines install_packages, which every script that installs goes through,
# and x86_way.

packages=(cmake make ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  libgtest-dev python3 nsis zip unzip emscripten faketime)
# The browser tests' own: a real browser and its driver, and from npm the accessibility
# checker they run over the page (into build/npm, by install_npm).
browser_packages=(chromium chromium-driver python3-selenium)
test_npm_packages=(axe-core@4.14.1)
# The benchmarks' own, into build/npm-bench: the web's auditor, run with Debian's Chromium.
bench_npm_packages=(lighthouse@12.8.2)

# Where the machine refuses 32-bit code, Debian's 32-bit Wine loader runs under qemu-i386,
# registered only inside a namespace of tools/x86.sh's own; wine64 runs the prefix's own
# services natively.
setup_root=$(realpath "$(dirname "${BASH_SOURCE[0]}")/..")
qemu="$setup_root/build/qemu/qemu-i386"

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

# install_npm FOLDER PACKAGE@VERSION...: npm packages at those versions into FOLDER (under
# build/), never globally; npm itself from Debian where the machine has none.
install_npm() {
  local dir=$1 p missing=()
  shift
  for p in "$@"; do
    [ "$(node -p "require(require('path').resolve('$dir/node_modules/${p%@*}/package.json')).version" 2>/dev/null)" = "${p##*@}" ] ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  command -v npm >/dev/null || install_packages npm || return
  echo "setup: installing ${missing[*]} from npm into $dir"
  mkdir -p "$dir" && npm install --prefix "$dir" --no-audit --no-fund --loglevel=error "${missing[@]}" >/dev/null
}

# fetch_qemu: puts qemu-i386 into build/qemu, from qemu 10 of bookworm-backports (bookworm's
# own 7.2 spins forever at Wine's start), through an apt configuration of its own: nothing
# under /etc/apt changes and nothing is installed.
fetch_qemu() {
  [ -x "$qemu" ] && return 0
  local dir apt
  dir=$(dirname "$qemu")
  apt="$dir/apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$apt/prefs"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
    "http://deb.debian.org/debian bookworm-backports main" >"$apt/sources.list"
  cat >"$apt/apt.conf" <<EOF
Dir::Etc::SourceList "$apt/sources.list";
Dir::Etc::SourceParts "$apt/parts";
Dir::Etc::Preferences "$apt/preferences";
Dir::Etc::PreferencesParts "$apt/prefs";
Dir::State::Lists "$apt/lists";
Dir::Cache "$apt/cache";
APT::Architectures { "amd64"; };
APT::Sandbox::User "root";
EOF
  (
    export APT_CONFIG="$apt/apt.conf"
    cd "$dir" &&
      apt-get update -qq &&
      apt-get download -qq qemu-user/bookworm-backports &&
      dpkg-deb --fsys-tarfile qemu-user_*.deb | tar -xO ./usr/bin/qemu-i386 >"$qemu.part" &&
      chmod +x "$qemu.part" && mv "$qemu.part" "$qemu" && rm -f qemu-user_*.deb
  ) >"$dir/fetch.log" 2>&1
}

# x86_way: how this machine runs 32-bit x86 programs, Wine's own loader among them:
# "native", "emulated" (through tools/x86.sh) or "none".
x86_way() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo native
  elif [ -x "$qemu" ] && "$setup_root/tools/x86.sh" /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo emulated
  else
    echo none
  fi
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  set -euo pipefail
  install_packages "${packages[@]}"
  if [ "$(x86_way)" = none ]; then
    fetch_qemu || true
    [ "$(x86_way)" = emulated ] ||
      echo "setup: this machine runs no 32-bit programs, not even under qemu-i386 in a namespace of its own: the tests under Wine are skipped (build/qemu/fetch.log)"
  fi
fi
