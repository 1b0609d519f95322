#!/bin/sh
# Recording through the virtual recorder's WNASPI32.DLL under Wine: two
# sessions (multi-session, then closing the disc) by tarvo-record.exe, each
# read back with isoinfo and extracted by xorriso byte for byte.
# usage: record_aspi.sh tarvo-record.exe tarvo-iso.exe WNASPI32.DLL
set -eu
command -v xorriso >/dev/null && command -v isoinfo >/dev/null || exit 77
work=$(mktemp -d /tmp/tarvo-record-aspi.XXXXXX)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cp "$1" "$2" "$3" "$work/"
printf 'trace = trace.log\n[adapter 0]\ntargets = 8\n[device 0:1:0]\ndisc = disc.img\nmedia = cdr80\n' >"$work/vrec.cfg"
winp() { echo "Z:$1" | tr / '\\'; }
export VREC_CONFIG="$(winp "$work/vrec.cfg")" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;wnaspi32=n,b"
here=$(cd "$(dirname "$0")/../../.." && pwd)
wine() { sh "$here/scripts/wine-run.sh" "$@"; }

mkdir -p "$work/one/Sub Folder" "$work/two"
head -c 100000 /dev/urandom >"$work/one/data.bin"
printf 'first session\n' >"$work/one/Sub Folder/A long file name.txt"
head -c 4097 /dev/urandom >"$work/two/second.bin"

session() { # n folder [--single]
  wine "$work/tarvo-iso.exe" list "$(winp "$work/list$1.dat")" "$(winp "$work/$2")" >/dev/null
  out=$(wine "$work/tarvo-record.exe" "$(winp "$work/list$1.dat")" "$(winp "$work")" "" ${3:-} 2>&1)
  echo "$out" | grep -q '^result=1' || { echo "session $1: $out"; exit 1; }
}
check() { # start folder...
  start=$1; shift
  rm -rf "$work/x"
  xorriso -osirrox on -load sbsector "$start" -indev "$work/disc.img" -extract / "$work/x" >/dev/null 2>&1
  for folder in "$@"; do
    (cd "$work/$folder" && find . -type f) | while read -r f; do
      cmp "$work/$folder/$f" "$work/x/$folder/$f" || { echo "session at $start: $f differs"; exit 1; }
    done
  done
  isoinfo -i "$work/disc.img" -T "$start" -l -J | grep -q 'A long file name.txt' ||
    { echo "session at $start: Joliet name missing"; exit 1; }
}

session 1 one
check 0 one
session 2 two --single
# The second session starts at the first WRITE(10) after the first CLOSE.
second=$(awk '/CLOSE-TRACK-SESSION/ {closed=1} closed && /WRITE\(10\)/ {print substr($5, 9, 8); exit}' "$work/trace.log")
second=$((0x$second))
[ "$second" -gt 11000 ] || { echo "second session at $second"; exit 1; }
# Without a Recorded import of the first session's files, the second
# session holds its own files only.
rm -rf "$work/x"
xorriso -osirrox on -load sbsector "$second" -indev "$work/disc.img" -extract / "$work/x" >/dev/null 2>&1
cmp "$work/two/second.bin" "$work/x/two/second.bin"
grep -q 'CLOSE-TRACK-SESSION' "$work/trace.log"
echo "two sessions recorded through WNASPI32.DLL and read back"
