#!/usr/bin/env bash
# Sets up the machine, builds the demo (i686 unless --arch x86_64) and starts it on the
# user's display, or under Xvfb when there is none (then a screenshot is saved). With
# --gallery it builds and starts the controls gallery instead of the demo.
#   scripts/demo.sh [--gallery] [--arch x86_64]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
preset=mingw-i686
program=KarvoDemo
exe_dir=app
title='Karvo VCL - Modern Application Demo'
shot_name=demo-screenshot.png
while [ $# -gt 0 ]; do
  case "$1" in
    --arch)
      [ "${2:-}" = "x86_64" ] && preset=mingw-x86_64
      shift 2 || shift
      ;;
    --gallery)
      program=KarvoGallery
      exe_dir=app/gallery
      title='Karvo VCL - Controls Gallery'
      shot_name=gallery-screenshot.png
      shift
      ;;
    *) echo "usage: $0 [--gallery] [--arch x86_64]" >&2; exit 2 ;;
  esac
done
"$KA_ROOT/scripts/setup-host.sh"
# Only what the program needs, so a newcomer sees the window soon; the test command builds all.
ka_configure_build "$preset" "$program"
ka_ensure_display
trap ka_stop_display EXIT
run="$KA_ROOT/build/$preset/wine-run"
exe="$KA_ROOT/build/$preset/$exe_dir/$program.exe"
"$KA_ROOT/scripts/wine-prefix.sh" "$KA_PREFIX"
if [ "$KA_HEADLESS" = 1 ]; then ka_set_managed N; else ka_set_managed Y; fi
if [ "$KA_HEADLESS" = 1 ]; then
  shot="$KA_ROOT/build/$preset/$shot_name"
  "$run" "$exe" &
  pid=$!
  # The 32-bit loader may run under emulation: wait until the window is up.
  for i in $(seq 1 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q "$title"; then break; fi
    sleep 0.5
  done
  sleep 2
  import -window root "$shot"
  ka_log "no display: $program ran under Xvfb ($DISPLAY); screenshot saved to $shot"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  # Let Wine's own helper processes end before their display goes away.
  WINEPREFIX="$KA_PREFIX" timeout 30 wineserver -w 2>/dev/null || true
else
  exec "$run" "$exe"
fi
