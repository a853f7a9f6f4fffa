#!/usr/bin/env bash
# Installs what yarx needs on Debian 12: "build" for the program, "pictures"
# for the program and its pictures tool, "test" for the program and its
# tests.  Only missing packages are installed.
set -euo pipefail

build_packages=(cmake g++ make libmotif-dev libxt-dev libx11-dev libx11-xcb-dev libxcb1-dev
                xfonts-base xfonts-75dpi xfonts-100dpi)
test_packages=(libgtest-dev libbenchmark-dev libxtst-dev libpng-dev
               xvfb openbox
               groff-base clang-format clang-tidy)  # manual page, format, lint

packages=("${build_packages[@]}")
# The pictures tool (scripts/run.sh without a display) drives yarx on Xvfb.
if [ "${1:-build}" = pictures ]; then
    packages+=(libxtst-dev libpng-dev xvfb openbox)
fi
if [ "${1:-build}" = test ]; then
    packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "yarx: installing ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
