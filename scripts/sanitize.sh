#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-asan and runs the unit, end-to-end and reliability tests there.
# The end-to-end tests then drive the sanitized yarx, which inherits the
# options below: any report ends it with status 23 and fails the test.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYARX_SANITIZE=ON \
    -DBUILD_TESTING=ON -DYARX_MAINTAINER=ON -DYARX_BUILD_BENCHMARKS=OFF -DYARX_BUILD_TOOLS=ON \
    >/dev/null
cmake --build build-asan -j "$(nproc)"

supp="$PWD/tests/sanitizers/lsan.supp"
export ASAN_OPTIONS="exitcode=23:halt_on_error=1:detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="exitcode=23:suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="exitcode=23:halt_on_error=1:print_stacktrace=1"
# The soak measures resident memory, which the sanitizers' shadow and
# quarantine make meaningless, and the checks on the sources and the package
# do not depend on the build: both run in the normal build only.
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -LE 'soak|checks' "$@"
