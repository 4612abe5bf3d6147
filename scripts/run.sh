#!/usr/bin/env bash
# Builds the Linux Pellox and starts it; arguments go to the program
# (for example the path of a list file to run unattended).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" run
cmake -S "$root" -B "$root/build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPELLOX_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/linux" --target pellox
exec "$root/build/linux/src/platform/qt/pellox" "$@"
