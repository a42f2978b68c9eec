#!/usr/bin/env python3
"""Writes the sites of the picture box tests (JSON for the test server's --site-json) into a
folder: /pic/N.bmp is a 48 x 48 bitmap of one colour of its own. List page 2 starts with a slow
link, which holds the update after the first list page long enough to look at the boxes.
  six.json:   the first list page gives seven pictures, the second two more
  three.json: the first list page gives three pictures, the second three more
  late.json:  the first list page gives nothing, the second six pictures"""

import base64
import json
import os
import struct
import sys

SIZE = 48
SLOW = "/t/slow?ms=4000"


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


def list_page(links):
    return ('<html><body>' + "".join('<a class="img" href="%s">x</a>\n' % l for l in links) +
            '<div class="pagination"><a>首页</a></div></body></html>')


def detail_page(numbers):
    return ('<html><body><div style="text-align: center">\n' +
            "".join('<img src="/pic/%d.bmp">\n' % n for n in numbers) +
            "\t\t\t\t\t\t</div></body></html>")


def site(first, second):
    pages = {"/nvshengzhenrenxiu/list_60_1.html": list_page(["/d/1.html"] if first else []),
             "/nvshengzhenrenxiu/list_60_2.html": list_page([SLOW, "/d/2.html"]),
             "/d/1.html": detail_page(first), "/d/2.html": detail_page(second)}
    for n in list(first) + list(second):
        pages["/pic/%d.bmp" % n] = {"base64": base64.b64encode(bitmap(colour(n))).decode()}
    return pages


def main(folder):
    os.makedirs(folder, exist_ok=True)
    sites = {"six": site(range(0, 7), range(7, 9)), "three": site(range(0, 3), range(3, 6)),
             "late": site([], range(0, 6))}
    for name, pages in sites.items():
        with open(os.path.join(folder, name + ".json"), "w", encoding="utf-8") as f:
            json.dump(pages, f, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
