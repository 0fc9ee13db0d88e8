#!/usr/bin/env bash
# Builds and runs the benchmark: our polygon filler against cairo, and a heavy frame against a
# memset of the back buffer, with the comparisons against their targets at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/tools/bench/zarnok_bench "$@"
