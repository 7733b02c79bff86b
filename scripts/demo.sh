#!/usr/bin/env bash
# Sets up the machine, builds the demo (i686 unless --arch x86_64) and starts it on the
# user's display, or under Xvfb when there is none (then a screenshot is saved).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
preset=mingw-i686
if [ "${1:-}" = "--arch" ] && [ "${2:-}" = "x86_64" ]; then preset=mingw-x86_64; fi
"$KA_ROOT/scripts/setup-host.sh"
# Only what the demo needs, so a newcomer sees the window soon; the test command builds all.
ka_configure_build "$preset" KarvoDemo
ka_ensure_display
trap ka_stop_display EXIT
run="$KA_ROOT/build/$preset/wine-run"
exe="$KA_ROOT/build/$preset/app/KarvoDemo.exe"
"$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
if [ "$KA_HEADLESS" = 1 ]; then ka_set_managed N; else ka_set_managed Y; fi
if [ "$KA_HEADLESS" = 1 ]; then
  shot="$KA_ROOT/build/$preset/demo-screenshot.png"
  "$run" "$exe" &
  pid=$!
  # The 32-bit loader may run under emulation: wait until the window is up.
  for i in $(seq 1 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q 'Karvo VCL - Modern Application Demo'; then break; fi
    sleep 0.5
  done
  sleep 2
  import -window root "$shot"
  ka_log "no display: the demo ran under Xvfb ($DISPLAY); screenshot saved to $shot"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  # Let Wine's own helper processes end before their display goes away.
  WINEPREFIX="$KA_PREFIX" timeout 30 wineserver -w 2>/dev/null || true
else
  exec "$run" "$exe"
fi
