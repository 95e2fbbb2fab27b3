# Sourced by the run and test scripts: a private Wine prefix under build/, the
# Japanese locale (so the ANSI code page is 932) and a display. Wine runs are
# bounded by timeouts and waited for with wineserver -w.
KALMIA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$KALMIA_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8

# Starts Xvfb on a free display and sets DISPLAY; Wine's windows there are
# unmanaged (see set_window_management). Needs the prepared prefix.
start_virtual_display() {
  local number=99
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
  KALMIA_XVFB_PID=$!
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    if [ -e "/tmp/.X11-unix/X$number" ]; then
      set_window_management N && return 0
      echo "could not switch Wine to unmanaged windows" >&2
      break
    fi
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$number" ] || echo "Xvfb did not start" >&2
  stop_virtual_display
  return 1
}

# Stops the Xvfb that start_virtual_display started, if any.
stop_virtual_display() {
  if [ -n "${KALMIA_XVFB_PID:-}" ]; then
    kill "$KALMIA_XVFB_PID" 2>/dev/null
    wait "$KALMIA_XVFB_PID" 2>/dev/null || true
  fi
  KALMIA_XVFB_PID=
  return 0
}

# Ends every Wine process of the prefix, then the virtual display: for traps,
# so that no run leaves anything behind, whichever way it ends.
stop_wine_and_display() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true  # none running: nothing to end
  stop_virtual_display
}

# Creates the prefix once; later runs find it ready. It is marked ready only
# when wineboot and the registry change both succeeded, so a failed
# preparation is tried again on the next run.
prepare_wine_prefix() {
  [ -f "$WINEPREFIX/.kalmia-ready" ] && { link_wine_fonts; return 0; }
  mkdir -p "$WINEPREFIX"
  local status=0
  timeout 300 wineboot -i >/dev/null 2>&1 || status=$?
  [ "$status" -eq 0 ] && { set_window_management N || status=$?; }
  timeout 120 wineserver -w || status=$?
  if [ "$status" -ne 0 ]; then
    echo "preparing the Wine prefix failed (status $status); the next run tries again" >&2
    return "$status"
  fi
  link_wine_fonts
  touch "$WINEPREFIX/.kalmia-ready"
}

# Wine's own TrueType fonts (Debian's fonts-wine), Marlett among them, which
# draws the caption buttons: this Wine does not look for them in its data
# folder, so they are linked into the prefix's Fonts folder, where it does.
link_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in $(dpkg -L fonts-wine 2>/dev/null | grep -i '\.ttf$'); do
    [ -e "$fonts/$(basename "$font")" ] || ln -s "$font" "$fonts/$(basename "$font")"
  done
}

# Y: windows managed by the desktop's window manager, as a user expects on a
# real display. N: Wine draws title bars and close boxes itself, as the tests
# need on the virtual display, which has no window manager (destroying a
# window then does not wait two seconds for one that never answers).
# Writes the registry only when the setting changes.
set_window_management() {  # Y | N
  local marker="$WINEPREFIX/.kalmia-managed"
  [ "$(cat "$marker" 2>/dev/null)" = "$1" ] && return 0
  timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1 || return 1
  timeout 60 wineserver -w || return 1
  echo "$1" >"$marker"
}

# What the editor keeps per user in the prefix: its recovery copies of
# unsaved work under %LOCALAPPDATA%\Kalmia, and its settings under
# HKEY_CURRENT_USER\Software\Kalmia.
kalmia_user_data() {
  echo "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Kalmia"
}

# A start as on a new machine: no recovery copies, no settings.
clear_user_state() {
  rm -rf "$(kalmia_user_data)"
  timeout 60 wine reg delete 'HKCU\Software\Kalmia' /f >/dev/null 2>&1 || true
}

# Runs a Windows program with a time limit; a hang counts as a failure (124).
run_wine() {
  local limit="$1"
  shift
  local status=0
  timeout --kill-after=10 "$limit" wine "$@" || status=$?
  timeout 60 wineserver -w || { wineserver -k || true; }
  return "$status"
}
