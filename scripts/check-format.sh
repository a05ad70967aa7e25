#!/usr/bin/env bash
# Checks that every tracked C++ file is in the house format (.clang-format); prints the files that
# are not. Run `clang-format -i` on them to mend them.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find codepage packaging tarvelo tools versend word -name '*.cpp' -o -name '*.h')
fi
if clang-format --dry-run --Werror "${files[@]}" 2>/dev/null; then
  echo "check-format: ${#files[@]} files in the house format"
else
  echo "check-format: not in the house format (clang-format -i mends them):" >&2
  for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "  $f" >&2
  done
  exit 1
fi
