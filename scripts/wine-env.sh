# Sourced by the run and test scripts: a private Wine prefix under build/, the
# Japanese locale (so the ANSI code page is 932) and a display. Wine runs are
# bounded by timeouts and waited for with wineserver -w.
KALMIA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$KALMIA_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8

# Starts Xvfb on a free display unless one is given; sets DISPLAY.
start_virtual_display() {
  local number=99
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
  KALMIA_XVFB_PID=$!
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$number" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

stop_virtual_display() {
  [ -n "${KALMIA_XVFB_PID:-}" ] && kill "$KALMIA_XVFB_PID" 2>/dev/null && wait "$KALMIA_XVFB_PID" 2>/dev/null
  KALMIA_XVFB_PID=
}

# Creates the prefix once; later runs find it ready. Without a window manager
# Wine's windows are best unmanaged: Wine then draws their title bars and close
# boxes itself, and destroying a window does not wait two seconds for a window
# manager that never answers.
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.kalmia-ready" ]; then
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    timeout 120 wineserver -w || true
    touch "$WINEPREFIX/.kalmia-ready"
  fi
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
