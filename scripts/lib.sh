# Shared shell helpers of the project scripts (sourced, not run).
KA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

KA_START=$(date +%s)
ka_log() { printf '[karvo %4ss] %s\n' "$(( $(date +%s) - KA_START ))" "$*" >&2; }

# Starts a private Xvfb when there is no usable display; exports DISPLAY.
# Sets KA_HEADLESS=1 when it had to.
ka_ensure_display() {
  KA_HEADLESS=0
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  KA_XVFB_PID=$!
  export DISPLAY=":${n}"
  local i
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  KA_HEADLESS=1
  ka_log "no display found: started Xvfb on $DISPLAY"
}

ka_stop_display() {
  if [ -n "${KA_XVFB_PID:-}" ]; then kill "$KA_XVFB_PID" 2>/dev/null || true; fi
}

ka_configure_build() { # preset
  local preset="$1"
  cmake --preset "$preset" -S "$KA_ROOT" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
}

# Whether the X window manager manages the programs' windows (Y/N) in the project prefix.
KA_PREFIX="$KA_ROOT/build/wineprefix"

ka_set_managed() { # Y|N
  local prefix="$KA_PREFIX"
  [ -d "$prefix" ] || return 0
  WINEPREFIX="$prefix" WINEDEBUG=-all /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d "$1" /f >/dev/null 2>&1 || true
}
