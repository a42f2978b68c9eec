#!/usr/bin/env python3
"""Writes the site of the paging tests into a folder for the test server's --site: pic/0.bmp
to pic/19.bmp, each a 48 x 48 bitmap of one colour of its own."""

import os
import struct
import sys

SIZE = 48
COUNT = 20


def colour(n):
    # Far from each other and from the greys of the window.
    return ((37 + 61 * n) % 256, (200 + 97 * n) % 256, (90 + 151 * n) % 256)


def bitmap(rgb):
    stride = (SIZE * 3 + 3) // 4 * 4
    row = bytes((rgb[2], rgb[1], rgb[0])) * SIZE + b"\0" * (stride - SIZE * 3)
    pixels = row * SIZE
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def main(folder):
    pictures = os.path.join(folder, "pic")
    os.makedirs(pictures, exist_ok=True)
    for n in range(COUNT):
        with open(os.path.join(pictures, "%d.bmp" % n), "wb") as f:
            f.write(bitmap(colour(n)))


if __name__ == "__main__":
    main(sys.argv[1])
