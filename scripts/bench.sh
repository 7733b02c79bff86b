#!/usr/bin/env bash
# Builds and runs every benchmark under Wine, for both architectures unless one is named,
# prints their figures and writes them, with the machine, the build and the date, to
# docs/performance.md. The figures are read by people: each program prints its rows with the
# goal they are measured against.
# Usage: scripts/bench.sh [--arch i686|x86_64] [--out FILE]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arches=(i686 x86_64)
out="$KA_ROOT/docs/performance.md"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --arch) arches=("${2:?}"); shift 2 ;;
    --out) out="${2:?}"; shift 2 ;;
    *) echo "usage: $0 [--arch i686|x86_64] [--out FILE]" >&2; exit 2 ;;
  esac
done

bash "$KA_ROOT/scripts/setup-host.sh"
for arch in "${arches[@]}"; do ka_configure_build "mingw-${arch}"; done
bash "$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
ka_ensure_display
trap ka_stop_display EXIT

report=$(mktemp)
{
  echo "# Performance"
  echo
  echo "Made by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "- machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "- build: $(git -C "$KA_ROOT" describe --always --dirty 2>/dev/null || echo unknown), $(i686-w64-mingw32-g++-posix --version | head -1), -O2, under $(wine --version 2>/dev/null || echo Wine)"
  echo
  echo "Timings under Wine on a shared machine are noisy: compare figures of one run with each"
  echo "other (ratios), not across runs."
} >"$report"

for arch in "${arches[@]}"; do
  loader=/usr/lib/wine/wine; [[ "$arch" == "x86_64" ]] && loader=/usr/lib/wine/wine64
  printf '\n## %s\n' "$arch" >>"$report"
  for b in "$KA_ROOT/build/mingw-${arch}"/bench/bench_*.exe; do
    name=$(basename "$b" .exe)
    ka_log "running $name ($arch)"
    printf '\n### %s\n\n```\n' "$name" >>"$report"
    WINEPREFIX="$KA_PREFIX" WINEDEBUG=-all "$loader" "$b" 2>&1 | tr -d '\r' | tee -a "$report"
    printf '```\n' >>"$report"
  done
done

mkdir -p "$(dirname "$out")"
mv "$report" "$out"
ka_log "figures written to $out"
