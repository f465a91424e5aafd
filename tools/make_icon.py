#!/usr/bin/env python3
"""Draws the program icon and writes app/win32/tovaro.ico.

A chip in dark blue with pins on both sides and a yellow sound wave across
it, at 32x32 and 16x16 in the 16 standard colours (4 bits per pixel), which
every Windows from 95 on can show. Run it again after changing the drawing:
    python3 tools/make_icon.py
"""
import math
import os
import struct

# The 16 standard VGA colours, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, BLUE, YELLOW, WHITE = 0, 4, 7, 8, 12, 11, 15
CLEAR = None


def draw(size):
    """The icon at 32x32 or 16x16; coordinates are pixels of that size."""
    px = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                px[y][x] = colour

    def line(x0, y0, x1, y1, colour, thickness):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for t in range(thickness):
                px[int(round(y)) + t][int(round(x))] = colour

    big = size == 32
    # Pins on both sides, then the body over their inner ends.
    pins, pin_height = ((7, 12, 17, 22), 3) if big else ((4, 7, 10), 2)
    for y in pins:
        rect(0, y, size, y + pin_height, SILVER)
        rect(0, y + pin_height - 1, size, y + pin_height, GRAY)
    if big:
        rect(5, 3, 27, 29, BLACK)
        rect(6, 4, 26, 28, NAVY)
        rect(6, 4, 26, 5, BLUE)
        rect(22, 6, 24, 8, WHITE)
    else:
        rect(2, 1, 14, 15, BLACK)
        rect(3, 2, 13, 14, NAVY)
        rect(11, 3, 12, 4, WHITE)
    # The wave: one period of a sine across the body.
    left, span, amplitude, centre, thickness = (8, 16, 6, 15, 2) if big else (4, 8, 3, 8, 1)
    points = [(left + i, round(centre - amplitude * math.sin(2 * math.pi * i / span))) for i in range(span + 1)]
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        line(x0, y0, x1, y1, YELLOW, thickness)
    return px


def image(size):
    px = draw(size)
    xor_row = ((size * 4 + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(size):
            colour = px[y][x]
            value = 0 if colour is None else colour
            if x % 2 == 0:
                row[x // 2] |= value << 4
            else:
                row[x // 2] |= value
            if colour is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += row
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def main():
    sizes = [32, 16]
    images = [image(size) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'app', 'win32', 'tovaro.ico')
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
