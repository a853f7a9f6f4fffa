#!/bin/sh
# Builds the Debian package from the build directory and looks inside: the
# program and its manual page, and a Depends line that names the Motif, Xt
# and Xlib runtimes, the C library, the fonts, and every package a library
# the program links comes from.
# Usage: deb_package.sh BUILD_DIR OUTPUT_DIR
set -eu
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"

fail() {
    echo "FAILED: $*"
    exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    fail "cpack"
fi
set -- "$out"/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one .deb in $out, found: $*"
deb=$1
echo "package: $deb"

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/yarx ./usr/share/man/man1/yarx.1.gz; do
    echo "$contents" | grep -q " $file\$" || fail "$file is not in the package:
$contents"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The package names alone, one a line.
names=$(echo "$depends" | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/[[:space:]]//g')
has() { echo "$names" | grep -qx "$1"; }
for package in libc6 libx11-6 libx11-xcb1 libxcb1 libxt6 libxm4 xfonts-base xfonts-75dpi xfonts-100dpi; do
    has "$package" || fail "Depends lacks $package"
done

# Every shared library the packaged program needs comes from a package the
# Depends line names.
dpkg-deb -x "$deb" "$out/root"
needed=$(readelf -d "$out/root/usr/bin/yarx" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || fail "readelf found no shared libraries in usr/bin/yarx"
for library in $needed; do
    path=$(ldd "$out/root/usr/bin/yarx" | sed -n "s|^[[:space:]]*$library => \([^ ]*\).*|\1|p")
    [ -n "$path" ] || fail "ldd does not find $library"
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || true)
    owner=$(echo "$owner" | head -n 1 | cut -d: -f1)
    [ -n "$owner" ] || fail "no installed package provides $path"
    has "$owner" || fail "usr/bin/yarx needs $library from $owner, which Depends lacks"
done

# The manual page in the package is the one that renders.
gzip -dc "$out/root/usr/share/man/man1/yarx.1.gz" | groff -man -Tutf8 -ww -z 2>"$out/groff.log"
[ ! -s "$out/groff.log" ] || fail "the packaged manual page: $(cat "$out/groff.log")"
echo "package as expected"
