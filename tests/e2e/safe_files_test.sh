#!/usr/bin/env bash
# kalmia-cli never loses a file, never hangs and stays within its bounds.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
exec python3 "$root/tests/e2e/safe_files_test.py" "$root/build/native/src/cli/kalmia-cli" \
  "$root/build/native/tests/kalmia_save_child"
