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

# The loader of the program's own bitness. Debian's `wine` takes the 32-bit loader whenever Wine's
# 32-bit half is installed, and a 64-bit program then starts through the 32-bit preloader and
# loader before they exec the 64-bit ones: a 64-bit program (or a built-in command such as reg)
# starts straight from wine64, a 32-bit one from the 32-bit loader.
pe_machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$header" ] && od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
loader=/usr/lib/wine/wine64
if [ -f "$1" ] && [ "$(pe_machine "$1")" = 014c ] && [ -x /usr/lib/wine/wine ]; then
  loader=/usr/lib/wine/wine
fi
if [ ! -x "$loader" ]; then exec wine "$@"; fi
export WINELOADER=$loader
exec "$loader" "$@"
