#!/usr/bin/env bash
# Installs everything needed to build, run and test both programs on Debian 12.
# Idempotent: a second run installs nothing new. Runs as root or through sudo.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git zip unzip clang clang-format libclang-rt-14-dev
  # libraries
  qt6-base-dev qt6-base-dev-tools libx11-dev nlohmann-json3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the word processor and its SDK
  libreoffice-writer libreoffice-dev
  # fonts, display and keyboard for the window and its tests
  fonts-hosny-amiri fonts-dejavu-core xvfb xauth x11-xkb-utils xkb-data x11-apps
  # data build; the glyph fonts (shaping, font files, their tests)
  python3 ca-certificates openssl libharfbuzz-dev libfreetype-dev python3-fonttools
  # pictures of pages exported by the office tests
  ghostscript
  # the add-in's icons, rendered from their SVG sources at build time
  librsvg2-bin
  # the Debian package: its dependencies (dpkg-shlibdeps, file) and its checks
  dpkg-dev file lintian
)

install_packages setup "${PACKAGES[@]}"
