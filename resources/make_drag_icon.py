#!/usr/bin/env python3
"""Draws drag.ico, the file list's pointer while an entry is dragged: an arrow over a small
spreadsheet page. The 32x32 image is drawn pixel by pixel and written as a 32-bit ICO by hand,
so only the Python standard library is needed.

Run from this folder: python3 make_drag_icon.py  (writes drag.ico beside this script)
The arrow's tip is the pixel (1, 1), the natural hot spot when the icon is used as a cursor.
"""
import os
import struct

SIZE = 32
CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
EDGE = (70, 70, 70, 255)
FOLD = (210, 210, 210, 255)
GREEN = (33, 115, 70, 255)
GRID = (150, 190, 165, 255)

# The arrow, as a polygon in pixel coordinates (x right, y down), tip at the top left.
ARROW = [(1, 1), (1, 17), (5, 13), (8, 20), (11, 19), (8, 12), (13, 12)]

# The page: its box and the size of its folded top-right corner.
PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM, FOLD_SIZE = 11, 7, 29, 30, 6


def inside(polygon, x, y):
    """True when the point lies inside the polygon (even-odd rule)."""
    result = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def draw():
    pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    # The page with its folded corner: outline, white paper, a green header row and a grid.
    fold_x = PAGE_RIGHT - FOLD_SIZE
    for y in range(PAGE_TOP, PAGE_BOTTOM + 1):
        for x in range(PAGE_LEFT, PAGE_RIGHT + 1):
            cut = x - fold_x > y - PAGE_TOP  # beyond the fold's diagonal
            if cut:
                continue
            border = x in (PAGE_LEFT, PAGE_RIGHT) or y in (PAGE_TOP, PAGE_BOTTOM) or (
                x - fold_x == y - PAGE_TOP)
            if border:
                pixels[y][x] = EDGE
            elif x > fold_x and y < PAGE_TOP + FOLD_SIZE:
                pixels[y][x] = FOLD
            elif PAGE_TOP + 3 <= y <= PAGE_TOP + 5 and x <= PAGE_RIGHT - 2 and x >= PAGE_LEFT + 2:
                pixels[y][x] = GREEN
            elif (y - PAGE_TOP) % 4 == 1 and y > PAGE_TOP + 6 and PAGE_LEFT + 2 <= x <= PAGE_RIGHT - 2:
                pixels[y][x] = GRID
            elif x in (PAGE_LEFT + 8, PAGE_LEFT + 13) and y > PAGE_TOP + 6 and y < PAGE_BOTTOM - 1:
                pixels[y][x] = GRID
            else:
                pixels[y][x] = WHITE
    # The fold's inner edge.
    for i in range(FOLD_SIZE + 1):
        pixels[PAGE_TOP + FOLD_SIZE][fold_x + i] = EDGE
        pixels[PAGE_TOP + i][fold_x] = EDGE

    # The arrow: black inside, a one-pixel white rim around it so it shows on any background.
    body = {(x, y) for y in range(SIZE) for x in range(SIZE) if inside(ARROW, x + 0.5, y + 0.5)}
    body.add(ARROW[0])
    for y in range(SIZE):
        for x in range(SIZE):
            if (x, y) in body:
                continue
            if any((x + dx, y + dy) in body for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                pixels[y][x] = WHITE
    for x, y in body:
        pixels[y][x] = BLACK
    return pixels


def ico_bytes(pixels):
    """A one-image ICO: a 32-bit BGRA bitmap (rows bottom-up) and its 1-bit AND mask."""
    colour = b"".join(struct.pack("<4B", b, g, r, a)
                      for row in reversed(pixels) for (r, g, b, a) in row)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (SIZE - 1 - x)
        mask += struct.pack(">I", bits)  # 32 pixels make one 4-byte row, no padding needed
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "drag.ico")
    with open(target, "wb") as out:
        out.write(ico_bytes(draw()))
    print("wrote", target)


if __name__ == "__main__":
    main()
