#!/usr/bin/env bash
# Installs what the project needs on a Debian 12 machine (run as root). Idempotent:
# installs only missing packages and registers 32-bit execution only when it is missing.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

packages=(
  cmake ninja-build make
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  clang lld
  libz-mingw-w64-dev googletest nlohmann-json3-dev
  wine wine64 wine32:i386 fonts-wine fonts-font-awesome fonts-dejavu-core
  xvfb xauth x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  ka_log "installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Some virtual machines cannot run 32-bit Linux binaries natively, and the 32-bit Wine
# loader is one. There we run it through user-mode emulation registered with binfmt_misc.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  ka_log "32-bit Linux binaries do not run natively here: enabling emulation for them"
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      > /proc/sys/fs/binfmt_misc/register
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { ka_log "32-bit Wine loader still cannot run"; exit 1; }
fi
