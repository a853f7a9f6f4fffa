#!/usr/bin/env bash
# The README's "apt-get install" line names the packages that
# scripts/setup.sh installs for a build, no more and no fewer.
# Usage: readme_packages.sh SOURCE_DIR
set -euo pipefail
cd "$1"
eval "$(sed -n '/^build_packages=(/,/)/p' scripts/setup.sh)"
script=$(printf '%s\n' "${build_packages[@]}" | sort)
readme=$(sed -n '/^apt-get install /,/[^\\]$/p' README.md | tr -d '\\' | tr ' ' '\n' |
         sed '/^$/d; /^apt-get$/d; /^install$/d' | sort)
if [ -z "$script" ] || [ "$script" != "$readme" ]; then
    echo "scripts/setup.sh (<) and the README (>) differ:"
    diff <(echo "$script") <(echo "$readme") || true
    exit 1
fi
echo "the README and scripts/setup.sh name the same packages"
