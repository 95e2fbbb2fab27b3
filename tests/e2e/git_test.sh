#!/usr/bin/env bash
# kalmia-cli as git's merge driver and diff text converter, in a real repository.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
exec python3 "$root/tests/e2e/git_test.py" "$root/build/native/src/cli/kalmia-cli"
