#!/usr/bin/env bash
# Checks the release packages as a user and a distribution meet them:
# builds them with scripts/package.sh from the test command's own build
# folders (build/linux, build/win32), then
#   - SHA256SUMS, and the time stamps in the packages (the last commit's);
#   - the .deb: its fields (the Japanese font among its dependencies, all of
#     them installed here), files and owners, lintian, the desktop entry,
#     the AppStream metadata, the manual page, the hardening of its pellox
#     (scripts/package-checks/hardening.sh), and its pellox (extracted with
#     dpkg-deb -x) answering --help and --version without a display,
#     running a list unattended and showing its icon;
#   - the documented autostart entry: valid, and its Exec line runs a list;
#   - the Windows zip: its files, CR LF texts, the hardening of pellox.exe;
#   - the Windows installer under Wine, in the Windows tests' prefix: silent
#     install, files, Start-menu shortcut, registry keys, the installed
#     pellox.exe running a list, and the silent uninstall leaving nothing of
#     ours behind (and everything of the user's and of other programs');
#   - signing with a throwaway certificate (package-checks/signing.sh);
#   - the packages made once more elsewhere, from scratch, byte for byte the
#     same (package-checks/reproducibility.sh; this takes a few minutes).
# Prints PASS or FAIL per check and exits non-zero when any check failed.
# Needs an X display (scripts/test.sh starts one).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log="$work/log"

section() { printf '\n--- %s ---\n' "$1"; }
pass() { printf '  PASS  %s\n' "$1"; }
note() { printf '  NOTE  %s\n' "$1"; }
fail() {
  printf '  FAIL  %s\n' "$1"
  failures=$((failures + 1))
}
# check DESCRIPTION COMMAND...: runs the command; its output is shown only
# when it fails.
check() {
  local what=$1
  shift
  if "$@" >"$log" 2>&1; then
    pass "$what"
  else
    fail "$what"
    sed 's/^/        /' "$log"
  fi
}
# Polls COMMAND... every half second for up to SECONDS.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 2))
  while ((tries-- > 0)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  return 1
}

if [[ -z "${DISPLAY:-}" ]]; then
  echo "needs an X display (scripts/test.sh starts Xvfb)" >&2
  exit 1
fi

for checks in hardening reproducibility signing; do
  # shellcheck source=/dev/null
  source "$root/scripts/package-checks/$checks.sh"
done

version=$(sed -n 's/^project(Pellox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
deb="$root/dist/pellox_${version}_amd64.deb"
zip="$root/dist/pellox-$version-windows-x64.zip"
setup="$root/dist/pellox-$version-setup-x64.exe"

section "Building the packages (scripts/package.sh)"
if ! PELLOX_LINUX_BUILD="$build/linux" PELLOX_WIN32_BUILD="$build/win32" \
  bash "$root/scripts/package.sh"; then
  fail "scripts/package.sh"
  exit 1
fi
pass "scripts/package.sh made version $version"
check "SHA256SUMS lists the three packages and verifies (sha256sum -c)" \
  bash -c 'cd "$1/dist" && [[ $(awk "{print \$2}" SHA256SUMS | sort | tr "\n" " ") == "$2" ]] &&
    sha256sum --quiet -c SHA256SUMS' _ "$root" \
  "$(printf '%s\n' "$(basename "$deb")" "$(basename "$zip")" "$(basename "$setup")" | sort | tr '\n' ' ')"
check_package_times

# A list of two entries that start a marker script; the marker leaves one
# line per start in FOLDER/log.
write_marker_list() {
  local folder=$1 list=$2
  mkdir -p "$folder"
  printf '#!/bin/sh\necho "$*" >> "%s/log"\n' "$folder" >"$folder/marker"
  chmod +x "$folder/marker"
  printf '0\r\n2\r\n0\r\n%s\r\nfirst\r\n1\r\n%s\r\nsecond\r\n' \
    "$folder/marker" "$folder/marker" >"$list"
}
markers_were() {
  [[ "$(cat "$1/log" 2>/dev/null)" == "$2" ]]
}

# ---------------------------------------------------------------- Linux
section "Debian package: $(basename "$deb")"
deb_root="$work/deb-root"
dpkg-deb -x "$deb" "$deb_root"
field() { dpkg-deb -f "$deb" "$1"; }
check "control fields: pellox $version, amd64, section utils" \
  test "$(field Package) $(field Version) $(field Architecture) $(field Section)" \
  == "pellox $version amd64 utils"
check "dependencies computed by dpkg-shlibdeps (libc6, Qt 6, CUPS) and xdg-utils" \
  bash -c 'd=$1; for p in libc6 libqt6widgets6 libcups2 xdg-utils; do
    grep -q "\\b$p\\b" <<<"$d" || { echo "no $p in: $d"; exit 1; }; done' _ "$(field Depends)"
check "recommends Qt's Wayland platform (qt6-wayland)" test "$(field Recommends)" == "qt6-wayland"
check "depends on a Japanese font: fonts-ipafont-gothic | fonts-japanese-gothic | fonts-noto-cjk" \
  grep -qF "fonts-ipafont-gothic | fonts-japanese-gothic | fonts-noto-cjk" <<<"$(field Depends)"
# apt resolves the dependencies as declared, against what is installed.
check "every dependency installed here: apt-get --simulate installs nothing but pellox" \
  bash -c 'plan=$(apt-get --simulate install "$1" 2>&1) || { echo "$plan"; exit 1; }
    [[ $(grep "^Inst " <<<"$plan" | cut -d" " -f2) == pellox ]] || { echo "$plan"; exit 1; }' _ "$deb"
# The font fontconfig picks for Japanese, which Qt falls back to for the
# messages, comes from a package that meets the font dependency.
japanese_font_package() {
  local package
  package=$(dpkg -S "$(readlink -f "$(fc-match -f '%{file}' ':lang=ja')")" | cut -d: -f1)
  echo "$package"
  [[ $package == fonts-ipafont-gothic || $package == fonts-noto-cjk ||
    $(dpkg-query -W -f '${Provides}' "$package") == *fonts-japanese-gothic* ]]
}
check "the font for Japanese (fc-match :lang=ja) is one the dependency brings: $(japanese_font_package)" \
  japanese_font_package
check "description: a synopsis and an extended description" \
  bash -c '[[ $(dpkg-deb -f "$1" Description | wc -l) -ge 3 ]]' _ "$deb"

expected_files="./usr/bin/pellox
./usr/libexec/pellox/pellox-cups
./usr/share/applications/pellox.desktop
./usr/share/doc/pellox/CHANGELOG.md
./usr/share/doc/pellox/README.md
./usr/share/doc/pellox/changelog.gz
./usr/share/doc/pellox/copyright
./usr/share/metainfo/org.example.pellox.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  expected_files+=$'\n'"./usr/share/icons/hicolor/${size}x$size/apps/pellox.png"
done
expected_files+=$'\n'"./usr/share/icons/hicolor/scalable/apps/pellox.svg"
expected_files+=$'\n'"./usr/share/man/man1/pellox.1.gz"
check "holds exactly the program, its CUPS helper, desktop entry, icons, manual page and documents" \
  diff <(sort <<<"$expected_files") \
  <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
check "every file and folder is owned by root" \
  test "$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)" == "root/root"
check "the program and its helper are stripped" \
  bash -c 'for f; do ! readelf -S "$f" | grep -Eq "\\.(symtab|debug_info)" || exit 1; done' _ \
  "$deb_root/usr/bin/pellox" "$deb_root/usr/libexec/pellox/pellox-cups"
gzip_9n() { [[ "$(od -An -tx1 -N9 "$1" | tr -d ' \n')" == 1f8b08000000000002 ]]; }
check "manual page and changelog compressed with gzip -9n" \
  bash -c "$(declare -f gzip_9n); gzip_9n \"\$1\" && gzip_9n \"\$2\"" _ \
  "$deb_root/usr/share/man/man1/pellox.1.gz" "$deb_root/usr/share/doc/pellox/changelog.gz"
check "changelog.gz is a Debian changelog of version $version" \
  bash -c 'gzip -dc "$1" > "$2" && test "$(dpkg-parsechangelog -l "$2" -S Version)" == "$3"' _ \
  "$deb_root/usr/share/doc/pellox/changelog.gz" "$work/changelog" "$version"
check "copyright in Debian's machine-readable format" \
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$deb_root/usr/share/doc/pellox/copyright"
check "desktop entry valid (desktop-file-validate)" \
  desktop-file-validate "$deb_root/usr/share/applications/pellox.desktop"
check "desktop entry: Exec=pellox %f, Icon=pellox, Categories=Utility;, no MIME type" \
  bash -c 'f=$1; grep -qx "Exec=pellox %f" "$f" && grep -qx "Icon=pellox" "$f" &&
    grep -qx "Categories=Utility;" "$f" && ! grep -q "^MimeType=" "$f"' _ \
  "$deb_root/usr/share/applications/pellox.desktop"
man_page="$deb_root/usr/share/man/man1/pellox.1.gz"
check "manual page renders without warnings (man --warnings)" \
  bash -c 'out=$(MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null); [[ -z $out ]] || { echo "$out"; exit 1; }' \
  _ "$man_page"
check "manual page has its sections" \
  bash -c 'text=$(MANWIDTH=80 man -l "$1" 2>/dev/null); for s in NAME SYNOPSIS DESCRIPTION OPTIONS "LIST FILE FORMAT" "UNATTENDED USE" "EXIT STATUS" FILES NOTES EXAMPLES "SEE ALSO" "lpoptions(1)" "xdg-open(1)"; do
    grep -q "^$s\\|$s" <<<"$text" || { echo "missing: $s"; exit 1; }; done' _ "$man_page"
check "manual page names version $version" \
  bash -c 'MANWIDTH=80 man -l "$1" 2>/dev/null | tail -n 1 | grep -q "Pellox $2 "' _ "$man_page" "$version"
metainfo="$deb_root/usr/share/metainfo/org.example.pellox.metainfo.xml"
# No network here: the validator leaves out the checks of web addresses.
check "AppStream metadata valid (appstreamcli validate --pedantic --no-net)" \
  appstreamcli validate --pedantic --no-net "$metainfo"
check "AppStream metadata: launched by the packaged desktop entry, latest release $version" \
  bash -c 'grep -q "<launchable type=\"desktop-id\">pellox.desktop</launchable>" "$1" &&
    [[ $(grep -m1 -o "<release version=\"[^\"]*\"" "$1") == "<release version=\"$2\"" ]]' _ \
  "$metainfo" "$version"

section "lintian"
# Running as root needs --allow-root; every error and warning fails.
lintian_root_option=()
[[ $(id -u) -eq 0 ]] && lintian_root_option=(--allow-root)
lintian_options=(--tag-display-limit 0 --fail-on "error,warning" "${lintian_root_option[@]}")
check "lintian reports no error and no warning" lintian "${lintian_options[@]}" "$deb"
check_linux_hardening

section "The packaged pellox"
export PATH="$deb_root/usr/bin:$PATH"
unset QT_QPA_PLATFORM
# Without a display Qt would end the program (SIGABRT, status 134).
check "pellox --version without a display: \"pellox $version\", status 0" \
  bash -c 'answer=$(env -u DISPLAY -u WAYLAND_DISPLAY pellox --version) &&
    [[ $answer == "pellox $1" ]]' _ "$version"
check "pellox --help without a display: the usage, status 0" \
  bash -c 'help=$(env -u DISPLAY -u WAYLAND_DISPLAY pellox --help) &&
    [[ $help == "Usage: pellox [LIST_FILE]"* && $help == *"man pellox"* ]]'
run_dir="$work/linux-run"
write_marker_list "$run_dir" "$run_dir/morning.lst"
check "runs a list unattended and ends by itself" \
  bash -c 'cd "$1" && timeout 120 pellox "$1/morning.lst"' _ "$run_dir"
# The program does not wait for what it starts: the last marker may still be
# running when it ends.
check "the list's entries started in order" wait_for 30 markers_were "$run_dir" $'first\nsecond'

# Opened without a list, the window shows the program's icon.
(cd "$work" && exec pellox "$work/none.lst") >/dev/null 2>&1 &
window_pid=$!
icon_sizes() { xprop -name Pellox _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)'; }
check "the window shows the program's icon (16 to 128 pixels)" \
  bash -c "$(declare -f wait_for icon_sizes)"'
    wait_for 60 bash -c "$(declare -f icon_sizes); icon_sizes | grep -q \"128 x 128\"" || true
    sizes=$(icon_sizes | tr "\n" " ")
    [[ $sizes == *"16 x 16"*"32 x 32"*"48 x 48"*"128 x 128"* ]] || { echo "icons: $sizes"; exit 1; }'
kill "$window_pid" 2>/dev/null
wait "$window_pid" 2>/dev/null

section "Starting a list at login, as documented"
# The entry as the README shows it (the ```ini block after its file name)
# and as the manual page shows it (rendered).
awk '/pellox-morning\.desktop/ {found = 1} found && /^```ini/ {copy = 1; next}
     copy && /^```/ {exit} copy' "$root/README.md" >"$work/readme-entry"
MANWIDTH=120 man -l "$man_page" 2>/dev/null |
  awk '/^ *\[Desktop Entry\]/ {copy = 1} copy && /^ *$/ {exit} copy {sub(/^ +/, ""); print}' \
    >"$work/man-entry"
check "README and manual page show the same autostart entry" \
  bash -c '[[ -s $1 ]] && diff "$1" "$2"' _ "$work/readme-entry" "$work/man-entry"
autostart_dir="$work/config/autostart"
login_dir="$work/login"
mkdir -p "$autostart_dir"
write_marker_list "$login_dir" "$login_dir/morning.lst"
sed "s|/path/morning.lst|$login_dir/morning.lst|" "$work/readme-entry" \
  >"$autostart_dir/pellox-morning.desktop"
check "the entry is a valid desktop entry (desktop-file-validate)" \
  desktop-file-validate "$autostart_dir/pellox-morning.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$autostart_dir/pellox-morning.desktop")
check "its Exec line runs the list: $exec_line" \
  bash -c 'cd "$1" && read -r -a command <<<"$2" && timeout 120 "${command[@]}"' _ \
  "$login_dir" "$exec_line"
check "the list's entries started" wait_for 30 markers_were "$login_dir" $'first\nsecond'

# -------------------------------------------------------------- Windows
section "Windows zip: $(basename "$zip")"
check "holds pellox.exe, README.txt and LICENSE.txt" \
  test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" == "LICENSE.txt README.txt pellox.exe "
unzip -q "$zip" -d "$work/zip"
crlf_only() { [[ -s $1 && $(grep -c '' "$1") == $(grep -c $'\r$' "$1") ]]; }
check "README.txt and LICENSE.txt have CR LF line ends" \
  bash -c "$(declare -f crlf_only); crlf_only \"\$1\" && crlf_only \"\$2\"" _ \
  "$work/zip/README.txt" "$work/zip/LICENSE.txt"
check "README.txt names this version's files" grep -q "pellox-$version-setup-x64.exe" \
  "$work/zip/README.txt"
check_windows_hardening

section "Windows installer under Wine: $(basename "$setup")"
export WINEPREFIX="$build/win32/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_run() { (cd "$build/win32" && "$root/scripts/wine-run.sh" "$@"); }
reg_query() { timeout 60 wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# A value's data; the name "" is the key's default value.
reg_value() {
  local select=(/v "$2") name=$2
  [[ -z $2 ]] && select=(/ve) name="(Default)"
  reg_query "$1" "${select[@]}" | awk -v name="$name" '$1 == name {$1 = ""; $2 = ""; sub(/^ +/, ""); print}'
}
reg_gone() { ! timeout 60 wine reg query "$1" >/dev/null 2>&1; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellox'
open_with='HKCU\Software\Classes\.lst\OpenWithProgids'
wine_run cmd /c ver >/dev/null # makes the prefix when there is none yet
users="$WINEPREFIX/drive_c/users/$(id -un)"
install_dir="$users/AppData/Local/Programs/Pellox"
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pellox.lnk"
# What a run (also an interrupted one) leaves in the prefix.
clean_windows_install() {
  rm -rf "$install_dir" "$shortcut"
  rm -rf "$users"/Temp/~nsu*.tmp
  for key in "$uninstall_key" 'HKCU\Software\Classes\Pellox.lst' \
    'HKCU\Software\Classes\Applications\pellox.exe' 'HKCU\Software\Classes\.lst'; do
    timeout 60 wine reg delete "$key" /f >/dev/null 2>&1
  done
}
clean_windows_install
# Another program's claim on .lst, which the installer must leave alone.
timeout 60 wine reg add 'HKCU\Software\Classes\.lst' /ve /d OtherApp.lst /f >/dev/null 2>&1
timeout 60 wine reg add "$open_with" /v OtherApp.lst /d '' /f >/dev/null 2>&1

check "silent install (/S)" wine_run "$setup" /S
check "installed pellox.exe, README.txt, LICENSE.txt, Uninstall.exe into Programs\\Pellox" \
  test "$(ls "$install_dir" 2>&1 | tr '\n' ' ')" == "LICENSE.txt README.txt Uninstall.exe pellox.exe "
check "Start-menu shortcut" test -f "$shortcut"
install_win='C:\users\'"$(id -un)"'\AppData\Local\Programs\Pellox'
check "Uninstall key: DisplayName, DisplayVersion, Publisher, DisplayIcon" \
  test "$(reg_value "$uninstall_key" DisplayName)|$(reg_value "$uninstall_key" DisplayVersion)|$(reg_value "$uninstall_key" Publisher)|$(reg_value "$uninstall_key" DisplayIcon)" \
  == "Pellox|$version|The Pellox developers|$install_win\\pellox.exe,0"
check "Uninstall key: UninstallString, QuietUninstallString" \
  test "$(reg_value "$uninstall_key" UninstallString)|$(reg_value "$uninstall_key" QuietUninstallString)" \
  == "\"$install_win\\Uninstall.exe\"|\"$install_win\\Uninstall.exe\" /S"
check "Uninstall key: EstimatedSize in KB" \
  bash -c 's=$(( $1 )); (( s > 100 && s < 10000 ))' _ "$(reg_value "$uninstall_key" EstimatedSize)"
# Wine's "Add/Remove Programs" reads the same key as "Apps & features".
listed_as_program() { timeout 60 wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -qx 'Pellox|||Pellox'; }
check "listed in Wine's Add/Remove Programs (wine uninstaller --list)" listed_as_program
check "Open with: Pellox.lst listed for .lst beside the other program's" \
  bash -c 'out=$1; grep -q "^ *Pellox.lst " <<<"$out" && grep -q "^ *OtherApp.lst " <<<"$out"' _ \
  "$(reg_query "$open_with")"
check "Open with: Pellox.lst and Applications\\pellox.exe open a list with pellox.exe" \
  test "$(reg_value 'HKCU\Software\Classes\Pellox.lst\shell\open\command' '')|$(reg_value 'HKCU\Software\Classes\Applications\pellox.exe\shell\open\command' '')" \
  == "\"$install_win\\pellox.exe\" \"%1\"|\"$install_win\\pellox.exe\" \"%1\""
check "Applications\\pellox.exe supports .lst" \
  bash -c 'grep -q "^ *\.lst " <<<"$1"' _ \
  "$(reg_query 'HKCU\Software\Classes\Applications\pellox.exe\SupportedTypes')"
check ".lst keeps its default program" \
  test "$(reg_value 'HKCU\Software\Classes\.lst' '')" == "OtherApp.lst"

marker_dir="$work/wine-markers"
mkdir -p "$marker_dir"
marker_exe=$(winepath -w "$build/win32/tests/win32/pellox_marker.exe" 2>/dev/null)
win_list="$work/wine morning.lst"
printf '0\r\n2\r\n0\r\n%s\r\nfirst\r\n0\r\n%s\r\nsecond\r\n' "$marker_exe" "$marker_exe" >"$win_list"
check "the installed pellox.exe runs a list and ends" \
  env PELLOX_MARKER_DIR="$(winepath -w "$marker_dir")" \
  bash -c "$(declare -f wine_run); root=\$1 build=\$2; wine_run \"\$3\" \"\$4\"" _ \
  "$root" "$build" "$install_dir/pellox.exe" "$(winepath -w "$win_list")"
two_markers_done() { [[ $(find "$marker_dir" -name '*.done' | wc -l) -eq 2 ]]; }
check "the list's entries started" wait_for 30 two_markers_done

# A list file of the user's in the program's folder stays.
printf '0\r\n0\r\n' >"$install_dir/mine.lst"
check "silent uninstall (/S)" wine_run "$install_dir/Uninstall.exe" /S
# The uninstaller runs from a copy in %TEMP%\~nsuN.tmp and returns at
# once: wait for it (bounded). That copy is NSIS's own and is deleted at the
# next start of Windows (here: of Wine).
timeout 120 wineserver -w
check "program folder: only the user's list file left" \
  test "$(ls "$install_dir" 2>&1 | tr '\n' ' ')" == "mine.lst "
check "Start-menu shortcut removed" test ! -e "$shortcut"
check "Uninstall key removed, no longer listed in Add/Remove Programs" \
  bash -c "$(declare -f reg_gone listed_as_program); reg_gone '$uninstall_key' && ! listed_as_program"
check "Pellox.lst and Applications\\pellox.exe removed" \
  bash -c "$(declare -f reg_gone); reg_gone 'HKCU\Software\Classes\Pellox.lst' &&
    reg_gone 'HKCU\Software\Classes\Applications\pellox.exe'"
check "Open with: Pellox.lst removed, the other program's entry and default kept" \
  bash -c 'out=$1; ! grep -q "Pellox.lst" <<<"$out" && grep -q "^ *OtherApp.lst " <<<"$out" &&
    [[ $2 == OtherApp.lst ]]' _ "$(reg_query "$open_with")" \
  "$(reg_value 'HKCU\Software\Classes\.lst' '')"
clean_windows_install

# Where nothing else claimed .lst, the uninstaller removes the keys the
# installer made for it, and the program's folder.
wine_run "$setup" /S >/dev/null 2>&1
wine_run "$install_dir/Uninstall.exe" /S >/dev/null 2>&1
timeout 120 wineserver -w
check "install and uninstall alone: no .lst key, no program folder left" \
  bash -c "$(declare -f reg_gone); reg_gone 'HKCU\Software\Classes\.lst' && test ! -e \"\$1\"" _ \
  "$install_dir"
clean_windows_install

check_signed_packages
check_reproducible

echo
if ((failures > 0)); then
  echo "Package checks: $failures FAILED"
  exit 1
fi
echo "Package checks: all passed"
