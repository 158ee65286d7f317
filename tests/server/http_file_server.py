#!/usr/bin/env python3
"""A small web host for the download tests.

Serves the files of a directory over HTTP on 127.0.0.1 and can misbehave on
purpose. The first line on standard output is "PORT <number>", so a test that
asked for port 0 learns the port.

Modes (--mode), for every request:
    files      the file under the root, or 404 when there is none
    notfound   404 with a short body
    redirect   301 to /moved/ and the same path, with a short body
    short      the file's Content-Length, then half of its body, then close
    stall      the file's Content-Length and its first byte, then silence
    huge       a Content-Length of 1 GB, then zeros as fast as they go
    hang       the file at once; a missing one gets no answer at all, the
               connection held open
    trickle    the file at once; a missing one gets a Content-Length of 64 KB
               and one byte a second

--log FILE appends "METHOD PATH VERSION" for every request, as it arrives.
--hold FILE keeps every request waiting until FILE exists (at most 20 s).

The server ends by itself when the process that started it is gone, so a
test that crashed leaves no server behind.
"""

import argparse
import http.server
import os
import sys
import threading
import time
import urllib.parse

STALL_SECONDS = 120
HANG_SECONDS = 600
TRICKLE_LENGTH = 64 << 10
HOLD_SECONDS = 20
HUGE_LENGTH = 1 << 30
PARENT_CHECK_SECONDS = 0.5
ZEROS = bytes(65536)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        pass

    def local_file(self):
        path = urllib.parse.unquote_to_bytes(self.path.split("?", 1)[0])
        full = os.path.realpath(os.path.join(self.server.root, os.fsdecode(path.lstrip(b"/"))))
        if not full.startswith(self.server.root + os.sep) or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            return f.read()

    def record(self):
        if self.server.log:
            with open(self.server.log, "a", encoding="latin-1") as f:
                f.write("%s %s %s\n" % (self.command, self.path, self.request_version))

    def wait_for_release(self):
        deadline = time.time() + HOLD_SECONDS
        while self.server.hold and not os.path.exists(self.server.hold) and time.time() < deadline:
            time.sleep(0.01)

    def answer(self, status, body, length=None, headers=()):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()

    def trickle(self):
        self.answer(200, b"", length=TRICKLE_LENGTH)
        try:
            for _ in range(TRICKLE_LENGTH):
                self.wfile.write(b"t")
                self.wfile.flush()
                time.sleep(1)
        except OSError:
            pass

    def do_GET(self):
        self.record()
        self.wait_for_release()
        mode = self.server.mode
        if mode == "notfound":
            return self.answer(404, b"not here\n")
        if mode == "redirect":
            return self.answer(301, b"moved\n", headers=[("Location", "/moved" + self.path)])
        if mode == "huge":
            self.answer(200, b"", length=HUGE_LENGTH)
            try:
                for _ in range(HUGE_LENGTH // len(ZEROS)):
                    self.wfile.write(ZEROS)
            except OSError:
                pass
            return
        body = self.local_file()
        if body is None and mode == "hang":
            time.sleep(HANG_SECONDS)
            return
        if body is None and mode == "trickle":
            return self.trickle()
        if body is None:
            return self.answer(404, b"not here\n")
        if mode == "short":
            return self.answer(200, body[: len(body) // 2], length=len(body))
        if mode == "stall":
            self.answer(200, body[:1], length=len(body))
            time.sleep(STALL_SECONDS)
            return
        self.answer(200, body)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that gave up before the answer (a time-out test) is no
        # fault of the server's.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def end_with_parent():
    parent = os.getppid()
    while os.getppid() == parent:
        time.sleep(PARENT_CHECK_SECONDS)
    os._exit(0)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--mode", default="files",
                        choices=["files", "notfound", "redirect", "short", "stall", "huge", "hang", "trickle"])
    parser.add_argument("--log")
    parser.add_argument("--hold")
    args = parser.parse_args()
    server = Server(("127.0.0.1", args.port), Handler)
    server.root = os.path.realpath(args.root)
    server.mode = args.mode
    server.log = args.log
    server.hold = args.hold
    threading.Thread(target=end_with_parent, daemon=True).start()
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
