# Shared steps of the end-to-end checks: kalmia.exe under Wine on the X display
# that the test command started, driven with xdotool, checked on screenshots.
# Every wait is for a window or a state, bounded by a deadline.
set -uo pipefail
E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$E2E_ROOT/scripts/wine-env.sh"
E2E_NAME="$(basename "$0" .sh)"
E2E_OUT="$E2E_ROOT/build/e2e/$E2E_NAME"
KALMIA_EXE="$E2E_ROOT/build/windows/kalmia.exe"
pixels() { python3 "$E2E_ROOT/tests/e2e/pixels.py" "$@"; }
rm -rf "$E2E_OUT" && mkdir -p "$E2E_OUT"

if [ -z "${DISPLAY:-}" ]; then
  prepare_wine_prefix || exit 1
  trap stop_wine_and_display EXIT
  start_virtual_display || exit 1
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

# Starts kalmia.exe in a clean state (no recovery copies); its exit code
# lands in $E2E_OUT/exit_code.
start_kalmia() {
  clear_user_state
  start_kalmia_keeping_state "$@"
}

# The same with what earlier runs left.
start_kalmia_keeping_state() {
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
    pixels locate-default-map "$LAST_SHOT" && return 0
    sleep 0.3
  done
  return 1
}

# The cells shown at the client origin ($cx, $cy), read from a new screenshot
# $E2E_OUT/$1.png, as text: $2 columns by $3 rows. Also kept in
# $E2E_OUT/$1.cells. Mostly called in a command substitution, which does not
# pass LAST_SHOT back: use the file name instead.
read_cells() {  # name columns rows
  screenshot "$1"
  pixels cells "$LAST_SHOT" "$cx" "$cy" "$2" "$3" | tee "$E2E_OUT/$1.cells"
}

# Waits until the view shows exactly the expected cells; prints what it saw
# last. Fails after 15 seconds.
wait_for_cells() {  # name columns rows expected
  local deadline=$((SECONDS + 15)) seen
  while :; do
    seen=$(read_cells "$1" "$2" "$3")
    [ "$seen" = "$4" ] && { echo "$seen"; return 0; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "$seen"; return 1; }
    sleep 0.2
  done
}

# Waits until the view no longer shows the given cells, then until it stops
# changing; prints the cells it settled on. Fails after 15 seconds.
wait_for_cells_change() {  # name columns rows previous
  local deadline=$((SECONDS + 15)) seen last
  seen=$(read_cells "$1" "$2" "$3")
  while [ "$seen" = "$4" ]; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
    seen=$(read_cells "$1" "$2" "$3")
  done
  while :; do
    last=$seen
    sleep 0.2
    seen=$(read_cells "$1" "$2" "$3")
    [ "$seen" = "$last" ] && { echo "$seen"; return 0; }
    [ "$SECONDS" -lt "$deadline" ] || return 1
  done
}

# Takes screenshots of the screen until one differs from the digest $2 (a
# menu opened in a window of its own, say).
wait_for_screen_change() {  # name digest
  local deadline=$((SECONDS + 15))
  while [ "$SECONDS" -lt "$deadline" ]; do
    screenshot "$1"
    [ "$(pixels digest "$LAST_SHOT")" != "$2" ] && return 0
    sleep 0.2
  done
  return 1
}

# Takes screenshots of a window until two in a row are the same: the window
# has finished drawing. Keeps the last one as $2.
settled_window_shot() {  # window file
  local deadline=$((SECONDS + 15)) previous=""
  while :; do
    import -window "$1" "$2"
    local now
    now=$(pixels digest "$2")
    [ "$now" = "$previous" ] && return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    previous=$now
    sleep 0.2
  done
}
