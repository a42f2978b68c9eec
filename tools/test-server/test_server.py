#!/usr/bin/env python3
"""The web server of the integration and end-to-end tests (Python 3 standard library only).

It listens on 127.0.0.1 only and speaks HTTP from raw sockets, so that it can record each
request exactly as it arrived and answer in ways no well-behaved server would. One request per
connection; every answer closes the connection.

Test endpoints (all under /t/):
  /t/ping                      200 "pong"
  /t/echo...                   200, the body is the raw request: head bytes, then the body
  /t/record/NAME...            200 "recorded", and keeps the raw request under NAME
  /t/recorded/NAME             the last raw request kept under NAME, or 404
  /t/redirect?to=U&status=302  a redirect to U, body "redirect body"
  /t/respond?status=S&h=Name:%20Value&h=...&body=B
                               any status, header lines and body (with Content-Length)
  /t/length?n=N                N bytes of the pattern with Content-Length
  /t/nolength?n=N              N bytes of the pattern without Content-Length, then close
  /t/cut?n=N&send=M            Content-Length N, but M bytes of the pattern, then close
  /t/404                       404 with an HTML page (so does any unknown path)
  /t/bigheaders?n=N            response headers of more than N bytes, body "big headers"
  /t/slow?ms=N                 answers "slow" after N milliseconds
  /t/endless                   a body without end, until the client hangs up
  /t/garbage                   bytes that are not HTTP, then close
  /t/hangup                    closes without answering
The pattern: byte i of a body is i % 251, so bodies hold zero bytes and tests can rebuild them.

Besides those it can serve a site: the demo photo site (--demo), files from a folder (--site),
or pages from a JSON description (--site-json; see load_json_site).

Ports: --port 0 lets the system choose; --port-file receives the port once the server listens.
"""

import argparse
import base64
import json
import os
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

MAX_HEAD = 256 * 1024
CYCLE = bytes(range(251))
REASONS = {200: "OK", 301: "Moved Permanently", 302: "Found", 303: "See Other",
           307: "Temporary Redirect", 404: "Not Found", 500: "Internal Server Error"}
NOT_FOUND_PAGE = ("<html><head><title>404 Not Found</title></head>"
                  "<body><h1>404 Not Found</h1><p>没有这个页面。</p></body></html>").encode("gbk")
CONTENT_TYPES = {".html": "text/html; charset=gbk", ".htm": "text/html; charset=gbk",
                 ".jpg": "image/jpeg", ".jpeg": "image/jpeg", ".png": "image/png",
                 ".gif": "image/gif", ".bmp": "image/bmp", ".txt": "text/plain; charset=gbk"}


def pattern(start, count):
    offset = start % 251
    return (CYCLE * ((offset + count) // 251 + 1))[offset:offset + count]


class Answer:
    """A complete response; length=False leaves out Content-Length."""

    def __init__(self, status, body=b"", headers=(), length=True):
        self.status = status
        self.body = body
        self.headers = list(headers)
        self.length = length

    def head(self):
        lines = ["HTTP/1.1 %d %s" % (self.status, REASONS.get(self.status, "Status"))]
        lines += ["%s: %s" % pair for pair in self.headers]
        if self.length:
            lines.append("Content-Length: %d" % len(self.body))
        lines.append("Connection: close")
        return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


def not_found():
    return Answer(404, NOT_FOUND_PAGE, [("Content-Type", "text/html; charset=gbk")])


class Recorder:
    def __init__(self):
        self.lock = threading.Lock()
        self.requests = {}

    def keep(self, name, raw):
        with self.lock:
            self.requests[name] = raw

    def get(self, name):
        with self.lock:
            return self.requests.get(name)


def read_request(sock):
    """The raw head (through the empty line) and the body, or None when the client sent none."""
    data = b""
    while b"\r\n\r\n" not in data:
        if len(data) > MAX_HEAD:
            return None
        chunk = sock.recv(65536)
        if not chunk:
            return None
        data += chunk
    end = data.index(b"\r\n\r\n") + 4
    head, body = data[:end], data[end:]
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            try:
                length = int(value.strip())
            except ValueError:
                length = 0
    while len(body) < length:
        chunk = sock.recv(65536)
        if not chunk:
            break
        body += chunk
    return head, body


def query_int(query, key, default):
    try:
        return int(query.get(key, [default])[0])
    except ValueError:
        return default


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, site):
        super().__init__(("127.0.0.1", port), Handler)
        self.recorder = Recorder()
        self.site = site  # a function path -> Answer or None, or None


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        try:
            request = read_request(sock)
            if request is None:
                return
            head, body = request
            parts = head.split(b"\r\n", 1)[0].split(b" ")
            target = parts[1].decode("latin-1") if len(parts) > 1 else "/"
            split = urllib.parse.urlsplit(target)
            path = split.path
            query = urllib.parse.parse_qs(split.query, keep_blank_values=True)
            if path.startswith("/t/"):
                self.test_endpoint(sock, path, query, head + body)
                return
            answer = self.server.site(target) if self.server.site else None
            if isinstance(answer, str):  # a site page that misbehaves like a test endpoint
                split = urllib.parse.urlsplit(answer)
                self.test_endpoint(sock, split.path, urllib.parse.parse_qs(split.query), head + body)
                return
            self.send(sock, answer or not_found())
        except (BrokenPipeError, ConnectionResetError, ConnectionAbortedError, socket.timeout):
            pass
        finally:
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    @staticmethod
    def send(sock, answer):
        sock.sendall(answer.head() + answer.body)

    def test_endpoint(self, sock, path, query, raw):
        name = path[len("/t/"):]
        if name == "ping":
            self.send(sock, Answer(200, b"pong"))
        elif name.startswith("echo"):
            self.send(sock, Answer(200, raw, [("Content-Type", "application/octet-stream")]))
        elif name.startswith("record/"):
            self.server.recorder.keep(name[len("record/"):], raw)
            self.send(sock, Answer(200, b"recorded"))
        elif name.startswith("recorded/"):
            kept = self.server.recorder.get(name[len("recorded/"):])
            self.send(sock, not_found() if kept is None else Answer(200, kept))
        elif name == "redirect":
            to = query.get("to", ["/t/ping"])[0]
            self.send(sock, Answer(query_int(query, "status", 302), b"redirect body",
                                   [("Location", to)]))
        elif name == "respond":
            headers = [tuple(s.strip() for s in h.split(":", 1)) for h in query.get("h", [])
                       if ":" in h]
            body = query.get("body", [""])[0].encode("gbk")
            self.send(sock, Answer(query_int(query, "status", 200), body, headers))
        elif name == "length":
            self.send(sock, Answer(200, pattern(0, query_int(query, "n", 0))))
        elif name == "nolength":
            self.send(sock, Answer(200, pattern(0, query_int(query, "n", 0)), length=False))
        elif name == "cut":
            n, sent = query_int(query, "n", 1000), query_int(query, "send", 400)
            sock.sendall(Answer(200, headers=[("Content-Length", str(n))], length=False).head()
                         + pattern(0, sent))
        elif name == "bigheaders":
            n = query_int(query, "n", 6000)
            filler = [("X-Filler-%04d" % i, "x" * 90) for i in range(n // 100 + 1)]
            self.send(sock, Answer(200, b"big headers", filler))
        elif name == "slow":
            time.sleep(query_int(query, "ms", 1000) / 1000.0)
            self.send(sock, Answer(200, b"slow"))
        elif name == "endless":
            sock.sendall(Answer(200, length=False).head())
            block, sent = pattern(0, 251 * 256), 0
            while True:  # until the client hangs up: BrokenPipe ends it
                sock.sendall(block)
                sent += len(block)
        elif name == "garbage":
            sock.sendall(b"\x00\xffthis is not HTTP at all\r\n\xfe\xfe\r\n\r\ngarbage")
        elif name == "hangup":
            pass
        else:
            self.send(sock, not_found())


def folder_site(root):
    root = os.path.realpath(root)

    def answer(target):
        path = urllib.parse.unquote_to_bytes(urllib.parse.urlsplit(target).path)
        full = os.path.realpath(os.path.join(root.encode(), path.lstrip(b"/")))
        if os.path.isdir(full):
            full = os.path.join(full, b"index.html")
        if not full.startswith(root.encode() + b"/") or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            body = f.read()
        kind = CONTENT_TYPES.get(os.path.splitext(full)[1].decode().lower(),
                                 "application/octet-stream")
        return Answer(200, body, [("Content-Type", kind)])

    return answer


def load_json_site(file_name):
    """A JSON object whose keys are request targets (path, with the query when one is sent):
      "/p.html": "text"                               200, the text in GBK, as HTML
      "/p.html": {"status": 404, "text": "...", "encoding": "gbk", "type": "text/html",
                  "headers": ["Name: value"], "file": "picture.jpg", "base64": "..."}
      "/p.html": {"as": "/t/garbage"}                 answered as that test endpoint
    A relative "file" is taken from the JSON file's folder. Unknown targets answer 404."""
    with open(file_name, encoding="utf-8") as f:
        pages = json.load(f)
    folder = os.path.dirname(os.path.abspath(file_name))
    answers = {}
    for target, page in pages.items():
        if isinstance(page, str):
            page = {"text": page}
        if "as" in page:
            answers[target] = page["as"]
            continue
        if "file" in page:
            with open(os.path.join(folder, page["file"]), "rb") as f:
                body = f.read()
            kind = CONTENT_TYPES.get(os.path.splitext(page["file"])[1].lower(),
                                     "application/octet-stream")
        elif "base64" in page:
            body, kind = base64.b64decode(page["base64"]), "application/octet-stream"
        else:
            body = page.get("text", "").encode(page.get("encoding", "gbk"))
            kind = "text/html; charset=" + page.get("encoding", "gbk")
        headers = [("Content-Type", page.get("type", kind))]
        headers += [tuple(s.strip() for s in h.split(":", 1)) for h in page.get("headers", [])]
        answers[target] = Answer(page.get("status", 200), body, headers)
    return lambda target: answers.get(target)


def demo_site(args):
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "demo-site"))
    import demo_site as demo  # noqa: E402

    site = demo.DemoSite(demo.site_options(args))

    def answer(target):
        found = site.answer(target)
        if found is None:
            return None
        status, kind, body = found
        return Answer(status, body, [("Content-Type", kind)])

    return answer


def stop_with_parent(server):
    """Ends the server when the process that started it is gone, so none outlives its test."""
    parent = os.getppid()

    def watch():
        while os.getppid() == parent:
            time.sleep(0.5)
        server.shutdown()

    threading.Thread(target=watch, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--port", type=int, default=0, help="0: any free port")
    parser.add_argument("--port-file", help="receives the port once the server listens")
    parser.add_argument("--site", help="serve the files of this folder")
    parser.add_argument("--site-json", help="serve the pages of this JSON description")
    parser.add_argument("--demo", action="store_true", help="serve the demo photo site")
    parser.add_argument("--pictures", help="demo site: folder of the generated pictures")
    parser.add_argument("--large", action="store_true", help="demo site: the large variant")
    args = parser.parse_args()

    site = None
    if args.site:
        site = folder_site(args.site)
    elif args.site_json:
        site = load_json_site(args.site_json)
    elif args.demo:
        site = demo_site(args)

    server = Server(args.port, site)
    port = server.server_address[1]
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write("%d\n" % port)
        os.replace(args.port_file + ".tmp", args.port_file)
    print("test server: http://127.0.0.1:%d" % port, flush=True)
    stop_with_parent(server)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
