#!/usr/bin/env bash
# The parameter dialog with real keyboard input: opened through the Edit menu's
# mnemonics, a new name, size and thresholds typed, Enter pressed; the view
# shows the new size at once, and a save through File > Save writes them.
source "$(dirname "$0")/lib.sh"

start_kalmia
read -r cx cy <<<"$(locate_client)"
[ -n "${cx:-}" ] || fail "no default map on the screen"

parameters_title="パラメータ設定"
xdotool key alt+e p
wait_for_window "$parameters_title" >/dev/null || fail "the parameter dialog did not open"
# Focus starts on the name; Tab walks x, y, time S/A, time A/B, rate S/A, rate A/B.
xdotool type Stage7
for value in 20 10 300 350 90 80; do
  xdotool key Tab
  xdotool type "$value"
done
xdotool key Return
wait_for_no_window "$parameters_title" || fail "Enter did not close the dialog"

expected=$(python3 -c 'print("\n".join(["." * 20 + "~" * 5] * 10 + ["~" * 25] * 2))')
actual=$(wait_for_cells resized 25 12 "$expected") ||
  { diff <(echo "$expected") <(echo "$actual") >&2; fail "the view does not show the 20 x 10 map"; }

# Save, typing a name without extension into the Save dialog.
save_title="名前を付けて保存"
target_dir=$(winepath -w "$E2E_OUT")
xdotool key alt+f a
wait_for_window "$save_title" >/dev/null || fail "the Save dialog did not open"
xdotool type "$target_dir\\stage"
xdotool key Return
wait_for_no_window "$save_title" || fail "the Save dialog stayed open"
wait_for_saved_pair "$E2E_OUT/stage" || fail "stage.xml and stage.map were not written"
expected_xml="<?xml version='1.0' encoding='SHIFT_JIS'?><root><x>20</x><y>10</y><rank1>300</rank1><rank2>350</rank2><rate1>90</rate1><rate2>80</rate2><name>Stage7</name></root>"
[ "$(cat "$E2E_OUT/stage.xml")" = "$expected_xml" ] || fail "stage.xml holds $(cat "$E2E_OUT/stage.xml")"
[ "$(wc -c <"$E2E_OUT/stage.map")" = 220 ] || fail "stage.map is not 10 lines of 20 cells"

xdotool key alt+F4
code=$(wait_for_exit) || fail "kalmia.exe did not end"
[ "$code" = 0 ] || fail "exit code $code"
echo "parameter dialog: ok"
