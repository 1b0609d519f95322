#!/bin/sh
# Benchmark of the image writer: about 600 MiB in about 10,000 files (sixteen
# 32 MiB files and 10,000 small ones in 100 folders three levels deep) under
# /tmp, written by `tarvo-iso image` natively and under Wine, and by
# genisoimage -J and xorriso -as mkisofs -J, in one run. Each writer runs
# RUNS times (default 3) on a warm cache; the table shows the best time and
# its ratio to genisoimage.
# usage: scripts/bench-iso.sh   (builds build/native and build/win64 first)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
bench=${BENCH_DIR:-/tmp/tarvo-bench}
native=$here/build/native/tools/tarvo-iso/tarvo-iso
windows=$here/build/win64/tools/tarvo-iso/tarvo-iso.exe
[ -x "$native" ] || { echo "build the native preset first"; exit 1; }

if [ ! -f "$bench/.complete" ]; then
  echo "generating the tree in $bench/src"
  rm -rf "$bench"
  mkdir -p "$bench/src"
  python3 - "$bench/src" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(6)
big = os.path.join(root, "big")
os.makedirs(big)
block = os.urandom(1 << 20)
for i in range(16):
    with open(os.path.join(big, "file%02d.bin" % i), "wb") as f:
        for k in range(32):
            f.write(block[k:] + block[:k])
n = 0
for a in range(5):
    for b in range(5):
        for c in range(4):
            folder = os.path.join(root, "small", "level%d" % a, "group%d" % b, "leaf%d" % c)
            os.makedirs(folder)
            for i in range(100):
                with open(os.path.join(folder, "small file %04d.dat" % n), "wb") as f:
                    f.write(os.urandom(rnd.randint(0, 16384)))
                n += 1
PY
  touch "$bench/.complete"
fi
winp() { echo "Z:$1" | tr / '\\'; }
"$native" list "$bench/list.dat" "$bench/src"
if [ -f "$windows" ]; then
  export WINEPREFIX="${WINEPREFIX:-$(sh "$here/scripts/wine-prefix.sh")}" WINEDEBUG=-all
  sh "$here/scripts/wine-run.sh" "$windows" list "$(winp "$bench/list-win.dat")" "$(winp "$bench/src")"
fi
files=$(find "$bench/src" -type f | wc -l)
mib=$(du -sm --apparent-size "$bench/src" | cut -f1)
find "$bench/src" -type f -exec cat {} + >/dev/null  # warm the cache

now() { date +%s.%N; }
best() { # name, command...: the best of $runs wall-clock times, in seconds
  name=$1; shift
  b=""
  i=0
  while [ $i -lt "$runs" ]; do
    rm -f "$bench/out.iso"
    sync
    t0=$(now)
    "$@" >/dev/null 2>&1 || { echo "$name failed" >&2; exit 1; }
    t1=$(now)
    t=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
    i=$((i + 1))
  done
  size=$(stat -c %s "$bench/out.iso")
  echo "$name|$b|$size"
}

results=$bench/results.txt
: >"$results"
best "genisoimage -J" genisoimage -J -quiet -o "$bench/out.iso" "$bench/src" >>"$results"
best "xorriso -as mkisofs -J" xorriso -as mkisofs -J -quiet -o "$bench/out.iso" "$bench/src" >>"$results"
best "tarvo-iso image (native)" "$native" image "$bench/list.dat" "$bench/out.iso" >>"$results"
if [ -f "$windows" ]; then
  best "tarvo-iso image (Wine)" sh "$here/scripts/wine-run.sh" "$windows" image "$(winp "$bench/list-win.dat")" \
    "$(winp "$bench/out.iso")" >>"$results"
fi
rm -f "$bench/out.iso"

echo
echo "tree: $files files, $mib MiB; best of $runs runs, warm cache; load average $(cut -d' ' -f1-3 /proc/loadavg)"
base=$(head -1 "$results" | cut -d'|' -f2)
printf '%-28s %10s %10s %12s %8s\n' writer seconds "MiB/s" "image MiB" ratio
while IFS='|' read -r name t size; do
  printf '%-28s %10.2f %10.0f %12.0f %8.2f\n' "$name" "$t" "$(echo "$mib / $t" | bc -l)" \
    "$(echo "$size / 1048576" | bc -l)" "$(echo "$t / $base" | bc -l)"
done <"$results"
