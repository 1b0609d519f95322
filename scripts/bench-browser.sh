#!/bin/sh
# Times the compilation browser under Wine on a folder of 10,000 files in 100
# folders: Add through the window (disc-tree items included), saving the list
# and loading it back into the window. Prints a table; the target is under 2 s
# for each row. Needs the win64 build (browser-bench).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD:-$here/build/win64}"
bench="$build/tests/e2e/browser/browser-bench.exe"
[ -f "$bench" ] || { echo "build $bench first (cmake --build build/win64 --target browser-bench)"; exit 1; }
prefix=$(sh "$here/scripts/wine-prefix.sh" </dev/null 2>/dev/null | tail -1)
# The folder lives on the prefix's drive C:, a small drive, because opening
# the browser lists every level down to the selected folder.
work="$prefix/drive_c/tarvo-bench-browser"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
python3 - "$work/big" <<'PY'
import os, sys
root = sys.argv[1]
for d in range(100):
    folder = os.path.join(root, f"folder{d:03}")
    os.makedirs(folder)
    for i in range(100):
        with open(os.path.join(folder, f"file{i:03}.txt"), "wb") as f:
            f.write(b"x" * (i + 1))
PY
if [ -n "$DISPLAY" ]; then launch=""; else launch="xvfb-run -a"; fi
$launch env WINEPREFIX="$prefix" sh "$here/scripts/wine-run.sh" "$bench" 'C:\tarvo-bench-browser\big\' \
  'C:\tarvo-bench-browser\big.dat' </dev/null 2>&1 | grep -v "^wine:\|X connection"
