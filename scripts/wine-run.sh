#!/bin/sh
# Runs a Windows program under Wine with the project's private prefix
# (build/wineprefix unless WINEPREFIX says otherwise). Used as the CMake
# cross-compiling emulator, so ctest runs the Windows test programs with it.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix}"
: "${WINEDEBUG:=-all}"
export WINEPREFIX WINEDEBUG
# No Mono or Gecko downloads: there is no network for them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
