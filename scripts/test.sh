#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs all tests.
# Services the tests need are started here and always stopped on the way out:
#  - an X server (Xvfb) for the tests that need a real display (QV_TEST_DISPLAY);
#  - office processes are started by the tests themselves, each with a throw-away profile; they
#    record their process ids in QV_TEST_PIDDIR so that they are ended here even after a crash.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh"
# The Windows side (cross-built, tested under Wine) unless QV_SKIP_WINDOWS=1.
windows_build=skipped
if [ "${QV_SKIP_WINDOWS:-0}" != 1 ]; then
  # A failed Windows build does not keep the Linux tests from running; it fails the run.
  bash "$ROOT/scripts/setup-windows.sh"
  # The shipped files are signed: with the certificate given (README, "Signing"), else with a
  # throw-away one, so that the tests run on signed files and check the signatures.
  if [ -z "${QV_SIGN_PKCS12:-}" ]; then
    certificate="$ROOT/build-windows/test-certificate"
    bash "$ROOT/scripts/make-test-certificate.sh" "$certificate"
    export QV_SIGN_PKCS12="$certificate/certificate.p12"
    QV_SIGN_PASSWORD=$(cat "$certificate/password")
    export QV_SIGN_PASSWORD
  fi
  if bash "$ROOT/scripts/build-windows.sh"; then windows_build=ok; else windows_build=failed; fi
  # The 32-bit build (the add-in for a 32-bit Word, the stand-in and the tests), then the installer.
  bash "$ROOT/scripts/build-windows.sh" --x86 || windows_build=failed
fi

export QV_TEST_PIDDIR="$BUILD_DIR/test-pids"
rm -rf "$QV_TEST_PIDDIR"; mkdir -p "$QV_TEST_PIDDIR"

source "$ROOT/scripts/xvfb.sh"
stop_services() {
  for f in "$QV_TEST_PIDDIR"/*.pid; do
    [ -f "$f" ] || continue
    pid=$(cat "$f")
    # each office runs in a process group of its own: end the whole group
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
  done
  sleep 0.5
  for f in "$QV_TEST_PIDDIR"/*.pid; do
    [ -f "$f" ] || continue
    pid=$(cat "$f")
    kill -KILL -- "-$pid" 2>/dev/null || kill -KILL "$pid" 2>/dev/null || true
    rm -f "$f"
  done
  stop_xvfb
}
trap stop_services EXIT INT TERM

# A private X server on a display number of its own.
start_xvfb 1280x1024x24
export QV_TEST_DISPLAY=$xvfb_display

status=0
(cd "$BUILD_DIR" && ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@") || status=$?
case $windows_build in
  ok) bash "$ROOT/scripts/test-windows.sh" || status=$? ;;
  failed) echo "test: the Windows build failed (see above)" >&2; status=1 ;;
esac
exit "$status"
