#!/usr/bin/env bash
# Makes a Wine prefix for the project's programs: Tahoma installed, Windows 10 reported,
# no window-manager decorations. Usage: wine-prefix.sh <prefix-dir>
# The prefix is a 64-bit one with the 32-bit side, so both architectures run in it; the
# 64-bit loader prepares it (the 32-bit one may be emulated, and slow to start).
set -euo pipefail
prefix="$1"; loader=/usr/lib/wine/wine64
stamp="$prefix/.ka-prefix-ready"
fonts="$prefix/drive_c/windows/Fonts"
# Wine's own Tahoma Bold (fonts-wine) has the regular face's thin strokes, only spaced wider,
# so bold captions came out regular. Without it Wine emboldens the regular face, as bold as
# on Windows. Prefixes made before this still carry it.
rm -f "$fonts/tahomabd.ttf"
[ -f "$stamp" ] && exit 0
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
echo "[karvo] preparing Wine prefix $prefix (made once, kept for later runs)" >&2
"$loader" wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/tahoma.ttf "$fonts/"
"$loader" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
# Unmanaged by default: without a window manager (Xvfb), hiding a managed window makes Wine
# wait for one. The demo command turns this back on for a real desktop.
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w || true
touch "$stamp"
