#!/usr/bin/python3
"""Draws the application icon (a timesheet page with a clock).

Usage: make-app-icon.py OUTPUT.png [SIZE]   a SIZE x SIZE PNG (default 256)
       make-app-icon.py OUTPUT.svg          the same drawing as scalable SVG

The shapes are laid out on a 256-unit square; smaller PNGs sample the same
shapes more finely per pixel, and the SVG states them as vector shapes.
"""
import math
import struct
import sys
import zlib

DESIGN = 256  # the drawing's own units per side
SAMPLES = 3  # supersampling per axis at full size, for smooth edges

SHADOW = (40, 60, 50, 90)
SHEET_EDGE = (36, 110, 60, 255)
PAPER = (252, 252, 248, 255)
GRID = (170, 190, 175, 255)
HEADER = (240, 250, 240, 255)
RIM = (230, 126, 34, 255)
FACE = (255, 248, 235, 255)
TICK = (90, 60, 30, 255)
HAND = (60, 40, 20, 255)
PIN = (200, 60, 20, 255)
HANDS = ((300, 28, 4), (60, 38, 3))  # angle in degrees, length, half width


def rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def colour_at(x, y):
    """Colour (r, g, b, a) of one sample point, painted back to front."""
    colour = None
    # Shadow, then the sheet with its green header band and a grid of rows.
    if rounded_rect(x, y, 34, 22, 206, 246, 18):
        colour = SHADOW
    if rounded_rect(x, y, 28, 14, 200, 238, 18):
        colour = SHEET_EDGE
    if rounded_rect(x, y, 36, 56, 192, 230, 10):
        colour = PAPER
        if 44 <= x <= 184 and 66 <= y <= 222:
            if (y - 66) % 26 < 3 or 92 <= x < 95:
                colour = GRID
    if 60 <= x <= 168 and 30 <= y <= 40:
        colour = HEADER
    # The clock over the lower right corner.
    d = math.hypot(x - 178, y - 186)
    if d <= 62:
        colour = RIM
    if d <= 52:
        colour = FACE
        for hour in range(12):
            a = hour * math.pi / 6
            tx, ty = 178 + 44 * math.sin(a), 186 - 44 * math.cos(a)
            if math.hypot(x - tx, y - ty) <= 3.2:
                colour = TICK

        def on_hand(angle, length, width):
            dx, dy = math.sin(angle), -math.cos(angle)
            t = (x - 178) * dx + (y - 186) * dy
            n = abs((x - 178) * dy - (y - 186) * dx)
            return -4 <= t <= length and n <= width

        if any(on_hand(math.radians(deg), length, width) for deg, length, width in HANDS):
            colour = HAND
        if d <= 6:
            colour = PIN
    return colour


def png_bytes(size):
    # Keep roughly SAMPLES samples per design-unit pixel at every size.
    samples = max(SAMPLES, min(8, SAMPLES * DESIGN // size))
    scale = DESIGN / size
    rows = bytearray()
    for py in range(size):
        rows.append(0)  # filter type None
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * scale,
                                  (py + (sy + 0.5) / samples) * scale)
                    if c:
                        w = c[3] / 255.0
                        r += c[0] * w
                        g += c[1] * w
                        b += c[2] * w
                        a += w
            n = samples * samples
            if a > 0:
                rows += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                rows += b"\0\0\0\0"

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    return png


def rgb(c):
    return "#%02x%02x%02x" % c[:3]


def fill(c):
    extra = ' fill-opacity="%.3f"' % (c[3] / 255) if c[3] < 255 else ""
    return 'fill="%s"%s' % (rgb(c), extra)


def svg_text():
    """The shapes of colour_at, back to front, as SVG elements."""
    grid = []
    for top in range(66, 223, 26):
        grid.append('<rect x="44" y="%d" width="140" height="3" %s/>' % (top, fill(GRID)))
    grid.append('<rect x="92" y="66" width="3" height="156" %s/>' % fill(GRID))
    ticks = []
    for hour in range(12):
        a = hour * math.pi / 6
        ticks.append('<circle cx="%.2f" cy="%.2f" r="3.2" %s/>'
                     % (178 + 44 * math.sin(a), 186 - 44 * math.cos(a), fill(TICK)))
    hands = []
    for deg, length, width in HANDS:
        hands.append('<rect x="%d" y="%d" width="%d" height="%d" transform="rotate(%d 178 186)" %s/>'
                     % (178 - width, 186 - length, 2 * width, length + 4, deg, fill(HAND)))
    parts = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        '<rect x="34" y="22" width="172" height="224" rx="18" %s/>' % fill(SHADOW),
        '<rect x="28" y="14" width="172" height="224" rx="18" %s/>' % fill(SHEET_EDGE),
        '<rect x="36" y="56" width="156" height="174" rx="10" %s/>' % fill(PAPER),
        *grid,
        '<rect x="60" y="30" width="108" height="10" %s/>' % fill(HEADER),
        '<circle cx="178" cy="186" r="62" %s/>' % fill(RIM),
        '<circle cx="178" cy="186" r="52" %s/>' % fill(FACE),
        *ticks,
        *hands,
        '<circle cx="178" cy="186" r="6" %s/>' % fill(PIN),
        '</svg>',
    ]
    return "\n".join(parts) + "\n"


def main():
    target = sys.argv[1]
    if target.endswith(".svg"):
        with open(target, "w", encoding="utf-8") as out:
            out.write(svg_text())
        return
    size = int(sys.argv[2]) if len(sys.argv) > 2 else DESIGN
    with open(target, "wb") as out:
        out.write(png_bytes(size))


if __name__ == "__main__":
    main()
