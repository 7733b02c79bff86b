#!/usr/bin/env bash
# The long run of the input fuzzing: builds the programs and runs tests/fuzz/fuzz_inputs under
# Wine with many inputs per format (the normal test run tries a few hundred in seconds). Each
# format prints its seed and figures; a fault names the input, which replays alone with
#   fuzz_inputs.exe --fuzz-seed=S --fuzz-input=I --gtest_filter=<the test>
# Usage: scripts/fuzz.sh [--iterations N] [--seed S] [--arch i686|x86_64] [--filter GTEST_FILTER]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arch=i686
iterations=10000
args=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --iterations) iterations="${2:?}"; shift 2 ;;
    --seed) args+=("--fuzz-seed=${2:?}"); shift 2 ;;
    --arch) arch="${2:?}"; shift 2 ;;
    --filter) args+=("--gtest_filter=${2:?}"); shift 2 ;;
    *) echo "usage: $0 [--iterations N] [--seed S] [--arch i686|x86_64] [--filter GTEST_FILTER]" >&2; exit 2 ;;
  esac
done

bash "$KA_ROOT/scripts/setup-host.sh"
ka_configure_build "mingw-${arch}"
bash "$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
ka_ensure_display
trap ka_stop_display EXIT

loader=/usr/lib/wine/wine; [[ "$arch" == "x86_64" ]] && loader=/usr/lib/wine/wine64
program="$KA_ROOT/build/mingw-${arch}/tests/fuzz/fuzz_inputs.exe"
ka_log "fuzzing with $iterations inputs per format ($arch)"
start=$(date +%s)
status=0
WINEPREFIX="$KA_PREFIX" WINEDEBUG=-all "$loader" "$program" --gtest_brief=1 "--fuzz-iterations=$iterations" \
  ${args[@]+"${args[@]}"} 2>&1 | tr -d '\r' || status=$?
ka_log "done in $(( $(date +%s) - start )) s (exit status $status)"
exit "$status"
