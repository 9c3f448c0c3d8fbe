#!/usr/bin/env python3
"""Writes QuitButton.bmp: the picture of the custom movie window's quit
button, 35x16 pixels in 24-bit colour. A one-pixel white frame around a
black field with the word Quit in white, its edges smoothed with greys (each
pixel's grey is the share of 8x8 sample points the letters cover).

Usage: resources/quit_button.py [OUTPUT]   (default: resources/QuitButton.bmp)
"""
import os
import struct
import sys

WIDTH, HEIGHT = 35, 16
SAMPLES = 8
SHIFT_X = 1.0  # centres the word in the field


def in_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def in_ring(x, y, cx, cy, outer, inner):
    return in_ellipse(x, y, cx, cy, *outer) and not in_ellipse(x, y, cx, cy, *inner)


def in_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def near_segment(x, y, x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    px, py = x0 + t * dx - x, y0 + t * dy - y
    return px * px + py * py <= half_width * half_width


def in_letters(x, y):
    """The word Quit, in pixel coordinates (the baseline at y = 12.4)."""
    x -= SHIFT_X
    q = in_ring(x, y, 7.6, 7.7, (4.1, 4.6), (2.6, 3.1)) or near_segment(x, y, 8.4, 9.4, 11.6, 13.2, 0.75)
    u = (in_rect(x, y, 13.6, 6.0, 15.1, 10.4) or in_rect(x, y, 17.9, 6.0, 19.4, 12.4)
         or (y >= 10.4 and in_ring(x, y, 16.5, 10.4, (2.9, 2.0), (1.4, 0.6))))
    i = in_rect(x, y, 21.2, 6.0, 22.7, 12.4) or in_rect(x, y, 21.2, 3.3, 22.7, 4.8)
    t = (in_rect(x, y, 25.0, 3.8, 26.5, 11.0) or in_rect(x, y, 23.8, 6.0, 28.2, 7.3)
         or (y >= 10.0 and x >= 25.0 and in_ring(x, y, 27.0, 10.0, (2.0, 2.4), (0.5, 0.9))))
    return q or u or i or t


def grey_at(px, py):
    if px in (0, WIDTH - 1) or py in (0, HEIGHT - 1):
        return 255  # the frame
    covered = sum(in_letters(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                  for sy in range(SAMPLES) for sx in range(SAMPLES))
    return round(255 * covered / (SAMPLES * SAMPLES))


def picture():
    return [[grey_at(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]


def bitmap_bytes(rows):
    """A 24-bit BMP file: rows bottom-up, blue-green-red, padded to 4 bytes."""
    stride = (WIDTH * 3 + 3) & ~3
    pixels = b"".join(
        b"".join(bytes([g, g, g]) for g in row) + bytes(stride - WIDTH * 3) for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    rows = picture()
    if "--show" in sys.argv:
        for row in rows:
            print("".join(" .:-=+*#%@"[min(9, g * 10 // 256)] for g in row))
        sys.exit(0)
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "QuitButton.bmp")
    output = sys.argv[1] if len(sys.argv) > 1 else default
    with open(output, "wb") as f:
        f.write(bitmap_bytes(rows))
