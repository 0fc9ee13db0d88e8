#!/usr/bin/env bash
# Configures and builds zarnok3d and its data files in build/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNOK_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" -j2
