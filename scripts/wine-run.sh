#!/usr/bin/env bash
# Runs a Windows program under Wine: CTest's emulator for the cross-built tests, and the runner of
# the Windows programs in scripts. Needs WINEPREFIX (scripts/wine-prefix.sh makes a throw-away one).
# Unix variables QT_* do not reach Windows programs; Wine passes WINEQT_* on under the QT_* names.
set -euo pipefail
: "${WINEPREFIX:?wine-run.sh: set WINEPREFIX to a prefix made by scripts/wine-prefix.sh}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
for v in QT_QPA_PLATFORM QT_QPA_FONTDIR QT_SCALE_FACTOR; do
  if [ -n "${!v:-}" ] && [ -z "$(eval echo "\${WINE$v:-}")" ]; then export "WINE$v=${!v}"; fi
done
exec wine "$@"
