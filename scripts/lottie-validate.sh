#!/usr/bin/env bash
# Checks Lottie files against the format's schema (the shared reference copy) with the
# format's own validator, installed with the other Lottie tools into build/lottie-tools.
# Run it when the animations change; CI does not.
#   scripts/lottie-validate.sh [--no-warnings] FILE.json...
# Prints each file's errors and warnings; exits non-zero when any file has an error.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$KA_ROOT/scripts/lottie/tools.sh"

[ $# -gt 0 ] || { echo "usage: $0 [--no-warnings] FILE.json..." >&2; exit 2; }
schema="$KA_SHARED/reference/lottie/lottie.schema.json"
[ -f "$schema" ] || { ka_log "the format's schema is not at $schema"; exit 2; }

ka_lottie_tools
node "$KA_ROOT/scripts/lottie/validate.js" --schema "$schema" "$@"
