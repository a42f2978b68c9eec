#!/usr/bin/env python3
"""Writes the site of the paging tests into a folder for the test server's --site: pic/0.bmp
to pic/19.bmp, each a 48 x 48 bitmap of one colour of its own."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from bitmaps import bitmap, colour  # noqa: E402

COUNT = 20


def main(folder):
    pictures = os.path.join(folder, "pic")
    os.makedirs(pictures, exist_ok=True)
    for n in range(COUNT):
        with open(os.path.join(pictures, "%d.bmp" % n), "wb") as f:
            f.write(bitmap(colour(n)))


if __name__ == "__main__":
    main(sys.argv[1])
