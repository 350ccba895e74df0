#!/usr/bin/env python3
"""Writes HAND-M.CUR, the pointing-hand cursor shown over push buttons (our own drawing).

Run from this folder: python3 make_hand_cursor.py. Standard library only.
"""
import struct

# 32 x 32, '#' outline, '.' white fill, ' ' transparent. Hot spot: the fingertip.
ART = """
      ##
     #..#
     #..#
     #..#
     #..#
     #..###
     #..#..###
     #..#..#..##
  ## #..#..#..#.#
 #..##........#.#
 #...#..........#
  #.............#
  #.............#
   #............#
   #...........#
    #..........#
    #.........#
     #........#
     #........#
     ##########
"""
HOT_X, HOT_Y = 7, 1
SIZE = 32


def pixels():
    rows = ART.strip("\n").split("\n")
    grid = [[" "] * SIZE for _ in range(SIZE)]
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            grid[y + 1][x + 1] = ch
    return grid


def cur_bytes():
    grid = pixels()
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        bits = 0
        for x in range(SIZE):
            ch = grid[y][x]
            if ch == "#":
                xor += bytes((0, 0, 0, 255))
            elif ch == ".":
                xor += bytes((255, 255, 255, 255))
            else:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open("HAND-M.CUR", "wb") as out:
        out.write(cur_bytes())
