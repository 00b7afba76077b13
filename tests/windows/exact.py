#!/usr/bin/env python3
"""Exact picture checks of a 640 x 480 screenshot (raw RGB, as
`import -depth 8 rgb:FILE` writes it) against the game's own pictures.

    exact.py title SHOT.rgb TITLE.bmp
        The title outside the credits panel, which scrolls, is the title
        picture pixel for pixel, as the game shows it: each colour cut to
        RGB565 and widened again.
    exact.py frame SHOT.rgb FRAMES-DIR
        The screenshot is one of the frames kordavan-trace wrote, pixel for
        pixel; prints which.

Exits 0 when the check holds, 1 otherwise, saying what it found.
"""

import glob
import os
import struct
import sys

WIDTH, HEIGHT = 640, 480
CREDITS = (320, 150, 320 + 288, 150 + 135)  # left, top, right, bottom


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


def main(argv):
    if len(argv) != 4 or argv[1] not in ("title", "frame"):
        sys.exit(__doc__)
    shot = read_shot(argv[2])
    if argv[1] == "title":
        count, first = differing(shot, as_shown(read_bmp(argv[3])), CREDITS)
        print(f"{count} pixels outside the credits differ from the title picture"
              + (f"; the first at {first[:2]}: {first[2]} instead of {first[3]}" if first else ""))
        return 0 if count == 0 else 1
    frames = sorted(glob.glob(os.path.join(argv[3], "step-*.bmp")))
    for path in frames:
        if read_bmp(path) == shot:
            print(f"the screenshot is {os.path.basename(path)} exactly")
            return 0
    count, first = differing(shot, read_bmp(frames[0])) if frames else (None, None)
    print(f"the screenshot is none of {len(frames)} frames; it differs from the first in "
          f"{count} pixels" + (f", the first at {first[:2]}" if first else ""))
    return 1

if __name__ == "__main__":
    sys.exit(main(sys.argv))
