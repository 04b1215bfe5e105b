#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite twice: the
# Release build in build/, then a Clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/, which also runs the fuzz targets
# for a few seconds each. Any failure or sanitizer report fails the script; the
# last lines printed are the summary of the final test run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh

# 1. Release build and tests.
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2

# 2. Sanitizer build: optimised a little (-O1) so the suite runs in reasonable
#    time, with line tables for readable reports; no benchmarks.
echo "== Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer) and fuzz targets in build-asan/"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DRUBICEL_SANITIZE=address,undefined -DRUBICEL_WITH_FUZZ=ON \
  -DRUBICEL_WITH_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j2
# Every report aborts the test that trips it; leaks are reports too.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j2
