#!/bin/sh
# Runs a Windows program under Wine; ctest uses it as the emulator of the
# cross-compiled tests. The Wine prefix lives in the build folder (the first
# folder upwards from the current one that holds CMakeCache.txt; outside a
# build folder, the user's cache folder) unless WINEPREFIX is set, and is
# created on first use. Without an X display the
# program runs on a private Xvfb server.
#
#   scripts/wine-run.sh program.exe [arguments...]
set -u

if [ -z "${DISPLAY:-}" ]; then
  export PELLOX_OWN_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

prefix_dir() {
  dir=$(pwd)
  while [ "$dir" != "/" ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      echo "$dir/wineprefix"
      return
    fi
    dir=$(dirname "$dir")
  done
  echo "${XDG_CACHE_HOME:-$HOME/.cache}/pellox/wineprefix"
}

: "${WINEPREFIX:=$(prefix_dir)}"
export WINEPREFIX
: "${WINEDEBUG:=-all}"  # quiet unless the caller asks for channels
export WINEDEBUG
# No Mono or Gecko installer dialogs while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

# One process makes the prefix; others wait for it (bounded). Windows are
# left unmanaged by the X window manager: without one, Wine would otherwise
# wait two seconds for every window it hides or destroys.
stamp="$WINEPREFIX/.pellox-ready"
if [ ! -f "$stamp" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock -w 300 9 || exit 1
    if [ ! -f "$stamp" ]; then
      [ -f "$WINEPREFIX/system.reg" ] || timeout 240 wineboot -i >/dev/null 2>&1
      timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
      timeout 60 wineserver -w
      touch "$stamp"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# Wine's helpers (wineserver, explorer) outlive the program for a few
# seconds; given the caller's output pipes they would keep ctest waiting, so
# the program writes to files that are copied out when it ends.
out=$(mktemp)
err=$(mktemp)
timeout -k 5 600 wine "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
if [ -n "${PELLOX_OWN_DISPLAY:-}" ]; then
  # The display goes away with this script: let Wine finish with it first.
  timeout 30 wineserver -w
fi
exit $rc
