#!/usr/bin/env bash
# Builds the player's core and plays the sample clip to its end through it.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"

wine_env_build -DTANDREL_TESTS=OFF

trap wine_env_stop EXIT
# The video shows on the person's display when there is one.
[ -n "${DISPLAY:-}" ] || wine_env_start_display 800x600x24
wine_env_start_wine

cd "$BUILD/media"
wine "$BUILD/tools/playclip.exe" vost.mpg
