#!/usr/bin/env bash
# Sets up, builds and runs yarx on $DISPLAY.  Arguments go to the program
# (toolkit options such as -geometry or -xrm).
#
# Without a display, runs it on a private Xvfb under openbox instead, picks
# every illuminant in turn and saves pictures of the setup window and of each
# chart, and an overview of all eleven; the last line names their folder.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ]; then
    bash scripts/setup.sh build
    bash scripts/build.sh -DBUILD_TESTING=OFF -DYARX_BUILD_BENCHMARKS=OFF \
        -DYARX_BUILD_TOOLS=OFF >/dev/null
    exec ./build/yarx "$@"
fi
echo "yarx: no X display (DISPLAY is not set): making pictures on a private X server" >&2
bash scripts/setup.sh pictures
bash scripts/build.sh -DBUILD_TESTING=OFF -DYARX_BUILD_BENCHMARKS=OFF \
    -DYARX_BUILD_TOOLS=ON >/dev/null
exec ./build/yarx_pictures build/pictures "$@"
