#!/usr/bin/env bash
# Refreshes the user guide's screenshots in docs/screenshots from the real
# program: builds kalmia.exe and runs the scenario and examples tests on a
# virtual display, which save their window, dialog and About box pictures
# there. The test
# command itself keeps its screenshots under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh windows
unset DISPLAY  # always the virtual display, the same for every run
KALMIA_SCREENSHOTS="$(pwd)/docs/screenshots" bash tests/e2e/scenario_test.sh
KALMIA_SCREENSHOTS="$(pwd)/docs/screenshots" bash tests/e2e/examples_test.sh
echo "refreshed docs/screenshots"
