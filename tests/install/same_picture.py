#!/usr/bin/env python3
"""Does a screenshot show a given picture?

    same_picture.py SHOT.rgb REFERENCE.rgb WIDTH HEIGHT MAX_MEAN [x0 y0 x1 y1]...

Both files are raw 8-bit RGB of WIDTH x HEIGHT (import or convert with
-depth 8 rgb:FILE). The rectangles (left top right bottom, right and bottom
exclusive) are left out of the comparison, for the parts of a screen that
move. The game shows its pictures in 16-bit colour, so a pixel may differ by
a few steps in each channel; the check is on the mean difference per channel,
and on how many pixels differ by more than that rounding can explain.
Prints what it measured and exits 0 when the screenshot shows the picture.
"""

import sys


def main(argv):
    if len(argv) < 6 or (len(argv) - 6) % 4:
        sys.exit(__doc__)
    shot_path, reference_path = argv[1], argv[2]
    width, height, max_mean = int(argv[3]), int(argv[4]), float(argv[5])
    skipped = [tuple(map(int, argv[i:i + 4])) for i in range(6, len(argv), 4)]
    with open(shot_path, "rb") as f:
        shot = f.read()
    with open(reference_path, "rb") as f:
        reference = f.read()
    for path, data in ((shot_path, shot), (reference_path, reference)):
        if len(data) != width * height * 3:
            sys.exit(f"{path}: {len(data)} bytes, expected {width * height * 3}")

    total = 0
    count = 0
    far = 0
    for y in range(height):
        row = y * width * 3
        for x in range(width):
            if any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in skipped):
                continue
            i = row + x * 3
            d = [abs(shot[i + c] - reference[i + c]) for c in range(3)]
            total += sum(d)
            count += 3
            # RGB565 keeps 5 or 6 bits: up to 8 steps of rounding a channel.
            far += max(d) > 24
    mean = total / count
    far_fraction = far / (count // 3)
    print(f"mean difference {mean:.2f} per channel, {far_fraction:.4f} of pixels far off")
    return 0 if mean <= max_mean and far_fraction <= 0.01 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
