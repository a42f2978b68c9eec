#!/usr/bin/env python3
"""Writes the six pictures of the page load benchmark into a folder for the test server's
--site: pic/1.jpg .. pic/6.jpg, each about 100 KB, made with ImageMagick: 440 x 330 pixels of
fixed-seed colour noise (so that they do not compress to nothing) with an 80 x 80 block of a
colour of its own at the top-left, where the boxes show it.
    make_page_jpegs.py FOLDER"""
import os
import subprocess
import sys

COLOURS = ["rgb(200,40,40)", "rgb(40,160,60)", "rgb(40,60,200)", "rgb(220,200,40)",
           "rgb(200,40,200)", "rgb(40,190,200)"]


def main(folder):
    pictures = os.path.join(folder, "pic")
    os.makedirs(pictures, exist_ok=True)
    for number, colour in enumerate(COLOURS, start=1):
        path = os.path.join(pictures, "%d.jpg" % number)
        subprocess.run(["convert", "-seed", str(number), "-size", "440x330", "xc:white",
                        "+noise", "Random", "-fill", colour, "-draw", "rectangle 0,0 79,79",
                        "-type", "TrueColor", "-quality", "85", path], check=True)
        print("%s %d bytes" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main(sys.argv[1])
