#!/bin/sh
# Puts the virtual CD recorder beside a program under Wine: WNASPI32.DLL, a
# vrec.cfg with one recorder holding a blank 80-minute CD-R (vrec-disc.img,
# kept between runs), its mirror folder on the CD-ROM drive letter R:, and
# the per-program Wine setting that makes Tarvo.exe load this DLL instead of
# Wine's own. Usage: vrec-setup.sh PROGRAM_FOLDER [WIN64_BUILD_FOLDER]
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
run=$(cd "$1" && pwd)
build=${2:-$here/build/win64}
: "${WINEPREFIX:=$here/build/wineprefix}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

cp "$build/vrec/WNASPI32.DLL" "$run/"
cp "$build/vrec/vrec.exe" "$run/" 2>/dev/null || true
if [ ! -f "$run/vrec.cfg" ]; then
  cat >"$run/vrec.cfg" <<CFG
# Virtual recorder (format: vrec/README.md).
time-scale = 0.05
trace = vrec-trace.log
[adapter 0]
targets = 8
[device 0:1:0]
disc = vrec-disc.img
media = cdr80
mirror = vrec-mirror
CFG
fi
mkdir -p "$run/vrec-mirror"
wine reg add 'HKCU\Software\Wine\AppDefaults\Tarvo.exe\DllOverrides' /v wnaspi32 /d native,builtin /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f >/dev/null 2>&1
ln -sfn "$run/vrec-mirror" "$WINEPREFIX/dosdevices/r:"
# Wine reads its drive letters when its server starts.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
