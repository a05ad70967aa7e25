# Wine's loaders on Debian 12 (sourced by scripts/wine-run.sh, wine-prefix.sh and test-windows.sh).
# Debian's `wine` takes the 32-bit loader whenever Wine's 32-bit half (wine32:i386) is installed,
# and a 64-bit program then starts through the 32-bit loader before it execs the 64-bit one. So
# the scripts name the loader themselves: a 64-bit program (or a built-in command such as reg or
# wineboot) starts straight from wine64, a 32-bit one from the 32-bit loader.
#
# Some machines run no 32-bit programs at all: a kernel without IA-32 emulation (or with it
# switched off) refuses every i386 executable with ENOEXEC, the 32-bit loader among them, even
# where wine32:i386 is installed. wine32_runs tells.
WINE64_LOADER=/usr/lib/wine/wine64
WINE32_LOADER=/usr/lib/wine/wine

# The machine field of a PE file's header (014c: i386, 8664: x86-64); nothing for other files.
pe_machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$header" ] && od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

# Whether Wine's 32-bit loader is installed and this machine runs it.
wine32_runs() {
  [ -x "$WINE32_LOADER" ] && "$WINE32_LOADER" --version >/dev/null 2>&1
}
