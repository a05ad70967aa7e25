#!/usr/bin/env bash
# Builds the static Qt 6.4.2 (Core, Gui, Widgets) for x86_64 mingw-w64 that Versend.exe links,
# from Debian's own qt6-base source package, into the cache where scripts/find-qt-mingw.sh looks
# (QV_CACHE_DIR, default ~/.cache/quran-verses; the result lands in source-built/). The same
# configuration as the prebuilt archive: no sql, network, opengl, dbus, xml, vulkan, testlib,
# concurrent, printsupport or tablet input; DirectWrite; bundled HarfBuzz, FreeType, PCRE2, libpng,
# libjpeg and zlib; platform plugins windows, direct2d, offscreen and minimal; Fusion and Windows
# styles. The source is fetched with apt-get source through a private apt state (deb-src entries
# made from this machine's Debian sources), leaving the system's apt configuration alone.
# About 40 minutes on 2 cores. Usage: build-qt-mingw.sh [--jobs N] [--configure-only]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${QV_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quran-verses}
VERSION=6.4.2
DEBIAN_VERSION=6.4.2+dfsg-10
PREFIX="$CACHE/source-built/qt6-mingw-static-$VERSION"
WORK="$CACHE/qt-source-build"
JOBS=$(nproc)
CONFIGURE_ONLY=0
while [ $# -gt 0 ]; do
  case $1 in
    --jobs) JOBS=$2; shift 2 ;;
    --configure-only) CONFIGURE_ONLY=1; shift ;;
    *) echo "usage: build-qt-mingw.sh [--jobs N] [--configure-only]" >&2; exit 2 ;;
  esac
done

if [ -f "$PREFIX/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "build-qt-mingw: $PREFIX is already built"
  exit 0
fi

bash "$ROOT/scripts/setup-windows.sh"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
# dpkg-source unpacks the source package; perl runs Qt's header generator (syncqt).
for p in dpkg-dev perl; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$p"; }
done

mkdir -p "$WORK"
src="$WORK/qtbase-everywhere-src-$VERSION"
if [ ! -d "$src" ]; then
  # A private apt state whose only sources are deb-src twins of the machine's Debian entries.
  apt_dir="$WORK/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
  : > "$apt_dir/sources.list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q 'debian' "$f" || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" > "$apt_dir/sources.list.d/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb .*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$apt_dir/sources.list" || true
  fi
  apt_opts=(-o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
            -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
            -o "APT::Sandbox::User=root")
  apt-get "${apt_opts[@]}" update -qq
  (cd "$WORK" && apt-get "${apt_opts[@]}" source -qq "qt6-base=$DEBIAN_VERSION")
  unpacked=$(find "$WORK" -maxdepth 1 -type d -name "qt6-base-$VERSION*" | head -1)
  [ -n "$unpacked" ] || { echo "build-qt-mingw: apt-get source gave no qt6-base-$VERSION folder" >&2; exit 1; }
  mv "$unpacked" "$src"
fi

build="$WORK/build"
cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_directwrite=ON \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_zlib=OFF \
  -DFEATURE_style_fusion=ON -DFEATURE_style_windows=ON
if [ "$CONFIGURE_ONLY" = 1 ]; then echo "build-qt-mingw: configured in $build"; exit 0; fi
cmake --build "$build" -j"$JOBS"
rm -rf "$PREFIX"
cmake --install "$build"
echo "build-qt-mingw: static Qt $VERSION for mingw-w64 in $PREFIX"
