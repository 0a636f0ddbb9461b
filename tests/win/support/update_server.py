#!/usr/bin/env python3
"""A small update server for the Windows tests, on 127.0.0.1 and a free port.

Serves the files below --root; /quit ends the server, and a missing file answers 404.
The chosen port is written to --port-file once the server listens. The tests start it through
Wine and cannot wait for it, so it also ends after --idle seconds without a request.

Besides the files, it answers as a slow, faulty or hostile server would (the first part of
the path decides, so that "/silent/Updates/_updates.txt" is silent as well):
  /silent        accepts and never answers
  /long          announces 5 bytes, sends more and keeps the connection open
  /trickle       sends its body a byte at a time, without end
  /trickle-head  sends its header a byte at a time, without end
  /steady        sends 12 KB in blocks of 1 KB, four blocks a second
  /to-https      redirects to https:// on a port that accepts and never answers
  /hop/N         redirects N times (alternately by full address and relative path), then
                 answers "angekommen"
"""

import argparse
import http.server
import os
import socket
import threading
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--idle", type=float, default=120)
    args = parser.parse_args()
    root = os.path.realpath(args.root)
    idle = threading.Event()
    stopping = threading.Event()

    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, *unused):
            pass

        def do_GET(self):
            idle.set()
            path = self.path.split("?", 1)[0]
            if path == "/quit":
                self.answer(200, b"bye")
                stopping.set()
                threading.Thread(target=server.shutdown).start()
                return
            fault = "/" + path.split("/")[1]
            if fault in FAULTS:
                FAULTS[fault](self)
                return
            if path.startswith("/hop/"):
                self.hop(int(path[len("/hop/"):]))
                return
            local = os.path.realpath(os.path.join(root, path.lstrip("/")))
            if not local.startswith(root + os.sep) or not os.path.isfile(local):
                self.answer(404, b"not found")
                return
            with open(local, "rb") as f:
                body = f.read()
            self.answer(200, body)

        def answer(self, status, body, headers=()):
            self.send_response(status)
            for name, value in headers:
                self.send_header(name, value)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def hop(self, left):
            if left == 0:
                self.answer(200, b"angekommen")
                return
            port = server.server_address[1]
            to = "http://127.0.0.1:%d/hop/%d" % (port, left - 1) if left % 2 else str(left - 1)
            self.answer(302, b"", [("Location", to)])

        def silent(self):
            stopping.wait()

        def long(self):
            self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more\r\n")
            stopping.wait()

        def drip(self, start):
            try:
                self.wfile.write(start)
                while not stopping.is_set():
                    self.wfile.write(b"x")
                    time.sleep(0.2)
            except OSError:  # the client has given up
                pass

        def steady(self):
            self.send_response(200)
            self.send_header("Content-Length", str(12 * 1024))
            self.end_headers()
            for _ in range(12):
                self.wfile.write(b"x" * 1024)
                time.sleep(0.25)

        def to_https(self):
            port = mute.getsockname()[1]
            self.answer(302, b"", [("Location", "https://127.0.0.1:%d/hop/0" % port)])

    FAULTS = {
        "/silent": Handler.silent,
        "/long": Handler.long,
        "/trickle": lambda h: h.drip(b"HTTP/1.0 200 OK\r\n\r\n"),
        "/trickle-head": lambda h: h.drip(b"HTTP/1.0 200 OK\r\nX-Fuell: "),
        "/steady": Handler.steady,
        "/to-https": Handler.to_https,
    }

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    # Takes connections and keeps them, without a word (a TLS handshake waits in vain).
    mute = socket.create_server(("127.0.0.1", 0))
    held = []
    threading.Thread(target=lambda: held.extend(iter(mute.accept, None)), daemon=True).start()

    def watch_idle():
        while idle.wait(args.idle):
            idle.clear()
        stopping.set()
        server.shutdown()

    threading.Thread(target=watch_idle, daemon=True).start()
    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(temporary, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
