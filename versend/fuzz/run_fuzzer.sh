#!/bin/sh
# Runs one of Versend's fuzzers for a fixed time over its seeds and a fresh work corpus.
#   run_fuzzer.sh <fuzzer> <seed folder> <work folder> <seconds> [more libFuzzer options]
set -eu
fuzzer=$1; seeds=$2; work=$3; seconds=$4
shift 4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
# New inputs go to the work corpus; findings (crash-*, timeout-*, leak-*) to artifacts/.
exec "$fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$@" "$work/corpus" "$seeds"
