#!/bin/sh
# Configures and builds the given presets (default: native win64 win32).
set -e
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
for preset in ${*:-native win64 win32}; do
  echo "build: $preset"
  cmake --preset "$preset" >build-$preset.log 2>&1 || { cat build-$preset.log; exit 1; }
  cmake --build "build/$preset" -j "$jobs" >>build-$preset.log 2>&1 || { tail -60 build-$preset.log; exit 1; }
  rm -f build-$preset.log
done
