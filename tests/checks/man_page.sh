#!/bin/sh
# The manual page renders without a single warning.
# Usage: man_page.sh PAGE
set -eu
page=$1
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
    echo "$page: groff warns:"
    echo "$warnings"
    exit 1
fi
echo "$page renders cleanly"
