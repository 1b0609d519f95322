#!/bin/sh
# Benchmark of recording onto a disc: the 600 MiB / 10,000-file tree of
# scripts/bench-iso.sh recorded as one session onto a blank CD-R of the
# virtual recorder, (a) natively through the in-process transport and (b)
# under Wine through the ASPI manager WNASPI32.DLL, one WRITE(10) per sector;
# beside it, in the same run, the image route (tarvo-iso image) and
# genisoimage -J writing an image of the same tree. Each writer runs RUNS times
# (default 3) on a warm cache; the table shows the best wall-clock time, its
# MiB/s, and the CPU seconds of that run per GiB of source data (user +
# system of the process tree; under Wine the wineserver's share is not in it).
# usage: scripts/bench-record.sh   (builds of build/native and build/win64 first)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
bench=${BENCH_DIR:-/tmp/tarvo-bench}
native=$here/build/native
win=$here/build/win64
iso=$native/tools/tarvo-iso/tarvo-iso
recordTool=$native/tools/tarvo-record/tarvo-record
[ -x "$iso" ] && [ -x "$recordTool" ] || { echo "build tarvo-iso and tarvo-record (native preset) first"; exit 1; }
[ -f "$bench/.complete" ] || RUNS=1 BENCH_DIR="$bench" sh "$here/scripts/bench-iso.sh" >/dev/null

"$iso" list "$bench/list.dat" "$bench/src" >/dev/null
files=$(find "$bench/src" -type f | wc -l)
mib=$(du -sm --apparent-size "$bench/src" | cut -f1)
find "$bench/src" -type f -exec cat {} + >/dev/null  # warm the cache

# One recorder holding a blank 80-minute CD-R, no trace.
blank_recorder() { # folder
  rm -rf "$1"
  mkdir -p "$1"
  printf '[adapter 0]\ntargets = 8\n[device 0:1:0]\ndisc = disc.img\nmedia = cdr80\ntime-scale = 0.001\n' >"$1/vrec.cfg"
}

# Prints "wall cpu" of one run of the command (the CPU of all its children).
measure() {
  python3 - "$@" <<'PY'
import resource, subprocess, sys, time
before = resource.getrusage(resource.RUSAGE_CHILDREN)
t0 = time.monotonic()
try:
    rc = subprocess.call(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=1800)
except subprocess.TimeoutExpired:
    rc = -1
wall = time.monotonic() - t0
after = resource.getrusage(resource.RUSAGE_CHILDREN)
cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
print("%.3f %.3f" % (wall, cpu) if rc == 0 else "failed")
PY
}

results=$bench/record-results.txt
: >"$results"
best() { # name, prepare command, command...
  name=$1; prepare=$2; shift 2
  b=""; c=""
  i=0
  while [ $i -lt "$runs" ]; do
    eval "$prepare"
    sync
    r=$(measure "$@")
    [ "$r" != failed ] || { echo "$name failed" >&2; exit 1; }
    t=${r% *}
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; c=${r#* }; fi
    i=$((i + 1))
  done
  echo "$name|$b|$c" >>"$results"
}

best "genisoimage -J (image)" "rm -f $bench/out.iso" genisoimage -J -quiet -o "$bench/out.iso" "$bench/src"
best "tarvo-iso image (native)" "rm -f $bench/out.iso" "$iso" image "$bench/list.dat" "$bench/out.iso"
rm -f "$bench/out.iso"
best "disc, in-process (native)" "blank_recorder $bench/rec" "$recordTool" "$bench/list.dat" "$bench/rec" "$bench/rec/vrec.cfg"

if [ -f "$win/tools/tarvo-record/tarvo-record.exe" ] && [ -f "$win/vrec/WNASPI32.DLL" ]; then
  export WINEPREFIX="${WINEPREFIX:-$(sh "$here/scripts/wine-prefix.sh")}" WINEDEBUG=-all
  # Our manager, not Wine's builtin one.
  export WINEDLLOVERRIDES="mscoree,mshtml=;wnaspi32=n,b"
  winp() { echo "Z:$1" | tr / '\\'; }
  sh "$here/scripts/wine-run.sh" "$win/tools/tarvo-iso/tarvo-iso.exe" list "$(winp "$bench/list-win.dat")" \
    "$(winp "$bench/src")" >/dev/null
  winSetup="blank_recorder $bench/winrec; cp $win/tools/tarvo-record/tarvo-record.exe $win/vrec/WNASPI32.DLL $bench/winrec/"
  eval "$winSetup"
  export VREC_CONFIG="$(winp "$bench/winrec/vrec.cfg")"
  best "disc, WNASPI32.DLL (Wine)" "$winSetup" sh "$here/scripts/wine-run.sh" "$bench/winrec/tarvo-record.exe" \
    "$(winp "$bench/list-win.dat")" "$(winp "$bench/winrec")"
fi

echo
echo "tree: $files files, $mib MiB; best of $runs runs, warm cache; load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-28s %10s %10s %10s %12s\n' writer seconds "MiB/s" "CPU s" "CPU s/GiB"
while IFS='|' read -r name t cpu; do
  printf '%-28s %10.2f %10.1f %10.2f %12.2f\n' "$name" "$t" "$(echo "$mib / $t" | bc -l)" "$cpu" \
    "$(echo "$cpu * 1024 / $mib" | bc -l)"
done <"$results"
