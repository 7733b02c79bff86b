#!/usr/bin/env python3
"""Draws the toggle switch's masks and writes them as PNG files (white, straight alpha) into
resources/switch/, where the unit kaModernControls embeds them as RCDATA resources named after
the files. Run it again after changing the shapes; the output is checked in, so the build
needs no Python.

    python3 tools/make_switch_masks.py [output folder]

The switch draws a mask by nine parts with margins of 10 pixels per unit of scale, so each
mask keeps its whole shape in its corners:
  SWITCH_FRAME_MASK_ON   a square whose corners are quarter circles of the margin's radius:
                         drawn into the 40 x 20 track it is a filled pill;
  SWITCH_FRAME_MASK_OFF  the same shape as a ring 2 pixels thick (per unit of scale): a pill
                         outline;
  SWITCH_THUMB_MASK      a square inset by half the margin with corners of that radius: drawn
                         into the 20 x 20 thumb it is a disc 10 pixels across.
Sizes: 32 x 32 without suffix, 40 x 40 "_125", 48 x 48 "_150", 64 x 64 "_200". Edges carry
their computed coverage (8 x 8 samples per pixel), so they are smooth wherever the masks are
drawn.
"""
import os
import struct
import sys
import zlib

SCALES = [("", 1.0), ("_125", 1.25), ("_150", 1.5), ("_200", 2.0)]
SAMPLES = 8


def rounded_rect(x0, y0, x1, y1, radius):
    """The inside test of a rectangle whose corners are quarter circles of the radius."""
    def inside(px, py):
        if px < x0 or px > x1 or py < y0 or py > y1:
            return False
        cx = min(max(px, x0 + radius), x1 - radius)
        cy = min(max(py, y0 + radius), y1 - radius)
        return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius
    return inside


def coverage(size, inside):
    """Alpha bytes, row by row, of the shape over a size x size picture."""
    rows = []
    step = 1.0 / SAMPLES
    for y in range(size):
        row = []
        for x in range(size):
            hits = 0
            for sy in range(SAMPLES):
                py = y + (sy + 0.5) * step
                for sx in range(SAMPLES):
                    if inside(x + (sx + 0.5) * step, py):
                        hits += 1
            row.append((hits * 255 + SAMPLES * SAMPLES // 2) // (SAMPLES * SAMPLES))
        rows.append(row)
    return rows


def masks(scale):
    size = round(32 * scale)
    margin = round(10 * scale)  # Python rounds halves to even, as the switch does
    ring = 2 * scale
    thumb = margin / 2
    frame = rounded_rect(0, 0, size, size, margin)
    hole = rounded_rect(ring, ring, size - ring, size - ring, margin - ring)
    disc = rounded_rect(margin - thumb, margin - thumb, size - margin + thumb, size - margin + thumb, thumb)
    return size, {
        "SWITCH_FRAME_MASK_ON": frame,
        "SWITCH_FRAME_MASK_OFF": lambda x, y: frame(x, y) and not hole(x, y),
        "SWITCH_THUMB_MASK": disc,
    }


def write_png(path, alpha_rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    height = len(alpha_rows)
    width = len(alpha_rows[0])
    raw = b"".join(b"\x00" + b"".join(bytes((255, 255, 255, a)) for a in row) for row in alpha_rows)
    data = (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "switch")
    os.makedirs(folder, exist_ok=True)
    for suffix, scale in SCALES:
        size, shapes = masks(scale)
        for name, inside in shapes.items():
            path = os.path.join(folder, name + suffix + ".png")
            write_png(path, coverage(size, inside))
            print("wrote %s (%d x %d)" % (path, size, size))


if __name__ == "__main__":
    main()
