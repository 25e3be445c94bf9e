#!/usr/bin/python3
"""Draws the hover cursor (a pointing hand) and writes it as a Windows .cur file.

Usage: make-hand-cursor.py OUTPUT.CUR

The picture is 32 x 32 pixels, 32 bits per pixel with alpha, plus the 1-bit AND
mask that older readers use. The hotspot is the tip of the index finger.
"""
import struct
import sys

# '#' outline, '.' fill, ' ' transparent. Row 0 is the top.
HAND = [
    "      ##          ",
    "     #..#         ",
    "     #..#         ",
    "     #..#         ",
    "     #..#         ",
    "     #..###       ",
    "     #..#..##     ",
    "     #..#..#.##   ",
    "     #..#..#..### ",
    " ### #.........#.#",
    " #..##...........#",
    " #...#...........#",
    "  #..............#",
    "  #..............#",
    "   #.............#",
    "   #............# ",
    "    #...........# ",
    "    #..........#  ",
    "     #.........#  ",
    "     #.........#  ",
    "     ###########  ",
]
HOTSPOT = (6, 0)
SIZE = 32
OUTLINE = (0x10, 0x10, 0x10, 0xFF)  # B, G, R, A
FILL = (0xFF, 0xFF, 0xFF, 0xFF)


def pixel(x, y):
    if y < len(HAND) and x < len(HAND[y]):
        c = HAND[y][x]
        if c == "#":
            return OUTLINE
        if c == ".":
            return FILL
    return None


def main():
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # DIB rows run bottom-up
        bits = 0
        for x in range(SIZE):
            p = pixel(x, y)
            xor += bytes(p) if p else b"\0\0\0\0"
            bits = (bits << 1) | (0 if p else 1)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
