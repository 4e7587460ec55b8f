#!/usr/bin/env bash
# Runs a command where 32-bit x86 programs run: tools/x86.sh COMMAND [ARGS...]
# Where the machine runs them itself, the command runs as it is. Where the machine refuses
# 32-bit code, it runs in a user and mount namespace of its own, whose binfmt_misc hands
# 32-bit programs to qemu-i386 (tools/setup.sh fetches it); outside that namespace nothing
# changes. Wine's prefixes are then 64-bit, so that Wine's own services run natively and
# only our programs run under the emulator.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
qemu=$(realpath -m "$here/../build/qemu/qemu-i386")

if [ "${1:-}" = --inside ]; then
  shift
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # i386 executables and shared objects; F opens the emulator now, P keeps argv[0].
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':qemu-i386:M::%s:%s:%s:FP\n' "$magic" "$mask" "$qemu" >/proc/sys/fs/binfmt_misc/register
  export VORRAK_X86=emulated WINEARCH=win64
  exec "$@"
fi
if [ -n "${VORRAK_X86:-}" ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
  exec "$@"
fi
[ -x "$qemu" ] || { echo "x86.sh: $qemu is missing: tools/setup.sh fetches it" >&2; exit 127; }
exec unshare --user --map-root-user --mount "$0" --inside "$@"
