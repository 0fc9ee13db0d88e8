#!/usr/bin/env bash
# Builds the libFuzzer targets (the BMP loader, the replay reader, a replay's playback) with clang
# in build-fuzz/ and runs each for a bounded time (seconds, default 30) from seeds of the game's
# own files and of replays a hostile player might pass around.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNOK_WERROR=ON -DZARNOK_FUZZ=ON \
    -DZARNOK_TESTS=OFF -DZARNOK_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j2 --target fuzz_bitmap fuzz_replay fuzz_playback

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/bitmap" "$corpus/replay" "$corpus/playback" "$corpus/crashes"
# Seeds: the pictures behind a two-byte size (0 0: their own size); a recorded game.
if [[ -f build/data/bg.bmp ]]; then
    for picture in build/data/*.bmp; do
        { printf '\0\0'; head -c 20000 "$picture"; } > "$corpus/bitmap/$(basename "$picture")"
    done
fi
printf '\120\120BM' > "$corpus/bitmap/stub"
cp tests/replays/*.zrp "$corpus/replay/"
python3 tests/fuzz/hostile_replays.py "$corpus/replay"
cp "$corpus"/replay/* "$corpus/playback/"

for target in bitmap replay playback; do
    echo "fuzzing the ${target} for ${seconds} s"
    build-fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$corpus/crashes/" -print_final_stats=1 "$corpus/$target" \
        2>&1 | grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' || true
    if compgen -G "$corpus/crashes/*" >/dev/null; then
        echo "fuzz_$target found a failing input:" >&2
        for crash in "$corpus"/crashes/*; do base64 -w0 "$crash" >&2; echo >&2; done
        exit 1
    fi
done
