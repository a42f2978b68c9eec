#!/usr/bin/env python3
"""The test web server's JSON-described site, which end-to-end tests build their sites from
(run through with-server --site-json fixtures/site.json)."""

import http.client
import os
import unittest
import urllib.error
import urllib.request

SERVER = os.environ["PICORA_TEST_SERVER"]


def get(path):
    try:
        with urllib.request.urlopen(SERVER + path, timeout=30) as answer:
            return answer.status, answer.headers, answer.read()
    except urllib.error.HTTPError as error:
        return error.code, error.headers, error.read()


class JsonSite(unittest.TestCase):
    def test_pages_as_described(self):
        status, headers, body = get("/list.html")
        self.assertEqual((status, body), (200, '<a class="img" href="/d/1.html">图</a>'.encode("gbk")))
        self.assertEqual(headers["Content-Type"], "text/html; charset=gbk")
        status, headers, _ = get("/d/1.html")
        self.assertEqual(headers["X-Site"], "fixture")
        self.assertEqual(get("/p.bin")[2], b"\xff\xd8\xff\x00\x01")
        status, _, body = get("/gone.html")
        self.assertEqual((status, body), (404, "<html>没有</html>".encode("gbk")))
        status, headers, body = get("/pa?p=2:1:41")  # the query is part of the key
        self.assertEqual((status, headers["Content-Type"]), (200, "image/gif"))
        self.assertTrue(body.startswith(b"{"))

    def test_a_page_can_misbehave_as_a_test_endpoint(self):
        with urllib.request.urlopen(SERVER + "/cut.html", timeout=30) as answer:
            self.assertEqual(answer.headers["Content-Length"], "1000")
            with self.assertRaises(http.client.IncompleteRead):
                answer.read()

    def test_unknown_path_is_404_and_test_endpoints_stay(self):
        self.assertEqual(get("/pa?p=2:2:41")[0], 404)
        self.assertEqual(get("/t/ping")[2], b"pong")


if __name__ == "__main__":
    unittest.main()
