#!/usr/bin/env bash
# Fetches the verse and translation source (npm package quran-json, pinned), checks its
# integrity and unpacks it into DEST (DEST/package/dist/quran.json afterwards).
# usage: fetch-quran-json.sh DEST
set -euo pipefail
DEST=${1:?usage: fetch-quran-json.sh DEST}
VERSION=3.1.2
INTEGRITY='sha512-K0RURQSueVUMpDkZCnfXhck6YCX2lEJCar0SsI2naNDgei/crtrVfRHavZk14tw0TJlGQd/zl3tABSOGQrJLYQ=='

if [ -f "$DEST/package/dist/quran.json" ] && [ -f "$DEST/.integrity" ] && [ "$(cat "$DEST/.integrity")" = "$INTEGRITY" ]; then
  exit 0
fi
mkdir -p "$DEST"
tgz="$DEST/quran-json-$VERSION.tgz"
if [ ! -f "$tgz" ]; then
  (cd "$DEST" && npm pack "quran-json@$VERSION" --silent >/dev/null)
fi
actual="sha512-$(openssl dgst -sha512 -binary "$tgz" | base64 -w0)"
if [ "$actual" != "$INTEGRITY" ]; then
  echo "fetch-quran-json: integrity mismatch for $tgz" >&2
  echo "  expected $INTEGRITY" >&2
  echo "  actual   $actual" >&2
  rm -f "$tgz"
  exit 1
fi
rm -rf "$DEST/package"
tar xzf "$tgz" -C "$DEST"
echo "$INTEGRITY" > "$DEST/.integrity"
echo "fetch-quran-json: quran-json@$VERSION unpacked into $DEST"
