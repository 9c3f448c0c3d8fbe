#!/usr/bin/env python3
"""Writes HandPointer.cur: the hand pointer shown over links and the quit
button. A hand with the index finger up, 32x32 pixels in black and white,
its hot spot (6, 1) at the fingertip.

Usage: resources/hand_pointer.py [OUTPUT]   (default: resources/HandPointer.cur)
"""
import os
import struct
import sys

# '#' black, '.' white, anything else transparent.
HAND = [
    "",
    "     ###",
    "    #...#",
    "    #...#",
    "    #...#",
    "    #...#",
    "    #...####",
    "    #...#...####",
    "    #...#...#...###",
    "    #...#...#...#..#",
    " ## #...#...#...#..#",
    "#..##..............#",
    "#...#..............#",
    "#....#.............#",
    " #.................#",
    " #.................#",
    "  #...............#",
    "  #...............#",
    "   #.............#",
    "   #.............#",
    "    #...........#",
    "    #...........#",
    "    #############",
]
SIZE = 32
HOT_SPOT = (6, 1)


def mask_rows(is_set):
    """Bottom-up rows of one bit per pixel, most significant bit leftmost."""
    rows = []
    for y in reversed(range(SIZE)):
        line = HAND[y] if y < len(HAND) else ""
        bits = 0
        for x in range(SIZE):
            pixel = line[x] if x < len(line) else " "
            if is_set(pixel):
                bits |= 1 << (SIZE - 1 - x)
        rows.append(struct.pack(">I", bits))
    return b"".join(rows)


def cursor_bytes():
    colour = mask_rows(lambda p: p == ".")  # palette index 1 (white)
    transparent = mask_rows(lambda p: p not in "#.")
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0,
                         len(colour) + len(transparent), 0, 0, 2, 0)
    image = header + palette + colour + transparent
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    assert HAND[HOT_SPOT[1]][HOT_SPOT[0]] == "#", "the hot spot must be on the fingertip"
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "HandPointer.cur")
    output = sys.argv[1] if len(sys.argv) > 1 else default
    with open(output, "wb") as f:
        f.write(cursor_bytes())
