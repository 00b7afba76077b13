#!/usr/bin/env python3
"""Tells whether the end of SDL's disk audio file holds sound or silence.

    audio.py FILE SINCE_BYTE

Reads the samples written after SINCE_BYTE (signed 16-bit, as the game opens
its device; SDL's disk driver writes the device's own format) and prints their
range. Exits 0 when they vary, 1 when they are all the same value (silence,
or a constant), 2 when nothing was written.
"""

import array
import sys


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    path, since = argv[1], int(argv[2])
    with open(path, "rb") as f:
        f.seek(since)
        data = f.read()
    data = data[: len(data) // 2 * 2]
    if not data:
        print(f"no sound written after byte {since}")
        return 2
    samples = array.array("h")
    samples.frombytes(data)
    if sys.byteorder != "little":
        samples.byteswap()
    low, high = min(samples), max(samples)
    changes = sum(1 for a, b in zip(samples, samples[1:]) if a != b)
    print(f"{len(samples)} samples from {low} to {high}, {changes} changes")
    return 0 if high > low and changes > len(samples) // 100 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
