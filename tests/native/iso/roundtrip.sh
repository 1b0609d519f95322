#!/bin/sh
# Round trip through independent readers: a source tree is listed by
# `tarvo-iso list` (the browser's Add), written by
# `tarvo-iso image`, checked by isocheck, then extracted by xorriso, isoinfo -J,
# 7z and bsdtar; each must give back every file byte for byte under its
# Joliet name. The primary tree must reach every file's data as well.
# usage: roundtrip.sh TARVO_ISO ISOCHECK
set -eu
tarvo_iso=$1 isocheck=$2
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/tarvo-roundtrip.XXXXXX)
trap 'rm -rf "$work"' EXIT
src=$work/src
fail() { echo "FAIL: $*"; exit 1; }

# The source tree.
mkdir -p "$src/nested/a/b/c" "$src/empty folder" "$src/many" "$src/Ünïcødé dir" "$src/documents1" "$src/documents2" \
  "$src/starts empty/inner empty" "$src/.hidden dir" "$work/other"
head -c 100000 /dev/urandom >"$src/nested/a/b/c/deep.bin"
echo "nested" >"$src/nested/a/top.txt"
: >"$src/empty.txt"
head -c 2048 /dev/urandom >"$src/exact2048.bin"
head -c 4097 /dev/urandom >"$src/documents1/x"
echo two >"$src/documents2/x"
i=0
while [ $i -lt 150 ]; do
  echo "file $i" >"$src/many/file number $i with a longer name.txt"; i=$((i + 1))
done
long=$(printf 'L%.0s' $(seq 1 90))
echo first >"$src/$long.txt"
echo second >"$src/${long}x.txt"
echo cafe >"$src/café.txt"
echo yen >"$src/日本語のファイル.txt"
echo euro >"$src/€uro.txt"
echo n >"$src/Ünïcødé dir/ñ.txt"
for n in longfilename1.txt longfilename2.txt LongFileName3.txt archive.tar.gz a.b.c.d abcdefgh.ij.kl .dotfile; do
  echo "$n" >"$src/$n"
done
echo hidden >"$src/.hidden dir/x"
echo other >"$work/other/o.txt"

# What a Joliet reader must give back: names over 64 characters cut keeping
# the extension, the second cut made distinct; folders starting with a dot left out.
mkdir "$work/expected"
cp -a "$src" "$work/other" "$work/expected/"
short=$(printf 'L%.0s' $(seq 1 60))
shorter=$(printf 'L%.0s' $(seq 1 59))
mv "$work/expected/src/$long.txt" "$work/expected/src/$short.txt"
mv "$work/expected/src/${long}x.txt" "$work/expected/src/${shorter}0.txt"
rm -rf "$work/expected/src/.hidden dir"

"$tarvo_iso" list "$work/list.dat" "$src" "$work/other" || fail "tarvo-iso list"
"$tarvo_iso" image "$work/list.dat" "$work/out.iso" --label rtrip 2>"$work/messages" || { cat "$work/messages"; fail "tarvo-iso image"; }
"$isocheck" "$work/out.iso" || fail "isocheck"

compare() { # reader name, extracted folder[, expected folder]
  diff -r "${3:-$work/expected}" "$2" >"$work/diff-$1" 2>&1 || { head -20 "$work/diff-$1"; fail "$1 extraction differs"; }
  echo "ok: $1"
}
xorriso -osirrox on -indev "$work/out.iso" -extract / "$work/x-xorriso" >/dev/null 2>&1 || fail "xorriso"
chmod -R u+w "$work/x-xorriso"
compare xorriso "$work/x-xorriso"
7z x -o"$work/x-7z" "$work/out.iso" >/dev/null || fail "7z"
compare 7z "$work/x-7z"
mkdir "$work/x-bsdtar" && bsdtar -xf "$work/out.iso" -C "$work/x-bsdtar" || fail "bsdtar"
compare bsdtar "$work/x-bsdtar"
# isoinfo extracts one file at a time, every path of its Joliet listing. It
# shows names in Latin-1 with "_" for what Latin-1 lacks, and keeps ";1".
python3 - "$work/expected" "$work/expected-isoinfo" <<'PY'
import os, shutil, sys
src, dst = sys.argv[1], sys.argv[2]
latin = lambda name: "".join(c if ord(c) < 256 else "_" for c in name)
for root, dirs, files in os.walk(src):
    rel = os.path.relpath(root, src)
    out = os.path.join(dst, *[latin(p) for p in rel.split(os.sep) if p != "."])
    os.makedirs(out, exist_ok=True)
    for f in files:
        shutil.copyfile(os.path.join(root, f), os.path.join(out, latin(f)))
PY
mkdir "$work/x-isoinfo"
isoinfo -i "$work/out.iso" -J -j iso8859-1 -f >"$work/isoinfo-list"
while IFS= read -r path; do
  name=$(printf '%s' "$path" | iconv -f ISO-8859-1 -t UTF-8 | sed 's/;1$//')
  if [ -d "$work/expected-isoinfo$name" ]; then mkdir -p "$work/x-isoinfo$name"
  else isoinfo -i "$work/out.iso" -J -j iso8859-1 -x "$path" >"$work/x-isoinfo$name"; fi
done <"$work/isoinfo-list"
compare "isoinfo -J" "$work/x-isoinfo" "$work/expected-isoinfo"

# The primary (8.3) tree reaches every file's data too: same contents, as a multiset.
xorriso -osirrox on -read_fs ecma119 -indev "$work/out.iso" -extract / "$work/x-primary" >/dev/null 2>&1 || fail "xorriso primary"
( cd "$work/expected" && find . -type f -exec sha1sum {} + | cut -c1-40 | sort ) >"$work/sums-expected"
( cd "$work/x-primary" && find . -type f -exec sha1sum {} + | cut -c1-40 | sort ) >"$work/sums-primary"
cmp -s "$work/sums-expected" "$work/sums-primary" || fail "primary tree does not reach every file"
isoinfo -i "$work/out.iso" -f | sort | uniq -d | grep . && fail "duplicate primary identifiers"
echo "ok: primary tree"

# The descriptors' fields as isoinfo -d shows them.
isoinfo -d -i "$work/out.iso" >"$work/descriptors"
size=$(($(stat -c %s "$work/out.iso") / 2048))
for field in "Volume id: RTRIP" "Logical block size is: 2048" "Volume size is: $size" \
  "Joliet with UCS level 3 found" "Application id: TARVO DATA CD RECORDER - THE TARVO TEAM"; do
  grep -q "^$field" "$work/descriptors" || { cat "$work/descriptors"; fail "isoinfo -d: $field"; }
done
echo "ok: isoinfo -d"

# Without file data: structures only, the file records pointing past the end.
"$tarvo_iso" image "$work/list.dat" "$work/nodata.iso" --no-data 2>/dev/null || fail "tarvo-iso image --no-data"
"$isocheck" "$work/nodata.iso" --allow-short || fail "isocheck --no-data image"
[ "$(stat -c %s "$work/nodata.iso")" -lt "$(stat -c %s "$work/out.iso")" ] || fail "--no-data image not shorter"

# A damaged list is refused, nothing left behind, non-zero exit.
head -c 60 "$work/list.dat" >"$work/damaged.dat"
if "$tarvo_iso" image "$work/damaged.dat" "$work/damaged.iso" 2>"$work/damaged-messages"; then fail "damaged list accepted"; fi
grep -q "damaged" "$work/damaged-messages" || fail "no damage message"
[ ! -e "$work/damaged.iso" ] || fail "damaged list left an image"
echo "ok: damaged list refused"
