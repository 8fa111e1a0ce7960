#!/usr/bin/env python3
"""Draws the program's icon (a white chain link on a blue tile) and writes it as a .ico file with
16, 32 and 48 pixel images, 32-bit with alpha.

    make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZES = (16, 32, 48)
SAMPLES = 4  # per axis, for anti-aliased edges

TILE = (0x1E, 0x6F, 0xD9)   # blue
TILE_EDGE = (0x14, 0x4F, 0xA0)
LINK = (0xFF, 0xFF, 0xFF)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def rounded_square_distance(px, py, half, radius):
    qx, qy = abs(px - 0.5) - half + radius, abs(py - 0.5) - half + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def shade(x, y):
    """Returns (r, g, b, a) of the point (x, y) of the unit square, y downwards."""
    tile = rounded_square_distance(x, y, 0.47, 0.16)
    if tile > 0:
        return (0, 0, 0, 0)
    # Two links of a chain, each a ring around a short segment, crossing in the middle.
    ring = 0.05
    for ax, ay, bx, by in ((0.24, 0.76, 0.42, 0.58), (0.58, 0.42, 0.76, 0.24)):
        if abs(segment_distance(x, y, ax, ay, bx, by) - 0.14) < ring:
            return LINK + (255,)
    return (TILE_EDGE if tile > -0.04 else TILE) + (255,)


def render(size):
    """Returns rows of (r, g, b, a), top row first."""
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            total = [0, 0, 0, 0]
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    r, g, b, a = shade((i + (si + 0.5) / SAMPLES) / size,
                                       (j + (sj + 0.5) / SAMPLES) / size)
                    total = [total[0] + r * a, total[1] + g * a, total[2] + b * a, total[3] + a]
            alpha = total[3] / (SAMPLES * SAMPLES)
            if total[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / total[3]) for c in total[:3]) + (round(alpha),))
        rows.append(row)
    return rows


def icon_image(size):
    """Returns one image as the icon format keeps it: a bitmap header, the BGRA pixels bottom row
    first, then the 1-bit transparency mask (rows padded to 32 bits)."""
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_row_bytes = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(rows):
        bits = bytearray(mask_row_bytes)
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bytes(bits)
    return header + pixels + mask


def main():
    images = [icon_image(size) for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for size, image in zip(SIZES, images):
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(sys.argv[1], 'wb') as out:
        out.write(directory + b''.join(images))


if __name__ == '__main__':
    main()
