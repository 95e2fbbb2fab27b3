#!/usr/bin/env bash
# What the editor remembers between runs, in HKCU\Software\Kalmia: the
# status bar, the tool, the overview, the window's place and the recent
# files; a restart that keeps them, bad values that give the defaults, and
# a recent pair that was deleted.
source "$(dirname "$0")/lib.sh"

KEY='HKCU\Software\Kalmia'
setting() {  # name -> the value as `wine reg query` prints it, or nothing
  wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name {print $3}'
}
expect_setting() {  # name value
  local deadline=$((SECONDS + 5)) seen
  until seen=$(setting "$1") && [ "$seen" = "$2" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "setting $1 is \"$seen\", not \"$2\""
    sleep 0.3
  done
}
cell() { echo $((cx + $1 * 8 + 4)) $((cy + $2 * 8 + 4)); }
view_height() {
  screenshot "$1"
  pixels client-extent "$LAST_SHOT" "$cx" "$cy" | awk '{print $2}'
}
# The pen paints the pointer's path; the line tool only the straight line.
draws_with_pen() {  # row
  # Pauses between the moves: the system keeps only the latest of the
  # mouse moves waiting in a queue.
  xdotool mousemove $(cell 5 "$1") mousedown 1 sleep 0.3 mousemove $(cell 5 $(($1 + 3))) \
    sleep 0.3 mousemove $(cell 10 "$1") sleep 0.3 mouseup 1
  sleep 0.5
  [ "$(read_cells "path$1" 11 $(($1 + 4)) | sed -n "$(($1 + 4))p" | cut -c6)" = "#" ]
}
folder_windows=$(winepath -w "$E2E_OUT")

start_kalmia
read -r cx cy <<<"$(locate_client)"
[ -n "${cx:-}" ] || fail "no default map on the screen"
[ -z "$(setting StatusBar)" ] || fail "a first start found settings"
full_height=$(view_height first)

# 1. Each change is written as it happens.
xdotool key alt+v s
expect_setting StatusBar 0x1
[ "$(view_height with_bar)" -lt "$full_height" ] || fail "the status bar did not take the view's bottom"
xdotool key l
expect_setting Tool 0x1
xdotool key alt+v o
wait_for_window "全体図" >/dev/null || fail "the overview did not open"
expect_setting OverviewOpen 0x1
xdotool key ctrl+s
wait_for_window "名前を付けて保存" >/dev/null || fail "Ctrl+S did not open the Save dialog"
xdotool type "$folder_windows\\stage"
xdotool key Return
wait_for_saved_pair "$E2E_OUT/stage" || fail "the pair was not saved"
expect_setting Recent1 "$folder_windows\\stage.map"
read -r wx wy _ <<<"$(window_geometry "$MAIN_WINDOW")"
expect_setting WindowLeft "0x$(printf %x "$wx")"
click_close_box "$MAIN_WINDOW"
wait_for_exit >/dev/null || fail "the editor did not end"
# Where the window was moved to while the editor was not running.
wine reg add "$KEY" /v WindowLeft /t REG_DWORD /d $((wx + 100)) /f >/dev/null 2>&1
wine reg add "$KEY" /v WindowTop /t REG_DWORD /d $((wy + 50)) /f >/dev/null 2>&1

# 2. A restart keeps them: the overview opens, the bar and the line tool are
# back, and &1 opens the recent pair.
start_kalmia_keeping_state
wait_for_window "全体図" >/dev/null || fail "the overview did not open again"
read -r nx ny _ <<<"$(window_geometry "$MAIN_WINDOW")"
[ "$nx" = $((wx + 100)) ] || fail "the window came back at $nx, not $((wx + 100))"
cx=$((cx + nx - wx)) cy=$((cy + ny - wy))
[ "$(view_height restarted)" -lt "$full_height" ] || fail "the status bar was not back"
draws_with_pen 20 && fail "the line tool was not back"
xdotool mousemove $((nx + 300)) $((ny + 9)) click 1  # the X focus, without a window manager
xdotool key p
draws_with_pen 30 || fail "the pen did not draw its path"
xdotool key alt+f 1
sleep 1
wait_for_cells reopened 11 3 "...........
...........
..........." >/dev/null || fail "&1 did not open the recent pair"
click_close_box "$MAIN_WINDOW"
wait_for_exit >/dev/null || fail "the editor did not end"

# 3. Bad values give the defaults; a window off every monitor comes back.
wine reg add "$KEY" /v Tool /t REG_DWORD /d 9 /f >/dev/null 2>&1
wine reg add "$KEY" /v StatusBar /t REG_SZ /d yes /f >/dev/null 2>&1
wine reg add "$KEY" /v WindowLeft /t REG_DWORD /d 20000 /f >/dev/null 2>&1
rm "$E2E_OUT/stage.map" "$E2E_OUT/stage.xml"
start_kalmia_keeping_state
# The strokes above were not saved: their recovery copy is declined.
wait_for_window "編集の復元" >/dev/null || fail "the unsaved strokes were not offered"
xdotool key n
wait_for_no_window "編集の復元" || fail "No did not close the box"
read -r nx ny _ <<<"$(window_geometry "$MAIN_WINDOW")"
[ "$nx" -lt 2560 ] || fail "the window stayed off the monitor at $nx"
cx=$((cx + nx - wx - 100)) cy=$((cy + ny - wy - 50))
[ "$(view_height defaults)" = "$full_height" ] || fail "a bad StatusBar value showed the bar"
draws_with_pen 20 || fail "a bad Tool value did not give the pen"

# 4. A recent pair that was deleted: the load failure box, and it leaves the list.
xdotool key alt+f 1
wait_for_window "エラー" >/dev/null || fail "no failure box for a deleted recent pair"
xdotool key Return
deadline=$((SECONDS + 5))
while [ -n "$(setting Recent1)" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the deleted pair stayed in the list"
  sleep 0.3
done
click_close_box "$MAIN_WINDOW"
wait_for_exit >/dev/null || fail "the editor did not end"
echo "settings_test: passed"
