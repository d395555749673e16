#!/usr/bin/env python3
"""What a recording of the sink held: raw signed 16-bit little-endian stereo at 44100 Hz.

Prints the seconds of sound (10 ms windows louder than a floor), when the sound began and
ended, the gaps inside it, and the pitch from the zero crossings of the left channel while it
sounds (a pause or a gap is no lower pitch). Given
the host's time (ms since 1970) at which the recording began and at which the picture ended,
also how long after the picture's end the last sound was heard.
"""
import array
import sys

RATE = 44100
WINDOW = RATE // 100
FLOOR = 300

samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    samples.frombytes(f.read())
left = samples[0::2]
loud = [sum(abs(x) for x in left[i:i + WINDOW]) / WINDOW > FLOOR
        for i in range(0, len(left) - WINDOW, WINDOW)]
on = [i for i, is_loud in enumerate(loud) if is_loud]
if not on:
    print("silent")
    sys.exit(0)
first, last = on[0], on[-1]
gaps, previous = 0, True
for is_loud in loud[first:last + 1]:
    if not is_loud and previous:
        gaps += 1
    previous = is_loud
crossings = 0
for i in on:
    window = left[i * WINDOW:(i + 1) * WINDOW + 1]
    crossings += sum(1 for a, b in zip(window, window[1:]) if (a < 0) != (b < 0))
print("sound %.2f s, from %.2f to %.2f s of the recording, %d gaps, pitch %.0f Hz"
      % (len(on) / 100, first / 100, last / 100, gaps, crossings / 2 / (len(on) * WINDOW / RATE)))
if len(sys.argv) > 3:
    end = (last + 1) * WINDOW
    while end > 0 and abs(left[end - 1]) < FLOOR:
        end -= 1
    heard_end_ms = int(sys.argv[2]) + end * 1000 / RATE
    print("      last sound heard %+.0f ms after the picture ended" % (heard_end_ms - int(sys.argv[3])))
