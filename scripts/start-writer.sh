#!/usr/bin/env bash
# Installs the built add-in (Tarvelo.oxt) into the office and starts Writer with a blank document,
# accepting connections on the pipe on which Versend looks for it.
#
# As an ordinary user the add-in is installed for that user (unopkg add). As root unopkg refuses
# per-user installations, so the add-in is installed for every user of the machine instead
# (unopkg add --shared), which is what an administrator installing it would do. An existing
# installation of the add-in is replaced (--force), so that a rebuilt package takes effect.
#
# The glyph fonts HQPB1..HQPB5 (built into $BUILD_DIR/bin/fonts, with their licence) are installed
# before Writer starts, the same way: for the user in ~/.local/share/fonts/hqpb, or as root for
# every user in /usr/local/share/fonts/hqpb; the font cache is brought up to date.
#
# With a display ($DISPLAY or $WAYLAND_DISPLAY) Writer is shown; without one it runs headless.
# If Writer is running already it is only asked to open a blank document: an add-in installed
# while the office runs shows its menu from the next document opened or created.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}
OFFICE_DIR=${OFFICE_DIR:-/usr/lib/libreoffice/program}
OXT="$BUILD_DIR/bin/Tarvelo.oxt"
FONTS="$BUILD_DIR/bin/fonts"
PIPE=${VERSEND_PIPE:-versend_writer}

if [ ! -f "$OXT" ]; then
  echo "start-writer: $OXT is missing; build first (scripts/build.sh)" >&2
  exit 1
fi

if [ ! -f "$FONTS/HQPB1.ttf" ]; then
  echo "start-writer: the glyph fonts are missing in $FONTS; build first (scripts/build.sh)" >&2
  exit 1
fi
if [ "$(id -u)" -eq 0 ]; then
  font_dir=/usr/local/share/fonts/hqpb
else
  font_dir="${XDG_DATA_HOME:-$HOME/.local/share}/fonts/hqpb"
fi
mkdir -p "$font_dir"
changed=no
for f in "$FONTS"/HQPB[1-5].ttf "$FONTS/OFL.txt"; do
  if ! cmp -s "$f" "$font_dir/$(basename "$f")"; then
    install -m 0644 "$f" "$font_dir/"
    changed=yes
  fi
done
if [ "$changed" = yes ]; then
  fc-cache -f "$font_dir" >/dev/null 2>&1 || true
fi
echo "start-writer: glyph fonts HQPB1..HQPB5 in $font_dir"

if pgrep -u "$(id -u)" -x soffice.bin >/dev/null 2>&1; then
  running=yes
else
  running=no
fi

scope=()
if [ "$(id -u)" -eq 0 ]; then
  scope=(--shared)
fi
if ! "$OFFICE_DIR/unopkg" add "${scope[@]}" --force --suppress-license "$OXT"; then
  echo "start-writer: installing $OXT failed" >&2
  exit 1
fi
echo "start-writer: Tarvelo installed${scope:+ for all users}"
if [ "$running" = yes ]; then
  echo "start-writer: the office is running; the add-in takes effect when it is started again"
fi

args=(--writer --norestore --nologo "--accept=pipe,name=$PIPE;urp;StarOffice.ComponentContext")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  args=(--headless "${args[@]}")
fi
# Detached: Writer outlives this script (and the Versend started after it).
setsid "$OFFICE_DIR/soffice" "${args[@]}" >/dev/null 2>&1 < /dev/null &
echo "start-writer: Writer started (pipe $PIPE)"
