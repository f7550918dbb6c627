#!/usr/bin/env python3
"""The updater's test server on 127.0.0.1 (also ./x serve-update): http_server.py [--root DIR] [--port N]
[--port-file F] [--tls-cert C --tls-key K]. Serves DIR, and N bytes of the pattern (byte i is i*7 mod 251) as
/bytes/N?announce=A&pad=P&chunk=C&delay=MS (Content-Length A, P bytes of further headers, pieces of C bytes
MS ms apart); writes its port to the port file and stops when that file is removed."""
import http.server, os, pathlib, ssl, sys, threading, time, urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version, server_version = "HTTP/1.1", "VarnicTest/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = {name: int(value) for name, value in urllib.parse.parse_qsl(url.query)}
        if url.path.startswith("/bytes/"):
            status, body = 200, bytes(i * 7 % 251 for i in range(int(url.path[7:])))
        else:
            root = os.path.realpath(self.server.options.get("--root", "/nonexistent"))
            path = os.path.realpath(os.path.join(root, urllib.parse.unquote(url.path).lstrip("/")))
            found = path.startswith(root + os.sep) and os.path.isfile(path)
            status, body = (200, pathlib.Path(path).read_bytes()) if found else (404, b"not found")
        self.send_response(status)
        self.send_header("Content-Length", str(query.get("announce", len(body))))
        for i in range(query.get("pad", 0) // 76):
            self.send_header("X-Padding-%03d" % i, "p" * 60)
        self.send_header("Connection", "close")
        self.end_headers()
        chunk = query.get("chunk", len(body)) or 1
        try:
            for start in range(0, len(body), chunk):
                self.wfile.write(body[start:start + chunk])
                self.wfile.flush()
                time.sleep(query.get("delay", 0) / 1000)
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
