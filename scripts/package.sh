#!/usr/bin/env bash
# Builds the Debian source package as a sponsor would, then the binary packages, zarnok3d and its
# debug symbols, from that .dsc, in a folder of their own (build-package/, or the one given);
# then lintian checks the source and the binaries. Only what debian/control asks for and the
# packaging tools are installed. The build's own tests are left to scripts/test.sh.
#
# The upstream tarball is `git archive` of the commit checked out, without debian/ (see
# .gitattributes), gzipped without a name or a time: the same bytes on every run and every
# machine, and what debian/watch finds for a release tag. Changes not yet committed go into a
# commit of their own, dated by debian/changelog, so that they are packed too and the tarball
# still comes out the same for the same tree.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-package}")

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
apt_get() {
    "${as_root[@]}" apt-get "$@" || { "${as_root[@]}" apt-get update && "${as_root[@]}" apt-get "$@"; }
}
tools=(dpkg-dev debhelper lintian git gzip build-essential)
for tool in "${tools[@]}"; do
    [[ $(dpkg-query -W -f='${Status}' "$tool" 2>/dev/null) == "install ok installed" ]] ||
        { apt_get install -y --no-install-recommends "${tools[@]}"; break; }
done
dpkg-checkbuilddeps 2>/dev/null || apt_get build-dep -y --no-install-recommends ./
git rev-parse --git-dir >/dev/null 2>&1 ||
    { echo "scripts/package.sh packs a commit: run it in a clone of the repository" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
# The maintainer's address stands in debian/control; the copyright, the changelog and the
# AppStream metadata must give the same one.
address=$(sed -n 's/^Maintainer: .*<\(.*\)>$/\1/p' debian/control)
for file in debian/copyright debian/changelog data/io.github.zarnok3d.zarnok3d.metainfo.xml.in; do
    grep -qF "$address" "$file" || { echo "$file does not give $address" >&2; exit 1; }
done
version=$(dpkg-parsechangelog -S Version)
# The package's upstream version is the project's own.
project=$(sed -n 's/^project(zarnok3d VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "${version%-*}" = "$project" ] ||
    { echo "debian/changelog gives $version, the project is $project" >&2; exit 1; }
head -n 1 CHANGELOG | grep -q "^zarnok3d $project " ||
    { echo "CHANGELOG does not begin with zarnok3d $project" >&2; exit 1; }
upstream=zarnok3d-${version%-*}

commit=$(git rev-parse HEAD)
index=$(mktemp)
trap 'rm -f "$index"' EXIT
GIT_INDEX_FILE=$index git read-tree HEAD
GIT_INDEX_FILE=$index git add --update .
tree=$(GIT_INDEX_FILE=$index git write-tree)
if [ "$tree" != "$(git rev-parse 'HEAD^{tree}')" ]; then
    when="$(dpkg-parsechangelog -S Date)"
    commit=$(GIT_AUTHOR_NAME=zarnok3d GIT_AUTHOR_EMAIL="$address" GIT_AUTHOR_DATE="$when" \
        GIT_COMMITTER_NAME=zarnok3d GIT_COMMITTER_EMAIL="$address" GIT_COMMITTER_DATE="$when" \
        git commit-tree "$tree" -p HEAD -m "The working tree, not yet committed")
    echo "the upstream tarball holds changes not yet committed (as $commit)" >&2
fi
orig="$out/zarnok3d_${version%-*}.orig.tar.gz"
git archive --format=tar --prefix="$upstream/" "$commit" | gzip -9 -n >"$orig"
tar -x -C "$out" -f "$orig"
cp -r debian "$out/$upstream/"

(cd "$out/$upstream" && dpkg-buildpackage -us -uc -S -d)
(cd "$out" && dpkg-source --no-check -x zarnok3d_"$version".dsc from-dsc >/dev/null)
(cd "$out/from-dsc" && DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc -b)
lintian --pedantic --fail-on error,warning "$out/zarnok3d_$version.dsc" \
    "$out/zarnok3d_${version}_$(dpkg --print-architecture).changes"
sha256sum "$orig"
ls "$out"/*.deb
