#!/bin/sh
# Sets up a Debian machine (as root), builds every configuration and runs
# every test: native unit tests (built with ASan and UBSan), a brief run of
# every fuzz harness, the Windows tests and end-to-end scenarios under Wine
# and Xvfb. Ends with one summary line.
set -u
cd "$(dirname "$0")/.."
sh scripts/setup.sh || exit 1
# The native core is built once, with ASan and UBSan, and its tests run there.
sh scripts/build.sh asan win64 || { echo "0 passed, 1 failed"; exit 1; }

summary=build/test-summary.txt
: >"$summary"
# The i686 build is compiled only. It runs beside the native tests and the
# build of the fuzz harnesses, and is waited for before the windowed tests,
# whose timing a build on both cores would disturb.
( sh scripts/build.sh win32 >build/build-win32.log 2>&1; echo $? >build/build-win32.rc ) &
win32_build=$!
run_ctest() { # name, build dir, extra ctest args...
  name=$1; dir=$2; shift 2
  echo "== $name"
  ctest --test-dir "$dir" --output-on-failure "$@" | tee "build/ctest-$name.log"
  grep -E "tests passed, [0-9]+ tests failed out of" "build/ctest-$name.log" >>"$summary" || echo "0% tests passed, 1 tests failed out of 1" >>"$summary"
}

run_ctest asan build/asan -j2
echo "== fuzz harnesses (build)"
sh scripts/fuzz.sh build | tail -5
echo "== win32 (i686, compiled only)"
wait "$win32_build"
if [ "$(cat build/build-win32.rc 2>/dev/null)" = 0 ]; then
  echo "100% tests passed, 0 tests failed out of 1" | tee -a "$summary"
else
  cat build/build-win32.log
  echo "0% tests passed, 1 tests failed out of 1" | tee -a "$summary"
fi
sh scripts/wine-prefix.sh >/dev/null
# Every fuzz harness for a minute (clang, ASan, UBSan; a finding fails the
# run), one at a time on one core at low priority, beside the windowed tests,
# which mostly wait for Wine and the virtual display and take longer.
( nice -n 10 sh scripts/fuzz.sh 60 >build/ctest-fuzz.log 2>&1 ) &
fuzz_run=$!
# One virtual display for every windowed test of the run.
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  export WINEPREFIX=$(pwd)/build/wineprefix
  ctest --test-dir build/win64 --output-on-failure --repeat until-pass:2' | tee build/ctest-win64.log
grep -E "tests passed, [0-9]+ tests failed out of" build/ctest-win64.log >>"$summary" || echo "0% tests passed, 1 tests failed out of 1" >>"$summary"
wait "$fuzz_run"
echo "== fuzz"
cat build/ctest-fuzz.log
grep -E "tests passed, [0-9]+ tests failed out of" build/ctest-fuzz.log >>"$summary" || echo "0% tests passed, 1 tests failed out of 1" >>"$summary"

# Stop the Wine servers of every prefix the run used, so that no Wine process
# outlives the run holding its output open.
find build -maxdepth 6 -name system.reg 2>/dev/null | while read -r reg; do
  WINEPREFIX="$(pwd)/$(dirname "$reg")" wineserver -k >/dev/null 2>&1 || true
done

total=0; failed=0
while read -r line; do
  f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  t=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  total=$((total + t)); failed=$((failed + f))
done <"$summary"
echo
echo "$((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
