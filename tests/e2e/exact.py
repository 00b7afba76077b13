#!/usr/bin/env python3
"""Exact picture checks of a 640 x 480 screenshot (raw RGB, as
`import -depth 8 rgb:FILE` writes it) against the game's own pictures.

    exact.py title SHOT.rgb TITLE.bmp
        The title outside the credits panel, which scrolls, is the title
        picture pixel for pixel, as the game shows it: each colour cut to
        RGB565 and widened again.
    exact.py catch FRAMES-DIR SECONDS
        Takes screenshots of $DISPLAY (ImageMagick's import) until one is,
        pixel for pixel, one of the frames kordavan-trace wrote, for at most
        SECONDS; prints which frame it was.

Exits 0 when the check holds, 1 otherwise, saying what it found.
"""

import glob
import os
import struct
import subprocess
import sys
import time

WIDTH, HEIGHT = 640, 480
# The credits window is 135 rows, and one more on the few passes where its
# scroll, counted in tenths, falls just short of a whole row while the row
# under it is rounded up.
CREDITS = (320, 150, 320 + 288, 150 + 136)  # left, top, right, bottom


def read_bmp(path):
    """A 24-bit uncompressed BMP as top-down RGB bytes."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    if bits != 24 or (width, abs(height)) != (WIDTH, HEIGHT):
        sys.exit(f"exact.py: {path} is not a 24-bit 640x480 bitmap")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(HEIGHT):
        row_in_file = HEIGHT - 1 - y if height > 0 else y
        start = offset + row_in_file * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return b"".join(rows)


def as_shown(rgb):
    """Each channel cut to 5, 6 and 5 bits and widened by repeating its top bits."""
    def widen5(v):
        v >>= 3
        return (v << 3) | (v >> 2)

    def widen6(v):
        v >>= 2
        return (v << 2) | (v >> 4)

    t5 = bytes(widen5(v) for v in range(256))
    t6 = bytes(widen6(v) for v in range(256))
    out = bytearray(rgb)
    out[0::3] = bytes(rgb[0::3]).translate(t5)
    out[1::3] = bytes(rgb[1::3]).translate(t6)
    out[2::3] = bytes(rgb[2::3]).translate(t5)
    return bytes(out)


def read_shot(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != WIDTH * HEIGHT * 3:
        sys.exit(f"exact.py: {path} holds {len(data)} bytes, not a 640x480 RGB screenshot")
    return data


def differing(a, b, skip=None):
    count = 0
    first = None
    for y in range(HEIGHT):
        row = slice(y * WIDTH * 3, (y + 1) * WIDTH * 3)
        if a[row] == b[row]:
            continue
        for x in range(WIDTH):
            if skip and skip[0] <= x < skip[2] and skip[1] <= y < skip[3]:
                continue
            i = (y * WIDTH + x) * 3
            if a[i:i + 3] != b[i:i + 3]:
                count += 1
                first = first or (x, y, tuple(a[i:i + 3]), tuple(b[i:i + 3]))
    return count, first


def screenshot():
    return subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                          check=True, capture_output=True, timeout=20).stdout


def main(argv):
    if len(argv) != 4 or argv[1] not in ("title", "catch"):
        sys.exit(__doc__)
    if argv[1] == "title":
        shot = read_shot(argv[2])
        count, first = differing(shot, as_shown(read_bmp(argv[3])), CREDITS)
        print(f"{count} pixels outside the credits differ from the title picture"
              + (f"; the first at {first[:2]}: {first[2]} instead of {first[3]}" if first else ""))
        return 0 if count == 0 else 1
    frames = {}
    for path in sorted(glob.glob(os.path.join(argv[2], "step-*.bmp"))):
        frames.setdefault(read_bmp(path), os.path.basename(path))
    end = time.monotonic() + float(argv[3])
    shots = 0
    while time.monotonic() < end:
        shot = screenshot()
        shots += 1
        if shot in frames:
            print(f"screenshot {shots} is {frames[shot]}, pixel for pixel")
            return 0
        time.sleep(0.05)
    print(f"none of {shots} screenshots is one of the {len(frames)} frames of the trace")
    return 1

if __name__ == "__main__":
    sys.exit(main(sys.argv))
