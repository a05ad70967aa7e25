#!/bin/sh
# Runs the readers' fuzzer for a fixed time over a fresh seed corpus.
#   run_fuzzer.sh <fuzzer> <seed writer> <work folder> <seconds>
set -eu
fuzzer=$1; seeds=$2; work=$3; seconds=$4
rm -rf "$work"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
# Every input is written as a data file before it is read: in memory (/dev/shm) where there is
# one, which runs several times as many inputs as a disk; removed on the way out.
files=""
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  files=$(mktemp -d /dev/shm/tarvelo-fuzz.XXXXXX) || files=""
fi
if [ -z "$files" ]; then
  files="$work/files"; mkdir -p "$files"
fi
trap 'rm -rf "$files"' EXIT
trap 'exit 1' INT TERM
export TARVELO_FUZZ_FILES="$files"
"$seeds" "$work/seeds"
# New inputs go to the work corpus; findings (crash-*, timeout-*, leak-*) to artifacts/.
"$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$work/seeds"
