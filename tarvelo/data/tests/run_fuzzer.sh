#!/bin/sh
# Runs the readers' fuzzer for a fixed time over a fresh seed corpus.
#   run_fuzzer.sh <fuzzer> <seed writer> <work folder> <seconds>
set -eu
fuzzer=$1; seeds=$2; work=$3; seconds=$4
rm -rf "$work"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts" "$work/files"
# The inputs are written as data files here, not in the system's temporary folder.
export TARVELO_FUZZ_FILES="$work/files"
"$seeds" "$work/seeds"
# New inputs go to the work corpus; findings (crash-*, timeout-*, leak-*) to artifacts/.
"$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$work/seeds"
