#!/usr/bin/env bash
# Prints the player's figures against a bare engine program that plays the same clip:
# the time from process start to the running state, and the CPU time while playing a
# 10-second clip (medians of RUNS runs, 3 by default). Not a test: it only measures.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="benchdriver bareplay Tandrel98 media" wine_env_build

trap wine_env_stop EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

dir=$(mktemp -d)
wine "$BUILD/bench/benchdriver.exe" "$(winepath -w "$BUILD/bench/bareplay.exe")" \
  "$(winepath -w "$BUILD/media/clip10.mpg")" "$(winepath -w "$dir")" "${1:-3}" 2>/dev/null
rm -rf "$dir"
