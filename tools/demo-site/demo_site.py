#!/usr/bin/env python3
"""The demo photo site: what Picora reads, served on 127.0.0.1 (Python 3 standard library).

    demo_site.py [PORT] [--pictures DIR] [--large] [--prepare]

Seven list pages at /nvshengzhenrenxiu/list_60_N.html link to detail pages; each detail page
lists its pictures between the picture-region marker and six tabs plus "</div>". Pages are in
GBK. Pictures are JPEGs made with ImageMagick, each showing its own number (the number in its
path), made on first request and kept in the pictures folder, so they are made once per build
tree. On purpose the site also has:
  - pictures that repeat across detail pages, and one detail page linked from two list pages;
  - ".php" links inside the link region (to be skipped);
  - one picture path that answers 404 with an HTML page (/uploads/allimg/1512/missing.jpg);
  - one PNG picture (/uploads/allimg/1512/7.png);
  - pictures outside the picture region (not part of the catalogue).
The badge is an animated GIF at /pa?p=2:ACCOUNT:41. --large makes a site of thousands of
pictures for benchmarks. / lists the pages, so curl can walk the site from there.
"""

import argparse
import colorsys
import http.server
import os
import re
import subprocess
import sys
import threading
import urllib.parse

LIST_PAGES = 7
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
LINK_REGION_START = '<a class="img" href="'
LINK_REGION_END = '<div class="pagination"><a>首页</a>'
PICTURE_REGION_START = '<div style="text-align: center">'
PICTURE_REGION_END = "\t\t\t\t\t\t</div>"
MISSING_PICTURE = "/uploads/allimg/1512/missing.jpg"
PNG_NUMBER = 7
HTML = "text/html; charset=gb2312"
NOT_FOUND_PAGE = ("<html><head><meta charset=\"gb2312\"><title>404 Not Found</title></head>"
                  "<body><h1>404 Not Found</h1><p>找不到这个文件。</p></body></html>")
DEFAULT_PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "build", "demo-pictures")


def site_options(args):
    return {"pictures": args.pictures or DEFAULT_PICTURES, "large": args.large}


def picture_path(number):
    extension = "png" if number == PNG_NUMBER else "jpg"
    return "/uploads/allimg/1512/%d.%s" % (number, extension)


def detail_path(detail):
    return "/nvshengzhenrenxiu/%d.html" % (1000 + detail)


class Layout:
    """Which detail pages each list page links and which pictures each detail page shows."""

    def __init__(self, large):
        details_per_page, pictures_per_detail = (40, 15) if large else (3, 5)
        self.list_links = {}  # list page number -> detail numbers
        self.detail_pictures = {}  # detail number -> picture paths
        detail, number = 0, 0
        for page in range(1, LIST_PAGES + 1):
            links = []
            for _ in range(details_per_page):
                detail += 1
                pictures = []
                for _ in range(pictures_per_detail):
                    number += 1
                    pictures.append(picture_path(number))
                # Each detail page after the first ends with the previous one's first picture.
                if detail > 1:
                    pictures.append(self.detail_pictures[detail - 1][0])
                self.detail_pictures[detail] = pictures
                links.append(detail)
            self.list_links[page] = links
        self.detail_pictures[2].insert(2, MISSING_PICTURE)
        # The second list page links the first page's first detail page again.
        self.list_links[2].insert(1, 1)
        self.picture_count = number


def list_page(layout, page):
    items = []
    for detail in layout.list_links[page]:
        first = layout.detail_pictures[detail][0]
        items.append(
            '<li>%s%s"><img src="%s" alt="美女写真 %d" /></a>\n'
            '<p>美女写真 %d <a href="/plus/count.php?aid=%d">评论</a></p></li>'
            % (LINK_REGION_START, detail_path(detail), first, detail, detail, 1000 + detail))
    pages = "".join('<a href="list_60_%d.html">%d</a>' % (n, n) for n in range(1, LIST_PAGES + 1))
    return (
        '<!DOCTYPE html>\n<html><head><meta charset="gb2312" />'
        "<title>女生真人秀 第%d页 - 演示图站</title></head>\n<body>\n"
        '<div class="nav"><a href="/">首页</a> <a href="/nvshengzhenrenxiu/list_60_1.html">'
        "女生真人秀</a></div>\n<h1>女生真人秀 第%d页</h1>\n<ul class=\"list\">\n%s\n</ul>\n"
        "%s%s<a href=\"list_60_%d.html\">下一页</a></div>\n</body></html>\n"
        % (page, page, "\n".join(items), LINK_REGION_END, pages, min(page + 1, LIST_PAGES)))


def detail_page(layout, detail):
    pictures = "".join('\t\t\t\t\t\t\t<p><img alt="美女写真 %d" src="%s" /></p>\n' % (detail, path)
                       for path in layout.detail_pictures[detail])
    return (
        '<!DOCTYPE html>\n<html><head><meta charset="gb2312" />'
        "<title>美女写真 %d - 演示图站</title></head>\n<body>\n"
        '<div class="logo"><img src="/images/logo.jpg" /></div>\n<h1>美女写真 %d</h1>\n'
        "\t\t\t\t\t\t%s\n%s%s\n<div class=\"ad\"><img src=\"/images/ad.jpg\" /></div>\n"
        "</body></html>\n"
        % (detail, detail, PICTURE_REGION_START, pictures, PICTURE_REGION_END))


def index_page(layout):
    lists = "".join('<li><a href="/nvshengzhenrenxiu/list_60_%d.html">第%d页</a></li>\n' % (n, n)
                    for n in range(1, LIST_PAGES + 1))
    return ("<html><head><meta charset=\"gb2312\" /><title>演示图站</title></head><body>\n"
            "<h1>演示图站</h1><p>%d 张图片。</p>\n<ul>\n%s</ul>\n</body></html>\n"
            % (layout.picture_count, lists))


class Pictures:
    """Pictures made with ImageMagick on first request and kept in a folder."""

    def __init__(self, folder):
        self.folder = folder
        self.lock = threading.Lock()

    def _make(self, file_name, arguments):
        path = os.path.join(self.folder, file_name)
        with self.lock:
            if not os.path.exists(path):
                os.makedirs(self.folder, exist_ok=True)
                partial = path + ".partial." + file_name.rsplit(".", 1)[1]
                subprocess.run(["convert"] + arguments + [partial], check=True,
                               stdout=subprocess.DEVNULL)
                os.replace(partial, path)
        with open(path, "rb") as f:
            return f.read()

    def picture(self, number, extension):
        red, green, blue = colorsys.hls_to_rgb((number * 0.137) % 1.0, 0.4, 0.6)
        colour = "rgb(%d,%d,%d)" % (red * 255, green * 255, blue * 255)
        # The boxes show a picture's top-left corner at natural size: the number stands there.
        return self._make("p%d.%s" % (number, extension), [
            "-size", "300x400", "xc:" + colour, "-fill", "white", "-font", FONT,
            "-gravity", "northwest", "-pointsize", "72", "-annotate", "+10+0", str(number),
            "-pointsize", "20", "-annotate", "+12+100", "演示图片 %d" % number,
            "-quality", "85", "-depth", "8"])

    def badge(self, account):
        def frame(background, colour, text):
            return ["(", "-size", "74x22", "xc:" + background, "-fill", colour, "-font", FONT,
                    "-pointsize", "12", "-gravity", "center", "-annotate", "+0+0", text, ")"]

        return self._make("badge-%s.gif" % account,
                          ["-delay", "60", "-loop", "0"]
                          + frame("#12b7f5", "white", "QQ在线")
                          + frame("white", "#12b7f5", account[:10]))


class DemoSite:
    def __init__(self, options):
        self.layout = Layout(options["large"])
        self.pictures = Pictures(options["pictures"])

    def answer(self, target):
        """(status, content type, body) for a request target; None for an unknown path."""
        split = urllib.parse.urlsplit(target)
        path = split.path
        if path in ("/", "/index.html"):
            return 200, HTML, index_page(self.layout).encode("gbk")
        match = re.fullmatch(r"/nvshengzhenrenxiu/list_60_(\d+)\.html", path)
        if match and int(match.group(1)) in self.layout.list_links:
            return 200, HTML, list_page(self.layout, int(match.group(1))).encode("gbk")
        match = re.fullmatch(r"/nvshengzhenrenxiu/(\d+)\.html", path)
        if match and int(match.group(1)) - 1000 in self.layout.detail_pictures:
            detail = int(match.group(1)) - 1000
            return 200, HTML, detail_page(self.layout, detail).encode("gbk")
        match = re.fullmatch(r"/uploads/allimg/1512/(\d+)\.(jpg|png)", path)
        if match:
            number, extension = int(match.group(1)), match.group(2)
            if picture_path(number) == path and 1 <= number <= self.layout.picture_count:
                kind = "image/png" if extension == "png" else "image/jpeg"
                return 200, kind, self.pictures.picture(number, extension)
        if path == "/pa":
            fields = urllib.parse.parse_qs(split.query).get("p", [""])[0].split(":")
            if len(fields) == 3 and fields[0] == "2" and fields[1].isdigit() and fields[2] == "41":
                return 200, "image/gif", self.pictures.badge(fields[1])
        return None

    def prepare(self):
        for number in range(1, self.layout.picture_count + 1):
            self.answer(picture_path(number))


def not_found():
    return 404, HTML, NOT_FOUND_PAGE.encode("gbk")


def serve(site, port):
    class Handler(http.server.BaseHTTPRequestHandler):
        def respond(self, with_body):
            status, kind, body = site.answer(self.path) or not_found()
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if with_body:
                self.wfile.write(body)

        def do_GET(self):
            self.respond(True)

        def do_HEAD(self):
            self.respond(False)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
    print("demo site: http://127.0.0.1:%d/" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("port", type=int, nargs="?", default=8020)
    parser.add_argument("--pictures", help="folder that keeps the made pictures "
                        "(default: build/demo-pictures)")
    parser.add_argument("--large", action="store_true",
                        help="thousands of pictures, for benchmarks")
    parser.add_argument("--prepare", action="store_true",
                        help="make every picture now, then end")
    args = parser.parse_args()
    site = DemoSite(site_options(args))
    if args.prepare:
        site.prepare()
        return
    serve(site, args.port)


if __name__ == "__main__":
    sys.exit(main())
