#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the
# external checks with independent readers, and a short fuzzing run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

jobs=$(nproc)
echo "== build"
scripts/build.sh build
echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== build with AddressSanitizer + UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DTAVOLEX_SANITIZE=ON -DTAVOLEX_BENCH=OFF
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE external

echo "== fuzzing the readers briefly"
CC=clang CXX=clang++ scripts/build.sh build-fuzz -DTAVOLEX_FUZZ=ON -DTAVOLEX_WITH_QT=OFF -DTAVOLEX_BENCH=OFF
for fuzzer in build-fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  corpus=$(mktemp -d)
  cp tests/data/* "$corpus"/
  # A fixed seed: the same tree fuzzes the same way, so a red run is a fault
  # of the change and can be reproduced with the input kept beside the log.
  "$fuzzer" -seed="${TAVOLEX_FUZZ_SEED:-1}" -max_total_time="${TAVOLEX_FUZZ_SECONDS:-20}" -rss_limit_mb=2048 \
    -artifact_prefix="$fuzzer-" "$corpus" > "$fuzzer.log" 2>&1 \
    || { tail -50 "$fuzzer.log"; exit 1; }
  echo "$(basename "$fuzzer"): $(grep -c . "$fuzzer.log") log lines, no crash"
  rm -rf "$corpus"
done
echo "== all tests passed"
