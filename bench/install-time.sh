#!/usr/bin/env bash
# Prints how long an installation takes from Continue in the directory dialog to the
# "Congratulation!" dialog, and the share of that the installation dialog's animation
# takes, under Wine with a display of its own. Runs it three times.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="InstallTime dist" wine_env_build

trap wine_env_stop EXIT
wine_env_start_display 800x600x24
wine_env_start_wine

dist="Z:${BUILD//\//\\}\\dist"
target='C:\tandrel-bench'
for run in 1 2 3; do
  rm -rf "$WINEPREFIX/drive_c/tandrel-bench"
  echo "run $run:"
  wine "$BUILD/bench/InstallTime.exe" "$dist" "$target"
done
rm -rf "$WINEPREFIX/drive_c/tandrel-bench"
