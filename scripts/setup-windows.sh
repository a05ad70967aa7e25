#!/usr/bin/env bash
# Installs what the Windows cross-build and its tests under Wine need on Debian 12, on top of
# scripts/setup.sh: the mingw-w64 cross compilers (posix thread model), Wine (64-bit, with its
# 32-bit half so that it also runs the i686 programs: WoW64), its fonts, GoogleTest's source, the
# build machine's Qt tools (moc, rcc) for the static mingw Qt, and the signing tool.
# Called by scripts/build-windows.sh and scripts/test.sh, never by the Linux start command.
# Idempotent. Runs as root or through sudo.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"

PACKAGES=(
  # cross compilers and resources (windres)
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  # build tools and sources cross-built with the project
  cmake ninja-build googletest nlohmann-json3-dev qt6-base-dev qt6-base-dev-tools xz-utils
  # the data tool and the glyph fonts, built for this machine (npm below)
  g++ openssl ca-certificates pkg-config libharfbuzz-dev python3 python3-fonttools
  # the installer, and signing the shipped files
  nsis osslsigncode
  # the add-in's icons: rendered from their SVG sources, turned into resources (ImageMagick)
  librsvg2-bin imagemagick
  # running the tests; wine32:i386 runs the 32-bit programs in a 64-bit prefix
  wine wine64 wine32:i386 fonts-wine xvfb xauth fonts-hosny-amiri
)

# The 32-bit half of Wine comes from the i386 architecture's packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup-windows: adding the i386 architecture (32-bit Wine)"
  $SUDO dpkg --add-architecture i386
fi

install_packages setup-windows "${PACKAGES[@]}"
