#!/usr/bin/env python3
"""Checks on raw RGB screenshots (import -depth 8 rgb:FILE) of the game.

Regions are given in the game's 640 x 480 picture coordinates, left top right
bottom (right and bottom exclusive), and mapped onto the screen the way the
game places its picture: the largest 4:3 rectangle centred on the screen.

    image.py varied  W H FILE x0 y0 x1 y1 [MIN_COLOURS]   many colours, not flat
    image.py changed W H A B  x0 y0 x1 y1 [MIN_FRACTION]  enough pixels differ
    image.py black   W H FILE [MIN_FRACTION]              the bars are black
    image.py picture W H FILE [MIN_FRACTION]              the picture area is not
    image.py darker  W H A B MAX_RATIO                    B's picture at most that bright
    image.py same    W H A B [x0 y0 x1 y1]                identical, but for that region
    image.py alike   W H A B MAX_MEAN [x0 y0 x1 y1]       on average differ by at most that, but there

With E2E_INTEGER_SCALE=1 in the environment the picture is placed as
--integer-scale places it: enlarged by the largest whole multiple that fits.

Each prints what it measured and exits 0 when the check holds, 1 otherwise.
"""

import os
import sys


def letterbox(width, height):
    """Where the 640 x 480 picture lands: x, y, w, h in screen pixels."""
    whole = min(width // 640, height // 480)
    if os.environ.get("E2E_INTEGER_SCALE") == "1" and whole >= 1:
        return (width - 640 * whole) // 2, (height - 480 * whole) // 2, 640 * whole, 480 * whole
    if width * 480 <= height * 640:
        w = width
        h = (width * 480 + 320) // 640
    else:
        h = height
        w = (height * 640 + 240) // 480
    return (width - w) // 2, (height - h) // 2, w, h


def load(path, width, height):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != width * height * 3:
        sys.exit(f"{path}: {len(data)} bytes, expected {width * height * 3} for {width}x{height}")
    return data


def screen_region(width, height, x0, y0, x1, y1):
    bx, by, bw, bh = letterbox(width, height)
    sx0 = bx + x0 * bw // 640
    sy0 = by + y0 * bh // 480
    sx1 = bx + x1 * bw // 640
    sy1 = by + y1 * bh // 480
    return sx0, sy0, max(sx1, sx0 + 1), max(sy1, sy0 + 1)


def pixels(data, width, region):
    x0, y0, x1, y1 = region
    for y in range(y0, y1):
        row = data[(y * width + x0) * 3:(y * width + x1) * 3]
        for i in range(0, len(row), 3):
            yield row[i], row[i + 1], row[i + 2]


def is_black(p):
    return p[0] <= 8 and p[1] <= 8 and p[2] <= 8


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    command, width, height = argv[1], int(argv[2]), int(argv[3])
    rest = argv[4:]

    if command == "varied":
        data = load(rest[0], width, height)
        region = screen_region(width, height, *map(int, rest[1:5]))
        need = int(rest[5]) if len(rest) > 5 else 16
        colours = set()
        total = 0
        total_sq = 0
        count = 0
        for p in pixels(data, width, region):
            colours.add(p)
            v = p[0] + p[1] + p[2]
            total += v
            total_sq += v * v
            count += 1
        mean = total / count
        spread = (total_sq / count - mean * mean) ** 0.5
        print(f"{len(colours)} colours, brightness {mean / 3:.1f} +- {spread / 3:.1f}")
        return 0 if len(colours) >= need and spread > 3 else 1

    if command == "changed":
        a = load(rest[0], width, height)
        b = load(rest[1], width, height)
        region = screen_region(width, height, *map(int, rest[2:6]))
        need = float(rest[6]) if len(rest) > 6 else 0.02
        differ = 0
        count = 0
        for p, q in zip(pixels(a, width, region), pixels(b, width, region)):
            count += 1
            if abs(p[0] - q[0]) + abs(p[1] - q[1]) + abs(p[2] - q[2]) > 24:
                differ += 1
        print(f"{differ} of {count} pixels differ ({differ / count:.3f})")
        return 0 if differ / count >= need else 1

    if command == "darker":
        first, second, ratio = argv[4], argv[5], float(argv[6])
        region = screen_region(width, height, 0, 0, 640, 480)
        def brightness(path):
            total = count = 0
            for p in pixels(load(path, width, height), width, region):
                total += p[0] + p[1] + p[2]
                count += 1
            return total / max(1, count)
        a, b = brightness(first), brightness(second)
        print(f"mean brightness {a:.1f} then {b:.1f} (at most {ratio:.2f} of the first wanted)")
        return 0 if a > 0 and b <= ratio * a else 1
    if command == "same":
        a = load(rest[0], width, height)
        b = load(rest[1], width, height)
        hx0, hy0, hx1, hy1 = (screen_region(width, height, *map(int, rest[2:6]))
                              if len(rest) >= 6 else (0, 0, 0, 0))
        rows = 0
        for y in range(height):
            ra = a[y * width * 3:(y + 1) * width * 3]
            rb = b[y * width * 3:(y + 1) * width * 3]
            if hy0 <= y < hy1:
                ra = ra[:hx0 * 3] + ra[hx1 * 3:]
                rb = rb[:hx0 * 3] + rb[hx1 * 3:]
            rows += ra != rb
        print(f"{rows} of {height} rows differ (left out: {hx0},{hy0} to {hx1},{hy1})")
        return 0 if rows == 0 else 1

    if command == "alike":
        a = load(rest[0], width, height)
        b = load(rest[1], width, height)
        most = float(rest[2])
        hx0, hy0, hx1, hy1 = (screen_region(width, height, *map(int, rest[3:7]))
                              if len(rest) >= 7 else (0, 0, 0, 0))
        x0, y0, x1, y1 = screen_region(width, height, 0, 0, 640, 480)
        total = count = 0
        for y in range(y0, y1):
            spans = [(x0, x1)] if not hy0 <= y < hy1 else [(x0, max(x0, hx0)), (min(x1, hx1), x1)]
            for s0, s1 in spans:
                ra = a[(y * width + s0) * 3:(y * width + s1) * 3]
                rb = b[(y * width + s0) * 3:(y * width + s1) * 3]
                total += sum(abs(p - q) for p, q in zip(ra, rb))
                count += len(ra)
        print(f"mean difference {total / count:.2f} per channel (at most {most} wanted)")
        return 0 if total / count <= most else 1

    if command in ("black", "picture"):
        data = load(rest[0], width, height)
        need = float(rest[1]) if len(rest) > 1 else 0.99
        bx, by, bw, bh = letterbox(width, height)
        inside = (bx, by, bx + bw, by + bh)
        bars = []
        if by > 0:
            bars += [(0, 0, width, by), (0, by + bh, width, height)]
        if bx > 0:
            bars += [(0, 0, bx, height), (bx + bw, 0, width, height)]
        if command == "black":
            if not bars:
                print("no bars at this screen size")
                return 0
            count = 0
            black = 0
            for bar in bars:
                for p in pixels(data, width, bar):
                    count += 1
                    black += is_black(p)
            print(f"bars {bars}: {black} of {count} pixels black ({black / count:.4f})")
            return 0 if black / count >= need else 1
        count = 0
        lit = 0
        for p in pixels(data, width, inside):
            count += 1
            lit += not is_black(p)
        print(f"picture {inside}: {lit} of {count} pixels not black ({lit / count:.3f})")
        return 0 if lit / count >= need else 1

    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
