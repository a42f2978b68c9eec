#!/usr/bin/env python3
"""Walks the demo photo site the way the catalogue update reads it (run through with-server
--demo): the markers are where the update looks for them, and every path answers as the site
promises."""

import os
import sys
import unittest
import urllib.error
import urllib.request

SERVER = os.environ.get("PICORA_TEST_SERVER", "")
LINK_START = '<a class="img" href="'.encode("gbk")
LINK_END = '<div class="pagination"><a>首页</a>'.encode("gbk")
PICTURE_START = b'<div style="text-align: center">'
PICTURE_END = b"\t\t\t\t\t\t</div>"


def get(path):
    try:
        with urllib.request.urlopen(SERVER + path, timeout=30) as answer:
            return answer.status, answer.headers.get("Content-Type"), answer.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers.get("Content-Type"), error.read()


def between_all(region, left, right):
    found, at = [], 0
    while True:
        start = region.find(left, at)
        if start < 0:
            return found
        start += len(left)
        end = region.find(right, start)
        if end < 0:
            return found
        found.append(region[start:end].decode("gbk"))
        at = end + len(right)


def section(page, start, end, keep_start):
    at = page.lower().find(start.lower())
    if at < 0:
        return b""
    stop = page.lower().find(end.lower(), at + len(start))
    return page[at if keep_start else at + len(start):stop if stop >= 0 else len(page)]


class DemoSite(unittest.TestCase):
    def catalogue(self):
        paths, links_seen = [], []
        for n in range(1, 8):
            status, kind, page = get("/nvshengzhenrenxiu/list_60_%d.html" % n)
            self.assertEqual(status, 200)
            self.assertIn("gb2312", kind)
            page.decode("gbk")  # the whole page is GBK
            links = between_all(section(page, LINK_START, LINK_END, True), b'href="', b'"')
            self.assertTrue(links, n)
            links_seen += links
            for link in links:
                if ".php" in link:
                    continue
                status, _, detail = get(link)
                self.assertEqual(status, 200, link)
                paths += between_all(section(detail, PICTURE_START, PICTURE_END, False),
                                     b'src="', b'"')
        return paths, links_seen

    def test_catalogue_has_repeats_skipped_links_and_odd_pictures(self):
        paths, links = self.catalogue()
        self.assertTrue(any(".php" in link for link in links))
        self.assertGreater(len(paths), len(set(paths)))  # repeats for the de-duplication
        self.assertGreaterEqual(len(set(paths)), 30)
        self.assertNotIn("/images/ad.jpg", paths)  # outside the picture region
        self.assertEqual(paths[:6], ["/uploads/allimg/1512/%d.jpg" % n for n in range(1, 7)])
        self.assertIn("/uploads/allimg/1512/missing.jpg", paths)
        self.assertIn("/uploads/allimg/1512/7.png", paths)

    def test_pictures(self):
        status, kind, body = get("/uploads/allimg/1512/3.jpg")
        self.assertEqual((status, kind, body[:2]), (200, "image/jpeg", b"\xff\xd8"))
        status, kind, body = get("/uploads/allimg/1512/7.png")
        self.assertEqual((status, kind, body[:4]), (200, "image/png", b"\x89PNG"))
        status, kind, body = get("/uploads/allimg/1512/missing.jpg")
        self.assertEqual(status, 404)
        self.assertIn(b"<html>", body)
        self.assertEqual(get("/uploads/allimg/1512/7.jpg")[0], 404)

    def test_badge_is_animated_gif(self):
        status, kind, body = get("/pa?p=2:10000:41")
        self.assertEqual((status, kind, body[:6]), (200, "image/gif", b"GIF89a"))
        self.assertGreaterEqual(body.count(b"\x21\xf9\x04"), 2)  # two frames with delays
        self.assertEqual(get("/pa?p=1:10000:41")[0], 404)


if __name__ == "__main__":
    if not SERVER:
        sys.exit("run through tests/harness/with-server --demo")
    unittest.main()
