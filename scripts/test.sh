#!/usr/bin/env bash
# Sets up, builds and runs every test: the colour unit tests, the
# end-to-end tests and the pictures tool, each of which starts its own X
# server, and the checks on the manual page, the package, format and lint.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
bash scripts/build.sh -DBUILD_TESTING=ON -DYARX_MAINTAINER=ON -DYARX_BUILD_BENCHMARKS=ON \
    -DYARX_BUILD_TOOLS=ON -DYARX_WERROR=ON
ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
# The same tests again on a build with the address, leak and undefined-
# behaviour sanitizers.
bash scripts/sanitize.sh "$@"
