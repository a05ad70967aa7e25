#!/usr/bin/env bash
# Runs a Windows program under Wine: CTest's emulator for the cross-built tests, and the runner of
# the Windows programs in scripts. Needs WINEPREFIX (scripts/wine-prefix.sh makes a throw-away one).
# Unix variables QT_* do not reach Windows programs; Wine passes WINEQT_* on under the QT_* names.
# Each program starts from the loader of its own bitness (scripts/wine-loaders.sh).
set -euo pipefail
: "${WINEPREFIX:?wine-run.sh: set WINEPREFIX to a prefix made by scripts/wine-prefix.sh}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
for v in QT_QPA_PLATFORM QT_QPA_FONTDIR QT_SCALE_FACTOR; do
  if [ -n "${!v:-}" ] && [ -z "$(eval echo "\${WINE$v:-}")" ]; then export "WINE$v=${!v}"; fi
done
source "$(dirname "${BASH_SOURCE[0]}")/wine-loaders.sh"

loader=$WINE64_LOADER
if [ -f "$1" ] && [ "$(pe_machine "$1")" = 014c ]; then
  if ! wine32_runs; then
    echo "wine-run.sh: $1 is a 32-bit program, and this machine runs no 32-bit programs" \
      "(Wine's 32-bit half is missing, or the kernel refuses i386 executables)" >&2
    exit 126
  fi
  loader=$WINE32_LOADER
fi
if [ ! -x "$loader" ]; then exec wine "$@"; fi
export WINELOADER=$loader
exec "$loader" "$@"
