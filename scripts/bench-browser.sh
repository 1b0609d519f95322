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
work=$(mktemp -d /tmp/tarvo-bench-browser.XXXXXX)
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
sh "$here/scripts/wine-prefix.sh" >/dev/null
winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }
cd "$work"
run() { xvfb-run -a sh "$here/scripts/wine-run.sh" "$bench" "$(winpath "$work/big")\\" "$(winpath "$work/big.dat")"; }
if [ -n "$DISPLAY" ]; then sh "$here/scripts/wine-run.sh" "$bench" "$(winpath "$work/big")\\" "$(winpath "$work/big.dat")"; else run; fi
