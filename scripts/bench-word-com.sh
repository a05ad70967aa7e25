#!/usr/bin/env bash
# Prints what a one-verse send costs over cross-process Automation under Wine, against the Word
# stand-in (word_com_benchmark): once with Wine free to use every core, once with the prefix's Wine
# server and both processes on one core. Needs the Windows build (scripts/build-windows.sh); makes a
# throw-away Wine prefix and removes it. SENDS (default 300) sends each; BENCH_CPU picks the core
# (default: the last one). BASELINE=<another build's bin/word_com_benchmark.exe> (e.g. a build of
# the commit before a change) runs that one too, right after this build's, in the same prefix and
# under the same conditions, for figures to compare within one run.
#
# Why both: every call crosses five threads in three processes (the caller, Wine's RPC worker, the
# Wine server, the stand-in's RPC thread and its apartment thread). On a small virtual machine a
# wake-up on another, idle core costs far more than the work, so the spread figure mostly measures
# the machine's idle states and its load; on one core the same calls are plain thread switches and
# the figure is the cost of the path itself.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BENCH=${WINDOWS_BUILD_DIR:-"$ROOT/build-windows"}/bin/word_com_benchmark.exe
SENDS=${SENDS:-300}
CPU=${BENCH_CPU:-$(( $(nproc) - 1 ))}
[ -f "$BENCH" ] || { echo "bench-word-com: $BENCH is not built (scripts/build-windows.sh)" >&2; exit 1; }

source "$ROOT/scripts/wine-prefix.sh"
trap end_prefix EXIT INT TERM
unset DISPLAY WAYLAND_DISPLAY

BASELINE=${BASELINE:-}
[ -z "$BASELINE" ] || [ -f "$BASELINE" ] || { echo "bench-word-com: no baseline $BASELINE" >&2; exit 1; }

# This build's benchmark, with whatever runs it ($@); with a baseline, the two in turn, twice (the
# machine's load drifts).
run_both() {
  local round
  for round in 1 2; do
    echo "-- this build"
    "$@" "$ROOT/scripts/wine-run.sh" "$BENCH" "$SENDS" | tr -d '\r'
    [ -n "$BASELINE" ] || return 0
    echo "-- baseline $BASELINE"
    "$@" "$ROOT/scripts/wine-run.sh" "$BASELINE" "$SENDS" | tr -d '\r'
  done
}

new_prefix null >/dev/null
echo "== Wine on all $(nproc) cores"
run_both

# The server of this prefix started again, and everything after it, on one core.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
taskset -c "$CPU" wineserver -p 60
taskset -c "$CPU" bash "$ROOT/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
echo "== Wine server, caller and stand-in on core $CPU"
run_both taskset -c "$CPU"
