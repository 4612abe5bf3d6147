#!/usr/bin/env bash
# Builds the release packages into dist/, all of the version in the top
# CMakeLists.txt:
#   pellox_VERSION_amd64.deb             Debian package (CPack)
#   pellox-VERSION-windows-x64.zip       pellox.exe, README.txt, LICENSE.txt
#   pellox-VERSION-setup-x64.exe         per-user Windows installer (NSIS)
#   SHA256SUMS                           their checksums (sha256sum -c)
# Installs missing Debian packages first (as root). By default it builds in
# build/package-linux and build/package-win32 (Release, no tests);
# PELLOX_LINUX_BUILD and PELLOX_WIN32_BUILD name other, already configured
# build folders to package from (the test command reuses its own builds),
# and PELLOX_DIST another folder for the packages. PELLOX_WERROR=ON in the
# environment makes a warning in our code fail the builds it configures.
#
# Reproducible: two runs on one commit make the same bytes, wherever and
# whenever they run. Every time stamp in the packages is SOURCE_DATE_EPOCH
# (default: the time of the last commit, or of the Debian changelog's
# latest entry outside a git checkout); file modes and archive order are
# fixed.
#
# Signing the Windows files (Authenticode, osslsigncode): with
# PELLOX_SIGN_PKCS12 (a PKCS#12 file with the code-signing key and
# certificate) and PELLOX_SIGN_PASSWORD_FILE (its password), pellox.exe,
# the uninstaller inside the installer, and the installer are signed;
# PELLOX_SIGN_TIMESTAMP_URL adds an RFC 3161 time stamp. Without them the
# packages are unsigned. A signed build is not reproducible (the signature
# carries its own time).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${PELLOX_DIST:-$root/dist}
jobs=$(nproc)

bash "$root/scripts/deps.sh" package

version=$(sed -n 's/^project(Pellox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[[ -n "$version" ]] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  if [[ -e "$root/.git" ]]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
  else
    SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$root/packaging/linux/changelog" -S Timestamp)
  fi
fi
# CPack, strip and the steps below take their times from it.
export SOURCE_DATE_EPOCH
# Tools that sort or format by locale or zone do it alike on every machine,
# and what this script creates gets the usual modes whatever the caller's
# umask (CPack takes the modes of its staged folders and archive members
# from the disk).
export LC_ALL=C.UTF-8 TZ=UTC
umask 022

signing=
if [[ -n "${PELLOX_SIGN_PKCS12:-}" ]]; then
  [[ -r "$PELLOX_SIGN_PKCS12" ]] || { echo "cannot read PELLOX_SIGN_PKCS12" >&2; exit 1; }
  [[ -r "${PELLOX_SIGN_PASSWORD_FILE:-}" ]] ||
    { echo "PELLOX_SIGN_PKCS12 needs PELLOX_SIGN_PASSWORD_FILE, a readable file" >&2; exit 1; }
  signing=yes
fi
sign() { bash "$root/scripts/sign-windows.sh" "$1"; }

linux_build=${PELLOX_LINUX_BUILD:-$root/build/package-linux}
win32_build=${PELLOX_WIN32_BUILD:-$root/build/package-win32}
if [[ ! -f "$linux_build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPELLOX_BUILD_TESTS=OFF -DPELLOX_BUILD_BENCH=OFF -DPELLOX_WERROR="${PELLOX_WERROR:-OFF}" \
    >/dev/null
fi
if [[ ! -f "$win32_build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$win32_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DPELLOX_BUILD_TESTS=OFF \
    -DPELLOX_WERROR="${PELLOX_WERROR:-OFF}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dist"
deb_name=pellox_${version}_amd64.deb
zip_name=pellox-$version-windows-x64.zip
setup_name=pellox-$version-setup-x64.exe
deb="$dist/$deb_name"
zip="$dist/$zip_name"
setup="$dist/$setup_name"
rm -f "$deb" "$zip" "$setup" "$dist/SHA256SUMS"

echo "Linux: the Debian package"
cmake --build "$linux_build" -j "$jobs" --target pellox pellox_icons pellox_docs
(cd "$linux_build" && cpack -G DEB -B "$work/cpack" >/dev/null)
mv "$work/cpack/$deb_name" "$deb"

echo "Windows: the zip and the installer"
cmake --build "$win32_build" -j "$jobs" --target pellox pellox_icons
stage="$work/windows"
mkdir -p "$stage"
# strip stamps the PE header with SOURCE_DATE_EPOCH.
x86_64-w64-mingw32-strip -o "$stage/pellox.exe" "$win32_build/src/platform/win32/pellox.exe"
if [[ -n "$signing" ]]; then sign "$stage/pellox.exe"; fi
# Plain text with CR LF line ends, for Notepad.
sed -e "s/VERSION/$version/g" -e 's/$/\r/' "$root/packaging/windows/README.txt" >"$stage/README.txt"
sed -e 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
cp "$win32_build/icons/pellox.ico" "$stage/pellox.ico"
# The zip and the installer keep each file's mode and time: the same for
# every build.
chmod 644 "$stage"/*
touch --no-dereference --date="@$SOURCE_DATE_EPOCH" "$stage"/*
(cd "$stage" && zip -q -X "$zip" pellox.exe README.txt LICENSE.txt)
nsis_defines=(-DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup")
if [[ -n "$signing" ]]; then
  # The uninstaller is signed while makensis builds it (!uninstfinalize).
  nsis_defines+=(-DSIGN_COMMAND="bash \"$root/scripts/sign-windows.sh\"")
fi
makensis -V2 "${nsis_defines[@]}" "$root/packaging/windows/pellox.nsi"
if [[ -n "$signing" ]]; then sign "$setup"; fi

(cd "$dist" && sha256sum "$deb_name" "$zip_name" "$setup_name" >SHA256SUMS)

echo
echo "Made in $dist:"
for file in "$deb" "$zip" "$setup" "$dist/SHA256SUMS"; do
  printf '  %-36s %8s bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
done
if [[ -n "$signing" ]]; then
  echo "pellox.exe, the uninstaller and the installer are signed."
else
  echo "Unsigned: set PELLOX_SIGN_PKCS12 and PELLOX_SIGN_PASSWORD_FILE to sign the Windows files."
fi
