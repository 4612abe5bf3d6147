#!/usr/bin/env bash
# The layer check fails on an include that runs up the layers: each case
# plants one such include in a copy of src/ and expects exit status 1 and
# the offending include named in the output.
#
#   tests/check_layers_test.sh SRC_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# file that gets the include | the header it includes
cases=(
  "platform/windows/win32_file.cpp|platform/win32/main_window.h"
  "platform/linux/posix_launcher.cpp|platform/qt/main_window.h"
)
status=0
for entry in "${cases[@]}"; do
  file=${entry%%|*}
  header=${entry#*|}
  rm -rf "$work/src"
  cp -r "$src" "$work/src"
  echo "#include \"$header\"" >>"$work/src/$file"
  set +e
  output=$(bash "$here/../scripts/check-layers.sh" "$work/src" 2>&1)
  code=$?
  set -e
  expected="$file includes $header: '${file%/*}' may not use '${header%/*}'"
  if [[ $code -eq 1 && "$output" == *"$expected"* ]]; then
    echo "PASS $file -> $header"
  else
    echo "FAIL $file -> $header: exit $code, output:" >&2
    echo "$output" >&2
    status=1
  fi
done
exit $status
