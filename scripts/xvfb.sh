# A private X server for the tests (sourced by scripts/test.sh and scripts/test-windows.sh).
# start_xvfb SCREEN (e.g. 1280x1024x24) starts Xvfb on a display number that the server itself
# picks and locks (-displayfd), so that scripts started at the same time never share a display,
# waits until it accepts clients and sets xvfb_pid and xvfb_display (":N"). stop_xvfb ends it.
# The caller traps EXIT to call stop_xvfb.

xvfb_pid=""
xvfb_display=""

start_xvfb() {
  local screen=$1 numberfile
  numberfile=$(mktemp /tmp/qv-xvfb.XXXXXX)
  # Xvfb writes the display number to fd 3 once it accepts connections.
  Xvfb -displayfd 3 -screen 0 "$screen" -noreset -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 300); do
    if [ -s "$numberfile" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  xvfb_display=$(tr -dc 0-9 <"$numberfile")
  rm -f "$numberfile"
  if [ -z "$xvfb_display" ]; then
    echo "xvfb: the X server did not start" >&2
    stop_xvfb
    return 1
  fi
  xvfb_display=":$xvfb_display"
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  fi
}
