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
# Whichever way this script ends, no Wine process or Xvfb of it stays behind.
trap stop_wine_and_display EXIT
if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display
  echo "No X display: Kalmia runs on the virtual display $DISPLAY."
else
  # The user's own desktop: its window manager moves, resizes and lists the editor.
  set_window_management Y
fi
wine build/windows/kalmia.exe
wineserver -w
