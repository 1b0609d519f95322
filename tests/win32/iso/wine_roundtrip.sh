#!/bin/sh
# tarvo-iso.exe under Wine: source paths through Wine's Z: drive, names in the
# ANSI code page (1252) converted to UCS-2 (the euro sign is 80h there, not
# U+0080), the image checked by isocheck.exe and extracted by 7z and bsdtar.
# usage: wine_roundtrip.sh TARVO_ISO_EXE ISOCHECK_EXE WINE_RUN
set -eu
tarvo_iso=$1 isocheck=$2 wine_run=$3
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/tarvo-wine-roundtrip.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
winpath() { echo "Z:$1" | tr / '\\'; }

mkdir -p "$work/src/sub/empty" "$work/src/many"
echo euro >"$work/src/€uro.txt"
echo cafe >"$work/src/café.txt"
head -c 70000 /dev/urandom >"$work/src/sub/random.bin"
head -c 2048 /dev/urandom >"$work/src/exact.bin"
: >"$work/src/zero.txt"
i=0
while [ $i -lt 60 ]; do echo "$i" >"$work/src/many/entry number $i.txt"; i=$((i + 1)); done

sh "$wine_run" "$tarvo_iso" list "$(winpath "$work/list.dat")" "$(winpath "$work/src")" || fail "tarvo-iso.exe list"
sh "$wine_run" "$tarvo_iso" image "$(winpath "$work/list.dat")" "$(winpath "$work/out.iso")" --label wine \
  >"$work/messages" 2>&1 || { cat "$work/messages"; fail "tarvo-iso.exe image"; }
sh "$wine_run" "$isocheck" "$(winpath "$work/out.iso")" || fail "isocheck.exe"
7z x -o"$work/x-7z" "$work/out.iso" >/dev/null || fail "7z"
diff -r "$work/src" "$work/x-7z/src" || fail "7z extraction differs"
mkdir "$work/x-bsdtar" && bsdtar -xf "$work/out.iso" -C "$work/x-bsdtar" || fail "bsdtar"
diff -r "$work/src" "$work/x-bsdtar/src" || fail "bsdtar extraction differs"
echo "ok: tarvo-iso.exe under Wine"
