#!/bin/sh
# clang-tidy, with the repository's .clang-tidy, over the program's sources:
# any finding fails.
# Usage: tidy.sh SOURCE_DIR BUILD_DIR (which has compile_commands.json)
set -eu
source_dir=$1
build=$2
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json"; exit 1; }
find "$source_dir/src" -name '*.cpp' | sort |
    xargs -n 1 -P "$(nproc)" clang-tidy -p "$build" --quiet --warnings-as-errors='*'
echo "clang-tidy found nothing"
