#!/bin/sh
# Benchmark: the browser's Add of a folder of 10,000 files in 100 folders
# (three levels deep), saving its list and loading it back, natively and
# under Wine. Prints a table in milliseconds; the target is well under
# 2,000 ms for each step.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tarvo-bench-list.XXXXXX)
trap 'rm -rf "$work"' EXIT
tree="$work/tree"
# 4 x 5 x 5 = 100 leaf folders, 100 files each.
for a in 1 2 3 4; do for b in 1 2 3 4 5; do for c in 1 2 3 4 5; do
  d="$tree/level$a/sub$b/leaf$c"
  mkdir -p "$d"
  i=0
  while [ $i -lt 100 ]; do printf 'file %d\n' $i >"$d/file$i.txt"; i=$((i + 1)); done
done; done; done

echo "| build    |  entries |   add ms  |  save ms  |  load ms  |"
echo "|----------|----------|-----------|-----------|-----------|"
native="$here/build/native/tools/tarvo-list-bench"
[ -x "$native" ] && "$native" native "$tree" "$work"
win="$here/build/win64/tools/tarvo-list-bench.exe"
if [ -f "$win" ] && command -v wine >/dev/null; then
  sh "$here/scripts/wine-prefix.sh" >/dev/null
  sh "$here/scripts/wine-run.sh" "$win" wine "Z:$tree" "Z:$work"
fi
