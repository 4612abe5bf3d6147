#!/usr/bin/env bash
# Builds everything (the Linux build and the Windows build) and runs every
# test, then builds the release packages from those builds and checks them.
# Every build it makes treats a warning in our code as an error
# (PELLOX_WERROR). Installs missing Debian packages first (as root).
#
#   scripts/test.sh [PART]
#     linux     the Linux build and its tests (core, Qt window, Linux layer,
#               end to end)
#     lint      clang-format and clang-tidy (scripts/lint.sh; configures the
#               Linux and Windows builds, whose compile_commands.json it
#               reads)
#     asan      the same suite built with AddressSanitizer and UBSan
#     fuzz      the libFuzzer targets, FUZZ_SECONDS each
#     win32     the Windows build and its tests under Wine
#     packages  the .deb, zip and installer, built and checked from the
#               Linux and Windows build folders (their programs only, and
#               the Windows tests' marker program)
#     all       every part above, in that order (the default; what CI runs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=$(nproc)
part=${1:-all}
case "$part" in
  linux | lint | asan | fuzz | win32 | packages | all) ;;
  *)
    echo "usage: $0 [linux|lint|asan|fuzz|win32|packages|all]" >&2
    exit 2
    ;;
esac

bash "$root/scripts/deps.sh" test
# For the builds that scripts/fuzz.sh and scripts/package.sh configure.
export PELLOX_WERROR=ON

# The window tests under Wine, the end-to-end tests and the installer under
# Wine need an X display; formatting, clang-tidy and fuzzing do not.
if [[ -z "${DISPLAY:-}" && $part != lint && $part != fuzz ]]; then
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    # -noreset: a server that resets when its last client leaves drops the
    # connections that arrive meanwhile (the tests' short-lived X clients).
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
    export DISPLAY=":$n"
    for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
    break
  done
fi

status=0
section() { printf '\n=== %s ===\n' "$1"; }

# scripts/run.sh builds in a folder of its own (build/run), so the two never
# reconfigure each other's build.
linux_configure() {
  cmake -S "$root" -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELLOX_WERROR=ON >/dev/null
}
linux_build() {
  section "Linux build"
  linux_configure
  cmake --build "$build/linux" -j "$jobs"
}
linux_tests() {
  section "Linux tests"
  ctest --test-dir "$build/linux" --output-on-failure -j "$jobs" || status=1
  # For a human to look at: a real error box, as the end-to-end tests saw it.
  local picture="$build/linux/pictures/error-box.png"
  if [[ -f $picture ]]; then echo "An error box as a user sees it: $picture"; fi
}
lint() {
  section "Lint (clang-format, clang-tidy)"
  bash "$root/scripts/lint.sh" "$build/linux" || status=1
}
asan() {
  section "Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
  cmake -S "$root" -B "$build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLOX_SANITIZE=ON \
    -DPELLOX_BUILD_BENCH=OFF -DPELLOX_WERROR=ON >/dev/null
  cmake --build "$build/asan" -j "$jobs"
  section "Sanitizer tests"
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$build/asan" --output-on-failure -j "$jobs" || status=1
}
fuzz() {
  section "Fuzzing (libFuzzer)"
  bash "$root/scripts/fuzz.sh" || status=1
}
win32_configure() {
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DPELLOX_WERROR=ON >/dev/null
}
win32_build() {
  section "Windows build (mingw-w64)"
  win32_configure
  cmake --build "$build/win32" -j "$jobs"
}
win32_tests() {
  section "Windows tests (Wine)"
  ctest --test-dir "$build/win32" --output-on-failure || status=1
}
packages() {
  section "Packages (.deb, zip, installer)"
  # scripts/package.sh builds the programs it packages in these folders; the
  # installer's check starts the marker program of the Windows tests.
  linux_configure
  win32_configure
  cmake --build "$build/win32" -j "$jobs" --target pellox_marker
  bash "$root/scripts/test-packages.sh" || status=1
}

# Called as plain commands, so that a failing build ends the script (set -e)
# and a failing test run only marks it failed.
case "$part" in
  linux) linux_build; linux_tests ;;
  lint) linux_configure; lint ;;
  asan) asan ;;
  fuzz) fuzz ;;
  win32) win32_build; win32_tests ;;
  packages) packages ;;
  all) linux_build; linux_tests; lint; asan; fuzz; win32_build; win32_tests; packages ;;
esac

exit $status
