#!/usr/bin/env bash
# The example pairs in examples/: the maze is what scripts/make_maze.py
# makes; every pair opens and is stored exactly as the editor saves it; the
# README's first kalmia-cli example makes their gallery; and the editor shows
# one of them, opened from its command line (the README's first picture, in
# docs/screenshots through KALMIA_SCREENSHOTS).
source "$(dirname "$0")/lib.sh"
CLI="$E2E_ROOT/build/native/src/cli/kalmia-cli"
EXAMPLES="$E2E_ROOT/examples"
SHOTS="${KALMIA_SCREENSHOTS:-$E2E_OUT/screenshots}"
mkdir -p "$SHOTS"

python3 "$E2E_ROOT/scripts/make_maze.py" "$E2E_OUT/made" || fail "make_maze.py failed"
for file in maze.map maze.xml; do
  cmp -s "$E2E_OUT/made/$file" "$EXAMPLES/$file" || fail "examples/$file is not what make_maze.py makes"
done

count=0
mkdir -p "$E2E_OUT/saved"
for map in "$EXAMPLES"/*.map; do
  "$CLI" check --strict "$map" >/dev/null || fail "check refused or warned about $map"
  "$CLI" convert "$map" "$E2E_OUT/saved/$(basename "$map")" || fail "convert failed on $map"
  for file in "$(basename "$map")" "$(basename "$map" .map).xml"; do
    cmp -s "$E2E_OUT/saved/$file" "$EXAMPLES/$file" || fail "examples/$file is not as the editor saves it"
  done
  count=$((count + 1))
done
[ "$count" -ge 3 ] || fail "only $count example pairs"

(cd "$E2E_ROOT" && "$CLI" gallery examples --output "$E2E_OUT/gallery") || fail "the gallery of examples/ failed"
cards=$(grep -c '<article class="card" data-map="[a-z]*\.map" data-status="ok"' "$E2E_OUT/gallery/index.html")
[ "$cards" = "$count" ] || fail "the gallery names $cards of $count pairs"

# The editor with the level, as a new user first sees it.
clear_user_state
rm -f "$E2E_OUT/exit_code"
(cd "$EXAMPLES" && timeout --kill-after=5 180 wine "$KALMIA_EXE" level.map; echo $? >"$E2E_OUT/exit_code") &
MAIN_WINDOW=$(wait_for_window "Kalmia") || fail "the main window did not appear"
read -r x y width height <<<"$(window_geometry "$MAIN_WINDOW")"
deadline=$((SECONDS + 20))
until screenshot level && [ "$(pixels dark-pixels "$LAST_SHOT" $((x + 20)) $((y + 60)) 380 380)" -gt 1000 ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the level did not show"
  sleep 0.3
done
settled_window_shot "$MAIN_WINDOW" "$SHOTS/example_map.png" || fail "the window kept changing"
click_close_box "$MAIN_WINDOW"
wait_for_exit >/dev/null || fail "the editor did not end"
echo "examples_test: passed"
