#!/usr/bin/env python3
"""A small update server for the Windows tests, on 127.0.0.1 and a free port.

Serves the files below --root; /quit ends the server, and a missing file answers 404.
The chosen port is written to --port-file once the server listens. The tests start it through
Wine and cannot wait for it, so it also ends after --idle seconds without a request.

Besides the files, it answers as a slow, faulty or hostile server would (the first part of
the path decides, so that "/silent/Updates/_updates.txt" is silent as well):
  /silent        accepts and never answers
  /long          announces 5 bytes, sends more and keeps the connection open
  /trickle       sends its body a byte at a time, five a second, without end
  /drip          sends its body a byte every two seconds, without end
  /trickle-head  sends its header a byte at a time, without end
  /huge          announces 2 GB and sends them as fast as it can
  /steady        sends 12 KB in blocks of 1 KB, four blocks a second
  /to-https      redirects to https:// on a port that accepts and never answers
  /hop/N         redirects N times (alternately by full address and relative path), then
                 answers "angekommen"
Each of these (but /hop) keeps its connection until the client leaves; /ended/NAME answers "1"
once the client of the last /NAME has left.
"""

import argparse
import http.server
import os
import select
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
    ended = {}

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
            if path.startswith("/ended/"):
                self.answer(200, b"1" if ended.get(path[len("/ended"):]) else b"0")
                return
            fault = "/" + path.split("/")[1]
            if fault in FAULTS:
                ended[fault] = False
                try:
                    FAULTS[fault](self)
                except OSError:  # the client has left
                    pass
                ended[fault] = not stopping.is_set()
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

        def gone(self, seconds):
            """Waits up to `seconds`; true once the client has closed the connection."""
            readable = select.select([self.connection], [], [], seconds)[0]
            return bool(readable) and not self.connection.recv(1, socket.MSG_PEEK)

        def hold(self):
            while not stopping.is_set() and not self.gone(0.1):
                pass

        def long(self):
            self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more\r\n")
            self.hold()

        def drip(self, start, interval):
            self.wfile.write(start)
            while not stopping.is_set() and not self.gone(interval):
                self.wfile.write(b"x")

        def huge(self):
            self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % (2 << 30))
            while not stopping.is_set():
                self.wfile.write(b"x" * 65536)

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
        "/silent": Handler.hold,
        "/long": Handler.long,
        "/trickle": lambda h: h.drip(b"HTTP/1.0 200 OK\r\n\r\n", 0.2),
        "/drip": lambda h: h.drip(b"HTTP/1.0 200 OK\r\n\r\n", 2),
        "/trickle-head": lambda h: h.drip(b"HTTP/1.0 200 OK\r\nX-Fuell: ", 0.2),
        "/huge": Handler.huge,
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
