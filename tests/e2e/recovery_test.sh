#!/usr/bin/env bash
# The recovery copy of unsaved work: kept while edits are unsaved, offered
# at the next start ("編集の復元"), removed by Save, New and No; two editors
# at once; writes that fail; and the editor killed at random moments.
source "$(dirname "$0")/lib.sh"

RECOVERY="$(kalmia_user_data)/Recovery"
BOX="編集の復元"
copies() { python3 "$E2E_ROOT/tests/e2e/recovery_copies.py" "$@" "$RECOVERY"; }
cell() { echo $((cx + $1 * 8 + 4)) $((cy + $2 * 8 + 4)); }
click_cell() { xdotool mousemove $(cell "$1" "$2") click "${3:-1}"; }
the_kalmia() { pgrep -x kalmia.exe | head -1; }

# Waits up to 2.5 s (the copy follows a step within 2 s) for the copy to
# hold exactly these set cells ("none": no copy).
wait_for_copy() {  # expected
  local deadline seen
  deadline=$(($(date +%s%N) / 1000000 + 2500))
  while :; do
    seen=$(copies cells 2>&1 | paste -sd' ')
    [ "$seen" = "$1" ] && return 0
    [ $(($(date +%s%N) / 1000000)) -lt "$deadline" ] || { echo "copy: $seen" >&2; return 1; }
    sleep 0.1
  done
}

expect_box() { wait_for_window "$1" >/dev/null || fail "no \"$1\" box"; }
expect_no_box() { ! wait_for_window "$1" "${2:-3}" >/dev/null || fail "an unexpected \"$1\" box"; }

# The client origin from the main window's place: a recovered map does not
# look like the default one, so it is measured once on a clean start.
locate_from_window() {
  read -r wx wy _ <<<"$(window_geometry "$MAIN_WINDOW")"
  cx=$((wx + client_dx)) cy=$((wy + client_dy))
}

# Waits only for the process, not for the Wine server to end as well, so
# that the next start finds it running.
kill_kalmia() {
  kill -9 $(pgrep -x kalmia.exe) 2>/dev/null
  local deadline=$((SECONDS + 20))
  until [ -f "$E2E_OUT/exit_code" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the killed editor did not end"
    sleep 0.1
  done
}

start_kalmia
read -r cx cy <<<"$(locate_client)"
[ -n "${cx:-}" ] || fail "no default map on the screen"
read -r wx wy _ <<<"$(window_geometry "$MAIN_WINDOW")"
client_dx=$((cx - wx)) client_dy=$((cy - wy))

# 1. The copy follows steps, undo included, and goes when they are undone.
click_cell 1 1
click_cell 2 1
wait_for_copy "1,1 2,1" || fail "no copy of two strokes"
xdotool key ctrl+z
wait_for_copy "1,1" || fail "the copy did not follow an undo"
xdotool key ctrl+z
wait_for_copy "none" || fail "the copy stayed with no unsaved change"
xdotool key ctrl+y
wait_for_copy "1,1" || fail "the copy did not follow a redo"

# 2. Exit leaves it; the next start offers it, and No removes it.
click_close_box "$MAIN_WINDOW"
wait_for_exit >/dev/null || fail "the close box did not end the editor"
[ "$(copies count)" = 1 ] || fail "the close box did not leave the copy"
start_kalmia_keeping_state
expect_box "$BOX"
xdotool key n
wait_for_no_window "$BOX" || fail "No did not close the box"
[ "$(copies count)" = 0 ] || fail "No did not remove the copy"
read -r nx ny <<<"$(locate_client)"
[ "${nx:-}" = "$cx" ] || fail "No did not leave the default map"

# 3. A killed editor's copy; Yes brings the map back, with unsaved changes.
click_cell 3 3
click_cell 4 3
wait_for_copy "3,3 4,3" || fail "no copy before the kill"
kill_kalmia
start_kalmia_keeping_state
expect_box "$BOX"
xdotool key Return
wait_for_no_window "$BOX" || fail "Yes did not close the box"
locate_from_window
wait_for_cells recovered 6 5 "......
......
......
...##.
......" >/dev/null || fail "Yes did not bring the map back"
click_cell 5 4
wait_for_copy "3,3 4,3 5,4" || fail "the recovered map's copy did not follow"
[ "$(copies count)" = 1 ] || fail "the recovered map did not keep its copy"

# 4. Save removes the copy; New answered Yes too; Open leaves it.
folder_windows=$(winepath -w "$E2E_OUT")
xdotool key alt+f a
expect_box "名前を付けて保存"
xdotool type "$folder_windows\\stage"
xdotool key Return
wait_for_saved_pair "$E2E_OUT/stage" || fail "the pair was not saved"
wait_for_copy "none" || fail "Save did not remove the copy"
click_cell 6 6
wait_for_copy "3,3 4,3 5,4 6,6" || fail "no copy after the save"
xdotool key alt+f n
expect_box "確認"
xdotool key Return
wait_for_copy "none" || fail "New did not remove the copy"
click_cell 7 7
wait_for_copy "7,7" || fail "no copy of the new map"
xdotool key alt+f o
expect_box "ファイルを開く"
xdotool type "$folder_windows\\stage.map"
xdotool key Return
wait_for_no_window "ファイルを開く" || fail "the Open dialog stayed open"
sleep 1
[ "$(copies cells | paste -sd' ')" = "7,7" ] || fail "Open did not leave the copy"
click_cell 8 8
deadline=$((SECONDS + 3))
until [ "$(copies count)" = 2 ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the opened map got no copy of its own"
  sleep 0.1
done
kill_kalmia

# 5. Two editors at once: neither offers the other's copy while it runs.
start_kalmia
click_cell 1 1
wait_for_copy "1,1" || fail "no copy in the first editor"
first=$(the_kalmia)
(cd "$E2E_OUT" && timeout --kill-after=5 60 wine "$KALMIA_EXE") &
deadline=$((SECONDS + 30))
until [ "$(pgrep -x kalmia.exe | wc -l)" = 2 ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the second editor did not start"
  sleep 0.2
done
expect_no_box "$BOX" 4
kill -9 "$first"
(cd "$E2E_OUT" && timeout --kill-after=5 60 wine "$KALMIA_EXE") &
expect_box "$BOX"
xdotool key n
expect_no_box "$BOX" 3
[ "$(copies count)" = 0 ] || fail "No did not remove the first editor's copy"
wineserver -k 2>/dev/null
timeout 30 wineserver -w

# 6. Writes that fail leave editing alone; the next step tries again.
clear_user_state
mkdir -p "$(dirname "$RECOVERY")" && echo "not a folder" >"$RECOVERY"
start_kalmia_keeping_state
locate_from_window
click_cell 1 1
sleep 2.5
wait_for_cells unwritable 3 2 "...
.#." >/dev/null || fail "a copy that could not be written disturbed editing"
rm "$RECOVERY"
click_cell 2 1
wait_for_copy "1,1 2,1" || fail "the next step did not write the copy"
kill_kalmia

clear_user_state
mkdir -p "$RECOVERY"
mount -t tmpfs -o size=64k tmpfs "$RECOVERY" || fail "cannot mount a small tmpfs"
trap 'umount "$RECOVERY" 2>/dev/null; stop_wine_and_display' EXIT
dd if=/dev/zero of="$RECOVERY/filler" bs=4k 2>/dev/null
start_kalmia_keeping_state
locate_from_window
click_cell 1 1
sleep 2.5
[ "$(copies count)" = 0 ] || fail "a full disk kept a copy"
[ -z "$(ls "$RECOVERY" | grep -v -e '^filler$' -e '\.lock$')" ] || fail "a failed write left files: $(ls "$RECOVERY")"
rm "$RECOVERY/filler"
click_cell 2 1
wait_for_copy "1,1 2,1" || fail "the next step after a full disk did not write the copy"
kill_kalmia
umount "$RECOVERY"

# 7. Killed at random moments of a run of strokes, 50 times: each start
# offers the map after a completed step at most 2 s before the kill. Stroke
# n sets cell n, so a map is the number of strokes it holds.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
first_cells() {  # n -> the copy's text for strokes 0..n-1
  local i
  for ((i = 0; i < $1; i++)); do echo "$((i % 50)),$((i / 50))"; done | sort -t, -k2n -k1n | paste -sd' '
}
RANDOM=34
clear_user_state
strokes=0
for round in $(seq 50); do
  start_kalmia_keeping_state
  if [ "$strokes" -gt 0 ]; then
    expect_box "$BOX"
    xdotool key Return
    wait_for_no_window "$BOX" || fail "round $round: Yes did not close the box"
  fi
  locate_from_window
  times=()
  for ((i = 0; i < RANDOM % 7; i++)); do
    xdotool mousemove $(cell $((strokes % 50)) $((strokes / 50))) click 1
    times+=("$(now_ms)")
    strokes=$((strokes + 1))
    sleep "0.$((RANDOM % 8))"
  done
  sleep "$((RANDOM % 3)).$((RANDOM % 10))"
  killed=$(now_ms)
  kill_kalmia
  # Strokes sent 2 s before the kill must be in the copy; later ones may be.
  sure=$((strokes - ${#times[@]}))
  for t in "${times[@]}"; do [ $((killed - t)) -ge 2000 ] && sure=$((sure + 1)); done
  seen=$(copies cells | paste -sd' ')
  ok=0
  for ((n = sure; n <= strokes; n++)); do
    expected=$(first_cells "$n")
    [ "$n" -eq 0 ] && expected="none"
    [ "$seen" = "$expected" ] && { ok=1; strokes=$n; break; }
  done
  [ "$ok" = 1 ] || fail "round $round: the copy ($seen) is not the map of $sure to $strokes strokes"
done
echo "recovery_test: passed"
