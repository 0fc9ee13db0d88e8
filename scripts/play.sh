#!/usr/bin/env bash
# Sets everything up and starts the game from build/data, where its files live.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DZARNOK_TESTS=OFF -DZARNOK_BENCHMARKS=OFF
cd build/data
exec ../zarnok3d
