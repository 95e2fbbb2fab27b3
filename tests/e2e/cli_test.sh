#!/usr/bin/env bash
# kalmia-cli end to end: the native build, and the Windows build under Wine
# without a display.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/scripts/wine-env.sh"
status=0
python3 "$root/tests/e2e/cli_test.py" "$root/build/native/src/cli/kalmia-cli" \
  "$root/build/windows/src/cli/kalmia-cli.exe" || status=$?
timeout 60 wineserver -w || true
exit "$status"
