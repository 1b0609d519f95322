#!/bin/sh
# Installs what building and testing Tarvo needs on a Debian machine (as root).
# Safe to run again: apt-get skips what is already there.
set -e
pkgs="cmake make g++ googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xauth python3
  genisoimage xorriso p7zip-full libarchive-tools libcdio-utils bc
  clang libclang-rt-dev"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
