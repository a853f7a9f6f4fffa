#!/usr/bin/env bash
# The allocation check itself: it must reject each allocator in any object,
# free outside the one object allowed to give libxcb's memory back, and an
# allowance for an object that no longer frees anything; and it must pass
# the objects it should pass.
# Usage: check_no_allocation_test.sh CHECK_SCRIPT
set -euo pipefail
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Compiles the body into $work/NAME.o.
object() {
    printf '#include <cstdlib>\n#include <cstring>\n%s\n' "$2" >"$work/$1.cpp"
    g++ -std=c++17 -O0 -c "$work/$1.cpp" -o "$work/$1.o"
}

failures=0
expect() {
    local want=$1 what=$2
    shift 2
    if bash "$check" "$@" >/dev/null 2>&1; then got=pass; else got=fail; fi
    if [ "$got" = "$want" ]; then
        echo "ok: $what ($got)"
    else
        echo "WRONG: $what: the check should $want, it did $got"
        failures=$((failures + 1))
    fi
}

object clean      'int twice(int x) { return 2 * x; }'
object uses_new   'int *make() { return new int(1); }'
object uses_array 'int *make() { return new int[4]; }'
object malloc     'void *make() { return std::malloc(8); }'
object calloc     'void *make() { return std::calloc(2, 8); }'
object realloc    'void *grow(void *p) { return std::realloc(p, 16); }'
object strdup     'char *copy(const char *s) { return strdup(s); }'
object releases   'void give_back(void *p) { std::free(p); }'

expect pass "an object without allocators" "$work/clean.o"
for allocator in uses_new uses_array malloc calloc realloc strdup; do
    expect fail "$allocator" "$work/clean.o" "$work/$allocator.o"
    expect fail "$allocator beside the release allowance" \
        --release-in releases.o "$work/releases.o" "$work/$allocator.o"
done
expect fail "free without an allowance" "$work/releases.o"
expect fail "free in another object than the one allowed" --release-in clean.o \
    "$work/clean.o" "$work/releases.o"
expect pass "free in the object allowed" --release-in releases.o "$work/clean.o" \
    "$work/releases.o"
expect fail "an allowance for an object that frees nothing" --release-in clean.o \
    "$work/clean.o"
expect fail "a list with a missing object" "$work/clean.o;$work/nonesuch.o"

[ $failures -eq 0 ] && echo "the allocation check judges all of these right"
exit $failures
