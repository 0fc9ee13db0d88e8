#!/usr/bin/env bash
# Sets everything up and runs all the tests: the unit, integration, asset and end-to-end tests on
# the normal build; the game built for Windows, its unit tests and journeys under Wine; the Debian
# package; the unit and integration tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build.sh build
(cd build && ctest --output-on-failure -j2 -LE 'package|windows' &&
    ctest --output-on-failure -j2 -L windows && ctest --output-on-failure -L package)

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNOK_WERROR=ON -DZARNOK_SANITIZE=ON \
    -DZARNOK_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j2 --target unit_tests integration_tests
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j2 -L 'unit|integration')

scripts/fuzz.sh 20
echo "all tests passed"
