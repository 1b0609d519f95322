#!/bin/sh
# Creates the private Wine prefix once (about ten seconds) and starts a
# persistent wineserver so that every later wine call is quick.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
wineserver -p >/dev/null 2>&1 || true
echo "$WINEPREFIX"
