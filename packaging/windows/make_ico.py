#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon file (.ico), largest last.

    make_ico.py OUT.ico icon-16.png icon-32.png ...

Windows Vista and later read PNG images inside an icon directly, at any
size up to 256 x 256, with their alpha channel.
"""
import struct
import sys


def png_size(data, name):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"make_ico.py: {name} is not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    if not (1 <= width <= 256 and 1 <= height <= 256):
        sys.exit(f"make_ico.py: {name} is {width}x{height}; an icon holds 1 to 256 pixels a side")
    return width, height


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make_ico.py OUT.ico PNG...")
    images = []
    for name in sys.argv[2:]:
        with open(name, "rb") as png:
            data = png.read()
        images.append((png_size(data, name), data))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for (width, height), data in images:
        # 0 stands for 256 in the one-byte sizes.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(header + entries + b"".join(data for _, data in images))


main()
