#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds both programs, installs the add-in into
# the user's office, starts Writer with a blank document and then Versend.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh"
if [ -f "$ROOT/scripts/start-writer.sh" ]; then
  bash "$ROOT/scripts/start-writer.sh"
fi
exec "$BUILD_DIR/bin/versend"
