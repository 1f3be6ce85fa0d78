#!/usr/bin/env python3
"""Writes the shipped sounds "popup.wav" and "message.wav" into a folder: soft
two-note chimes, 16-bit mono PCM at 22050 Hz, under half a second each. Pure
arithmetic, so every run writes the same bytes.

    make-sounds.py FOLDER
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
PEAK = 0.28  # of full scale: a notice, not an alarm

# Each sound: (frequency in Hz, start in seconds) per note, and the length.
SOUNDS = {
    "popup.wav": ([(880.0, 0.0), (1318.5, 0.11)], 0.48),      # A5 then E6, rising: something happened
    "message.wav": ([(1046.5, 0.0), (784.0, 0.10)], 0.42),    # C6 then G5, falling: someone wrote
}


def note(t, frequency):
    """A bell-like tone: the fundamental, a quiet octave, a quick attack and an exponential fade."""
    if t < 0:
        return 0.0
    attack = min(1.0, t / 0.006)
    fade = math.exp(-t * 9.0)
    return attack * fade * (math.sin(2 * math.pi * frequency * t) + 0.25 * math.sin(4 * math.pi * frequency * t))


def samples(notes, length):
    count = int(RATE * length)
    out = bytearray()
    for n in range(count):
        t = n / RATE
        value = sum(note(t - start, frequency) for frequency, start in notes) / 1.25
        # The last 20 ms fall to silence, so the end never clicks.
        tail = min(1.0, (count - n) / (RATE * 0.02))
        out += struct.pack("<h", int(round(max(-1.0, min(1.0, value * PEAK * tail)) * 32767)))
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, (notes, length) in SOUNDS.items():
        with wave.open(str(folder / name), "wb") as file:
            file.setnchannels(1)
            file.setsampwidth(2)
            file.setframerate(RATE)
            file.writeframes(samples(notes, length))


if __name__ == "__main__":
    main()
