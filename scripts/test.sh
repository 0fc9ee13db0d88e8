#!/usr/bin/env bash
# Sets everything up and runs all the tests: the normal build with every test layer, then the
# unit and integration tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-sdl-includes.sh

scripts/build.sh build
(cd build && ctest --output-on-failure -j2)

scripts/build.sh build-sanitize -DZARNOK_SANITIZE=ON -DZARNOK_BENCHMARKS=OFF
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j2 -L 'unit|integration')
echo "all tests passed"
