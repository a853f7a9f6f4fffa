#!/usr/bin/env bash
# Sets up, builds and runs every test: the colour unit tests and the
# end-to-end tests, each of which starts its own X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
bash scripts/build.sh -DYARX_BUILD_TESTS=ON -DYARX_BUILD_BENCHMARKS=ON -DYARX_BUILD_TOOLS=ON
ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
