#!/usr/bin/env bash
# Prints the prefix of a static Qt 6.4.2 for x86_64 mingw-w64 (posix threads) for Versend.exe:
#   1. $QT_MINGW_PREFIX, when set;
#   2. else the shared prebuilt archive (QV_QT_MINGW_ARCHIVE, default ../shared/toolchains/ beside
#      the project), checked against its sha256 and unpacked once into the cache;
#   3. else a Qt built from Debian's source by scripts/build-qt-mingw.sh into the cache.
# The cache is QV_CACHE_DIR (default ~/.cache/quran-verses). Says how to get one and fails otherwise.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${QV_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quran-verses}
NAME=qt6-mingw-static-6.4.2
ARCHIVE=${QV_QT_MINGW_ARCHIVE:-"$ROOT/../shared/toolchains/$NAME.tar.xz"}

usable() { [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$1/lib/libQt6Widgets.a" ]; }

if [ -n "${QT_MINGW_PREFIX:-}" ]; then
  if usable "$QT_MINGW_PREFIX"; then echo "$QT_MINGW_PREFIX"; exit 0; fi
  echo "find-qt-mingw: QT_MINGW_PREFIX=$QT_MINGW_PREFIX holds no static Qt 6 Widgets for mingw" >&2
  exit 1
fi

unpacked="$CACHE/prebuilt/$NAME"
if [ -f "$ARCHIVE" ]; then
  sum_file="$ARCHIVE.sha256"
  expected=$(cut -d' ' -f1 "$sum_file" 2>/dev/null || true)
  if usable "$unpacked" && [ -n "$expected" ] && [ "$(cat "$unpacked/.sha256" 2>/dev/null)" = "$expected" ]; then
    echo "$unpacked"; exit 0
  fi
  actual=$(sha256sum "$ARCHIVE" | cut -d' ' -f1)
  if [ -z "$expected" ] || [ "$actual" != "$expected" ]; then
    echo "find-qt-mingw: $ARCHIVE does not match its sha256 (${expected:-missing}, got $actual); not used" >&2
  else
    echo "find-qt-mingw: unpacking $ARCHIVE into $CACHE/prebuilt" >&2
    rm -rf "$unpacked" "$unpacked.part"
    mkdir -p "$unpacked.part"
    tar xJf "$ARCHIVE" -C "$unpacked.part"
    mv "$unpacked.part/qt6-mingw-static" "$unpacked"
    rmdir "$unpacked.part"
    echo "$expected" > "$unpacked/.sha256"
    echo "$unpacked"; exit 0
  fi
fi

built="$CACHE/source-built/$NAME"
if usable "$built"; then echo "$built"; exit 0; fi

cat >&2 <<MSG
find-qt-mingw: no static Qt 6 for mingw-w64, so Versend.exe is not built. Any one of:
  - export QT_MINGW_PREFIX=<a static Qt 6.4.2 for x86_64-w64-mingw32, posix threads>
  - put $NAME.tar.xz and its .sha256 at $ARCHIVE
  - bash scripts/build-qt-mingw.sh   (builds it from Debian's qt6-base source into
    $built; about 40 minutes on 2 cores)
MSG
exit 1
