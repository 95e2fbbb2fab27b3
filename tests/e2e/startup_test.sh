#!/usr/bin/env bash
# kalmia.exe starts under Wine, shows its window titled Kalmia with the
# Japanese menu bar and a new map, and ends with exit code 0 when closed by the
# close box or by Alt+F4.
source "$(dirname "$0")/lib.sh"

start_kalmia
read -r client_x client_y <<<"$(locate_client)" || fail "no default map on the screen"
[ -n "${client_x:-}" ] || fail "no default map on the screen"
screenshot main_window
# The menu bar lies just above the client area and carries dark text.
text=$(pixels dark-pixels "$LAST_SHOT" "$client_x" $((client_y - 19)) 300 18)
[ "$text" -gt 100 ] || fail "no menu bar text above the client area ($text dark pixels)"

# Alt+F drops the File menu over the (white) map: its items bring dark text.
xdotool key alt+f
deadline=$((SECONDS + 10))
until screenshot file_menu &&
  [ "$(pixels dark-pixels "$LAST_SHOT" "$client_x" "$client_y" 180 70)" -gt 100 ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "Alt+F did not open the File menu"
  sleep 0.2
done
xdotool key Escape Escape

click_close_box "$MAIN_WINDOW"
code=$(wait_for_exit) || fail "kalmia.exe did not end after the close box"
[ "$code" = 0 ] || fail "exit code $code after the close box"

start_kalmia
xdotool key alt+F4
code=$(wait_for_exit) || fail "kalmia.exe did not end after Alt+F4"
[ "$code" = 0 ] || fail "exit code $code after Alt+F4"
echo "startup: ok"
