#!/usr/bin/env bash
# Installs the built add-in (Tarvelo.oxt) into the office and starts Writer with a blank document,
# accepting connections on the pipe on which Versend looks for it.
#
# As an ordinary user the add-in is installed for that user (unopkg add). As root unopkg refuses
# per-user installations, so the add-in is installed for every user of the machine instead
# (unopkg add --shared), which is what an administrator installing it would do. An existing
# installation of the add-in is replaced (--force), so that a rebuilt package takes effect.
#
# With a display ($DISPLAY or $WAYLAND_DISPLAY) Writer is shown; without one it runs headless.
# If Writer is running already it is only asked to open a blank document: an add-in installed
# while the office runs takes effect at its next start.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}
OFFICE_DIR=${OFFICE_DIR:-/usr/lib/libreoffice/program}
OXT="$BUILD_DIR/bin/Tarvelo.oxt"
PIPE=${VERSEND_PIPE:-versend_writer}

if [ ! -f "$OXT" ]; then
  echo "start-writer: $OXT is missing; build first (scripts/build.sh)" >&2
  exit 1
fi

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
