#!/usr/bin/env bash
# Renders Lottie files with the peer player (lottie-web, canvas renderer) in Debian's headless
# chromium, the yardstick our own player is measured against. Installs chromium (as root) and
# the pinned npm packages into build/lottie-tools when they are missing.
#
# Without arguments: regenerates the reference frames of the player's tests from the shared
# test animations into tests/lib/kaLottie/reference (PNGs, frames.json, README.md), to be
# committed; the tests themselves need neither chromium nor npm.
#
# With arguments: renders any files, for example to preview an animation we make.
#   scripts/lottie-reference.sh --out DIR [--size N] [--frames quartiles|all|0,10,20] FILE...
#   scripts/lottie-reference.sh --out DIR --size 35 --frames 0,37,75 --sheet resources/lottie/*.json
# --sheet puts the frames of a file side by side in one picture, once per background colour
# (--backgrounds '#ffffff,#1f1f1f,#0078d7' by default).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$KA_ROOT/scripts/lottie/tools.sh"

ka_lottie_tools chromium

args=("$@")
if [ ${#args[@]} -eq 0 ]; then
  shopt -s nullglob
  files=("$KA_SHARED"/testdata/lottie/*.json)
  [ ${#files[@]} -gt 0 ] || { ka_log "no test animations in $KA_SHARED/testdata/lottie"; exit 1; }
  args=(--out "$KA_ROOT/tests/lib/kaLottie/reference" --size 256 --frames quartiles --manifest "${files[@]}")
fi

# A last guard: the page gives up on a file by itself, this catches a browser that hangs.
timeout 900 node "$KA_ROOT/scripts/lottie/render.js" "${args[@]}"
