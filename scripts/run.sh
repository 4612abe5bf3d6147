#!/usr/bin/env bash
# Builds the Linux Pellox and starts it; arguments go to the program
# (for example the path of a list file to run unattended). It builds in a
# folder of its own, build/run (Release, no tests), so that it and the test
# command (build/linux) never reconfigure each other's build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" run
cmake -S "$root" -B "$root/build/run" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPELLOX_BUILD_TESTS=OFF -DPELLOX_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build/run" --target pellox
exec "$root/build/run/src/platform/qt/pellox" "$@"
