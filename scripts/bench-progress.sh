#!/bin/sh
# Times the progress meter under Wine: 360,000 steps (a full disc, one step
# per sector) on a 340-pixel status line, the meter as built beside one that
# paints every step. Needs the win64 build; runs under Xvfb when there is no
# display.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
bench="$here/build/win64/tests/win32/app/progress-bench.exe"
[ -f "$bench" ] || cmake --build "$here/build/win64" --target progress-bench
sh "$here/scripts/wine-prefix.sh" >/dev/null
if [ -n "${DISPLAY:-}" ]; then
  sh "$here/scripts/wine-run.sh" "$bench"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" sh "$here/scripts/wine-run.sh" "$bench"
fi
