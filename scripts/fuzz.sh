#!/bin/sh
# Builds the libFuzzer harnesses (preset fuzz: clang with ASan and UBSan) and
# runs each for a bounded time, one after the other, from its committed seeds
# (fuzz/<name>/seeds/) plus the corpus earlier runs grew (build/fuzz/corpus/).
# Usage: scripts/fuzz.sh [seconds per harness, default 25] [harness names...]
#        scripts/fuzz.sh build    (builds them only)
# A finding (crash, sanitizer report, broken property, time-out, memory
# blow-up) leaves its input in build/fuzz/findings/ and fails the run. The
# last line is ctest's summary form, for scripts/test.sh to count.
set -u
cd "$(dirname "$0")/.."
seconds=${1:-25}
[ $# -gt 0 ] && shift
harnesses=${*:-"browser_list recorder_list settings help_topics drive_replies sector_view session_import"}
jobs=$(nproc 2>/dev/null || echo 2)

echo "fuzz: building"
cmake --preset fuzz >build-fuzz.log 2>&1 &&
  cmake --build build/fuzz --target fuzzers -j "$jobs" >>build-fuzz.log 2>&1 ||
  { tail -40 build-fuzz.log; echo "0% tests passed, 1 tests failed out of 1"; exit 1; }
rm -f build-fuzz.log
[ "$seconds" = build ] && exit 0

mkdir -p build/fuzz/findings build/fuzz/logs
total=0; failed=0
for name in $harnesses; do
  corpus=build/fuzz/corpus/$name
  log=build/fuzz/logs/$name.log
  mkdir -p "$corpus"
  # Seeds are read, new inputs go to the corpus of build/; -timeout and
  # -rss_limit_mb turn a hang or a memory blow-up into a finding. The time-out
  # is wall-clock time: generous, since the test run fuzzes at low priority
  # beside other work (an input takes milliseconds).
  build/fuzz/fuzz/fuzz_"$name" "$corpus" "fuzz/$name/seeds" -max_total_time="$seconds" -timeout=25 \
    -rss_limit_mb=2048 -artifact_prefix="build/fuzz/findings/$name-" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  total=$((total + 1))
  if [ "$rc" -eq 0 ]; then
    echo "fuzz $name: ${runs:-?} executions in ${seconds}s, no finding"
  else
    failed=$((failed + 1))
    echo "fuzz $name: FINDING after ${runs:-?} executions (exit $rc), see $log and build/fuzz/findings/"
    grep -E "^==[0-9]+==ERROR|property broken|runtime error|SUMMARY|Test unit written" "$log" | head -8
  fi
done
passed=$((total - failed))
echo "$((100 * passed / total))% tests passed, $failed tests failed out of $total"
[ "$failed" -eq 0 ]
