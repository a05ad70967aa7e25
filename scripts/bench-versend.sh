#!/usr/bin/env bash
# Prints Versend's start-to-first-hit and word-search figures on Linux and under Wine side by
# side, over the real verse files. Needs both builds (scripts/build.sh, scripts/build-windows.sh);
# makes a throw-away Wine prefix and removes it. ROUNDS (default 20) word searches each.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
LINUX=${BUILD_DIR:-"$ROOT/build"}/bin/versend_start_figures
WINDOWS=${WINDOWS_BUILD_DIR:-"$ROOT/build-windows"}/bin/versend_start_figures.exe
ROUNDS=${ROUNDS:-20}
for f in "$LINUX" "$WINDOWS"; do
  [ -x "$f" ] || { echo "bench-versend: $f is not built" >&2; exit 1; }
done

source "$ROOT/scripts/wine-prefix.sh"
trap end_prefix EXIT INT TERM
unset DISPLAY WAYLAND_DISPLAY

# Launch to exit of a run that stops at the first hit: the process start included.
wall_ms() {
  local started
  started=$(date +%s%N)
  "$@" --rounds 0 >/dev/null 2>&1
  echo $(( ($(date +%s%N) - started) / 1000000 ))
}

echo "== Linux (offscreen)"
QT_QPA_PLATFORM=offscreen "$LINUX" --rounds "$ROUNDS" 2>/dev/null
echo "launch to first hit, process start included: $(QT_QPA_PLATFORM=offscreen wall_ms "$LINUX") ms"

new_prefix null >/dev/null
echo "== Windows under Wine (offscreen, display font from beside the program)"
font="$(dirname "$WINDOWS")/AmiriQuran.ttf"
QT_QPA_PLATFORM=offscreen "$ROOT/scripts/wine-run.sh" "$WINDOWS" --font "$font" --rounds "$ROUNDS" 2>/dev/null | tr -d '\r'
QT_QPA_PLATFORM=offscreen "$ROOT/scripts/wine-run.sh" "$WINDOWS" --rounds 0 >/dev/null 2>&1 || true  # warm start
echo "launch to first hit, process start included: $(QT_QPA_PLATFORM=offscreen wall_ms "$ROOT/scripts/wine-run.sh" "$WINDOWS" --font "$font") ms"
