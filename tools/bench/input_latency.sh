#!/usr/bin/env bash
# The input-to-pixel benchmark: the game on Xvfb under openbox, in its window and on the full
# screen; input_probe clicks and moves the mouse at random moments and times what shows, then
# times the frames themselves.
#   tools/bench/input_latency.sh [BUILD_FOLDER [TRIALS [SECONDS [GAME_OPTION...]]]]
set -euo pipefail
build=$(realpath "${1:-build}")
trials=${2:-40}
seconds=${3:-10}
shift $(($# < 3 ? $# : 3))
probe=$build/tools/bench/input_probe
folder=$(mktemp -d)
export DISPLAY=:$((150 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$folder"' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
(cd "$folder" && SDL_AUDIODRIVER=dummy ZARNOK_DATA_FOLDER="$build/data" exec "$build/zarnok3d" "$@") &
game=$!
main=$(xdotool search --sync --name '^Zarnok 3D')
gun=$(xdotool search --sync --name '^Gun$')
sleep 1.5

# Where a window's client area stands on the screen.
place() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {print x, $NF}'; }

read -r x y < <(place "$main")
read -r gx gy < <(place "$gun")
echo "in its window, 400 x 400 ${*:-}:"
"$probe" "$x" "$y" 1 "$gx" "$gy" "$trials"
"$probe" --frames "$seconds" "$x" "$y" 1

xdotool key F11
sleep 1.5
# The view on the full screen: the largest whole scale with room for the gun view at its left.
scale=$((1080 / 400 < 1920 / 600 ? 1080 / 400 : 1920 / 600))
x=$(((1920 - 400 * scale) / 2))
y=$(((1080 - 400 * scale) / 2))
echo "on the full screen, 1920 x 1080 (scale $scale) ${*:-}:"
"$probe" "$x" "$y" "$scale" $((x - 100 * scale)) "$y" "$trials"
"$probe" --frames "$seconds" "$x" "$y" "$scale"
xdotool key F12
wait "$game"
