#!/usr/bin/env bash
# Kalmia used as a person would, with real keyboard and mouse input: paint and
# erase, undo and redo, the overview, change the parameters (a Japanese name pasted from the clipboard),
# scroll with the arrows and the thumb, save, New (No, then Yes), open the
# saved pair again, open a damaged pair, save where it cannot be written, the
# About box, and the close box. The screenshots of the user guide are taken
# here, from the real program, into build/ (scripts/screenshots.sh puts them
# into docs/ through KALMIA_SCREENSHOTS).
source "$(dirname "$0")/lib.sh"

SHOTS="${KALMIA_SCREENSHOTS:-$E2E_OUT/screenshots}"
mkdir -p "$SHOTS"
CONFIRM_TITLE="確認"
ERROR_TITLE="エラー"
PARAMETERS_TITLE="パラメータ設定"
ABOUT_TITLE="バージョン情報"
SAVE_TITLE="名前を付けて保存"
OPEN_TITLE="ファイルを開く"
STAGE_NAME="ステージ１"
folder_windows=$(winepath -w "$E2E_OUT")

start_kalmia
read -r cx cy <<<"$(locate_client)"
[ -n "${cx:-}" ] || fail "no default map on the screen"

cell() { echo $((cx + $1 * 8 + 4)) $((cy + $2 * 8 + 4)); }
stroke() {  # button from-x from-y to-x to-y
  xdotool mousemove $(cell "$2" "$3") mousedown "$1"
  xdotool mousemove $(cell $((($2 + $4) / 2)) $((($3 + $5) / 2))) mousemove $(cell "$4" "$5") mouseup "$1"
}
expect_box() {  # title -> waits for it
  wait_for_window "$1" >/dev/null || fail "no \"$1\" box"
}

# 1. A rectangle outline with left drags, part of its top erased with a right drag.
stroke 1 5 5 25 5
stroke 1 25 5 25 15
stroke 1 25 15 5 15
stroke 1 5 15 5 5
stroke 3 10 5 15 5
shape=$(python3 - <<'PY'
rows = [["."] * 30 for _ in range(20)]
for x in range(5, 26):
    rows[5][x] = rows[15][x] = "#"
for y in range(5, 16):
    rows[y][5] = rows[y][25] = "#"
for x in range(10, 16):
    rows[5][x] = "."
print("\n".join("".join(r) for r in rows))
PY
)
wait_for_cells painted 30 20 "$shape" >/dev/null || fail "the painted shape is not on the screen"
settled_window_shot "$MAIN_WINDOW" "$SHOTS/main_window.png" || fail "the main window kept changing"

# 1b. Ctrl+Z takes the erasing stroke back, Ctrl+Y does it again; the Edit
# menu then offers both, as the user guide shows.
outline=$(python3 - "$shape" <<'PY'
import sys
rows = [list(r) for r in sys.argv[1].split("\n")]
for x in range(10, 16):
    rows[5][x] = "#"
print("\n".join("".join(r) for r in rows))
PY
)
xdotool key ctrl+z
wait_for_cells undone 30 20 "$outline" >/dev/null || fail "Ctrl+Z did not take the last stroke back"
xdotool key ctrl+y
wait_for_cells redone 30 20 "$shape" >/dev/null || fail "Ctrl+Y did not do the last stroke again"
eval "$(xdotool getwindowgeometry --shell "$MAIN_WINDOW")"
screenshot before_menu
xdotool key alt+e
wait_for_screen_change edit_menu_opened "$(pixels digest "$E2E_OUT/before_menu.png")" ||
  fail "the Edit menu did not open"
settled_window_shot root "$E2E_OUT/edit_menu_screen.png" || fail "the Edit menu kept changing"
convert "$E2E_OUT/edit_menu_screen.png" -crop "480x200+$X+$Y" +repage "$SHOTS/edit_menu.png"
xdotool key Escape Escape

# 2. The parameter dialog through the Edit menu's mnemonics.
printf '%s' "$STAGE_NAME" | xclip -selection clipboard
xdotool key alt+e p
expect_box "$PARAMETERS_TITLE"
xdotool key ctrl+v
for value in 300 200 300 400 90 80; do
  xdotool key Tab
  xdotool type "$value"
done
settled_window_shot "$(wait_for_window "$PARAMETERS_TITLE")" "$SHOTS/parameter_dialog.png" ||
  fail "the parameter dialog kept changing"
xdotool key Return
wait_for_no_window "$PARAMETERS_TITLE" || fail "the parameter dialog stayed open"
# The map is now 300 x 200: white where the gray lay right of and below 50 x 50.
grown=$(python3 - "$shape" <<'PY'
import sys
shape = sys.argv[1].split("\n")
print("\n".join((shape[y] if y < len(shape) else "").ljust(51, ".") for y in range(51)))
PY
)
wait_for_cells resized 51 51 "$grown" >/dev/null || fail "the shape did not survive the resize"
read -r client_width client_height <<<"$(pixels client-extent "$E2E_OUT/resized.png" "$cx" "$cy")"
[ -n "${client_height:-}" ] || fail "could not find the client area's extent"

# 3. Scrolling: the right arrow moves the view one cell, the thumb further.
columns=$((client_width / 8 - 2))
before=$(read_cells before_scroll "$columns" 20)
xdotool mousemove $((cx + client_width - 8)) $((cy + client_height + 8)) click 1
wait_for_cells_change after_arrow "$columns" 20 "$before" >/dev/null || fail "the right arrow changed nothing"
[ "$(pixels shift "$E2E_OUT/before_scroll.cells" "$E2E_OUT/after_arrow.cells")" = 1 ] ||
  fail "the right arrow did not scroll one cell"
# The thumb fills most of the bar (the page is most of the map's width): grab
# it well inside and drag it a little to the right.
thumb_x=$((cx + 200)) thumb_y=$((cy + client_height + 8))
xdotool mousemove "$thumb_x" "$thumb_y" mousedown 1 sleep 0.2 mousemove $((thumb_x + 5)) "$thumb_y" \
  sleep 0.2 mousemove $((thumb_x + 10)) "$thumb_y" sleep 0.2 mouseup 1
wait_for_cells_change after_thumb "$columns" 20 "$(cat "$E2E_OUT/after_arrow.cells")" >/dev/null ||
  fail "the thumb changed nothing"
moved=$(pixels shift "$E2E_OUT/before_scroll.cells" "$E2E_OUT/after_thumb.cells") ||
  fail "the thumb did not move the view sideways"
[ "$moved" -gt 1 ] || fail "the thumb moved the view by $moved cells"
# Back to the origin with the left arrow.
xdotool mousemove $((cx + 8)) $((cy + client_height + 8)) click --repeat $((moved + 3)) --delay 80 1
wait_for_cells back_home 30 20 "$shape" >/dev/null || fail "the left arrow did not scroll back"

# 3b. The overview through the View menu, photographed for the user guide,
# and closed again the same way.
OVERVIEW_TITLE="全体図"
xdotool key alt+v o
overview=$(wait_for_window "$OVERVIEW_TITLE") || fail "表示 > 全体図 did not open the overview"
settled_window_shot "$overview" "$SHOTS/overview.png" || fail "the overview kept changing"
xdotool key alt+v o
wait_for_no_window "$OVERVIEW_TITLE" || fail "the overview stayed open"

# 4. Save, typing a name without extension.
xdotool key alt+f a
expect_box "$SAVE_TITLE"
xdotool type "$folder_windows\\stage"
xdotool key Return
wait_for_no_window "$SAVE_TITLE" || fail "the Save dialog stayed open"
wait_for_saved_pair "$E2E_OUT/stage" || fail "stage.xml and stage.map were not written"
expected_xml=$(printf "%s" "<?xml version='1.0' encoding='SHIFT_JIS'?><root><x>300</x><y>200</y><rank1>300</rank1><rank2>400</rank2><rate1>90</rate1><rate2>80</rate2><name>$STAGE_NAME</name></root>" | iconv -f UTF-8 -t CP932)
[ "$(cat "$E2E_OUT/stage.xml")" = "$expected_xml" ] || fail "stage.xml is not the expected bytes"
python3 - "$E2E_OUT/stage.map" "$shape" <<'PY' || fail "stage.map is not the expected bytes"
import sys
shape = sys.argv[2].split("\n")
rows = []
for y in range(200):
    row = ["0"] * 300
    if y < len(shape):
        for x, c in enumerate(shape[y]):
            row[x] = "1" if c == "#" else "0"
    rows.append("".join(row) + "\r\n")
sys.exit(open(sys.argv[1], "rb").read() != "".join(rows).encode())
PY

# 5. New, answered No, then Yes.
xdotool key alt+f n
expect_box "$CONFIRM_TITLE"
xdotool key n
wait_for_no_window "$CONFIRM_TITLE" || fail "No did not close the confirmation"
[ "$(read_cells after_no 30 20)" = "$shape" ] || fail "New answered No changed the view"
xdotool key alt+f n
expect_box "$CONFIRM_TITLE"
xdotool key Return
wait_for_no_window "$CONFIRM_TITLE" || fail "Yes did not close the confirmation"
read -r nx ny <<<"$(locate_client)"
[ "${nx:-}" = "$cx" ] && [ "${ny:-}" = "$cy" ] || fail "New answered Yes did not show a new map"

# 6. Open the saved pair again.
xdotool key alt+f o
expect_box "$OPEN_TITLE"
xdotool type "$folder_windows\\stage.map"
xdotool key Return
wait_for_no_window "$OPEN_TITLE" || fail "the Open dialog stayed open"
wait_for_cells reopened 30 20 "$shape" >/dev/null || fail "the reopened pair does not show the shape"

# 7. A damaged pair: the load failure box, and the view stays.
cp "$E2E_OUT/stage.map" "$E2E_OUT/damaged.map"
head -c 60 "$E2E_OUT/stage.xml" >"$E2E_OUT/damaged.xml"
xdotool key alt+f o
expect_box "$OPEN_TITLE"
xdotool type "$folder_windows\\damaged.map"
xdotool key Return
expect_box "$ERROR_TITLE"
screenshot load_failure
xdotool key Return
wait_for_no_window "$ERROR_TITLE" || fail "the load failure box stayed open"
[ "$(read_cells after_damaged 30 20)" = "$shape" ] || fail "the damaged pair changed the view"

# 8. Saving where the parameter file cannot be written: the save failure box.
mkdir -p "$E2E_OUT/blocked.xml"
xdotool key alt+f a
expect_box "$SAVE_TITLE"
xdotool key ctrl+a
xdotool type "$folder_windows\\blocked"
xdotool key Return
expect_box "$ERROR_TITLE"
screenshot save_failure
xdotool key Return
wait_for_no_window "$ERROR_TITLE" || fail "the save failure box stayed open"
[ ! -e "$E2E_OUT/blocked.map" ] || fail "a failed save left blocked.map behind"

# 9. The About box with Alt+?, closed with Escape.
xdotool key alt+question
about=$(wait_for_window "$ABOUT_TITLE") || fail "Alt+? did not open the About box"
settled_window_shot "$about" "$SHOTS/about_box.png" || fail "the About box kept changing"
xdotool key Escape
wait_for_no_window "$ABOUT_TITLE" || fail "Escape did not close the About box"

# 10. The close box ends the program with exit code 0.
click_close_box "$MAIN_WINDOW"
code=$(wait_for_exit) || fail "kalmia.exe did not end after the close box"
[ "$code" = 0 ] || fail "exit code $code"
pkill -x xclip 2>/dev/null
echo "scenario: ok"
