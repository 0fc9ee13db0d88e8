#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time
# (seconds, default 30) from seed corpora of the game's own files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNOK_FUZZ=ON \
    -DZARNOK_TESTS=OFF -DZARNOK_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j2 --target fuzz_store fuzz_bitmap

corpus=$(mktemp -d)
trap 'rm -rf "$corpus" /dev/shm/zarnok-fuzz-store-* /tmp/zarnok-fuzz-store-*' EXIT
mkdir -p "$corpus/store" "$corpus/bitmap" "$corpus/crashes"
# Seeds: a 100-byte table, a config, and the pictures behind a two-byte size (0 0: own size).
printf 'Tibbo\0\0\0\0\0\0\005\144\0\0\0\020\047\0\0' > "$corpus/store/record"
printf '\054\001\0\0\373\377\377\377' > "$corpus/store/config"
if [[ -f build/data/bg.bmp ]]; then
    for picture in build/data/*.bmp; do
        { printf '\0\0'; head -c 20000 "$picture"; } > "$corpus/bitmap/$(basename "$picture")"
    done
fi
printf '\120\120BM' > "$corpus/bitmap/stub"

for target in fuzz_store fuzz_bitmap; do
    echo "fuzzing ${target#fuzz_} for ${seconds} s"
    build-fuzz/tests/fuzz/$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$corpus/crashes/" -print_final_stats=1 "$corpus/${target#fuzz_}" \
        2>&1 | grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' || true
    if compgen -G "$corpus/crashes/*" >/dev/null; then
        echo "$target found a failing input:" >&2
        for crash in "$corpus"/crashes/*; do base64 -w0 "$crash" >&2; echo >&2; done
        exit 1
    fi
done
