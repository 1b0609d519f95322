#!/bin/sh
# The mirror folder as a Wine CD-ROM drive letter: a probe program records a
# session through WNASPI32.DLL and then finds the session's files on D:.
# Changes only its own Wine prefix (BIN/wineprefix-mirror, created on first
# use), never the shared one. Usage: mirror_drive_test.sh BIN (the folder
# holding vrec_mirror_probe.exe and WNASPI32.DLL). Exit 77: skipped.
set -eu
bin=$(cd "$1" && pwd)
command -v genisoimage >/dev/null 2>&1 || { echo "genisoimage not installed"; exit 77; }
command -v wine >/dev/null 2>&1 || { echo "wine not installed"; exit 77; }
export WINEPREFIX="$bin/wineprefix-mirror" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;wnaspi32=n,b"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
work="$bin/mirror-work"
rm -rf "$work"
mkdir -p "$work/mirror" "$work/src/Docs"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
printf 'first file\n' >"$work/src/readme.txt"
head -c 10000 /dev/zero | tr '\000' 'z' >"$work/src/Docs/A long Joliet file name.bin"
genisoimage -quiet -J -V MIRRORED -o "$work/session.iso" "$work/src"

wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
ln -sfn "$work/mirror" "$WINEPREFIX/dosdevices/d:"
wineserver -k >/dev/null 2>&1 || true  # Wine reads its drives anew
wineserver -w

cat >"$work/vrec.cfg" <<CFG
[device 0:1:0]
disc = disc.img
media = cdr80
mirror = mirror
CFG
windows() { printf 'Z:%s' "$1" | tr '/' '\\'; }
cd "$bin"
export VREC_CONFIG="$(windows "$work/vrec.cfg")"
wine ./vrec_mirror_probe.exe record "$(windows "$work/session.iso")" \
  readme.txt 11 "Docs\\A long Joliet file name.bin" 10000 </dev/null
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine ./vrec_mirror_probe.exe check 2 readme.txt 11 </dev/null
echo "mirror drive: all checks passed"
