#!/usr/bin/env python3
"""A small HTTP server on 127.0.0.1 for the updater's tests and for trying tarnel by hand.

It serves a folder (ordinary GET with Content-Length) and answers scripted addresses that
imitate troublesome servers:

  /bytes/N                      N bytes of the test pattern (byte i is i*7 mod 251)
  /status/CODE                  that status with a short HTML body
  /drop/SENT/ANNOUNCED          announces ANNOUNCED bytes, sends SENT of them, closes
  /length/ANNOUNCED/SENT        announces ANNOUNCED bytes, sends SENT bytes, closes
  /drip/N?chunk=C&delay=MS      N bytes in pieces of C bytes, MS milliseconds apart
  /bigheaders/N?size=S          N bytes after about S bytes of extra header lines
  /quit                         stops the server

The port is chosen by the system; it is printed as "PORT <n>" and, with --port-file,
written to that file (complete when it appears). Only the loopback address is used.

With --tls-cert FILE it speaks https. With --tls-key KEY too it uses that certificate and
key; without, it makes a self-signed certificate for 127.0.0.1 with openssl at start and
writes it to FILE (PEM) before the port file appears; that key never leaves a temporary
folder.
"""
import argparse
import http.server
import os
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse


def pattern(count):
    return bytes((i * 7) % 251 for i in range(count))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VarnicTest/1.0"

    def log_message(self, fmt, *args):
        if self.server.verbose:
            sys.stderr.write("%s\n" % (fmt % args))

    def head(self, status, length=None, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra:
            self.send_header(name, value)
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True

    def send_body(self, body):
        try:
            self.wfile.write(body)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        parts = [p for p in url.path.split("/") if p]
        try:
            numbers = [int(p) for p in parts[1:]]
        except ValueError:
            numbers = []
        kind = parts[0] if parts else ""

        if kind == "quit":
            self.head(200, 0)
            threading.Thread(target=self.server.shutdown, daemon=True).start()
        elif kind == "bytes" and len(numbers) == 1:
            self.head(200, numbers[0])
            self.send_body(pattern(numbers[0]))
        elif kind == "status" and len(numbers) == 1:
            body = b"<html><body>status %d</body></html>" % numbers[0]
            self.head(numbers[0], len(body))
            self.send_body(body)
        elif kind in ("drop", "length") and len(numbers) == 2:
            sent, announced = numbers if kind == "drop" else numbers[::-1]
            self.head(200, announced)
            self.send_body(pattern(sent))
            self.connection.shutdown(2)
        elif kind == "drip" and len(numbers) == 1:
            chunk = int(query.get("chunk", "100"))
            delay = int(query.get("delay", "20")) / 1000.0
            body = pattern(numbers[0])
            self.head(200, len(body))
            for start in range(0, len(body), chunk):
                self.send_body(body[start:start + chunk])
                time.sleep(delay)
        elif kind == "bigheaders" and len(numbers) == 1:
            size = int(query.get("size", "3000"))
            extra = [("X-Padding-%03d" % i, "p" * 60) for i in range(size // 76 + 1)]
            self.head(200, numbers[0], extra)
            self.send_body(pattern(numbers[0]))
        else:
            self.serve_file(url.path)

    def serve_file(self, path):
        root = self.server.root
        if root is None:
            return self.not_found()
        relative = urllib.parse.unquote(path).lstrip("/")
        full = os.path.realpath(os.path.join(root, relative))
        if not full.startswith(os.path.realpath(root) + os.sep) or not os.path.isfile(full):
            return self.not_found()
        with open(full, "rb") as f:
            body = f.read()
        self.head(200, len(body))
        self.send_body(body)

    def not_found(self):
        body = b"<html><body>not found</body></html>"
        self.head(404, len(body))
        self.send_body(body)


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1 (as a name and an address) and its key."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    # Started from Wine the search path may be Windows's; Debian's openssl is the fallback.
    openssl = shutil.which("openssl") or "/usr/bin/openssl"
    subprocess.run([openssl, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "2",
                    "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1",
                    "-addext", "extendedKeyUsage=serverAuth", "-keyout", key, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", help="folder to serve")
    parser.add_argument("--port", type=int, default=0, help="port (default: any free one)")
    parser.add_argument("--port-file", help="write the port number to this file")
    parser.add_argument("--max-seconds", type=float, default=0, help="stop after this long (0: never)")
    parser.add_argument("--tls-cert", help="speak https: the certificate (PEM) to use, or to make and write here")
    parser.add_argument("--tls-key", help="the key of --tls-cert (default: make both)")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.root = args.root
    server.verbose = args.verbose
    if args.tls_cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        if args.tls_key:
            context.load_cert_chain(args.tls_cert, args.tls_key)
        else:
            scratch = tempfile.mkdtemp(prefix="varnic-tls-")
            try:
                cert, key = make_certificate(scratch)
                context.load_cert_chain(cert, key)
                temporary = args.tls_cert + ".tmp"
                shutil.copyfile(cert, temporary)
                os.replace(temporary, args.tls_cert)
            finally:
                shutil.rmtree(scratch, ignore_errors=True)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    port = server.server_address[1]
    print("PORT %d" % port, flush=True)
    if args.port_file:
        temporary = args.port_file + ".tmp"
        with open(temporary, "w") as f:
            f.write("%d\n" % port)
        os.replace(temporary, args.port_file)
    if args.max_seconds > 0:
        timer = threading.Timer(args.max_seconds, server.shutdown)
        timer.daemon = True
        timer.start()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
