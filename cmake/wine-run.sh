#!/usr/bin/env bash
# Runs one Windows program under Wine in the build's own prefix.
# The test command sets the environment (prefix, display, audio); this only fills gaps.
: "${WINEDEBUG:=-all}"
export WINEDEBUG
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: WINEPREFIX is not set; use scripts/test.sh" >&2
  exit 2
fi
exec wine "$@"
