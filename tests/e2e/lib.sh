# Shared steps of the end-to-end checks: kalmia.exe under Wine on the X display
# that the test command started, driven with xdotool, checked on screenshots.
# Every wait is for a window or a state, bounded by a deadline.
set -uo pipefail
E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$E2E_ROOT/scripts/wine-env.sh"
E2E_NAME="$(basename "$0" .sh)"
E2E_OUT="$E2E_ROOT/build/e2e/$E2E_NAME"
KALMIA_EXE="$E2E_ROOT/build/windows/kalmia.exe"
PIXELS="python3 $E2E_ROOT/tests/e2e/pixels.py"
rm -rf "$E2E_OUT" && mkdir -p "$E2E_OUT"

if [ -z "${DISPLAY:-}" ]; then
  prepare_wine_prefix
  start_virtual_display || exit 1
  trap stop_virtual_display EXIT
fi

LAST_SHOT=""
screenshot() {  # name
  LAST_SHOT="$E2E_OUT/$1.png"
  import -window root "$LAST_SHOT"
}

fail() {
  echo "FAIL [$E2E_NAME]: $*" >&2
  screenshot failure
  echo "last screenshot: $LAST_SHOT" >&2
  wineserver -k 2>/dev/null
  exit 1
}

# Starts kalmia.exe in a clean state; its exit code lands in $E2E_OUT/exit_code.
start_kalmia() {
  rm -f "$E2E_OUT/exit_code"
  (cd "${1:-$E2E_OUT}" && timeout --kill-after=5 180 wine "$KALMIA_EXE"; echo $? >"$E2E_OUT/exit_code") &
  MAIN_WINDOW=$(wait_for_window "Kalmia") || fail "the main window did not appear"
  xprop -id "$MAIN_WINDOW" WM_CLASS | grep -q '"kalmia.exe"' || fail "the window is not kalmia.exe's"
}

# The X window whose title is exactly $1 (Japanese titles compared here, since
# xdotool's own name search does not match them), waited for up to $2 seconds.
wait_for_window() {
  local title="$1" deadline=$((SECONDS + ${2:-30}))
  while [ "$SECONDS" -lt "$deadline" ]; do
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      if [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$title" ]; then
        echo "$window"
        return 0
      fi
    done
    sleep 0.2
  done
  return 1
}

wait_for_no_window() {
  local title="$1" deadline=$((SECONDS + ${2:-30}))
  while [ "$SECONDS" -lt "$deadline" ]; do
    local seen=0
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$title" ] && seen=1
    done
    [ "$seen" -eq 0 ] && return 0
    sleep 0.2
  done
  return 1
}

# Waits for a saved pair <base>.xml and <base>.map to appear. A save moves each
# finished file into place in one step, grid file last, so once both names
# exist both files are complete.
wait_for_saved_pair() {  # base [seconds]
  local base="$1" deadline=$((SECONDS + ${2:-15}))
  until [ -f "$base.xml" ] && [ -f "$base.map" ]; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Waits for kalmia.exe to end; prints its exit code.
wait_for_exit() {
  local deadline=$((SECONDS + ${1:-30}))
  while [ "$SECONDS" -lt "$deadline" ]; do
    if [ -f "$E2E_OUT/exit_code" ]; then
      cat "$E2E_OUT/exit_code"
      timeout 30 wineserver -w
      return 0
    fi
    sleep 0.2
  done
  return 1
}

window_geometry() {  # window -> "x y width height"
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=|^Y=|^WIDTH=|^HEIGHT=/{printf "%s ", $2}'
}

# Clicks the close box that Wine draws at the right end of the title bar.
click_close_box() {
  read -r x y width _ <<<"$(window_geometry "$1")"
  xdotool mousemove $((x + width - 12)) $((y + 9)) click 1
}

# Client origin of the main window on the screen: found on the screenshot as
# the top-left corner of a default 50 × 50 map's white square.
# Retried until the first paint has reached the screen.
locate_client() {
  local deadline=$((SECONDS + 20))
  while [ "$SECONDS" -lt "$deadline" ]; do
    screenshot locate
    $PIXELS locate-default-map "$LAST_SHOT" && return 0
    sleep 0.3
  done
  return 1
}
