#!/usr/bin/env bash
# Builds the Debian packages, zarnok3d and its debug symbols, from debian/ with dpkg-buildpackage
# in a folder of their own (build-package/, or the one given), from a copy of the source as it
# stands; then lintian checks them. The build's own tests are left to scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-package}")
scripts/install-deps.sh
rm -rf "$out"
mkdir -p "$out/zarnok3d"
tar -c --exclude-vcs --exclude='./build*' --exclude='./obj-*' . | tar -x -C "$out/zarnok3d"
(cd "$out/zarnok3d" && DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc -b)
lintian --pedantic --fail-on error,warning "$out"/zarnok3d_*.changes
ls "$out"/*.deb
