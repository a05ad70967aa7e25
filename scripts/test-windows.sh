#!/usr/bin/env bash
# Runs the Windows side's tests under Wine through CTest, in throw-away Wine prefixes that are
# created here and always removed, and leaves no Wine process or X server behind. Expects a build
# in BUILD_DIR (default: build-windows/, made by scripts/build-windows.sh) and runs the 32-bit
# build's tests too when there is one in X86_BUILD_DIR (default: build-windows-x86/, made by
# scripts/build-windows.sh --x86). Extra arguments go to ctest.
#  1. every test except those labelled wine-display: headless, Wine's null graphics driver;
#  2. the 32-bit build's tests, the same way in a prefix of their own: the 64-bit Wine runs the
#     i686 programs (WoW64, wine32:i386 from scripts/setup-windows.sh), on a machine whose kernel
#     runs 32-bit programs (it says so in one line where it does not);
#  3. the tests labelled wine-display (the window's look): Wine's X11 driver on a private Xvfb,
#     inside a Wine virtual desktop (windows close in milliseconds there, not seconds).
set -euo pipefail
trap 'echo "test-windows: stopped: \"$BASH_COMMAND\" failed (line $LINENO)" >&2' ERR
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build-windows"}
X86_BUILD_DIR=${X86_BUILD_DIR:-"$ROOT/build-windows-x86"}

source "$ROOT/scripts/wine-prefix.sh"
source "$ROOT/scripts/xvfb.sh"
unset WAYLAND_DISPLAY

cleanup() {
  end_prefix
  stop_xvfb
}
trap cleanup EXIT INT TERM

status=0
cd "$BUILD_DIR"

saved_display=${DISPLAY:-}
unset DISPLAY
new_prefix null
ctest --output-on-failure --timeout 600 -j"${QV_TEST_JOBS:-$(nproc)}" -LE wine-display "$@" || status=$?
end_prefix

if [ -f "$X86_BUILD_DIR/CTestTestfile.cmake" ] && ! wine32_runs; then
  # Nothing 32-bit can start here; the 32-bit files are still built, signed and checked as files.
  echo "test-windows: the 32-bit tests are not run: this machine runs no 32-bit programs" \
    "(Wine's 32-bit half is missing, or the kernel refuses i386 executables)"
elif [ -f "$X86_BUILD_DIR/CTestTestfile.cmake" ]; then
  started=$SECONDS
  echo "test-windows: the 32-bit tests ($X86_BUILD_DIR)"
  new_prefix null
  (cd "$X86_BUILD_DIR" &&
    ctest --output-on-failure --timeout 600 -j"${QV_TEST_JOBS:-$(nproc)}" -LE wine-display "$@") || status=$?
  end_prefix
  echo "test-windows: the 32-bit tests took $((SECONDS - started)) s"
fi

if [ -f versend/versend_look_test.exe ]; then
  # A private X server on a display number of its own.
  start_xvfb 1600x1200x24
  export DISPLAY=$xvfb_display QV_TEST_DISPLAY=$xvfb_display
  new_prefix x11
  ctest --output-on-failure --timeout 600 -j1 -L wine-display "$@" || status=$?
  end_prefix
  echo "test-windows: pictures of the window in $BUILD_DIR/versend/window-pictures/"
fi
[ -n "$saved_display" ] && export DISPLAY="$saved_display"
exit "$status"
