#!/bin/sh
# Builds the Debian package from the build directory and looks inside: the
# programs, their manual pages, menu entry, icons, application defaults (a
# conffile), copyright and changelog; Depends made by dpkg-shlibdeps, naming
# every package a library the programs link comes from, and the fonts only
# recommended.  Building it again, with other file dates, gives the same bytes.
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

# package DIR: builds the package into DIR and prints its path.
package() {
    if ! cpack --config "$build/CPackConfig.cmake" -B "$1" >"$1.log" 2>&1; then
        cat "$1.log"
        fail "cpack"
    fi
    set -- "$1"/*.deb
    [ $# -eq 1 ] && [ -f "$1" ] || fail "expected one .deb, found: $*"
    echo "$1"
}

deb=$(package "$out/first")
echo "package: $deb"

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/yarx ./usr/share/man/man1/yarx.1.gz ./etc/X11/app-defaults/yarx \
            ./usr/bin/yarx-chart ./usr/share/man/man1/yarx-chart.1.gz \
            ./usr/share/applications/yarx.desktop \
            ./usr/share/icons/hicolor/16x16/apps/yarx.png \
            ./usr/share/icons/hicolor/32x32/apps/yarx.png \
            ./usr/share/icons/hicolor/48x48/apps/yarx.png \
            ./usr/share/icons/hicolor/256x256/apps/yarx.png \
            ./usr/share/doc/yarx/copyright ./usr/share/doc/yarx/changelog.gz; do
    echo "$contents" | grep -q " $file\$" || fail "$file is not in the package:
$contents"
done
dpkg-deb -e "$deb" "$out/control"
[ "$(cat "$out/control/conffiles")" = /etc/X11/app-defaults/yarx ] ||
    fail "conffiles: $(cat "$out/control/conffiles")"
[ "$(dpkg-deb -f "$deb" Multi-Arch)" = foreign ] || fail "Multi-Arch is not foreign"

# The package names of a relation field, one a line.
names() {
    dpkg-deb -f "$deb" "$1" | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/[[:space:]]//g'
}
depends=$(names Depends)
recommends=$(names Recommends)
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
for package in libc6 libx11-6 libx11-xcb1 libxcb1 libxt6 libxm4 libcairo2; do
    echo "$depends" | grep -qx "$package" || fail "Depends lacks $package"
done
for package in xfonts-base xfonts-75dpi xfonts-100dpi fonts-dejavu-core; do
    echo "$recommends" | grep -qx "$package" || fail "Recommends lacks $package"
    ! echo "$depends" | grep -qx "$package" || fail "Depends names the font package $package"
done

# Every shared library the packaged programs need comes from a package the
# Depends line names.
dpkg-deb -x "$deb" "$out/root"
for program in yarx yarx-chart; do
    binary=$out/root/usr/bin/$program
    needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$needed" ] || fail "readelf found no shared libraries in usr/bin/$program"
    for library in $needed; do
        path=$(ldd "$binary" | sed -n "s|^[[:space:]]*$library => \([^ ]*\).*|\1|p")
        [ -n "$path" ] || fail "ldd does not find $library"
        owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || true)
        owner=$(echo "$owner" | head -n 1 | cut -d: -f1)
        [ -n "$owner" ] || fail "no installed package provides $path"
        echo "$depends" | grep -qx "$owner" ||
            fail "usr/bin/$program needs $library from $owner, which Depends lacks"
    done
done

# The manual pages in the package are the ones that render.
for page in yarx yarx-chart; do
    gzip -dc "$out/root/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>"$out/groff.log"
    [ ! -s "$out/groff.log" ] || fail "the packaged manual page $page.1: $(cat "$out/groff.log")"
done

# Reproducible: the dates in the package come from SOURCE_DATE_EPOCH (by
# default the changelog's), neither from the clock nor from the files, so a
# later build of the package, with files touched since, is the same.
touch "$build/yarx" "$build/yarx-chart" "$build/app-defaults/yarx" "$build/yarx.1.gz" \
    "$build/yarx-chart.1.gz" "$build/copyright"
again=$(package "$out/again")
cmp "$deb" "$again" || fail "a second build of the package differs from the first"
echo "package as expected"
