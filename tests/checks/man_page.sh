#!/bin/sh
# The manual page renders without a single warning from groff, and mandoc's
# lint finds nothing, not even a matter of style.
# Usage: man_page.sh PAGE
set -eu
page=$1
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
    echo "$page: groff warns:"
    echo "$warnings"
    exit 1
fi
lint=$(mandoc -Tlint -Wstyle "$page" 2>&1) || true
if [ -n "$lint" ]; then
    echo "$page: mandoc -Tlint:"
    echo "$lint"
    exit 1
fi
echo "$page renders cleanly"
