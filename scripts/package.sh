#!/usr/bin/env bash
# Builds the Debian package zarnok3d_1.01_amd64.deb in build/: the game, its data, the
# launcher, the desktop entry, the icon, the AppStream metadata and the manual page under /usr.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Built with the flags Debian builds its packages with, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
scripts/build.sh build -DZARNOK_LAUNCHER_DIR=games \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
(cd build && cpack -G DEB >/dev/null)
ls build/zarnok3d_*_amd64.deb
