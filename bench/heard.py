#!/usr/bin/env python3
"""What a recording of the sink held: raw signed 16-bit little-endian stereo at 44100 Hz.

Prints the seconds of sound (10 ms windows louder than a floor), when the sound began and
ended, the gaps inside it, and the pitch from the zero crossings of the left channel.
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
heard = left[first * WINDOW:(last + 1) * WINDOW]
crossings = sum(1 for a, b in zip(heard, heard[1:]) if (a < 0) != (b < 0))
print("sound %.2f s, from %.2f to %.2f s of the recording, %d gaps, pitch %.0f Hz"
      % (len(on) / 100, first / 100, last / 100, gaps, crossings / 2 / (len(heard) / RATE)))
