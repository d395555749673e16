#!/usr/bin/env bash
# Prints the engine's figures behind the Movie Controls: the seeks a second the media
# graph boundary sustains on .mpg, .avi and .mov, running and paused, and whether a
# playback rate of 2.0 is honoured by either documented rate call. Not a test.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="seekrate rateprobe media" wine_env_build

trap wine_env_stop EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

cd "$BUILD/media"
echo "== seeks through the boundary (stop, move, restore the state)"
wine "$BUILD/bench/seekrate.exe" clip10.mpg clip.avi clip.mov 2>/dev/null
echo "== rate 2.0 over the last 4 s (or the whole of a shorter clip)"
wine "$BUILD/bench/rateprobe.exe" --calls clip10.mpg clip.avi clip.wav 2>/dev/null
echo "(the rate table through the graph boundary: bench/rate.sh)"
