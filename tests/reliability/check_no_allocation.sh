#!/usr/bin/env bash
# Fails when an object file of the program refers to a heap allocator: the
# program keeps everything in static storage, and the toolkit does its own
# allocating.
#
# Usage: check_no_allocation.sh [--release-in NAME] OBJECT...
# (an argument may also be a ;-separated list, as CMake passes a target's
# objects).  The one object whose file name is NAME may refer to free and to
# nothing else here: libxcb hands each reply back in memory of its own, and
# that object is where the program gives it back.
set -euo pipefail

# C and C++ allocators by their demangled names (nm -C), the toolkit's
# allocators included, since calling them from our code is allocating too.
# std::string allocates inside libstdc++ (its members are instantiated
# there), so any member of it counts.
forbidden='^(operator new(\[\])?\(.*|operator delete(\[\])?\(.*|malloc|calloc|realloc|reallocarray|free|strdup|strndup|aligned_alloc|posix_memalign|memalign|valloc|pvalloc|asprintf|vasprintf|__cxa_allocate_exception|XtMalloc|XtCalloc|XtRealloc|XtFree|XtNewString|std::(__cxx11::)?basic_string<.*)$'

release_in=""
if [ "${1:-}" = --release-in ]; then
    release_in=$2
    shift 2
fi

objects=()
for argument in "$@"; do
    IFS=';' read -ra list <<<"$argument"
    objects+=("${list[@]}")
done
[ ${#objects[@]} -gt 0 ] || { echo "check_no_allocation: no object files given" >&2; exit 2; }
found=0
release_seen=0
for object in "${objects[@]}"; do
    [ -f "$object" ] || { echo "check_no_allocation: missing $object" >&2; exit 2; }
    while IFS= read -r symbol; do
        [ -n "$symbol" ] || continue
        if [ "$symbol" = free ] && [ "$(basename "$object")" = "$release_in" ]; then
            release_seen=1
            continue
        fi
        echo "allocation in our code: $object refers to '$symbol'" >&2
        found=1
    done < <(nm -C --undefined-only --format=just-symbols "$object" | grep -E "$forbidden" || true)
done
# The allowance must not outlive its reason.
if [ -n "$release_in" ] && [ $release_seen -eq 0 ]; then
    echo "check_no_allocation: $release_in no longer refers to free; drop --release-in" >&2
    found=1
fi
[ $found -eq 0 ] && echo "no allocator referenced by ${#objects[@]} object files"
exit $found
