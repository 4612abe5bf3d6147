#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build/fuzz and runs each for
# FUZZ_SECONDS (default 30) from a copy of its seed corpus, so the corpus in
# the repository never changes during a run. Fails on any crash, leak,
# timeout or sanitizer report; the input that caused it is kept in
# build/fuzz/findings/<target>/. PELLOX_WERROR=ON in the environment makes
# a warning in our code fail the build (the test command sets it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${FUZZ_SECONDS:-30}
jobs=${FUZZ_JOBS:-2}
targets=(list_file int_parse argument_words)

CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLOX_WERROR="${PELLOX_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  rm -rf "$corpus" && mkdir -p "$corpus" "$findings"
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  printf '\n--- %s (%ss) ---\n' "$target" "$seconds"
  # A million-entry list takes a while under the sanitizers; -timeout is per
  # input, -rss_limit_mb keeps a runaway allocation a finding.
  if ! "$build/${target}_fuzz" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" \
      >"$build/$target.log" 2>&1; then
    status=1
    tail -n 60 "$build/$target.log"
    echo "FAILED: $target (inputs in $findings)"
  else
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$build/$target.log" || true
  fi
done
exit $status
