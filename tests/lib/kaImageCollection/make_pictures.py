#!/usr/bin/env python3
"""Writes the tiny test pictures the test program embeds as resources. Run from this folder; the
output is checked in, so the build needs no Python."""
import struct
import zlib


def png(path, width, height, pixel, alpha):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    colour_type = 6 if alpha else 2
    rows = b"".join(b"\x00" + bytes(pixel) * width for _ in range(height))
    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def bmp24(path, width, height, bgr):
    stride = (width * 3 + 3) & ~3
    row = bytes(bgr) * width + b"\x00" * (stride - width * 3)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


# R, G, B, A = 200, 100, 50, 128 everywhere: an alpha channel of one level.
png("alpha20x10.png", 20, 10, (200, 100, 50, 128), True)
# Opaque R, G, B = 10, 20, 30.
png("opaque20x10.png", 20, 10, (10, 20, 30), False)
# Opaque blue-green-red bytes 30, 20, 10.
bmp24("plain8x4.bmp", 8, 4, (30, 20, 10))
