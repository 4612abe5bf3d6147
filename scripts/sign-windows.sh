#!/usr/bin/env bash
# Signs one Windows program file in place with Authenticode (osslsigncode,
# SHA-256), for scripts/package.sh and the installer's build (NSIS
# !uninstfinalize):
#   scripts/sign-windows.sh FILE
# Takes the key and certificate from PELLOX_SIGN_PKCS12, its password from
# the file PELLOX_SIGN_PASSWORD_FILE, and, when PELLOX_SIGN_TIMESTAMP_URL is
# set, a time stamp from that RFC 3161 server. FILE is left as it was when
# signing fails.
set -euo pipefail
file=${1:?usage: $0 FILE}
: "${PELLOX_SIGN_PKCS12:?PELLOX_SIGN_PKCS12 is not set}"
: "${PELLOX_SIGN_PASSWORD_FILE:?PELLOX_SIGN_PASSWORD_FILE is not set}"

options=(-pkcs12 "$PELLOX_SIGN_PKCS12" -readpass "$PELLOX_SIGN_PASSWORD_FILE" -h sha256
  -n Pellox)
if [[ -n "${PELLOX_SIGN_TIMESTAMP_URL:-}" ]]; then
  options+=(-ts "$PELLOX_SIGN_TIMESTAMP_URL")
fi
signed="$file.signed"
trap 'rm -f "$signed"' EXIT
osslsigncode sign "${options[@]}" -in "$file" -out "$signed" >/dev/null
mv "$signed" "$file"
