#!/usr/bin/env python3
"""The updater's test server on 127.0.0.1, also for trying tarnel by hand (./x serve-update).

  http_server.py [--root DIR] [--port N] [--port-file F] [--log F] [--tls-cert C --tls-key K]

Serves DIR and imitates troublesome servers:
  /bytes/N                   N bytes of the test pattern (byte i is i*7 mod 251)
  /status/CODE               that status
  /length/ANNOUNCED/SENT     announces one length, sends another, closes
  /drip/N?chunk=C&delay=MS   N bytes in pieces of C bytes, MS milliseconds apart
  /bigheaders/N?size=S       N bytes after about S bytes of further header lines
It speaks https with a certificate and key, appends each path asked for to the log, writes its
port to the port file (complete when it appears) and stops when that file is removed.
"""
import http.server, os, pathlib, ssl, sys, threading, time, urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version, server_version = "HTTP/1.1", "VarnicTest/1.0"

    def log_message(self, *args):
        if self.server.options.get("--log"):
            with open(self.server.options["--log"], "a") as log:
                log.write(self.path + "\n")

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        kind, *numbers = url.path.strip("/").split("/") + [""]
        n = [int(x) for x in numbers if x.isdigit()] + [0, 0]
        pattern = lambda count: bytes(i * 7 % 251 for i in range(count))
        status, body, announced, headers, chunk, delay = 200, pattern(n[0]), None, [], None, 0
        if kind == "status":
            status, body = n[0], b"status %d" % n[0]
        elif kind == "length":
            body, announced = pattern(n[1]), n[0]
        elif kind == "drip":
            chunk, delay = int(query.get("chunk", 100)), int(query.get("delay", 20)) / 1000
        elif kind == "bigheaders":
            headers = [("X-Padding-%03d" % i, "p" * 60) for i in range(int(query.get("size", 3000)) // 76 + 1)]
        elif kind != "bytes":
            root = os.path.realpath(self.server.options.get("--root", "/nonexistent"))
            path = os.path.realpath(os.path.join(root, urllib.parse.unquote(url.path).lstrip("/")))
            found = path.startswith(root + os.sep) and os.path.isfile(path)
            status, body = (200, pathlib.Path(path).read_bytes()) if found else (404, b"not found")
        self.send_response(status)
        for name, value in [("Content-Length", str(len(body) if announced is None else announced))] + headers:
            self.send_header(name, value)
        self.send_header("Connection", "close")
        self.end_headers()
        try:
            for start in range(0, len(body), chunk or len(body) or 1):
                self.wfile.write(body[start:start + (chunk or len(body))])
                self.wfile.flush()
                time.sleep(delay)
        except (BrokenPipeError, ConnectionResetError):
            pass
        self.close_connection = True


def main():
    options = dict(zip(sys.argv[1::2], sys.argv[2::2]))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(options.get("--port", 0))), Handler)
    server.daemon_threads, server.options = True, options
    if "--tls-cert" in options:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(options["--tls-cert"], options["--tls-key"])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    port_file = options.get("--port-file")
    if port_file:
        with open(port_file + ".tmp", "w") as f:
            f.write("%d\n" % server.server_address[1])
        os.replace(port_file + ".tmp", port_file)

        def stop_when_removed():
            while os.path.exists(port_file):
                time.sleep(0.2)
            server.shutdown()
        threading.Thread(target=stop_when_removed, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
