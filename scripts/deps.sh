#!/usr/bin/env bash
# Installs the Debian packages a task needs, when they are missing.
#   scripts/deps.sh run    what building and starting Pellox needs
#   scripts/deps.sh package  what building the release packages needs
#   scripts/deps.sh test   what building everything and running every test
#                          (the packages' checks included) needs
# As root it installs them with apt-get; otherwise it prints the one
# apt-get line to run and fails.
set -euo pipefail

# The build renders the icon from its SVG (rsvg-convert, icotool); the
# messages are Japanese and need a font with their glyphs (the one the
# Debian package depends on).
run_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libcups2-dev xdg-utils
  librsvg2-bin icoutils fonts-ipafont-gothic)
# The packages' time stamps come from git; osslsigncode signs the Windows
# files when a certificate is given.
package_packages=("${run_packages[@]}" g++-mingw-w64-x86-64 dpkg-dev nsis zip unzip
  lintian desktop-file-utils man-db git osslsigncode)
# The desktop tests start a window manager (openbox, driven with wmctrl), a
# session bus (dbus; dbus-x11's dbus-launch, which the program must not
# start when there is no bus) and a Wayland compositor (weston, for Qt's Wayland
# platform, qt6-wayland) of their own; the accessibility test reads the
# program over AT-SPI (the accessibility bus and registry of at-spi2-core,
# Debian's python3 with pyatspi and GLib's bindings). The package checks:
# hardening-check (devscripts), appstreamcli, openssl for a throwaway
# signing certificate, diffoscope to show what differs between two builds,
# fc-match (fontconfig) for the font of the messages.
test_packages=("${package_packages[@]}" libgtest-dev googletest libbenchmark-dev
  cups cups-client cups-daemon xvfb xauth wine wine64
  clang libclang-rt-14-dev clang-format clang-tidy imagemagick x11-utils util-linux
  openbox wmctrl dbus dbus-x11 weston qt6-wayland
  at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
  devscripts appstream openssl diffoscope-minimal fontconfig)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  package) wanted=("${package_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|package|test" >&2; exit 2 ;;
esac

# One question to dpkg for all of them, so that the check is quick when
# nothing is missing (dpkg-query leaves out a package it has never seen).
declare -A installed=()
while read -r package status; do
  [[ "$status" == "install ok installed" ]] && installed[$package]=1
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null || true)
missing=()
for package in "${wanted[@]}"; do
  [[ -n "${installed[$package]:-}" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

command="apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing Debian packages. Run as root:" >&2
  echo "  apt-get update && $command" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another install running at the same time (a second build folder's test
# command) holds the package lock for a while: wait for it.
apt-get -o DPkg::Lock::Timeout=900 update -qq
# shellcheck disable=SC2086
apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
