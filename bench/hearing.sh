#!/usr/bin/env bash
# Prints how much of each tone of the three-tone media (WAV, AU, AIF, MPEG audio, MPEG with
# a picture) reaches the sound server when the player, the bare engine program and the
# server's own player play it, and real sound files of Debian packages with the player and
# the server's own player, RUNS times each (3 by default). Not a test: it only measures.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="hearing bareplay Tandrel98 media" wine_env_build

. "$TOP/scripts/pulse-env.sh"
trap 'pulse_env_stop; wine_env_stop' EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N
pulse_env_start

dir=$(mktemp -d)
wine "$BUILD/bench/hearing.exe" "$(winepath -w "$BUILD/bench/bareplay.exe")" \
  "$(winepath -w "$dir")" "${1:-3}" 2>/dev/null
rm -rf "$dir"
