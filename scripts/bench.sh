#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and prints their figures.
# Usage: scripts/bench.sh [--arch i686|x86_64]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arch=i686
[[ "${1:-}" == "--arch" ]] && arch="${2:?}"
preset="mingw-${arch}"

bash "$KA_ROOT/scripts/setup-host.sh"
ka_configure_build "$preset"

bash "$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
ka_ensure_display
loader=/usr/lib/wine/wine; [[ "$arch" == "x86_64" ]] && loader=/usr/lib/wine/wine64
for b in "$KA_ROOT/build/$preset"/bench/bench_*.exe; do
  ka_log "running $(basename "$b")"
  WINEPREFIX="$KA_PREFIX" WINEDEBUG=-all "$loader" "$b"
done
ka_stop_display
