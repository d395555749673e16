#!/usr/bin/env bash
# Plays every audio kind RUNS times (20 by default) through the player while two busy
# processes load both cores, and prints how many runs never started, never reached the
# end of the media, or never ended after Exit. Not a test: it only counts.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="audiostall Tandrel98 media" wine_env_build

hogs=()
stop_all() {
  for pid in "${hogs[@]}"; do kill "$pid" 2>/dev/null || true; done
  wine_env_stop
}
trap stop_all EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N
wine_env_no_debugger

for _ in 1 2; do
  sh -c 'while :; do :; done' &
  hogs+=($!)
done

dir=$(mktemp -d)
wine "$BUILD/bench/audiostall.exe" "$(winepath -w "$BUILD/media")" "$(winepath -w "$dir")" \
  "${1:-20}" 2>/dev/null
rm -rf "$dir"
