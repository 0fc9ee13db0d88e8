#!/usr/bin/env bash
# A long run of the real game in a private X server (Xvfb) with scripted input: the pointer
# moves and fires, P pauses and resumes, F1 and Escape visit the help, F2 starts a new game now
# and then, F8 keeps the frame rate on screen. Every 10 s it samples the game's resident memory
# (VmRSS) and reads the frame rate from a screenshot; at the end F12 quits, and it prints the
# memory at the start, after a minute and at the end, the frame rates, and how the game ended.
#
#   scripts/soak.sh [SECONDS]     (600 by default)
#
# ZARNOK_BUILD names the build directory (build by default); it must have the tests enabled,
# for the frame-rate reader. Not part of the test suite: run it by hand.
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
cmake --build "$build" -j2 --target zarnok3d game_data e2e_fps_reader >/dev/null
game="$PWD/$build/zarnok3d"
reader="$PWD/$build/tests/e2e/e2e_fps_reader"
"$reader" --self-test >/dev/null || { echo "soak: the frame-rate reader fails its self-test" >&2; exit 1; }

work=$(mktemp -d /tmp/zarnok_soak_XXXXXX)
cp "$build"/data/{bg.bmp,f1bg.bmp,hiscbg.bmp,nfobg.bmp,gun.wav,explode.wav,yeah.wav,supera29.xm} \
    "$work"/

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
main=$(timeout 20 xdotool search --sync --name '^Zarnok 3D v1.01$' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$main")"
view_x=$X
view_y=$Y
xdotool windowfocus --sync "$main"
sleep 1

rss_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$game_pid/status"
}

# The frame rate on screen now, or nothing when it cannot be read.
frame_rate() {
    import -window "$main" -depth 8 "ppm:$work/view.ppm" 2>/dev/null || return 0
    local reading
    reading=$("$reader" "$work/view.ppm")
    if [ "$reading" = none ]; then
        # A new game turns the line off; F8 turns it on again.
        xdotool key F8
        sleep 0.3
        import -window "$main" -depth 8 "ppm:$work/view.ppm" 2>/dev/null || return 0
        reading=$("$reader" "$work/view.ppm")
    fi
    [ "$reading" = none ] || echo "$reading"
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
xdotool key F8
start=$SECONDS
rss_start=$(rss_kb)
rss_max=$rss_start
rss_warm=""
fps_samples=()
next_sample=$((start + sample_every))
next_game=$((start + new_game_every))
echo "soak: $duration s in $work (display $DISPLAY, game pid $game_pid)"
echo "time_s,rss_kb,fps" >"$work/samples.csv"
while [ $((SECONDS - start)) -lt "$duration" ]; do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        echo "soak: the game ended by itself after $((SECONDS - start)) s" >&2
        break
    fi
    act
    sleep 0.3
    if [ "$SECONDS" -ge "$next_game" ]; then
        xdotool key F2
        sleep 0.2
        xdotool key F8
        next_game=$((next_game + new_game_every))
    fi
    if [ "$SECONDS" -ge "$next_sample" ]; then
        rss=$(rss_kb)
        fps=$(frame_rate)
        [ "$rss" -gt "$rss_max" ] && rss_max=$rss
        [ -z "$rss_warm" ] && [ $((SECONDS - start)) -ge "$warm_up" ] && rss_warm=$rss
        [ -n "$fps" ] && fps_samples+=("$fps")
        echo "$((SECONDS - start)),$rss,${fps:-}" >>"$work/samples.csv"
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
if [ "${#fps_samples[@]}" -gt 0 ]; then
    sorted=$(printf '%s\n' "${fps_samples[@]}" | sort -n)
    count=${#fps_samples[@]}
    echo "frame rate: ${count} readings, min $(echo "$sorted" | head -n1)," \
        "median $(echo "$sorted" | sed -n "$(((count + 1) / 2))p")," \
        "max $(echo "$sorted" | tail -n1)"
else
    echo "frame rate: no reading"
fi
echo "F12: $status"
rm -f "$work"/*.bmp "$work"/*.wav "$work"/*.xm "$work/view.ppm"
[ "$status" = "exited cleanly, status 0" ]
