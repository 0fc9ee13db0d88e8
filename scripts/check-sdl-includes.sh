#!/usr/bin/env bash
# Only the platform and sound layers may include SDL headers; the game and its unit tests never.
set -euo pipefail
cd "$(dirname "$0")/.."
offenders=$(grep -rlE '^\s*#\s*include\s*[<"]SDL' src tests/unit tests/fake \
    | grep -vE '^src/platform/|^src/audio/sound_library_mixer\.cpp$' || true)
if [[ -n "$offenders" ]]; then
    echo "SDL headers included outside the platform and sound layers:" >&2
    echo "$offenders" >&2
    exit 1
fi
echo "SDL headers: only in the platform and sound layers"
