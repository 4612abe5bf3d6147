#!/usr/bin/env bash
# Renders the application icon (packaging/icon/pellox.svg) to the PNG sizes
# of the hicolor icon theme, pellox-SIZE.png, and to pellox.ico for Windows
# (16 to 48 pixels as bitmaps, 256 pixels as an embedded PNG). The build runs
# it; the output is the same on every run.
#   scripts/render-icons.sh OUTPUT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: $0 OUTPUT_FOLDER}
svg="$root/packaging/icon/pellox.svg"
sizes=(16 24 32 48 64 128 256)

mkdir -p "$out"
for size in "${sizes[@]}"; do
  rsvg-convert --width "$size" --height "$size" --format png "$svg" -o "$out/pellox-$size.png"
done
icotool --create --output "$out/pellox.ico" \
  "$out/pellox-16.png" "$out/pellox-24.png" "$out/pellox-32.png" "$out/pellox-48.png" \
  --raw="$out/pellox-256.png"
