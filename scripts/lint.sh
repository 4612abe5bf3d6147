#!/usr/bin/env bash
# Checks the form of the code and fails on any finding:
#   - clang-format (.clang-format): every tracked C++ file already formatted;
#   - clang-tidy (.clang-tidy): our sources under src/ and tests/ as the Linux
#     build compiles them (its compile_commands.json).
#
#   scripts/lint.sh [BUILD]   BUILD: the Linux build folder (default
#                             build/linux), configured here if it is not yet
#
# clang-tidy needs Qt's generated headers beside the sources it reads: the
# Qt targets' moc step is built first (not the whole build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}
jobs=$(nproc)
status=0

echo "--- clang-format"
mapfile -t files < <(git -C "$root" ls-files '*.cpp' '*.h')
if (cd "$root" && clang-format --dry-run -Werror "${files[@]}"); then
  echo "${#files[@]} files formatted"
else
  status=1
fi

echo "--- clang-tidy"
if [[ ! -f "$build/compile_commands.json" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
mapfile -t autogen < <(cmake --build "$build" --target help | sed -n 's/^\([a-z0-9_]*_autogen\):.*/\1/p')
[[ ${#autogen[@]} -eq 0 ]] || cmake --build "$build" -j "$jobs" --target "${autogen[@]}" >/dev/null
# Only the translation units of our own folders (not Qt's generated code in
# the build folder), and the headers beside them. GCC's own warning options
# in the build's commands are unknown to clang.
# shellcheck disable=SC2001 # escapes a whole class of characters
ours="^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$root")/(src|tests)/"
if run-clang-tidy -quiet -j "$jobs" -p "$build" -header-filter "$ours" \
  -extra-arg=-Wno-unknown-warning-option "$ours" >"$build/clang-tidy.log" 2>&1; then
  echo "$(grep -c '^clang-tidy' "$build/clang-tidy.log") files, no findings"
else
  status=1
  # The findings without the colours and the per-file command lines.
  sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" |
    grep -v -E '^clang-tidy|warnings? (generated|treated as errors)\.?$'
fi

exit $status
