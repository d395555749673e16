#!/usr/bin/env bash
# Builds everything and runs every test under Wine, with a display and audio of its own.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"

wine_env_build -DTANDREL_TESTS=ON

echo "== cppcheck"
sources=()
for dir in framework shared player setup uninstall mediaruntime bench tests/support tests/installer; do
  [ -d "$TOP/$dir" ] && sources+=("$TOP/$dir")
done
cppcheck --quiet --platform=win32A --std=c++17 --language=c++ --error-exitcode=1 \
  --enable=warning,performance,portability --inline-suppr \
  --suppress=missingIncludeSystem \
  -I "$TOP/framework" -I "$TOP/shared" -I "$TOP/player" \
  "${sources[@]}"

trap wine_env_stop EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

echo "== tests"
cd "$BUILD"
# A test that fails is run once more before it counts: under heavy load the engine's
# audio path now and then stalls a media for good (seen with audio-only files), which
# is the engine's and not repeatable; a fault of ours fails both times.
ctest --output-on-failure --timeout 600 --repeat until-pass:2 "$@"
