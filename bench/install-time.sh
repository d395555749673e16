#!/usr/bin/env bash
# Prints how long an installation takes from Continue in the directory dialog to the
# "Congratulation!" dialog, and the share of that the installation dialog's animation
# takes, under Wine with a display of its own: three runs of the installer as shipped,
# whose animation paints only when the bar's picture changes, then one run of a build
# whose animation paints every one of its 65536 steps.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="InstallTime SetupEveryStep dist" wine_env_build

trap wine_env_stop EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

dist="Z:${BUILD//\//\\}\\dist"
every_step="Z:${BUILD//\//\\}\\setup\\SetupEveryStep.exe"
target='C:\tandrel-bench'
for run in 1 2 3; do
  rm -rf "$WINEPREFIX/drive_c/tandrel-bench"
  echo "painting the changes, run $run:"
  wine "$BUILD/bench/InstallTime.exe" "$dist" "$target"
done
rm -rf "$WINEPREFIX/drive_c/tandrel-bench"
echo "painting every step:"
wine "$BUILD/bench/InstallTime.exe" "$dist" "$target" "$every_step"
rm -rf "$WINEPREFIX/drive_c/tandrel-bench"
