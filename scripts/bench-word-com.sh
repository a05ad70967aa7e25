#!/usr/bin/env bash
# Prints what a one-verse send costs over cross-process Automation under Wine, against the Word
# stand-in (word_com_benchmark): once with Wine free to use every core, once with the prefix's Wine
# server and both processes on one core. Needs the Windows build (scripts/build-windows.sh); makes a
# throw-away Wine prefix and removes it. SENDS (default 300) sends each; BENCH_CPU picks the core
# (default: the last one).
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

new_prefix null >/dev/null
echo "== Wine on all $(nproc) cores"
"$ROOT/scripts/wine-run.sh" "$BENCH" "$SENDS" | tr -d '\r'

# The server of this prefix started again, and everything after it, on one core.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
taskset -c "$CPU" wineserver -p 60
taskset -c "$CPU" wine cmd /c exit >/dev/null 2>&1 || true
echo "== Wine server, caller and stand-in on core $CPU"
taskset -c "$CPU" "$ROOT/scripts/wine-run.sh" "$BENCH" "$SENDS" | tr -d '\r'
