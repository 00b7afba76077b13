#!/usr/bin/env python3
"""Decodes an 8-bit RGB or RGBA PNG with Python's own zlib, checking every
chunk's CRC, and writes its samples, rows top to bottom, to a file:

    decode_png.py PICTURE.png SAMPLES

Prints "WIDTH HEIGHT CHANNELS"; exits 1 with the reason for a file a PNG
reader would refuse."""
import struct
import sys
import zlib


def fail(reason):
    print(reason, file=sys.stderr)
    sys.exit(1)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def main():
    data = open(sys.argv[1], "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("no PNG signature")
    at, idat, header, ended = 8, b"", None, False
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind = data[at + 4:at + 8]
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != crc:
            fail("bad CRC in " + kind.decode())
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            ended = True
        at += 12 + length
    if header is None or not ended:
        fail("no IHDR or no IEND")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        fail("not 8-bit RGB or RGBA")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    if len(raw) != height * (stride + 1):
        fail("%d bytes of picture data for %d x %d" % (len(raw), width, height))
    out, previous = bytearray(), bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            add = [0, left, up, (left + up) // 2, paeth(left, up, corner)][kind]
            row[i] = (row[i] + add) & 0xFF
        out += row
        previous = row
    open(sys.argv[2], "wb").write(out)
    print(width, height, channels)


main()
