#!/usr/bin/env bash
# The test windows_signatures (run by CTest in the Wine prefix of scripts/test-windows.sh):
#   check-signatures.sh INSTALLER BIN X86_DLL PKCS12 SIGN_SCRIPT
# Every shipped file carries a valid signature by the certificate in PKCS12 (its password in
# QV_SIGN_PASSWORD): Versend.exe and both Tarvelo.dll as built, the installer, and what it
# installs (Versend.exe, both stripped Tarvelo.dll, Uninstall.exe). The signing step leaves a file
# alone when the build has no certificate.
set -euo pipefail
installer=$1 bin=$2 x86_dll=$3 pkcs12=$4 sign_script=$5
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
: "${WINEPREFIX:?check-signatures.sh: run it through scripts/test-windows.sh (WINEPREFIX)}"
: "${QV_SIGN_PASSWORD?check-signatures.sh: QV_SIGN_PASSWORD is not set}"

work=$(mktemp -d /tmp/qv-signatures.XXXXXX)
folder_name=qv-signature-check
installed="$WINEPREFIX/drive_c/$folder_name"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuranVerses'
cleanup() {
  rm -rf "$work" "$installed"
}
trap cleanup EXIT

# The certificate is its own authority: the files must verify against it.
openssl pkcs12 -in "$pkcs12" -nokeys -passin env:QV_SIGN_PASSWORD -out "$work/certificate.pem" 2>/dev/null
failed=0
verify() {
  if osslsigncode verify -in "$1" -CAfile "$work/certificate.pem" >"$work/verify.log" 2>&1; then
    echo "signed: $1"
  else
    echo "NOT SIGNED (or not valid): $1"
    sed 's/^/    /' "$work/verify.log" | tail -n 8
    failed=1
  fi
}

verify "$installer"
verify "$bin/Versend.exe"
verify "$bin/Tarvelo.dll"
verify "$x86_dll"

# What the installer writes, in a folder of its own; then the uninstaller takes it away again.
bash "$ROOT/scripts/wine-run.sh" "$installer" /S "/D=C:\\$folder_name"
for file in Versend.exe AddIn/x64/Tarvelo.dll AddIn/x86/Tarvelo.dll Uninstall.exe; do
  verify "$installed/$file"
done
bash "$ROOT/scripts/wine-run.sh" "$installed/Uninstall.exe" /S
# The uninstaller runs on from a copy of itself: wait until its entry is gone.
for _ in $(seq 1 600); do
  bash "$ROOT/scripts/wine-run.sh" reg query "$uninstall_key" >/dev/null 2>&1 || break
  sleep 0.1
done
if bash "$ROOT/scripts/wine-run.sh" reg query "$uninstall_key" >/dev/null 2>&1; then
  echo "the uninstaller did not finish"
  failed=1
fi

# Without a certificate the signing step changes nothing.
printf 'set(PKCS12 "")\n' >"$work/unsigned-settings.cmake"
cp "$bin/WordStandin.exe" "$work/unsigned.exe"
cmake -DSETTINGS="$work/unsigned-settings.cmake" -DFILE="$work/unsigned.exe" -P "$sign_script"
if ! cmp -s "$bin/WordStandin.exe" "$work/unsigned.exe"; then
  echo "signing without a certificate changed the file"
  failed=1
fi
exit "$failed"
