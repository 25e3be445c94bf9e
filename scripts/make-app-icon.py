#!/usr/bin/python3
"""Draws the application icon (a timesheet page with a clock) as a 256 x 256 PNG.

Usage: make-app-icon.py OUTPUT.PNG
"""
import math
import struct
import sys
import zlib

SIZE = 256
SAMPLES = 3  # supersampling per axis, for smooth edges


def rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def colour_at(x, y):
    """Colour (r, g, b, a) of one sample point, painted back to front."""
    colour = None
    # Shadow, then the sheet with its green header band and a grid of rows.
    if rounded_rect(x, y, 34, 22, 206, 246, 18):
        colour = (40, 60, 50, 90)
    if rounded_rect(x, y, 28, 14, 200, 238, 18):
        colour = (36, 110, 60, 255)
    if rounded_rect(x, y, 36, 56, 192, 230, 10):
        colour = (252, 252, 248, 255)
        if 44 <= x <= 184 and 66 <= y <= 222:
            if (y - 66) % 26 < 3 or 92 <= x < 95:
                colour = (170, 190, 175, 255)
    if 60 <= x <= 168 and 30 <= y <= 40:
        colour = (240, 250, 240, 255)
    # The clock over the lower right corner.
    d = math.hypot(x - 178, y - 186)
    if d <= 62:
        colour = (230, 126, 34, 255)
    if d <= 52:
        colour = (255, 248, 235, 255)
        for hour in range(12):
            a = hour * math.pi / 6
            tx, ty = 178 + 44 * math.sin(a), 186 - 44 * math.cos(a)
            if math.hypot(x - tx, y - ty) <= 3.2:
                colour = (90, 60, 30, 255)

        def on_hand(angle, length, width):
            dx, dy = math.sin(angle), -math.cos(angle)
            t = (x - 178) * dx + (y - 186) * dy
            n = abs((x - 178) * dy - (y - 186) * dx)
            return -4 <= t <= length and n <= width

        if on_hand(math.radians(300), 28, 4) or on_hand(math.radians(60), 38, 3):
            colour = (60, 40, 20, 255)
        if d <= 6:
            colour = (200, 60, 20, 255)
    return colour


def main():
    rows = bytearray()
    for py in range(SIZE):
        rows.append(0)  # filter type None
        for px in range(SIZE):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c:
                        w = c[3] / 255.0
                        r += c[0] * w
                        g += c[1] * w
                        b += c[2] * w
                        a += w
            n = SAMPLES * SAMPLES
            if a > 0:
                rows += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                rows += b"\0\0\0\0"

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
