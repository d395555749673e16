#!/usr/bin/env bash
# Prints the rate table: a ten-second video-only, audio-only and audio-and-video media and
# 7.6 s of real footage with a 440 Hz tone (city.mpg), each played whole at rates 0.5, 1, 2
# and 4 through the player's graph boundary, with the time to the end of the stream, the
# position's speed (media seconds a second, read at a quarter and three quarters of the
# way), the picture's end against the sound's (each renderer's own end of stream; the
# sound's comes when its renderer has the last sample, 0.2-0.3 s before it is heard), what
# the video renderer reports or else the samples presented on the player's clock, and how
# long Stop took. First the same media on the engine's own clock, for comparison. Then,
# where a PulseAudio server can be started, each media with sound is played again into its
# null sink and the recording says how long it was heard and at what pitch (the files'
# tone is 440 Hz), and how long after the picture's end its last sound was heard;
# RATES="0.25 0.125" bash bench/rate.sh hears other rates instead, HEARD_ONLY=1 only hears,
# PAUSE=1 pauses each heard row for a second after its first second, LOOP=1 plays each twice,
# rewound at its end as the player's loop rewinds (the picture's end is the second's).
# Not a test: it only measures.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="rateprobe media" wine_env_build

media=$BUILD/bench/media
mkdir -p "$media"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
[ -f "$media/video10.mpg" ] || ff -f lavfi -i "testsrc=size=352x240:rate=25:duration=10" \
  -c:v mpeg1video -fflags +bitexact -flags:v +bitexact -f mpeg "$media/video10.mpg"
[ -f "$media/audio10.wav" ] || ff -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=10" \
  -fflags +bitexact -flags:a +bitexact "$media/audio10.wav"
cp "$BUILD/media/clip10.mpg" "$BUILD/media/city.mpg" "$media/"

PULSE_DIR=$BUILD/bench/pulse
. "$TOP/scripts/pulse-env.sh"
trap 'pulse_env_stop; wine_env_stop' EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

cd "$media"
probe() { timeout 600 wine "$BUILD/bench/rateprobe.exe" "$@" 2>/dev/null; }
if [ -z "${HEARD_ONLY:-}" ]; then
  echo "== on the engine's own clock (the rate calls alone)"
  probe --table --engine-clock video10.mpg audio10.wav clip10.mpg city.mpg | grep -v '^=='
  echo "== through the graph boundary (ALSA null device)"
  probe --table video10.mpg audio10.wav clip10.mpg city.mpg
fi

command -v pulseaudio >/dev/null && command -v parec >/dev/null || {
  echo "(no PulseAudio: what is heard is not measured)"; exit 0; }
pulse_env_start
echo "== heard through a PulseAudio null sink"
for m in audio10.wav clip10.mpg city.mpg; do
  for r in ${RATES:-0.5 1 2 4}; do
    began=$(date +%s%3N)
    parec -d cap.monitor --format=s16le --rate=44100 --channels=2 --raw > "$media/heard.raw" &
    rec=$!
    row=$(probe --table ${PAUSE:+--pause} ${LOOP:+--loop} --rates "$r" "$m" | grep -v '^==')
    echo "$row"
    kill "$rec"; wait "$rec" 2>/dev/null || true
    pictured=$(echo "$row" | sed -n 's/.*picture ended at unix ms \([0-9]*\).*/\1/p')
    echo "      heard: $(python3 "$TOP/bench/heard.py" "$media/heard.raw" $began $pictured)"
  done
done
