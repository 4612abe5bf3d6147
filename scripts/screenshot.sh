#!/usr/bin/env bash
# Takes a picture of the Linux main window as it opens: builds the Qt front
# end if needed, starts it on a private Xvfb display, and writes the window's
# area of the screen to docs/screenshot.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${PELLOX_QT_BUILD:-$root/build-qt}
out=${1:-$root/docs/screenshot.png}
program=$build/src/platform/qt/pellox

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja >/dev/null
fi
ninja -C "$build" -j2 pellox >/dev/null

# The first display number with neither a socket nor a lock file.
display=
for n in $(seq 90 250); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
    display=$n
    break
  fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }

xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
  xwininfo -root >/dev/null 2>&1 && break
  sleep 0.1
done

runtime=$(mktemp -d)
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
app_pid=$!

window=
for _ in $(seq 100); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Pellox"/ && / [0-9]+x[0-9]+\+/ {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the Pellox window did not appear" >&2; exit 1; }
sleep 1  # let the first paint finish

info=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
w=$(awk '/Width:/ {print $2}' <<<"$info")
h=$(awk '/Height:/ {print $2}' <<<"$info")

mkdir -p "$(dirname "$out")"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
rm -rf "$runtime"
echo "wrote $out (${w}x${h} at ${x},${y})"
