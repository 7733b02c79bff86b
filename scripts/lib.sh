# Shared shell helpers of the project scripts (sourced, not run).
KA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

KA_START=$(date +%s)
ka_log() { printf '[karvo %4ss] %s\n' "$(( $(date +%s) - KA_START ))" "$*" >&2; }

# Starts a private Xvfb on the first free display number from 90; sets KA_STARTED_DISPLAY.
KA_XVFB_PIDS=()
ka_start_xvfb() {
  local n=90 i
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  KA_XVFB_PIDS+=("$!")
  for i in $(seq 1 50); do
    DISPLAY=":${n}" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  KA_STARTED_DISPLAY=":${n}"
}

# Starts a private Xvfb when there is no usable display; exports DISPLAY.
# Sets KA_HEADLESS=1 when it had to.
ka_ensure_display() {
  KA_HEADLESS=0
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  ka_start_xvfb
  export DISPLAY="$KA_STARTED_DISPLAY"
  KA_HEADLESS=1
  ka_log "no display found: started Xvfb on $DISPLAY"
}

ka_stop_display() {
  local pid
  for pid in "${KA_XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
}

ka_configure_build() { # preset [targets...]: all targets when none are named
  local preset="$1"; shift
  cmake --preset "$preset" -S "$KA_ROOT" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" -j "$(nproc)" --target "$@"
  else
    cmake --build --preset "$preset" -j "$(nproc)"
  fi
}

# Whether the X window manager manages the programs' windows (Y/N) in the project prefix.
KA_PREFIX="$KA_ROOT/build/wineprefix"

ka_set_managed() { # Y|N
  local prefix="$KA_PREFIX"
  [ -d "$prefix" ] || return 0
  WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d "$1" /f >/dev/null 2>&1 || true
}

# Seats for the test programs, one per program ctest runs at a time: each a private Xvfb and
# a Wine prefix of its own (seat 1 the project prefix, the others copies of it), so that
# activation, pointer and keyboard stay with the program that caused them. Exports
# KA_SEAT_<n>_DISPLAY and KA_SEAT_<n>_PREFIX (read by each build tree's wine-run) and writes
# the ctest resource file, KA_SEATS_FILE.
ka_make_seats() { # count
  local count="$1" i prefix entries=""
  WINEPREFIX="$KA_PREFIX" wineserver -w 2>/dev/null || true
  for i in $(seq 1 "$count"); do
    prefix="$KA_PREFIX"
    if [ "$i" -gt 1 ]; then
      prefix="$KA_PREFIX-seat$i"
      if [ ! "$prefix/.ka-prefix-ready" -nt "$KA_PREFIX/.ka-prefix-ready" ]; then
        rm -rf "$prefix"
        cp -a "$KA_PREFIX" "$prefix"
        touch "$prefix/.ka-prefix-ready"
      fi
    fi
    ka_start_xvfb
    export "KA_SEAT_${i}_DISPLAY=$KA_STARTED_DISPLAY" "KA_SEAT_${i}_PREFIX=$prefix"
    entries+="${entries:+, }{\"id\": \"$i\", \"slots\": 1}"
  done
  KA_SEATS_FILE="$KA_ROOT/build/ctest-seats.json"
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"seats": [%s]}]}\n' "$entries" >"$KA_SEATS_FILE"
  ka_log "test seats: $count (displays and prefixes of their own)"
}
