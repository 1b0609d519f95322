#!/bin/sh
# Sets up a Debian machine (as root), builds Tarvo and starts it under Wine.
# The program folder is build/run: Tarvo.exe, its help file and, unless
# TARVO_REAL_ASPI=1 asks for Wine's own ASPI layer (real drives), the virtual
# recorder's WNASPI32.DLL holding a blank CD-R, mirrored on drive letter R:.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/build.sh win64
sh scripts/wine-prefix.sh >/dev/null
export WINEPREFIX="$(pwd)/build/wineprefix" WINEDEBUG=-all

run=build/run
mkdir -p "$run"
cp build/win64/bin/Tarvo.exe "$run/"
[ -f app/res/tvohelp.txt ] && cp app/res/tvohelp.txt "$run/"
if [ "${TARVO_REAL_ASPI:-0}" != 1 ]; then
  sh scripts/vrec-setup.sh "$run" build/win64
else
  # Wine's own ASPI layer reaches the machine's real drives.
  rm -f "$run/WNASPI32.DLL"
fi

cd "$run"
if [ -n "${DISPLAY:-}" ]; then
  exec sh ../../scripts/wine-run.sh Tarvo.exe
fi
echo "No display: starting Tarvo on a virtual X display (Xvfb :99)."
echo "See it with: DISPLAY=:99 import -window root /tmp/tarvo.png   (ImageMagick), or set DISPLAY and run again."
Xvfb :99 -screen 0 1280x1024x24 >/dev/null 2>&1 &
export DISPLAY=:99
sleep 1
exec sh ../../scripts/wine-run.sh Tarvo.exe
