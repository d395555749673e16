#!/usr/bin/env bash
# Builds everything and runs every test under Wine, with a display and audio of its own, in
# the form this host runs (scripts/arch.sh); build/dist holds the 32-bit programs either way.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/arch.sh"
tandrel_say_form
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
  -I "$TOP/framework" -I "$TOP/shared" -I "$TOP/player" -I "$TOP/player/graph" \
  -I "$TOP/player/fetch" -I "$TOP/player/moviecontrols" \
  "${sources[@]}"

trap wine_env_stop EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N
wine_env_no_debugger
# The tests' sound goes to a sound server of their own, which they can record.
. "$TOP/scripts/pulse-env.sh"
trap 'pulse_env_stop; wine_env_stop' EXIT
pulse_env_start

echo "== tests"
cd "$BUILD"
# Each test runs once: a test that fails has found a fault, or is itself one to fix.
ctest --output-on-failure --timeout 600 "$@"
