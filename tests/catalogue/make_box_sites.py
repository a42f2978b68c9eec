#!/usr/bin/env python3
"""Writes the sites of the picture box tests (JSON for the test server's --site-json) into a
folder: /pic/N.bmp is a 48 x 48 bitmap of one colour of its own. List page 2 starts with a slow
link, which holds the update after the first list page long enough to look at the boxes.
  six.json:   the first list page gives seven pictures, the second two more
  three.json: the first list page gives three pictures, the second three more
  late.json:  the first list page gives nothing, the second six pictures
  faults.json: everything else misbehaves as a broken server would (see fault_site)"""

import base64
import json
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from bitmaps import bitmap, colour  # noqa: E402

SLOW = "/t/slow?ms=4000"


def served(data):
    return {"base64": base64.b64encode(data).decode()}


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
        pages["/pic/%d.bmp" % n] = served(bitmap(colour(n)))
    return pages


def jpeg():
    return subprocess.run(["convert", "-size", "48x48", "xc:rgb(200,30,30)", "-quality", "90",
                           "jpg:-"], check=True, stdout=subprocess.PIPE).stdout


def claiming_60000_pixels_square(kind):
    if kind == "jpeg":
        picture = bytearray(jpeg())
        frame = picture.index(b"\xff\xc0")
        picture[frame + 5:frame + 9] = struct.pack(">HH", 60000, 60000)
        return bytes(picture)
    # GIF: screen and image of 60000 x 60000, a two-colour table, a few bytes of data.
    return (b"GIF89a" + struct.pack("<HHBBB", 60000, 60000, 0x80, 0, 0) + b"\0\0\0\xff\xff\xff" +
            b"\x2c" + struct.pack("<HHHHB", 0, 0, 60000, 60000, 0) + b"\x02\x02\x44\x01\0\x3b")


def fault_site():
    """List page 1 links detail pages that break off, stall, answer garbage or never end, and one
    good page, whose first six pictures are a truncated JPEG, a GIF and a JPEG claiming 60000 x
    60000 pixels, server faults, and one good bitmap (entry 2). List page 2 stalls for 4 s (the
    boxes are looked at meanwhile); the other list pages break in the same ways or are missing."""
    faults = ["/t/cut?n=50000&send=300", "/t/garbage", "/t/hangup", "/t/endless",
              "/t/slow?ms=2000"]
    pictures = ["/p/cut.jpg", "/p/huge.gif", "/pic/2.bmp", "/p/huge.jpg", "/t/garbage",
                "/t/cut?n=50000&send=300", "/t/hangup"]
    whole = jpeg()
    pages = {"/nvshengzhenrenxiu/list_60_1.html": list_page(faults + ["/d/good.html"]),
             "/nvshengzhenrenxiu/list_60_2.html": {"as": "/t/slow?ms=4000"},
             "/nvshengzhenrenxiu/list_60_3.html": {"as": "/t/garbage"},
             "/nvshengzhenrenxiu/list_60_4.html": {"as": "/t/cut?n=50000&send=3000"},
             "/nvshengzhenrenxiu/list_60_5.html": {"as": "/t/endless"},
             "/nvshengzhenrenxiu/list_60_6.html": {"as": "/t/hangup"},
             "/d/good.html": ('<html><body><div style="text-align: center">\n' +
                              "".join('<img src="%s">\n' % p for p in pictures) +
                              "\t\t\t\t\t\t</div></body></html>"),
             "/pic/2.bmp": served(bitmap(colour(2))),
             "/p/cut.jpg": served(whole[:len(whole) // 2]),
             "/p/huge.gif": served(claiming_60000_pixels_square("gif")),
             "/p/huge.jpg": served(claiming_60000_pixels_square("jpeg"))}
    return pages


def main(folder):
    os.makedirs(folder, exist_ok=True)
    sites = {"six": site(range(0, 7), range(7, 9)), "three": site(range(0, 3), range(3, 6)),
             "late": site([], range(0, 6)), "faults": fault_site()}
    for name, pages in sites.items():
        with open(os.path.join(folder, name + ".json"), "w", encoding="utf-8") as f:
            json.dump(pages, f, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
