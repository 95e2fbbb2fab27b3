#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the native
# core tests, the Windows tests under Wine in Xvfb, and the end-to-end checks
# of kalmia.exe with real input. Exits non-zero if anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh native windows || exit 1

passed=0
failed=0
skipped=""
record() {  # name, status
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "== $1: passed"
  else failed=$((failed + 1)); echo "== $1: FAILED (status $2)"; fi
}
# Runs a CTest preset; tests that skipped themselves (a tmpfs that cannot be
# mounted here, say) are listed again in the summary, so a skip is never silent.
run_ctest() {  # preset
  local log="build/$1/ctest.log" status found
  ctest --preset "$1" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  found=$(grep -E '\(Skipped\)$' "$log" | sed "s/^[[:space:]]*/  $1: /")
  [ -z "$found" ] || skipped+="$found"$'\n'
  return "$status"
}

run_ctest native
record "native core tests" $?
cat build/native/interrupted_save_report.txt 2>/dev/null

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer:
# any report aborts the test that caused it.
bash scripts/build.sh sanitize >/dev/null &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    run_ctest sanitize
record "native core tests with sanitizers" $?

bash scripts/fuzz.sh "${KALMIA_FUZZ_SECONDS:-30}"
record "fuzz targets" $?

source scripts/wine-env.sh
prepare_wine_prefix || exit 1
trap stop_wine_and_display EXIT
start_virtual_display || exit 1

KALMIA_TEST_DATA="Z:$(pwd | tr / '\\')\\tests\\data" \
  run_wine 600 build/windows/tests/kalmia_win32_tests.exe '--gtest_filter=-WesternCodePage.*'
record "Windows tests under Wine" $?

# The same program on a Western system: ANSI code page 1252.
LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 \
  run_wine 120 build/windows/tests/kalmia_win32_tests.exe '--gtest_filter=WesternCodePage.*'
record "Windows tests under Wine, Western code page" $?

for check in tests/e2e/*_test.sh; do
  bash "$check"
  status=$?  # before the name's command substitution resets $?
  record "end to end: $(basename "$check" .sh)" "$status"
done

[ -z "$skipped" ] || printf 'skipped:\n%s' "$skipped"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
