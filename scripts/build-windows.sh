#!/usr/bin/env bash
# Configures and builds the Windows side with mingw-w64 into BUILD_DIR (default: build-windows/).
#   --x86   the 32-bit build (the add-in for a 32-bit Word, the Word stand-in and their tests)
#           into build-windows-x86/; then the installer (it carries both add-ins) in the 64-bit
#           build, if that is there
# Extra arguments go to cmake. Versend.exe needs a static Qt 6 for mingw; see scripts/find-qt-mingw.sh.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)

arch=x86_64
if [ "${1:-}" = "--x86" ]; then arch=i686; shift; fi

if [ "$arch" = x86_64 ]; then
  BUILD_DIR=${BUILD_DIR:-"$ROOT/build-windows"}
  toolchain="$ROOT/cmake/toolchain-mingw64.cmake"
  qt_args=()
  if qt=$(bash "$ROOT/scripts/find-qt-mingw.sh"); then
    qt_args=(-DQT_MINGW_PREFIX="$qt")
  fi
  extra=()
else
  BUILD_DIR=${BUILD_DIR:-"$ROOT/build-windows-x86"}
  toolchain="$ROOT/cmake/toolchain-mingw32.cmake"
  qt_args=()
  # Its tests run under WoW64; a build folder configured before they did has them switched off.
  extra=(-DBUILD_TESTING=ON)
fi

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${qt_args[@]}" "${extra[@]}" "$@"
cmake --build "$BUILD_DIR" -j"${QV_BUILD_JOBS:-$(nproc)}"
if [ "$arch" = i686 ] && [ -f "$ROOT/build-windows/CMakeCache.txt" ]; then
  cmake --build "$ROOT/build-windows" --target windows_installer
fi
