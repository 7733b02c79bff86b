#!/usr/bin/env bash
# Installs the library of a build tree into a prefix inside that tree, builds
# examples/hello against the installed package as another project would, and runs it once
# under Wine: it must show its window and close with exit code 0.
#   scripts/check-example.sh <build-tree> <toolchain-file>
set -euo pipefail
tree="$1"; toolchain="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$tree/example-install"
build="$tree/example-hello"
cmake --install "$tree" --prefix "$prefix" >/dev/null
cmake -S "$root/examples/hello" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" --toolchain "$toolchain" >/dev/null
cmake --build "$build"
out="$("$tree/wine-run" "$build/Hello.exe" --close-after 2000 2>&1)" || {
  echo "$out"; echo "Hello.exe failed"; exit 1; }
echo "$out"
case "$out" in
  *"0 object(s) still alive at exit"*) echo "Hello.exe ran and closed cleanly" ;;
  *) echo "Hello.exe did not report a clean exit"; exit 1 ;;
esac
