#!/usr/bin/env bash
# Runs the Windows side's tests under Wine through CTest, in throw-away Wine prefixes that are
# created here and always removed, and leaves no Wine process or X server behind. Expects a build
# in BUILD_DIR (default: build-windows/, made by scripts/build-windows.sh). Extra arguments go to
# ctest.
#  1. every test except those labelled wine-display: headless, Wine's null graphics driver;
#  2. the tests labelled wine-display (the window's look): Wine's X11 driver on a private Xvfb,
#     inside a Wine virtual desktop (windows close in milliseconds there, not seconds).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build-windows"}

source "$ROOT/scripts/wine-prefix.sh"
unset WAYLAND_DISPLAY

xvfb_pid=""
cleanup() {
  end_prefix
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT INT TERM

status=0
cd "$BUILD_DIR"

saved_display=${DISPLAY:-}
unset DISPLAY
new_prefix null
ctest --output-on-failure --timeout 600 -j"${QV_TEST_JOBS:-$(nproc)}" -LE wine-display "$@" || status=$?
end_prefix

if [ -f versend/versend_look_test.exe ]; then
  # A private X server on the first free display number from 300.
  for n in $(seq 300 340); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1600x1200x24 -noreset -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      export DISPLAY=":$n" QV_TEST_DISPLAY=":$n"
      break
    fi
  done
  new_prefix x11
  ctest --output-on-failure --timeout 600 -j1 -L wine-display "$@" || status=$?
  end_prefix
  echo "test-windows: pictures of the window in $BUILD_DIR/versend/window-pictures/"
fi
[ -n "$saved_display" ] && export DISPLAY="$saved_display"
exit "$status"
