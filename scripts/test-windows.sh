#!/usr/bin/env bash
# Runs the Windows side's tests under Wine through CTest, in a throw-away Wine prefix that is
# created here and always removed, headless (Wine's null graphics driver), and leaves no Wine
# process behind. Expects a build in BUILD_DIR (default: build-windows/, scripts/build-windows.sh).
# Extra arguments go to ctest.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build-windows"}

export WINEDEBUG=-all
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/qv-wine.XXXXXX)
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap stop_wine EXIT INT TERM

started=$(date +%s%N)
# A new 64-bit prefix; the null graphics driver before any window could be made.
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
# A server kept alive across the tests, and a first program started before CTest: otherwise CTest
# waits on the pipes that Wine's background processes inherit.
wineserver -p 60
wine cmd /c exit >/dev/null 2>&1 || true
echo "test-windows: Wine prefix ready in $(( ($(date +%s%N) - started) / 1000000 )) ms"

cd "$BUILD_DIR"
ctest --output-on-failure --timeout 600 -j"${QV_TEST_JOBS:-$(nproc)}" "$@"
