#!/usr/bin/env bash
# Only the SDL platform and sound layer may include SDL's, X11's or Wayland's headers; the game
# and its unit tests never.
set -euo pipefail
cd "$(dirname "$0")/.."
offenders=$(grep -rlE '^\s*#\s*include\s*[<"](SDL|X11/|wayland-)' src tests/unit tests/fake \
    | grep -vE '^src/platform/sdl/|^src/audio/sound_library_mixer\.cpp$' || true)
if [[ -n "$offenders" ]]; then
    echo "SDL, X11 or Wayland headers included outside the SDL platform and sound layer:" >&2
    echo "$offenders" >&2
    exit 1
fi
echo "SDL, X11 and Wayland headers: only in the SDL platform and sound layer"
