#!/usr/bin/env bash
# Checks the form of the code and fails on any finding:
#   - clang-format (.clang-format): every tracked C++ file already formatted;
#   - clang-tidy (.clang-tidy): our sources under src/ and tests/ as the Linux
#     build compiles them, and those that only the Windows build compiles
#     (src/platform/win32, src/platform/windows, tests/win32) as it compiles
#     them (each build's compile_commands.json).
#
#   scripts/lint.sh [BUILD [WIN32_BUILD]]
#     BUILD        the Linux build folder (default build/linux)
#     WIN32_BUILD  the Windows build folder (default build/win32)
#   Each is configured here if it is not yet (as scripts/test.sh does, with
#   PELLOX_WERROR from the environment).
#
# clang-tidy needs Qt's generated headers beside the sources it reads: the
# Qt targets' moc step is built first (not the whole build). The Windows
# build needs nothing built: clang reads its sources for the mingw-w64
# target, with the cross compiler's C++ headers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
win32_build=${2:-$root/build/win32}
jobs=$(nproc)
status=0

echo "--- clang-format"
mapfile -t files < <(git -C "$root" ls-files '*.cpp' '*.h')
if (cd "$root" && clang-format --dry-run -Werror "${files[@]}"); then
  echo "${#files[@]} files formatted"
else
  status=1
fi

# Only the translation units of our own folders (not Qt's generated code in
# the build folder), and the headers beside them.
# shellcheck disable=SC2001 # escapes a whole class of characters
ours="^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$root")/(src|tests)/"

# Runs clang-tidy over the files of build $2 (named $1) that match $3, with
# the extra arguments after them; prints the findings and fails on any.
tidy() {
  local name=$1 folder=$2 pattern=$3 log=$2/clang-tidy.log
  shift 3
  echo "--- clang-tidy ($name)"
  # GCC's own warning options in the build's commands are unknown to clang.
  if run-clang-tidy -quiet -j "$jobs" -p "$folder" -header-filter "$ours" \
    -extra-arg=-Wno-unknown-warning-option "$@" "$pattern" >"$log" 2>&1; then
    echo "$(grep -c '^clang-tidy' "$log") files, no findings"
  else
    # The findings without the colours and the per-file command lines.
    sed 's/\x1b\[[0-9;]*m//g' "$log" |
      grep -v -E '^clang-tidy|warnings? (generated|treated as errors)\.?$'
    return 1
  fi
}

if [[ ! -f "$build/compile_commands.json" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELLOX_WERROR="${PELLOX_WERROR:-OFF}" >/dev/null
fi
mapfile -t autogen < <(cmake --build "$build" --target help | sed -n 's/^\([a-z0-9_]*_autogen\):.*/\1/p')
[[ ${#autogen[@]} -eq 0 ]] || cmake --build "$build" -j "$jobs" --target "${autogen[@]}" >/dev/null
tidy Linux "$build" "$ours" || status=1

if [[ ! -f "$win32_build/compile_commands.json" ]]; then
  cmake -S "$root" -B "$win32_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DPELLOX_WERROR="${PELLOX_WERROR:-OFF}" >/dev/null
fi
# The files only the Windows build compiles (the core and its tests were read
# above; the headers they share are read again here).
windows_only="${ours%'(src|tests)/'}(src/platform/(win32|windows)|tests/win32)/"
# clang finds the mingw-w64 headers for the target, but not the C++ library
# of the (posix threads) cross compiler: its include folders, as g++ lists
# them.
win32_args=(-extra-arg-before=--target=x86_64-w64-mingw32)
while IFS= read -r folder; do
  win32_args+=("-extra-arg=-isystem$folder")
done < <(x86_64-w64-mingw32-g++-posix -x c++ -E -v - </dev/null 2>&1 |
  sed -n '/search starts here/,/End of search list/s|^ *\(.*/include/c++.*\)|\1|p')
tidy Windows "$win32_build" "$windows_only" "${win32_args[@]}" || status=1

exit $status
