# Tools of the Lottie scripts (sourced after lib.sh, not run): Node with the pinned npm
# packages of package.json / package-lock.json beside this file, installed into a cache under
# build/ that is never committed, and Debian's chromium for the reference renderer.

KA_LOTTIE_TOOLS="$KA_ROOT/build/lottie-tools"
KA_LOTTIE_SCRIPTS="$KA_ROOT/scripts/lottie"

# The shared data lies beside the repository; a checkout elsewhere finds it at /work/shared.
KA_SHARED="$(cd "$KA_ROOT/.." && pwd)/shared"
[ -d "$KA_SHARED/testdata/lottie" ] || KA_SHARED=/work/shared

ka_lottie_apt_install() { # package...
  if [ "$(id -u)" != 0 ]; then
    ka_log "missing: $* (install them as root: apt-get install $*)"
    exit 1
  fi
  ka_log "installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "$@"
}

# Makes node, npm and the pinned packages ready; with "chromium", the browser too.
ka_lottie_tools() { # [chromium]
  local missing=()
  command -v node >/dev/null 2>&1 || missing+=(nodejs)
  command -v npm >/dev/null 2>&1 || missing+=(npm)
  if [ "${1:-}" = chromium ] && [ ! -x /usr/bin/chromium ]; then missing+=(chromium); fi
  if [ ${#missing[@]} -gt 0 ]; then ka_lottie_apt_install "${missing[@]}"; fi

  # Reinstall when the pinned set changed; the copies in the cache are the record of what is in it.
  if ! cmp -s "$KA_LOTTIE_SCRIPTS/package-lock.json" "$KA_LOTTIE_TOOLS/package-lock.json" ||
     ! cmp -s "$KA_LOTTIE_SCRIPTS/package.json" "$KA_LOTTIE_TOOLS/package.json" ||
     [ ! -d "$KA_LOTTIE_TOOLS/node_modules" ]; then
    ka_log "installing the Lottie tools into ${KA_LOTTIE_TOOLS#"$KA_ROOT"/}"
    rm -rf "$KA_LOTTIE_TOOLS"
    mkdir -p "$KA_LOTTIE_TOOLS"
    cp "$KA_LOTTIE_SCRIPTS/package.json" "$KA_LOTTIE_SCRIPTS/package-lock.json" "$KA_LOTTIE_TOOLS/"
    (cd "$KA_LOTTIE_TOOLS" && npm ci --no-audit --no-fund --loglevel=error >&2) || {
      rm -f "$KA_LOTTIE_TOOLS/package-lock.json"   # so that the next run tries again
      ka_log "npm could not install the Lottie tools"
      exit 1
    }
  fi
  export NODE_PATH="$KA_LOTTIE_TOOLS/node_modules"
}
