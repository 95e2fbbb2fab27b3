#!/usr/bin/env bash
# Installs what is missing, builds kalmia.exe and opens the editor under Wine
# with the Japanese locale. Uses the current X display, or a virtual one if
# there is none.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh windows
source scripts/wine-env.sh
prepare_wine_prefix
if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display
  echo "No X display: Kalmia runs on the virtual display $DISPLAY."
fi
wine build/windows/kalmia.exe
wineserver -w
