#!/usr/bin/env bash
# Counts the gaps heard in a 12 s tone while one busy process takes a core: PLAYER_RUNS
# runs through the player (50 by default), OTHER_RUNS through the bare engine program,
# each of the platform's sound outputs and the sound server's own player (20). Not a
# test: it only counts.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="soundload bareplay Tandrel98 media" wine_env_build

. "$TOP/scripts/pulse-env.sh"
hog=
stop_all() {
  [ -n "$hog" ] && kill "$hog" 2>/dev/null || true
  pulse_env_stop
  wine_env_stop
}
trap stop_all EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N
pulse_env_start

sh -c 'while :; do :; done' &
hog=$!

dir=$(mktemp -d)
wine "$BUILD/bench/soundload.exe" "$(winepath -w "$BUILD/bench/bareplay.exe")" "$(winepath -w "$dir")" "${PLAYER_RUNS:-50}" "${OTHER_RUNS:-20}" 2>/dev/null
rm -rf "$dir"
