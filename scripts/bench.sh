#!/usr/bin/env bash
# Builds and runs every benchmark under Wine, for both architectures unless one is named,
# prints their figures and writes them, with the machine, the build and the date, to
# docs/performance.md. The figures are read by people: each program prints its rows with the
# goal they are measured against, and one line per goal in a fixed form,
#   GOAL|<row name>|<figure>|<unit>|<goal text>|<yes, no or ->
# which this script takes out of the program's block and gathers into one summary table of
# both architectures at the top of the file (and at the end of what it prints).
# Usage: scripts/bench.sh [--arch i686|x86_64] [--out FILE] [--tree DIR] [--note TEXT]
#   --tree DIR   run the programs of build trees that are already built instead of building
#                the project's own; "{arch}" in DIR stands for the architecture
#                (--tree build/dev-perf-{arch}); each tree runs in its own Wine prefix
#   --note TEXT  one more line under the machine's description (a busy machine, say)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arches=(i686 x86_64)
out="$KA_ROOT/docs/performance.md"
tree=""
note=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --arch) arches=("${2:?}"); shift 2 ;;
    --out) out="${2:?}"; shift 2 ;;
    --tree) tree="${2:?}"; shift 2 ;;
    --note) note="${2:?}"; shift 2 ;;
    *) echo "usage: $0 [--arch i686|x86_64] [--out FILE] [--tree DIR] [--note TEXT]" >&2; exit 2 ;;
  esac
done

tree_of() { # arch: the build tree whose programs run
  if [[ -n "$tree" ]]; then
    local t="${tree//\{arch\}/$1}"
    [[ "$t" = /* ]] || t="$KA_ROOT/$t"
    echo "$t"
  else
    echo "$KA_ROOT/build/mingw-$1"
  fi
}

if [[ -z "$tree" ]]; then
  bash "$KA_ROOT/scripts/setup-host.sh"
  for arch in "${arches[@]}"; do ka_configure_build "mingw-${arch}"; done
  bash "$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
fi
ka_ensure_display
trap ka_stop_display EXIT

report=$(mktemp)
goals=$(mktemp)
blocks=$(mktemp)
output=$(mktemp)
{
  echo "# Performance"
  echo
  echo "Made by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "- machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "- build: $(git -C "$KA_ROOT" describe --always --dirty 2>/dev/null || echo unknown), $(i686-w64-mingw32-g++-posix --version | head -1), -O2, under $(wine --version 2>/dev/null || echo Wine)"
  [[ -n "$tree" ]] && echo "- build trees: ${tree}"
  echo "- display: $(DISPLAY="$DISPLAY" xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2; exit}') (Xvfb)"
  [[ -n "$note" ]] && echo "- note: $note"
  echo
  echo "Timings under Wine on a shared machine are noisy: compare figures of one run with each"
  echo "other (ratios), not across runs."
} >"$report"

run_program() { # arch program: runs it under Wine, in its tree's prefix when a tree was named
  if [[ -n "$tree" ]]; then
    WINEDEBUG=-all "$(tree_of "$1")/wine-run" "$2"
  else
    local loader=/usr/lib/wine/wine
    [[ "$1" == "x86_64" ]] && loader=/usr/lib/wine/wine64
    WINEPREFIX="$KA_PREFIX" WINEDEBUG=-all "$loader" "$2"
  fi
}

for arch in "${arches[@]}"; do
  printf '\n## %s\n' "$arch" >>"$blocks"
  for b in "$(tree_of "$arch")"/bench/bench_*.exe; do
    name=$(basename "$b" .exe)
    ka_log "running $name ($arch)"
    printf '\n### %s\n\n```\n' "$name" >>"$blocks"
    run_program "$arch" "$b" 2>&1 | tr -d '\r' | tee "$output"
    { grep '^GOAL|' "$output" || true; } | sed "s/^/$arch|/" >>"$goals"
    { grep -v '^GOAL|' "$output" || true; } >>"$blocks"
    printf '```\n' >>"$blocks"
  done
done

# One row per goal line's name, in the order first met, with each architecture's figure.
summary=$(awk -F'|' -v arches="${arches[*]}" '
  function show(v, u) {
    if (v == "") return "";
    v += 0;
    if (v == int(v)) return sprintf("%d", v) " " u;  # counts
    return sprintf(v >= 100 ? "%.0f" : v >= 1 ? "%.2f" : "%.3f", v) " " u;
  }
  {
    key = $3;
    if (!(key in seen)) { seen[key] = 1; order[++n] = key; }
    fig[$1, key] = $4; unit[key] = $5; goal[key] = $6; met[$1, key] = $7;
  }
  END {
    na = split(arches, a, " ");
    head = "| figure | goal |"; rule = "| --- | --- |";
    for (i = 1; i <= na; ++i) { head = head " " a[i] " | met |"; rule = rule " ---: | --- |"; }
    print head; print rule;
    for (r = 1; r <= n; ++r) {
      k = order[r]; line = "| " k " | " goal[k] " |";
      for (i = 1; i <= na; ++i) line = line " " show(fig[a[i], k], unit[k]) " | " met[a[i], k] " |";
      print line;
    }
  }' "$goals")

{
  printf '\n## Goals\n\n'
  echo 'Each figure against its goal ("-": a figure shown without a goal of its own); the'
  echo 'programs'"'"' own rows follow.'
  echo
  echo "$summary"
  cat "$blocks"
} >>"$report"
printf '\nGoals\n%s\n' "$summary"

mkdir -p "$(dirname "$out")"
mv "$report" "$out"
rm -f "$goals" "$blocks" "$output"
ka_log "figures written to $out"
