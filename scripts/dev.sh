#!/usr/bin/env bash
# The developer's loop beside the full test command: a private build tree, Wine prefix and
# X display per name, so that several people (or several checkouts' worth of work) can build
# and run programs on one machine without taking each other's windows, focus or pointer.
#
#   scripts/dev.sh build <name> <i686|x86_64|clang-x86_64> [targets...]  configure, build
#   scripts/dev.sh run   <name> <i686|x86_64> <program> [args]  run a program of that tree
#   scripts/dev.sh stop  <name>                                stop the name's display
#
# <program> is a path inside the tree (tests/lib/kaLottie/lib_lottie.exe) or an absolute
# path. The tree is build/dev-<name>-<arch>; the prefix build/dev-<name>-prefix is a copy of
# the project prefix when that exists (made by scripts/test.sh), else made afresh.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

cmd="${1:-}"; name="${2:-}"
[ -n "$cmd" ] && [ -n "$name" ] || { sed -n '6,8p' "$0" >&2; exit 2; }
case "$name" in *[!A-Za-z0-9_-]*) echo "name: letters, digits, - and _ only" >&2; exit 2 ;; esac
display_file="$KA_ROOT/build/dev-$name.display"
prefix="$KA_ROOT/build/dev-$name-prefix"

dev_display() { # prints the name's display, starting it when it is not running
  local d=""
  [ -f "$display_file" ] && d=$(cat "$display_file")
  if [ -n "$d" ] && DISPLAY="$d" xdpyinfo >/dev/null 2>&1; then echo "$d"; return; fi
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  setsid nohup Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  for _ in $(seq 1 50); do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  mkdir -p "$KA_ROOT/build"
  echo ":$n" >"$display_file"
  echo ":$n"
}

dev_prefix() {
  if [ ! -f "$prefix/.ka-prefix-ready" ] && [ -f "$KA_PREFIX/.ka-prefix-ready" ]; then
    WINEPREFIX="$KA_PREFIX" wineserver -w 2>/dev/null || true
    rm -rf "$prefix"; cp -a "$KA_PREFIX" "$prefix"
  fi
  # Also for a ready prefix: it brings older prefixes up to date (it is quick when ready).
  "$KA_ROOT/scripts/wine-prefix.sh" "$prefix"
}

case "$cmd" in
  build)
    arch="${3:?arch}"; shift 3
    tree="$KA_ROOT/build/dev-$name-$arch"
    if [ ! -f "$tree/build.ninja" ]; then
      launcher=()
      command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
      toolchain="$KA_ROOT/cmake/toolchain-mingw-$arch.cmake"
      [ "$arch" = clang-x86_64 ] && toolchain="$KA_ROOT/cmake/toolchain-clang-mingw-x86_64.cmake"
      cmake -S "$KA_ROOT" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKA_WERROR=ON -DKA_WINEPREFIX="$prefix" "${launcher[@]}" >/dev/null
    fi
    if [ $# -gt 0 ]; then cmake --build "$tree" -j "$(nproc)" --target "$@"; else cmake --build "$tree" -j "$(nproc)"; fi
    ;;
  run)
    arch="${3:?arch}"; program="${4:?program}"; shift 4
    tree="$KA_ROOT/build/dev-$name-$arch"
    case "$program" in /*) ;; *) program="$tree/$program" ;; esac
    dev_prefix
    DISPLAY="$(dev_display)" exec "$tree/wine-run" "$program" "$@"
    ;;
  stop)
    [ -f "$display_file" ] || exit 0
    d=$(cat "$display_file"); pkill -f "Xvfb $d " 2>/dev/null || true; rm -f "$display_file"
    ;;
  *) sed -n '6,8p' "$0" >&2; exit 2 ;;
esac
