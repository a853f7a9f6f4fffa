#!/usr/bin/env bash
# Sets up, builds and runs yarx on $DISPLAY.  Arguments go to the program
# (toolkit options such as -geometry or -xrm).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
bash scripts/build.sh -DYARX_BUILD_TESTS=OFF -DYARX_BUILD_BENCHMARKS=OFF >/dev/null
if [ -z "${DISPLAY:-}" ]; then
    echo "yarx: no X display (DISPLAY is not set): run this in an X session, over 'ssh -X', or start one with 'Xvfb :1 & export DISPLAY=:1'" >&2
    exit 1
fi
exec ./build/yarx "$@"
