#!/usr/bin/env bash
# The release's signing step on the built setup, with a throw-away code-signing certificate: both
# kinds of certificate files sign and verify against that certificate, a wrong password writes
# nothing, and an install from the signed setup under Wine in test mode puts the payload in place
# with an Uninstall.exe that is the signed setup, byte for byte, and verifies too; that Uninstall.exe
# then removes the app, reading the payload index past the signature.
# Usage: signing_test.sh <tools/sign-setup.sh> <GlimmerlineSetup.exe> <the folder packed as payload>
# Runs under the test bench (tools/run-tests.sh): WINEPREFIX names its prefix.
set -u
sign=$1
setup=$2
payload=$3
work=$(mktemp -d)
folder_win="C:\\gls-tests\\signing-$$"
folder="$WINEPREFIX/drive_c/gls-tests/signing-$$"
app_key='HKCU\Software\GlimmerlineSetupTest\Uninstall'
cleanup() {
  rm -rf "$work" "$folder"
  wine reg delete "$app_key" /f < /dev/null > /dev/null 2>&1
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
cd "$work" || exit 1

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=Glimmerline Test Signing" \
  -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" 2> /dev/null || fail "openssl made no certificate"
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:test-password || fail "openssl made no PKCS#12"
leaf=sha256:$(openssl x509 -in cert.pem -outform DER | sha256sum | cut -d' ' -f1)
verify() { osslsigncode verify -CAfile cert.pem -require-leaf-hash "$leaf" -in "$1" > verify.log 2>&1; }

SIGN_CERT=cert.pem SIGN_KEY=key.pem "$sign" "$setup" pem.exe || fail "signing with PEM files failed"
verify pem.exe || fail "the PEM-signed setup does not verify: $(tail -n 3 verify.log)"
SIGN_PKCS12=cert.p12 SIGN_PASSWORD=test-password "$sign" "$setup" signed.exe || fail "signing with PKCS#12 failed"
verify signed.exe || fail "the PKCS#12-signed setup does not verify: $(tail -n 3 verify.log)"
if SIGN_PKCS12=cert.p12 SIGN_PASSWORD=wrong "$sign" "$setup" wrong.exe 2> /dev/null; then
  fail "signing with a wrong password succeeded"
fi
[[ ! -e wrong.exe ]] || fail "a failed signing left a file behind"

mkdir -p "$folder"
cp signed.exe "$folder/GlimmerlineSetup.exe"
wine reg delete "$app_key" /f < /dev/null > /dev/null 2>&1
GLIMMERLINE_SETUP_TEST="$folder_win" wine "$folder/GlimmerlineSetup.exe" /S < /dev/null > /dev/null 2>&1
code=$?
[[ $code -eq 0 ]] || fail "the signed setup's silent install exited with $code; its log: $(tail -n 5 "$folder/Temp/Glimmerline-Setup.log")"
installed="$folder/LocalAppData/Programs/Glimmerline"
cmp -s "$installed/Uninstall.exe" signed.exe || fail "the installed Uninstall.exe is not the signed setup"
verify "$installed/Uninstall.exe" || fail "the installed Uninstall.exe does not verify"
diff -r -x Uninstall.exe "$payload" "$installed" > payload.diff || fail "the install differs from the payload: $(head -n 5 payload.diff)"

GLIMMERLINE_SETUP_TEST="$folder_win" wine "$installed/Uninstall.exe" /S < /dev/null > /dev/null 2>&1
code=$?
[[ $code -eq 0 ]] || fail "the signed Uninstall.exe exited with $code"
# The work goes on in the copy in Temp; it is done when the copy has deleted itself.
for _ in $(seq 1 150); do
  compgen -G "$folder/Temp/Glimmerline-Uninstall-*.exe" > /dev/null || break
  sleep 0.2
done
left=$(cd "$installed" 2> /dev/null && find . -type f | sort | tr '\n' ' ')
[[ -z "$left" ]] || fail "the uninstall left: $left; its log: $(tail -n 5 "$folder/Temp/Glimmerline-Setup.log")"
tail -n 1 "$folder/Temp/Glimmerline-Setup.log" | grep -q "exit 0" || fail "the uninstall's last log line: $(tail -n 1 "$folder/Temp/Glimmerline-Setup.log")"
echo "signing: ok"
