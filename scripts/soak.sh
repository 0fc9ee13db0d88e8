#!/usr/bin/env bash
# A long run of the real game in a private X server (Xvfb) with scripted input: the pointer
# moves and fires, P pauses and resumes, F1 and Escape visit the help, F2 starts a new game now
# and then. Every 10 s it samples the game's resident memory (VmRSS); at the end F12 quits, and
# it prints the memory at the start, after a minute and at the end, and how the game ended.
#
#   scripts/soak.sh [SECONDS]     (600 by default)
#
# ZARNOK_BUILD names the build directory (build by default). Not part of the test suite: run it
# by hand.
set -euo pipefail
cd "$(dirname "$0")/.."

duration=${1:-600}
build=${ZARNOK_BUILD:-build}
sample_every=10
warm_up=60
new_game_every=30

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "soak: $tool is needed" >&2; exit 1; }
done
cmake --build "$build" -j2 --target zarnok3d game_data >/dev/null
game="$PWD/$build/zarnok3d"

work=$(mktemp -d /tmp/zarnok_soak_XXXXXX)
for file in $(awk 'NF && !/^#/ { print $1 }' data/data_files.txt); do
    cp "$build/data/$file" "$work"/
done

xvfb_pid=""
game_pid=""
cleanup() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill "$game_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

# Xvfb writes the display number it found free to the descriptor it is given.
Xvfb -displayfd 5 -screen 0 1024x768x24 -noreset -nolisten tcp 5>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q . "$work/display" 2>/dev/null && break
    sleep 0.1
done
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

(cd "$work" && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} exec "$game") >"$work/game.log" 2>&1 &
game_pid=$!
main=$(timeout 20 xdotool search --sync --name '^Zarnok 3D v' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$main")"
view_x=$X
view_y=$Y
xdotool windowfocus --sync "$main"
sleep 1

rss_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$game_pid/status"
}

# One piece of play, chosen at random.
act() {
    case $((RANDOM % 8)) in
    0 | 1 | 2)
        xdotool mousemove $((view_x + 20 + RANDOM % 360)) $((view_y + 20 + RANDOM % 300))
        ;;
    3 | 4)
        xdotool mousemove $((view_x + 40 + RANDOM % 320)) $((view_y + 20 + RANDOM % 200)) click 1
        ;;
    5)
        xdotool key p
        sleep 0.5
        xdotool key p
        ;;
    6)
        xdotool key F1
        sleep 0.5
        xdotool key Escape
        ;;
    7)
        xdotool click 1
        ;;
    esac
}

RANDOM=1
start=$SECONDS
rss_start=$(rss_kb)
rss_max=$rss_start
rss_warm=""
next_sample=$((start + sample_every))
next_game=$((start + new_game_every))
echo "soak: $duration s in $work (display $DISPLAY, game pid $game_pid)"
echo "time_s,rss_kb" >"$work/samples.csv"
while [ $((SECONDS - start)) -lt "$duration" ]; do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        echo "soak: the game ended by itself after $((SECONDS - start)) s" >&2
        break
    fi
    act
    sleep 0.3
    if [ "$SECONDS" -ge "$next_game" ]; then
        xdotool key F2
        next_game=$((next_game + new_game_every))
    fi
    if [ "$SECONDS" -ge "$next_sample" ]; then
        rss=$(rss_kb)
        [ "$rss" -gt "$rss_max" ] && rss_max=$rss
        [ -z "$rss_warm" ] && [ $((SECONDS - start)) -ge "$warm_up" ] && rss_warm=$rss
        echo "$((SECONDS - start)),$rss" >>"$work/samples.csv"
        next_sample=$((next_sample + sample_every))
    fi
done

rss_end=$(rss_kb 2>/dev/null || echo "?")
[ "$rss_end" != "?" ] && [ "$rss_end" -gt "$rss_max" ] && rss_max=$rss_end
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key F12 || true
ended="no"
for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || { ended="yes"; break; }
    sleep 0.1
done
status="still running after 10 s (killed)"
if [ "$ended" = yes ]; then
    set +e
    wait "$game_pid"
    code=$?
    set -e
    status="exit status $code"
    [ "$code" -eq 0 ] && status="exited cleanly, status 0"
fi
game_pid=""

echo "soak: $((SECONDS - start)) s of play, samples every $sample_every s (in $work/samples.csv)"
echo "RSS: start ${rss_start} kB, after ${warm_up} s ${rss_warm:-?} kB, end ${rss_end} kB, max ${rss_max} kB"
echo "F12: $status"
rm -f "$work"/*.bmp "$work"/*.wav "$work"/*.xm
[ "$status" = "exited cleanly, status 0" ]
