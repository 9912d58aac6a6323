#!/bin/bash
# Sets up, builds and runs every test: a normal build (g++), then a build with
# AddressSanitizer + UndefinedBehaviorSanitizer (clang) that also runs the fuzzers for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

scripts/build.sh build
ctest --test-dir build --output-on-failure -j2 --timeout 600

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DPYX_SANITIZE=ON -DPYX_FUZZ=ON
ctest --test-dir build-asan --output-on-failure -j2 --timeout 1200

tests/fuzz/run-fuzzers.sh build-asan/tests/fuzz "${PYX_FUZZ_SECONDS:-30}"
