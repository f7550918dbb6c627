#!/usr/bin/env python3
"""The updater's test server on 127.0.0.1, also for trying tarnel by hand (./x serve-update).

  http_server.py [--root DIR] [--port N] [--port-file F] [--log F] [--tls-cert C --tls-key K]

Serves DIR, and N bytes of the pattern (byte i is i*7 mod 251) as /bytes/N, /drip/N?chunk=C&delay=MS
(pieces of C bytes, MS ms apart), /bigheaders/N?size=S (after about S bytes of further headers),
/length/ANNOUNCED/SENT (then closes). It logs each path asked for, writes its port to the port
file (complete when it appears) and stops when that file is removed.
"""
import http.server, os, pathlib, ssl, sys, threading, time, urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version, server_version = "HTTP/1.1", "VarnicTest/1.0"

    def log_message(self, *args):
        with open(self.server.options.get("--log", os.devnull), "a") as log:
            log.write(self.path + "\n")

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        kind, *numbers = url.path.strip("/").split("/") + [""]
        n = [int(x) for x in numbers if x.isdigit()] + [0, 0]
        pattern = lambda count: bytes(i * 7 % 251 for i in range(count))
        status, body, announced, headers, chunk, delay = 200, pattern(n[0]), None, [], None, 0
        if kind == "length":
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
        pathlib.Path(port_file + ".tmp").write_text("%d\n" % server.server_address[1])
        os.replace(port_file + ".tmp", port_file)

        def stop_when_removed():
            while os.path.exists(port_file):
                time.sleep(0.2)
            server.shutdown()
        threading.Thread(target=stop_when_removed, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
