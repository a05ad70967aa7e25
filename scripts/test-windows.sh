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

export WINEDEBUG=-all
# No Mono/Gecko installers, no menu entries written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WAYLAND_DISPLAY

prefix=""
xvfb_pid=""
end_prefix() {
  if [ -n "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    rm -rf "$prefix"
    prefix=""
  fi
}
cleanup() {
  end_prefix
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT INT TERM

# Makes a new 64-bit prefix (WINEPREFIX) with the given graphics driver and starts its server for
# the tests: a server kept alive, and a first program run before CTest, or CTest waits on the
# pipes that Wine's background processes inherit.
new_prefix() {
  local driver=$1 started
  started=$(date +%s%N)
  prefix=$(mktemp -d /tmp/qv-wine.XXXXXX)
  export WINEPREFIX="$prefix"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1
  if [ "$driver" = x11 ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
  fi
  wineserver -w
  wineserver -p 60
  wine cmd /c exit >/dev/null 2>&1 || true
  echo "test-windows: Wine prefix ($driver graphics) ready in $(( ($(date +%s%N) - started) / 1000000 )) ms"
}

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
