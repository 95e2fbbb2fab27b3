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
record() {  # name, status
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "== $1: passed"
  else failed=$((failed + 1)); echo "== $1: FAILED (status $2)"; fi
}

ctest --preset native
record "native core tests" $?

source scripts/wine-env.sh
prepare_wine_prefix
start_virtual_display || exit 1
trap stop_virtual_display EXIT

KALMIA_TEST_DATA="Z:$(pwd | tr / '\\')\\tests\\data" \
  run_wine 600 build/windows/tests/kalmia_win32_tests.exe
record "Windows tests under Wine" $?

for check in tests/e2e/*_test.sh; do
  bash "$check"
  record "end to end: $(basename "$check" .sh)" $?
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
