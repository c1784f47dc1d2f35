#!/usr/bin/env python3
"""Draws bootdeck's icon and writes it as bootdeck.ico: 48, 32, 24 and 16 pixels, each in
256 colours and in 32-bit colour. The picture: a blue tile holding a disk platter, with an
orange arrow that writes into it. Run it again after changing the drawing:

    python3 resources/make_icon.py resources/bootdeck.ico
"""
import math
import struct
import sys

SIZES = (48, 32, 24, 16)
SAMPLES = 4  # per axis, for anti-aliased edges


def inside_rounded_square(x, y, margin, radius):
    lo, hi = margin, 1.0 - margin
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return lo <= x <= hi and lo <= y <= hi and (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_arrow(x, y):
    # An arrow pointing down-left onto the platter, in the upper right corner.
    u, v = (x - 0.80) , (y - 0.20)
    along = (-u + v) / math.sqrt(2)   # towards the platter
    across = (u + v) / math.sqrt(2)
    if -0.02 <= along <= 0.20 and abs(across) <= 0.045:
        return True
    head = along - 0.20
    return 0 <= head <= 0.16 and abs(across) <= 0.13 * (1 - head / 0.16)


def colour_at(x, y):
    """Straight RGBA in 0..1 for one sample point of the unit square."""
    if inside_arrow(x, y):
        return (1.0, 0.55, 0.10, 1.0)
    if not inside_rounded_square(x, y, 0.04, 0.18):
        return (0.0, 0.0, 0.0, 0.0)
    d = math.hypot(x - 0.46, y - 0.56)
    if d <= 0.07:
        return (0.20, 0.27, 0.40, 1.0)  # hub
    if d <= 0.33:
        shade = 0.80 + 0.18 * (1 - d / 0.33)
        return (shade, shade, min(1.0, shade + 0.05), 1.0)  # platter
    if d <= 0.36:
        return (0.55, 0.60, 0.70, 1.0)  # platter rim
    t = y
    return (0.13 + 0.05 * t, 0.30 + 0.10 * t, 0.62 + 0.12 * t, 1.0)  # tile


def render(size):
    """Rows top to bottom of premultiplied-then-unpremultiplied RGBA bytes."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = colour_at((px + (sx + 0.5) / SAMPLES) / size,
                                           (py + (sy + 0.5) / SAMPLES) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [min(255, round(255 * c / acc[3])) for c in acc[:3]]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(255 * alpha)))
        rows.append(row)
    return rows


def palette():
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(round(i * 255 / 39),) * 3 for i in range(40)]
    return colours


def nearest(colours, rgb):
    return min(range(len(colours)),
               key=lambda i: sum((colours[i][k] - rgb[k]) ** 2 for k in range(3)))


def and_mask(rows, size):
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def header(size, bit_count, image_bytes, colours_used):
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bit_count, 0, image_bytes, 0, 0,
                       colours_used, 0)


def image_32(rows, size):
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = and_mask(rows, size)
    return header(size, 32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def image_8(rows, size, colours):
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    stride = (size + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            line[x] = nearest(colours, (r, g, b)) if a >= 128 else 0
        pixels += line
    mask = and_mask(rows, size)
    return header(size, 8, len(pixels) + len(mask), 256) + table + bytes(pixels) + mask


def main(path):
    colours = palette()
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, 8, image_8(rows, size, colours)))
        images.append((size, 32, image_32(rows, size)))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'bootdeck.ico')
