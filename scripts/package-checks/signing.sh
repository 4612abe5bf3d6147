# shellcheck shell=bash disable=SC2154  # the variables of scripts/test-packages.sh
# Signed Windows files. Sourced by scripts/test-packages.sh, whose helpers,
# variables and Wine functions it uses.
#
# check_signed_packages: a throwaway certificate authority and code-signing
# certificate are made with openssl; scripts/package.sh signs with them
# (PELLOX_SIGN_PKCS12) into a folder of the test's own; osslsigncode
# verifies pellox.exe in the zip, the installer, and the pellox.exe and
# uninstaller that the installer writes, against that authority and not
# against another; the signed installer installs and uninstalls silently
# under Wine.

# A certificate authority (ca.pem) and a code-signing key and certificate
# issued by it, as sign.p12 with its password in the file password, in
# FOLDER; and another authority (other-ca.pem) that issued nothing.
make_test_certificates() (
  mkdir -p "$1" && cd "$1" || exit 1
  for ca in ca other-ca; do
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca.key" -out "$ca.pem" -days 2 \
      -subj "/CN=Pellox test $ca" -addext basicConstraints=critical,CA:TRUE \
      -addext keyUsage=critical,keyCertSign,cRLSign || exit 1
  done
  openssl req -newkey rsa:2048 -nodes -keyout sign.key -out sign.csr \
    -subj "/CN=Pellox test signer" &&
    printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature \
      extendedKeyUsage=codeSigning >sign.ext &&
    openssl x509 -req -in sign.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
      -extfile sign.ext -out sign.pem &&
    printf 'not a real secret\n' >password &&
    openssl pkcs12 -export -inkey sign.key -in sign.pem -certfile ca.pem -out sign.p12 \
      -passout file:password
)

# Whether FILE's signature verifies against the authority CA (a PEM file).
signature_verifies() {
  osslsigncode verify -CAfile "$2" -in "$1" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; return 1; }
}
# The files verify against CA and not against OTHER_CA.
signed_by() {
  local ca=$1 other=$2 file
  shift 2
  for file; do
    signature_verifies "$file" "$ca" || { echo "does not verify: $file"; return 1; }
    ! signature_verifies "$file" "$other" >/dev/null || { echo "trusted by another CA: $file"; return 1; }
  done
}

check_signed_packages() {
  section "Signing with a throwaway code-signing certificate"
  local certs="$work/certs" signed="$work/signed"
  check "a certificate authority and a code-signing certificate (openssl)" \
    make_test_certificates "$certs"
  check "scripts/package.sh signs with PELLOX_SIGN_PKCS12 and PELLOX_SIGN_PASSWORD_FILE" \
    env PELLOX_SIGN_PKCS12="$certs/sign.p12" PELLOX_SIGN_PASSWORD_FILE="$certs/password" \
    PELLOX_DIST="$signed" PELLOX_LINUX_BUILD="$build/linux" PELLOX_WIN32_BUILD="$build/win32" \
    bash "$root/scripts/package.sh"
  local signed_setup
  signed_setup="$signed/$(basename "$setup")"
  unzip -q -o "$signed/$(basename "$zip")" pellox.exe -d "$signed/zip"
  check "osslsigncode verify: pellox.exe in the zip and the installer, against that authority only" \
    signed_by "$certs/ca.pem" "$certs/other-ca.pem" "$signed/zip/pellox.exe" "$signed_setup"
  check "SHA256SUMS of the signed packages verifies" \
    bash -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS' _ "$signed"

  clean_windows_install
  check "the signed installer installs silently (/S)" wine_run "$signed_setup" /S
  check "osslsigncode verify: the installed pellox.exe and Uninstall.exe" \
    signed_by "$certs/ca.pem" "$certs/other-ca.pem" "$install_dir/pellox.exe" \
    "$install_dir/Uninstall.exe"
  check "the installed pellox.exe is the zip's" cmp "$install_dir/pellox.exe" "$signed/zip/pellox.exe"
  check "the signed uninstaller uninstalls silently (/S)" \
    wine_run "$install_dir/Uninstall.exe" /S
  timeout 120 wineserver -w
  check "nothing left: no program folder, no Uninstall key" \
    bash -c "$(declare -f reg_gone); test ! -e \"\$1\" && reg_gone '$uninstall_key'" _ "$install_dir"
  clean_windows_install
}
