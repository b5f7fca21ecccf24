#!/usr/bin/env python3
"""Local web server for the demo and the tests.

Serves the demo pages on 127.0.0.1 only and appends one line per request to
a log file ("GET /login.html", "POST /game.html client=pc") so that tests
can see which requests arrived. A few addresses are made on the fly:

  /status/CODE        answers with that HTTP status and a short page
  /redirect?to=URL    answers 302 with Location URL
  /slow?ms=N          answers a short page after N milliseconds (at most 10 s)
  /fails-once/PAGE    answers 404 the first time each address (query included)
                      is asked for, then serves PAGE: a page that comes back

  demo_server.py [--port N] [--port-file F] [--log F] [--root DIR]
"""
import argparse
import http.server
import os
import sys
import threading
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_ROOT = os.path.normpath(os.path.join(HERE, "..", "..", "resources", "demo-pages"))


FAILS_ONCE = "/fails-once/"


class Handler(http.server.SimpleHTTPRequestHandler):
    log_path = None
    log_lock = threading.Lock()
    failed_once = set()

    def log_message(self, format, *args):  # noqa: A002 - base class name
        pass

    def record(self, body=b""):
        if not self.log_path:
            return
        line = f"{self.command} {self.path}"
        if body:
            line += " " + body.decode("utf-8", "replace")
        with self.log_lock:
            with open(self.log_path, "a", encoding="utf-8") as log:
                log.write(line + "\n")

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def small_page(self, status, title, text):
        body = (f"<html><head><title>{title}</title></head>"
                f"<body><h1>{title}</h1><p>{text}</p></body></html>").encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def dynamic(self):
        parts = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parts.query)
        if parts.path.startswith("/status/"):
            try:
                code = int(parts.path[len("/status/"):])
            except ValueError:
                code = 400
            if not 200 <= code <= 599:
                code = 400
            self.small_page(code, f"Status {code}", "As asked.")
            return True
        if parts.path == "/redirect":
            target = query.get("to", ["/"])[0]
            self.send_response(302)
            self.send_header("Location", target)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return True
        if parts.path.startswith(FAILS_ONCE):
            with self.log_lock:
                first = self.path not in self.failed_once
                self.failed_once.add(self.path)
            if first:
                self.small_page(404, "Status 404", "Not yet.")
                return True
            # Served as the page itself, query kept.
            self.path = "/" + self.path[len(FAILS_ONCE):]
            return False
        if parts.path == "/slow":
            try:
                delay = min(max(int(query.get("ms", ["1000"])[0]), 0), 10000)
            except ValueError:
                delay = 1000
            time.sleep(delay / 1000.0)
            self.small_page(200, "Slow page", f"Served after {delay} ms.")
            return True
        return False

    def do_GET(self):
        self.record()
        if not self.dynamic():
            super().do_GET()

    def do_HEAD(self):
        self.record()
        if not self.dynamic():
            super().do_HEAD()

    def do_POST(self):
        try:
            length = min(int(self.headers.get("Content-Length", "0")), 1 << 20)
        except ValueError:
            length = 0
        body = self.rfile.read(length) if length > 0 else b""
        self.record(body)
        if self.dynamic():
            return
        # A form posted to a page gets the page, as a plain site would answer.
        super().do_GET()


def main():
    parser = argparse.ArgumentParser(description="Serve the demo pages on 127.0.0.1.")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--port-file", help="write the chosen port here once listening")
    parser.add_argument("--log", help="append one line per request here")
    parser.add_argument("--root", default=DEFAULT_ROOT, help="folder of pages to serve")
    args = parser.parse_args()

    Handler.log_path = args.log
    root = os.path.abspath(args.root)
    handler = lambda *a, **k: Handler(*a, directory=root, **k)  # noqa: E731
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w", encoding="ascii") as f:
            f.write(f"{port}\n")
        os.replace(tmp, args.port_file)
    print(f"serving {root} on http://127.0.0.1:{port}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
