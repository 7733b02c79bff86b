#!/usr/bin/env bash
# Makes a Wine prefix for the project's programs: Tahoma installed, Windows 10 reported,
# no window-manager decorations. Usage: wine-prefix.sh <prefix-dir> <wine-loader>
set -euo pipefail
prefix="$1"; loader="$2"
stamp="$prefix/.ka-prefix-ready"
[ -f "$stamp" ] && exit 0
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
echo "[karvo] preparing Wine prefix $prefix (once per build tree)" >&2
"$loader" wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
"$loader" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
# Unmanaged by default: without a window manager (Xvfb), hiding a managed window makes Wine
# wait for one. The demo command turns this back on for a real desktop.
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w || true
touch "$stamp"
