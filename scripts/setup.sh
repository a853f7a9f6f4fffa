#!/usr/bin/env bash
# Installs what yarx needs on Debian 12: "build" for the program and its
# package, "pictures" for the program and its pictures tool, "test" for the
# program and every test and check.  Only missing packages are installed,
# as root or through sudo.  These lists are the only ones: the README shows
# the build line, and tests/checks/readme_packages.sh keeps it the same.
set -euo pipefail

build_packages=(cmake g++ make libmotif-dev libxt-dev libx11-dev libx11-xcb-dev libxcb1-dev
                libcairo2-dev                   # yarx-chart's files
                xfonts-base xfonts-75dpi xfonts-100dpi
                file dpkg-dev)  # the Debian package's Depends
pictures_packages=(libxtst-dev libpng-dev xvfb openbox
                   fonts-dejavu-core)  # the texts of the pictures yarx-chart makes
test_packages=("${pictures_packages[@]}" libgtest-dev libbenchmark-dev
               groff-base mandoc lintian desktop-file-utils  # manual page, package, menu entry
               poppler-utils librsvg2-bin                    # yarx-chart's PDF and SVG, viewed
               clang-format clang-tidy)                      # format, lint

mode=${1:-build}
packages=("${build_packages[@]}")
case $mode in
    build) ;;
    pictures) packages+=("${pictures_packages[@]}") ;;
    test) packages+=("${test_packages[@]}") ;;
    *)
        echo "usage: $0 [build|pictures|test]" >&2
        exit 2
        ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "yarx: these packages are missing: ${missing[*]}" >&2
        echo "yarx: install them as root (apt-get install ${missing[*]})," \
             "or install sudo, and run this again" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "yarx: installing ${missing[*]}" >&2
"${sudo[@]}" apt-get update -qq
# Through env, so that the setting survives sudo, which clears the environment.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
