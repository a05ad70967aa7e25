#!/usr/bin/env bash
# Makes a throw-away self-signed code-signing certificate for the test build:
#   make-test-certificate.sh DIR
# writes DIR/certificate.p12 (certificate and key) and DIR/password (its password), both readable
# by this user only. A certificate already there that is valid for another day is kept, so that
# the next test build does not sign everything anew. Never use it to sign what is shipped.
set -euo pipefail
dir=$1
mkdir -p "$dir"
chmod 700 "$dir"
if [ -s "$dir/certificate.p12" ] && [ -s "$dir/password" ] && [ -s "$dir/certificate.pem" ] &&
   openssl x509 -checkend 86400 -noout -in "$dir/certificate.pem" >/dev/null 2>&1; then
  exit 0
fi
umask 077
openssl rand -hex 16 >"$dir/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Quran Verses test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$dir/key.pem" -out "$dir/certificate.pem" 2>/dev/null
openssl pkcs12 -export -in "$dir/certificate.pem" -inkey "$dir/key.pem" -out "$dir/certificate.p12" \
  -passout "file:$dir/password"
rm -f "$dir/key.pem"
echo "make-test-certificate: a throw-away signing certificate in $dir"
