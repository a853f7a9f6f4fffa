#!/bin/sh
# Every C++ source in the repository follows .clang-format.
# Usage: format.sh SOURCE_DIR
set -eu
cd "$1"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files -- '*.cpp' '*.h')
else
    files=$(find src tests tools bench xdriver -name '*.cpp' -o -name '*.h')
fi
checked=0
for file in $files; do
    [ -f "$file" ] || continue  # deleted in the working tree
    clang-format --dry-run --Werror "$file" || status=1
    checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || { echo "no sources found"; exit 1; }
echo "$checked files checked"
exit "${status:-0}"
