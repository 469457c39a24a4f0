#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the Release build
# with all tests, the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each reader's fuzzer for 20 seconds (as many
# at once as there are cores).
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Release build and all tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON -DVESK_CORE_ONLY=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -L core

if command -v clang++ >/dev/null; then
  echo "== Fuzzing every reader for 20 seconds"
  CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j "$jobs"
  run_fuzzer() {
    local fuzzer=$1 name corpus seeds
    name=$(basename "$fuzzer")
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="tests/fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name"
    "$fuzzer" -max_total_time=20 -rss_limit_mb=4096 -timeout=10 -print_final_stats=0 \
      "$corpus" $seeds 2>"build-fuzz/$name.log" || { tail -50 "build-fuzz/$name.log"; return 1; }
  }
  export -f run_fuzzer
  find build-fuzz/tests/fuzz -maxdepth 1 -name 'fuzz_*' -type f -executable -print0 |
    xargs -0 -P "$jobs" -I{} bash -c 'run_fuzzer "$1"' _ {}
  echo "fuzzers: no crash, leak or hang found"
fi

echo "== Size of the test suite"
tools/test-ratio
