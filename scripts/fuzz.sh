#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds each (default 30),
# starting from the seed corpus in tests/fuzz/corpus. A finding (a crash, a
# sanitizer report or a failed property) stops the run with a non-zero exit
# and leaves the input in build/fuzz/findings. A longer run:
#   bash scripts/fuzz.sh 3600
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/build.sh fuzz >/dev/null || exit 1
mkdir -p build/fuzz/findings
status=0
for target in xml_loading map_file_pair parameter_texts xml_differential; do
  work="build/fuzz/corpus-work/$target"
  mkdir -p "$work"
  log="build/fuzz/$target.log"
  ASAN_OPTIONS=detect_leaks=1 "build/fuzz/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=4096 -timeout=20 \
    -artifact_prefix="build/fuzz/findings/$target-" "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1
  result=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}')
  if [ "$result" -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} runs in ${seconds}s, no finding"
  else
    echo "fuzz $target: FINDING (see $log and build/fuzz/findings)"
    tail -n 30 "$log"
    status=1
  fi
done
exit "$status"
