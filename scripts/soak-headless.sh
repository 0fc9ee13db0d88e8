#!/usr/bin/env bash
# A simulated hour (or the minutes given) of the whole game loop at high levels, headless, built
# with AddressSanitizer so that LeakSanitizer checks for leaks at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
scripts/install-deps.sh
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNOK_SANITIZE=ON \
    -DZARNOK_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j2 --target headless_soak
ASAN_OPTIONS=detect_leaks=1 build-sanitize/tests/soak/headless_soak "$minutes"
