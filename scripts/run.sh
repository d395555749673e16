#!/usr/bin/env bash
# Builds the player and plays the sample clip with it.
# With a display (DISPLAY set) the player opens there and runs until you close it.
# Without one it plays on a private display for a few seconds, a screenshot of the screen
# is left in build/player.png, and the script fails unless the player showed its window,
# the screenshot holds it, and the player ended with exit code 0 when closed.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/arch.sh"
tandrel_say_form
. "$TOP/scripts/wine-env.sh"

TANDREL_TARGETS="Tandrel98 media" wine_env_build -DTANDREL_TESTS=OFF

trap wine_env_stop EXIT
own_display=
if [ -z "${DISPLAY:-}" ]; then
  wine_env_start_display 800x600x24
  own_display=1
fi
wine_env_start_wine
# On a private display the sound goes to the ALSA null device; on yours, to your desktop's
# sound, as Wine chooses it.
if [ -n "$own_display" ]; then
  wine_env_managed N
  wine_env_audio alsa
else
  wine_env_managed Y
  wine_env_audio default
fi

# The player opens vost.mpg from the current directory when given no file.
cd "$BUILD/media"
if [ -z "$own_display" ]; then
  exec wine "$BUILD/player/Tandrel98.exe"
fi

fail() {
  echo "run.sh: $*" >&2
  exit 1
}
wine "$BUILD/player/Tandrel98.exe" &
player=$!
# The main window carries the media's name once the clip is open.
window=
for _ in $(seq 1 300); do
  window=$(xdotool search --onlyvisible --name '^vost\.mpg$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  kill -0 "$player" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  rc=0
  kill -0 "$player" 2>/dev/null && kill "$player" 2>/dev/null
  wait "$player" 2>/dev/null || rc=$?
  fail "the player did not start or showed no window with the clip (exit $rc)"
fi
# A few seconds of playing, then the screen as a person would see it.
sleep 4
screenshot=$BUILD/player.png
import -window root "$screenshot" 2>/dev/null || fail "no screenshot could be taken"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The window's area of the screenshot must show something: more than one colour.
colours=$(convert "$screenshot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -unique-colors \
          -format '%w' info: 2>/dev/null || echo 0)
[ "$colours" -gt 1 ] || fail "the screenshot shows no player window ($screenshot)"
echo "screenshot: $screenshot (the player's window at ${X},${Y}, ${WIDTH}x${HEIGHT})"

# Closed as a person closes it, so that it stops and stores its settings.
wine taskkill /im Tandrel98.exe >/dev/null 2>&1 || true
rc=0
for _ in $(seq 1 150); do kill -0 "$player" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$player" 2>/dev/null; then
  kill "$player" 2>/dev/null || true
  fail "the player did not end within 15 s of being closed"
fi
wait "$player" || rc=$?
[ "$rc" -eq 0 ] || fail "the player ended with exit code $rc"
echo "run.sh: the player played the sample and ended with exit code 0"
