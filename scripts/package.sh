#!/usr/bin/env bash
# Builds the Debian source package from a copy of the source as it stands, then the binary
# packages, zarnok3d and its debug symbols, from that .dsc, in a folder of their own
# (build-package/, or the one given); then lintian checks the source and the binaries. The
# build's own tests are left to scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-package}")
scripts/install-deps.sh
rm -rf "$out"
mkdir -p "$out"
# The maintainer's address stands in debian/control; the copyright, the changelog and the
# AppStream metadata must give the same one.
address=$(sed -n 's/^Maintainer: .*<\(.*\)>$/\1/p' debian/control)
for file in debian/copyright debian/changelog data/io.github.zarnok3d.zarnok3d.metainfo.xml.in; do
    grep -qF "$address" "$file" || { echo "$file does not give $address" >&2; exit 1; }
done
# The upstream tarball holds the source without debian/, which then joins its unpacked copy.
version=$(dpkg-parsechangelog -S Version)
# The package's upstream version is the project's own.
project=$(sed -n 's/^project(zarnok3d VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "${version%-*}" = "$project" ] ||
    { echo "debian/changelog gives $version, the project is $project" >&2; exit 1; }
upstream=zarnok3d-${version%-*}
tar -c --exclude-vcs --exclude='./build*' --exclude='./obj-*' --exclude=./debian \
    --transform="s|^\.|$upstream|" . | xz > "$out/zarnok3d_${version%-*}.orig.tar.xz"
tar -x -C "$out" -f "$out/zarnok3d_${version%-*}.orig.tar.xz"
cp -r debian "$out/$upstream/"
(cd "$out/$upstream" && dpkg-buildpackage -us -uc -S -d)
(cd "$out" && dpkg-source -x zarnok3d_"$version".dsc from-dsc >/dev/null)
(cd "$out/from-dsc" && DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc -b)
lintian --pedantic --fail-on error,warning "$out/zarnok3d_$version.dsc" \
    "$out/zarnok3d_${version}_$(dpkg --print-architecture).changes"
ls "$out"/*.deb
