#!/usr/bin/env bash
# Sets up the machine, builds both architectures with MinGW-w64 g++ and x86_64 with clang,
# and runs every test of the three builds under Wine.
# Exits non-zero on any build or test failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
"$KA_ROOT/scripts/setup-host.sh"

presets=(mingw-i686 mingw-x86_64 clang-x86_64)
for p in "${presets[@]}"; do
  ka_log "building $p"
  ka_configure_build "$p"
done

ka_ensure_display
trap ka_stop_display EXIT
# The prefix is made once, before ctest starts its programs in parallel, each in a seat.
"$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
ka_set_managed N
ka_make_seats 2

status=0
for p in "${presets[@]}"; do
  ka_log "testing $p"
  ctest --preset "$p" -j 2 --resource-spec-file "$KA_SEATS_FILE" || status=1
done
exit $status
