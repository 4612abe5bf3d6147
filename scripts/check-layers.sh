#!/usr/bin/env bash
# Checks that every folder of src/ includes only from the folders below it,
# so that the folders stand in layers and never include each other in a
# circle:
#
#   app                     entries: start-up, the command line
#   runlist  running        the handlers of the list and of the run
#   window                  TForm1, its grid, layout and toolkit, TApplication
#   printers                TPrinter over the platform's printer system
#   platform                the interfaces to the system (platform/*.h)
#   common                  errors, integer parse, text helpers
#
# The front ends stand above the whole core: platform/linux, platform/qt
# (which also uses platform/linux), platform/windows and platform/win32 (which
# also uses platform/windows).
#
#   scripts/check-layers.sh [SRC_DIR]
# Prints each include that breaks the order and exits 1 if there is one.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

core="common platform printers window runlist running app"
# Sets `allowed` to the layers that layer $1 may include from; fails for a
# folder that has no place in the order.
allowed_for() {
  case "$1" in
    common) allowed="common" ;;
    platform) allowed="common platform" ;;
    printers) allowed="common platform printers" ;;
    window) allowed="common platform printers window" ;;
    runlist) allowed="common platform printers window runlist" ;;
    running) allowed="common platform printers window running" ;;
    app) allowed="common platform printers window runlist running app" ;;
    platform/linux) allowed="$core platform/linux" ;;
    platform/qt) allowed="$core platform/linux platform/qt" ;;
    platform/windows) allowed="$core platform/windows" ;;
    platform/win32) allowed="$core platform/windows platform/win32" ;;
    *) return 1 ;;
  esac
}

# Sets `layer` to the layer of a path below src/: its first folder, or for
# the front ends platform/<name>; the interface headers directly in platform/
# are "platform". Empty for a path without a folder.
layer_of() {
  local path=$1 rest
  layer=""
  [[ "$path" == */* ]] || return 0
  layer=${path%%/*}
  rest=${path#*/}
  if [[ "$layer" == platform && "$rest" == */* ]]; then layer="platform/${rest%%/*}"; fi
}

status=0
while IFS= read -r file; do
  relative=${file#"$src"/}
  layer_of "$relative"
  from=$layer
  [[ -z "$from" ]] && continue
  if ! allowed_for "$from"; then
    echo "$relative: folder '$from' has no place in the layers" >&2
    status=1
    continue
  fi
  while IFS= read -r included; do
    layer_of "$included"
    to=$layer
    [[ -z "$to" ]] && continue
    if [[ " $allowed " != *" $to "* ]]; then
      echo "$relative includes $included: '$from' may not use '$to'" >&2
      status=1
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.cpp' -o -name '*.h' | sort)
exit $status
