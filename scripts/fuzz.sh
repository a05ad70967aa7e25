#!/usr/bin/env bash
# Runs the fuzz targets of the build, each for the given number of seconds (default 600).
#
#   scripts/fuzz.sh [seconds] [fuzzer ...]
#
# Without fuzzers named, every fuzz target of the build is run, one after the other. A fuzz
# target is any executable named `*_fuzzer` in the build's bin/ or fuzz/ folder (a libFuzzer
# binary); name a new target so and it is picked up here. Seeds: the folder `<fuzzer>.seeds`
# beside the binary, when there is one. The corpus grows in $FUZZ_WORK/corpus/<fuzzer> and is
# kept between runs (FUZZ_FRESH=1 starts from the seeds alone); findings (crash-*, timeout-*,
# leak-*, oom-*) land in $FUZZ_WORK/findings/<fuzzer>/. FUZZ_WORK defaults to <build>/fuzz/work.
# FUZZ_RUNS=<n> also ends each run after n executions, whichever comes first.
# Each run ends with a line of executions and coverage; the script fails if any target found
# something.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}
seconds=600
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
work=${FUZZ_WORK:-"$BUILD_DIR/fuzz/work"}

fuzzers=("$@")
if [ ${#fuzzers[@]} -eq 0 ]; then
  while IFS= read -r f; do fuzzers+=("$f"); done < <(
    find "$BUILD_DIR/bin" "$BUILD_DIR/fuzz" -maxdepth 1 -type f -name '*_fuzzer' -perm -u+x 2>/dev/null | sort)
fi
if [ ${#fuzzers[@]} -eq 0 ]; then
  echo "fuzz.sh: no *_fuzzer in $BUILD_DIR/bin or $BUILD_DIR/fuzz (is clang++ installed?)" >&2
  exit 1
fi

status=0
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer")
  corpus="$work/corpus/$name"; findings="$work/findings/$name"
  if [ "${FUZZ_FRESH:-0}" = 1 ]; then rm -rf "$corpus" "$findings"; fi
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "$fuzzer.seeds" ] && seeds=("$fuzzer.seeds")
  log="$findings/last-run.log"
  echo "== $name: $seconds s"
  # New inputs go to the corpus (the first folder); the seeds are only read.
  limits=(-max_total_time="$seconds")
  [ -n "${FUZZ_RUNS:-}" ] && limits+=(-runs="$FUZZ_RUNS")
  "$fuzzer" "${limits[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  echo "   executions: ${runs:-?}, ${cov:-cov: ?}, exit $rc"
  if [ $rc -ne 0 ]; then
    status=1
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -20
  fi
done
exit $status
