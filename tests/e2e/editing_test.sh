#!/usr/bin/env bash
# Painting with real mouse input: fast left drags (a few motion events over
# many cells) set unbroken lines, a right drag clears part of them, and a
# click on a scroll arrow shifts the picture by exactly one cell (8 pixels).
# Each stroke is straight, so however the system merges motion events, the
# cells passed over are the same.
source "$(dirname "$0")/lib.sh"

start_kalmia
read -r cx cy <<<"$(locate_client)"
[ -n "${cx:-}" ] || fail "no default map on the screen"

cell() { echo $((cx + $1 * 8 + 4)) $((cy + $2 * 8 + 4)); }
drag() {  # button, then cells "x,y" along the stroke
  local button="$1"
  shift
  local first="$1"
  shift
  xdotool mousemove $(cell "${first%,*}" "${first#*,}") mousedown "$button"
  for point in "$@"; do xdotool mousemove $(cell "${point%,*}" "${point#*,}"); done
  xdotool mouseup "$button"
}

drag 1 2,10 21,10 40,10
drag 1 40,10 40,22 40,30
drag 3 10,10 30,10
expected=$(python3 - <<'PY'
rows = [["."] * 50 for _ in range(50)]
for x in range(2, 41):
    rows[10][x] = "#"
for y in range(10, 31):
    rows[y][40] = "#"
for x in range(10, 31):
    rows[10][x] = "."
print("\n".join("".join(row) for row in rows))
PY
)
actual=$(wait_for_cells painted 50 50 "$expected") ||
  { diff <(echo "$expected") <(echo "$actual") >&2; fail "the painted cells differ"; }

# Make the map larger than the window through the parameter dialog (Edit >
# Change parameters), so the bars can scroll.
xdotool key alt+e p
parameters_title="パラメータ設定"
wait_for_window "$parameters_title" >/dev/null || fail "the parameter dialog did not open"
xdotool key Tab && xdotool type 300 && xdotool key Tab && xdotool type 300 && xdotool key Return
wait_for_no_window "$parameters_title" || fail "the parameter dialog stayed open"
# The map now reaches past the old 50 x 50: column 50 turns from gray to white.
enlarged=$(wait_for_cells enlarged 51 40 "$(head -n 40 <<<"$expected" | sed 's/$/./')") ||
  fail "the enlarged map does not show the painted cells"
before=$(cut -c1-50 <<<"$enlarged")
read -r client_width client_height <<<"$(pixels client-extent "$E2E_OUT/enlarged.png" "$cx" "$cy")"
[ -n "${client_height:-}" ] || fail "could not find the client area's extent"

# The vertical bar's down arrow is its bottom square, just right of the client.
xdotool mousemove $((cx + client_width + 8)) $((cy + client_height - 8)) click 1
after=$(wait_for_cells_change scrolled_down 50 40 "$before") || fail "the down arrow changed nothing"
[ "$(echo "$after" | head -n 39)" = "$(echo "$before" | tail -n +2)" ] ||
  fail "the down arrow did not shift the view up by one cell"

# The horizontal bar's right arrow likewise shifts the view left by one cell.
xdotool mousemove $((cx + client_width - 8)) $((cy + client_height + 8)) click 1
right=$(wait_for_cells_change scrolled_right 50 40 "$after") || fail "the right arrow changed nothing"
[ "$(echo "$right" | cut -c1-49)" = "$(echo "$after" | cut -c2-50)" ] ||
  fail "the right arrow did not shift the view left by one cell"

xdotool key alt+F4
code=$(wait_for_exit) || fail "kalmia.exe did not end"
[ "$code" = 0 ] || fail "exit code $code"
echo "editing: ok"
