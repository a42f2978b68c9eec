#!/usr/bin/env python3
"""Writes a large site in the demo site's page structure as a JSON description for the test
server (--site-json), and the addresses of its pages one per line for the curl baseline:
    make_large_site.py OUT.json OUT-addresses.txt [--pictures]
Seven list pages of 45 detail pages each (315), each detail page with 20 picture paths of which
every third repeats a path of an earlier page: 6,300 paths, a third of them repeats. With
--pictures every picture path answers with an 8 x 8 bitmap of one colour of its own."""
import base64
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                "demo-site"))
import demo_site as demo  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "harness"))
from bitmaps import bitmap, colour  # noqa: E402

DETAILS_PER_PAGE, PATHS_PER_DETAIL = 45, 20


class LargeLayout:
    def __init__(self):
        self.list_links, self.detail_pictures = {}, {}
        detail, number = 0, 0
        for page in range(1, demo.LIST_PAGES + 1):
            self.list_links[page] = []
            for _ in range(DETAILS_PER_PAGE):
                detail += 1
                paths = []
                for slot in range(PATHS_PER_DETAIL):
                    if slot % 3 == 2 and number > 0:
                        paths.append(demo.picture_path(1 + (detail * 7919 + slot * 31) % number))
                    else:
                        number += 1
                        paths.append(demo.picture_path(number))
                self.detail_pictures[detail] = paths
                self.list_links[page].append(detail)
        self.picture_count = number


def main():
    site_file, addresses_file = sys.argv[1], sys.argv[2]
    layout = LargeLayout()
    pages = {}
    for page in layout.list_links:
        pages["/nvshengzhenrenxiu/list_60_%d.html" % page] = demo.list_page(layout, page)
    for detail in layout.detail_pictures:
        pages[demo.detail_path(detail)] = demo.detail_page(layout, detail)
    with open(addresses_file, "w") as f:
        f.write("".join(target + "\n" for target in pages))
    if "--pictures" in sys.argv[3:]:
        for number in range(1, layout.picture_count + 1):
            picture = bitmap(colour(number), size=8)
            pages[demo.picture_path(number)] = {"base64": base64.b64encode(picture).decode()}
    with open(site_file, "w", encoding="utf-8") as f:
        json.dump(pages, f, ensure_ascii=False)
    paths = sum(len(p) for p in layout.detail_pictures.values())
    unique = len(set(p for ps in layout.detail_pictures.values() for p in ps))
    print("%d list pages, %d detail pages, %d paths, %d distinct" %
          (len(layout.list_links), len(layout.detail_pictures), paths, unique))


if __name__ == "__main__":
    main()
