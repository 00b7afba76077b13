#!/usr/bin/env python3
"""Finds the OK button of SDL's message box on a raw RGB screenshot of the
whole screen (import -depth 8 rgb:FILE), the way a player finds it: by its
look, not by any text.

    message_box.py FILE SCREEN_W SCREEN_H X Y WIDTH HEIGHT

X Y WIDTH HEIGHT is the box on the screen. Prints the middle of the button as
"X Y" in screen pixels and exits 0; exits 1 when the box shows no button.
"""

import sys

# SDL fills its message box buttons with this colour in its default scheme,
# whatever font the X server gives it for the labels.
BUTTON_FACE = bytes((105, 102, 99))
# A button is far larger than any run of label pixels of the same colour.
MIN_PIXELS = 200


def main(argv):
    if len(argv) != 8:
        sys.exit(__doc__)
    path = argv[1]
    screen_w, screen_h, x, y, width, height = (int(a) for a in argv[2:])
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != screen_w * screen_h * 3:
        sys.exit(f"{path}: {len(data)} bytes, expected {screen_w * screen_h * 3}")
    left, top = max(x, 0), max(y, 0)
    right, bottom = min(x + width, screen_w), min(y + height, screen_h)
    xs, ys = [], []
    for row in range(top, bottom):
        start = (row * screen_w) * 3
        for column in range(left, right):
            at = start + column * 3
            if data[at:at + 3] == BUTTON_FACE:
                xs.append(column)
                ys.append(row)
    if len(xs) < MIN_PIXELS:
        print(f"no button: {len(xs)} pixels of the button's colour", file=sys.stderr)
        return 1
    print((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
