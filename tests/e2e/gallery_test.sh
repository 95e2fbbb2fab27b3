#!/usr/bin/env bash
# The gallery page of kalmia-cli in headless Chromium (Debian's chromium,
# chromium-driver and python3-selenium, so Debian's own python3).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
mkdir -p "$root/build/e2e"
exec /usr/bin/python3 "$root/tests/e2e/gallery_test.py" "$root/build/native/src/cli/kalmia-cli"
