#!/usr/bin/env bash
# Builds the player and plays the sample clip with it.
# With a display (DISPLAY set) the player opens there and runs until you close it.
# Without one it plays on a private display for a few seconds, and a screenshot of the
# screen is left in build/player.png.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"

TANDREL_TARGETS="Tandrel98 media" wine_env_build -DTANDREL_TESTS=OFF

trap wine_env_stop EXIT
own_display=
if [ -z "${DISPLAY:-}" ]; then
  wine_env_start_display 800x600x24
  own_display=1
fi
wine_env_start_wine
if [ -n "$own_display" ]; then wine_env_managed N; else wine_env_managed Y; fi

# The player opens vost.mpg from the current directory when given no file.
cd "$BUILD/media"
if [ -z "$own_display" ]; then
  wine "$BUILD/player/Tandrel98.exe"
else
  wine "$BUILD/player/Tandrel98.exe" &
  player=$!
  sleep 6
  import -window root "$BUILD/player.png" 2>/dev/null && echo "screenshot: $BUILD/player.png"
  # Closed as a person closes it, so that it stops and stores its settings.
  wine taskkill /im Tandrel98.exe >/dev/null 2>&1 || true
  wait "$player" 2>/dev/null || true
fi
