#!/usr/bin/env bash
# Builds the release packages into dist/, all of the version in the top
# CMakeLists.txt:
#   pellox_VERSION_amd64.deb             Debian package (CPack)
#   pellox-VERSION-windows-x64.zip       pellox.exe, README.txt, LICENSE.txt
#   pellox-VERSION-setup-x64.exe         per-user Windows installer (NSIS)
# Installs missing Debian packages first (as root). By default it builds in
# build/package-linux and build/package-win32 (Release, no tests);
# PELLOX_LINUX_BUILD and PELLOX_WIN32_BUILD name other, already configured
# build folders to package from (the test command reuses its own builds).
# PELLOX_WERROR=ON in the environment makes a warning in our code fail the
# builds it configures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/dist"
jobs=$(nproc)

bash "$root/scripts/deps.sh" package

version=$(sed -n 's/^project(Pellox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[[ -n "$version" ]] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }

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
deb="$dist/pellox_${version}_amd64.deb"
zip="$dist/pellox-$version-windows-x64.zip"
setup="$dist/pellox-$version-setup-x64.exe"
rm -f "$deb" "$zip" "$setup"

echo "Linux: the Debian package"
cmake --build "$linux_build" -j "$jobs" --target pellox pellox_icons pellox_docs
(cd "$linux_build" && cpack -G DEB -B "$work/cpack" >/dev/null)
mv "$work/cpack/pellox_${version}_amd64.deb" "$deb"

echo "Windows: the zip and the installer"
cmake --build "$win32_build" -j "$jobs" --target pellox pellox_icons
stage="$work/windows"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/pellox.exe" "$win32_build/src/platform/win32/pellox.exe"
# Plain text with CR LF line ends, for Notepad.
sed -e "s/VERSION/$version/g" -e 's/$/\r/' "$root/packaging/windows/README.txt" >"$stage/README.txt"
sed -e 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
cp "$win32_build/icons/pellox.ico" "$stage/pellox.ico"
(cd "$stage" && zip -q -X "$zip" pellox.exe README.txt LICENSE.txt)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
  "$root/packaging/windows/pellox.nsi"

echo
echo "Made in $dist:"
for file in "$deb" "$zip" "$setup"; do
  printf '  %-36s %8s bytes\n' "$(basename "$file")" "$(stat -c %s "$file")"
done
