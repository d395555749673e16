#!/usr/bin/env bash
# Prints how soon the player's window answers (SendMessageTimeout, WM_NULL, asked every few
# milliseconds) through the end of a two-second WAV, a loop of it and a group advance, RUNS
# times each (3 by default), playing into a sound server of its own. Not a test: it only
# measures.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="responsive Tandrel98 media" wine_env_build

. "$TOP/scripts/pulse-env.sh"
trap 'pulse_env_stop; wine_env_stop' EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N
pulse_env_start

dir=$(mktemp -d)
wine "$BUILD/bench/responsive.exe" "$(winepath -w "$BUILD/media/clip.wav")" \
  "$(winepath -w "$dir")" "${1:-3}" 2>/dev/null
rm -rf "$dir"
