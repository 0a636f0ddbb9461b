#!/usr/bin/env python3
"""A small update server for the Windows tests, on 127.0.0.1 and a free port.

Serves the files below --root; /quit ends the server, and a missing file answers 404.
The chosen port is written to --port-file once the server listens. The tests start it through
Wine and cannot wait for it, so it also ends after --idle seconds without a request.
"""

import argparse
import http.server
import os
import threading


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--idle", type=float, default=120)
    args = parser.parse_args()
    root = os.path.realpath(args.root)
    idle = threading.Event()

    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, *unused):
            pass

        def do_GET(self):
            idle.set()
            path = self.path.split("?", 1)[0]
            if path == "/quit":
                self.answer(200, b"bye")
                threading.Thread(target=server.shutdown).start()
                return
            local = os.path.realpath(os.path.join(root, path.lstrip("/")))
            if not local.startswith(root + os.sep) or not os.path.isfile(local):
                self.answer(404, b"not found")
                return
            with open(local, "rb") as f:
                body = f.read()
            self.answer(200, body)

        def answer(self, status, body):
            self.send_response(status)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)

    def watch_idle():
        while idle.wait(args.idle):
            idle.clear()
        server.shutdown()

    threading.Thread(target=watch_idle, daemon=True).start()
    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(temporary, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
