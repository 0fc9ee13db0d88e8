#!/usr/bin/env bash
# Builds and runs the benchmark: our polygon filler against cairo, and a heavy frame against a
# memset of the back buffer, with the comparisons against their targets at the end; then the
# timed demo, a recorded game played as fast as it goes without a display; the memory and first
# frame with the largest data files; input to pixel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
build/tools/bench/zarnok_bench "$@"
echo "the timed demo: tests/replays/ada.zrp"
(cd build/data && SDL_VIDEODRIVER=offscreen ../zarnok3d --replay ../../tests/replays/ada.zrp --fast)
echo "memory and first frame with a player's own data files at their largest"
tools/bench/worst_data.py build
echo "input to pixel, frame intervals: the surface path, then the renderer forced"
tools/bench/input_latency.sh build
tools/bench/input_latency.sh build 40 10 --renderer=gpu
