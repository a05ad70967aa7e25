# Throw-away Wine prefixes for the Windows tests and figures (sourced by scripts/test-windows.sh
# and scripts/bench-versend.sh). new_prefix DRIVER makes one (null: headless; x11: on $DISPLAY,
# inside a Wine virtual desktop, where windows close in milliseconds rather than seconds) and
# starts its server; end_prefix ends every Wine process of it and removes it. The caller traps
# EXIT to call end_prefix.

export WINEDEBUG=-all
# 64-bit prefixes, which run the 32-bit programs too (WoW64) now that Wine's 32-bit half is there.
export WINEARCH=win64
# No Mono/Gecko installers, no menu entries written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
prefix=""
wine_prefix_scripts=$(dirname "${BASH_SOURCE[0]}")
source "$wine_prefix_scripts/wine-loaders.sh"

# A built-in command or program of the prefix, from the 64-bit loader (wine-run.sh).
wine64_run() { bash "$wine_prefix_scripts/wine-run.sh" "$@"; }

end_prefix() {
  if [ -n "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    rm -rf "$prefix"
    prefix=""
  fi
}

# The server is kept alive across the programs, and a first program runs before CTest, or CTest
# waits on the pipes that Wine's background processes inherit.
new_prefix() {
  local driver=$1 started
  started=$(date +%s%N)
  prefix=$(mktemp -d /tmp/qv-wine.XXXXXX)
  export WINEPREFIX="$prefix"
  if ! wine64_run wineboot -i >/dev/null 2>&1; then
    echo "wine-prefix: Wine could not make a prefix in $prefix (wineboot failed)" >&2
    return 1
  fi
  wine64_run reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1
  if [ "$driver" = x11 ]; then
    wine64_run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine64_run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f >/dev/null 2>&1
  fi
  wineserver -w
  wineserver -p 60
  wine64_run cmd /c exit >/dev/null 2>&1 || true
  echo "wine-prefix: $driver graphics prefix ready in $(( ($(date +%s%N) - started) / 1000000 )) ms"
}
