#!/usr/bin/env bash
# The long run of the monkey test: builds the demo's test program and drives the demo's real
# windows with seeded random input for many events (the normal test run does 3 seeds of 500).
# It prints its seed and figures; a failure prints the last 50 events, which replay with
#   app_reliability.exe --gtest_filter=Monkey.* --monkey-seed S --monkey-events N
# Usage: scripts/monkey.sh [--events N] [--seed S] [--arch i686|x86_64]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arch=i686
events=100000
seed=$(( $(date +%s) % 1000000 ))
while [[ $# -gt 0 ]]; do
  case "$1" in
    --events) events="${2:?}"; shift 2 ;;
    --seed) seed="${2:?}"; shift 2 ;;
    --arch) arch="${2:?}"; shift 2 ;;
    *) echo "usage: $0 [--events N] [--seed S] [--arch i686|x86_64]" >&2; exit 2 ;;
  esac
done

bash "$KA_ROOT/scripts/setup-host.sh"
ka_configure_build "mingw-${arch}" app_reliability
bash "$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
ka_ensure_display
trap ka_stop_display EXIT

loader=/usr/lib/wine/wine; [[ "$arch" == "x86_64" ]] && loader=/usr/lib/wine/wine64
program="$KA_ROOT/build/mingw-${arch}/tests/app/app_reliability.exe"
ka_log "monkey: $events events with seed $seed ($arch)"
start=$(date +%s)
status=0
WINEPREFIX="$KA_PREFIX" WINEDEBUG=-all "$loader" "$program" --gtest_brief=1 --gtest_filter='Monkey.*' \
  --monkey-seed "$seed" --monkey-events "$events" 2>&1 | tr -d '\r' || status=$?
ka_log "done in $(( $(date +%s) - start )) s (exit status $status)"
exit "$status"
