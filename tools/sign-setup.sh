#!/usr/bin/env bash
# Signs a setup with the certificate that the environment names, then verifies the signature:
#   SIGN_PKCS12 and SIGN_PASSWORD      a PKCS#12 file and its password, or
#   SIGN_CERT and SIGN_KEY             PEM files: the certificate (its chain may follow) and the
#                                      key (SIGN_PASSWORD opens it when it is encrypted);
#   SIGN_TIMESTAMP_URL                 optional: an RFC 3161 time-stamping service.
# The signature must verify against the system's certificate authorities or the certificates given.
# Usage: tools/sign-setup.sh <setup.exe> <signed.exe>
# Exit: 0 signed and verified; 1 signing or verifying failed (nothing is written); 2 no certificate.
set -euo pipefail
in=${1:?usage: tools/sign-setup.sh <setup.exe> <signed.exe>}
out=${2:?usage: tools/sign-setup.sh <setup.exe> <signed.exe>}

if [[ -z "${SIGN_PKCS12:-}" && -z "${SIGN_CERT:-}" && -z "${SIGN_KEY:-}" ]]; then exit 2; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -f "$out"
fail() {
  echo "$1" >&2
  rm -f "$out"
  exit 1
}

# The password travels in a private file, never on a command line that others can list.
password_file="$work/password"
(umask 077 && printf '%s' "${SIGN_PASSWORD:-}" > "$password_file")
password=()
[[ -n "${SIGN_PASSWORD:-}" ]] && password=(-readpass "$password_file")
[[ -n "${SIGN_PASSWORD+set}" && -z "$SIGN_PASSWORD" ]] && password=(-pass "")

signer=()
anchors="$work/anchors.pem"
if [[ -n "${SIGN_PKCS12:-}" ]]; then
  [[ -n "${SIGN_PASSWORD+set}" ]] || fail "SIGN_PKCS12 needs SIGN_PASSWORD (empty for a file without one)."
  [[ -r "$SIGN_PKCS12" ]] || fail "SIGN_PKCS12: cannot read $SIGN_PKCS12"
  signer=(-pkcs12 "$SIGN_PKCS12")
  passin="file:$password_file"
  [[ -z "$SIGN_PASSWORD" ]] && passin="pass:"
  openssl pkcs12 -in "$SIGN_PKCS12" -nokeys -passin "$passin" -out "$anchors" 2> "$work/openssl.err" ||
    fail "SIGN_PKCS12: cannot open $SIGN_PKCS12 with SIGN_PASSWORD: $(head -n 1 "$work/openssl.err")"
else
  [[ -n "${SIGN_CERT:-}" && -n "${SIGN_KEY:-}" ]] || fail "SIGN_CERT and SIGN_KEY go together."
  [[ -r "$SIGN_CERT" ]] || fail "SIGN_CERT: cannot read $SIGN_CERT"
  [[ -r "$SIGN_KEY" ]] || fail "SIGN_KEY: cannot read $SIGN_KEY"
  signer=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
  cp "$SIGN_CERT" "$anchors"
fi
system_authorities=/etc/ssl/certs/ca-certificates.crt
[[ -r "$system_authorities" ]] && cat "$system_authorities" >> "$anchors"

timestamp=()
[[ -n "${SIGN_TIMESTAMP_URL:-}" ]] && timestamp=(-ts "$SIGN_TIMESTAMP_URL")

osslsigncode sign "${signer[@]}" "${password[@]}" -h sha256 "${timestamp[@]}" -in "$in" -out "$out" \
  > "$work/sign.log" 2>&1 || fail "Signing failed: $(grep -v '^$' "$work/sign.log" | tail -n 3)"
osslsigncode verify -CAfile "$anchors" -TSA-CAfile "$anchors" -in "$out" > "$work/verify.log" 2>&1 ||
  fail "The signature does not verify: $(grep -iE 'error|fail' "$work/verify.log" | head -n 3)"
echo "Signed and verified: $(grep -m 1 -E '^[[:space:]]*Subject:' "$work/verify.log" | sed 's/^[[:space:]]*//')"
