#!/usr/bin/env bash
# Runs one Windows program under Wine in the build's own prefix.
# The test command sets the environment (prefix, display, audio); this only fills gaps.
: "${WINEDEBUG:=-all}"
export WINEDEBUG
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: WINEPREFIX is not set; use scripts/test.sh" >&2
  exit 2
fi
# Now and then (once in some two thousand starts, in clean-clone runs of the suite) Wine ends
# with a failure within a few milliseconds and without a word, before any program could
# have run: the lightest test program takes over 100 ms from start to end. Such a start is
# made once more, and the output says so; a program that ran and failed is not.
start=$(date +%s%N)
wine "$@"
rc=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
if [ "$rc" -ne 0 ] && [ "$ms" -lt 80 ]; then
  echo "wine-run.sh: wine ended with code $rc after $ms ms, before the program could run; starting it again (retry 1 of 1)" >&2
  exec wine "$@"
fi
exit "$rc"
