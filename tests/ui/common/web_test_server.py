#!/usr/bin/python3
"""HTTP(S) server for the web client's tests.

Answers a few fixed routes with exact bytes, so the tests see what the client
really sent and how it reads what servers really send. Writes its port to the
file named by --port-file once it listens.

One of the three HTTP servers of the tests, kept for what the others cannot
do: TLS (the web client's https), many connections at once, and Basic and
Digest checked by code that is not ours (Python's own hashlib), so a fault in
the client's Digest cannot be mirrored by the server. camsim speaks only as a
camera; tests/support/LoopbackHttpServer.h has no TLS."""
import argparse
import base64
import hashlib
import socket
import socketserver
import ssl
import threading

REALM = "test"
USER, PASSWORD = "user", "p@ss word"
NONCE = "5f1d3c"


def read_request(f):
    head = b""
    while not head.endswith(b"\r\n\r\n"):
        line = f.readline()
        if not line:
            return None, None, None
        head += line
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for l in lines[1:]:
        if ":" in l:
            k, v = l.split(":", 1)
            headers.setdefault(k.strip().lower(), v.strip())
    n = int(headers.get("content-length", "0") or 0)
    body = f.read(n) if n else b""
    return head, headers, body


def reply(w, status, headers=(), body=b"", version="HTTP/1.0"):
    out = ("%s %s\r\n" % (version, status)).encode()
    for k, v in headers:
        out += ("%s: %s\r\n" % (k, v)).encode()
    if not any(k.lower() in ("content-length", "transfer-encoding") for k, _ in headers):
        out += ("Content-Length: %d\r\n" % len(body)).encode()
    out += b"\r\n" + body
    w.write(out)


def digest_ok(auth, method):
    if not auth.startswith("Digest "):
        return False
    fields = {}
    for part in auth[7:].split(","):
        if "=" in part:
            k, v = part.strip().split("=", 1)
            fields[k] = v.strip('"')
    ha1 = hashlib.md5(("%s:%s:%s" % (USER, REALM, PASSWORD)).encode()).hexdigest()
    ha2 = hashlib.md5(("%s:%s" % (method, fields.get("uri", ""))).encode()).hexdigest()
    if "qop" in fields:
        want = hashlib.md5(("%s:%s:%s:%s:%s:%s" % (ha1, fields.get("nonce"), fields.get("nc"), fields.get("cnonce"),
                                                   fields["qop"], ha2)).encode()).hexdigest()
    else:
        want = hashlib.md5(("%s:%s:%s" % (ha1, fields.get("nonce"), ha2)).encode()).hexdigest()
    return fields.get("username") == USER and fields.get("response") == want


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        head, headers, body = read_request(self.rfile)
        if head is None:
            return
        request_line = head.split(b"\r\n", 1)[0].decode("latin-1")
        method, target = request_line.split(" ")[0], request_line.split(" ")[1]
        path = target.split("?")[0]
        w = self.wfile
        if path == "/echo-request" or path.startswith("/echo-request/"):
            reply(w, "200 OK", [("Content-Type", "application/octet-stream")], head + body)
        elif path == "/cookies":
            reply(w, "200 OK", [("Set-Cookie", "sid=abc; Path=/"), ("Set-Cookie", "theme=dark; Path=/"),
                                ("Content-Type", "text/plain; charset=utf-8")],
                  headers.get("cookie", "").encode())
        elif path == "/chunked":
            w.write(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: text/plain\r\n\r\n"
                    b"6\r\nhello \r\n5\r\nworld\r\n0\r\n\r\n")
        elif path == "/big":
            n = int(target.split("n=")[1])
            w.write(("HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % n).encode())
            block = bytes(range(256)) * 256
            sent = 0
            while sent < n:
                piece = block[:min(len(block), n - sent)]
                w.write(piece)
                sent += len(piece)
        elif path == "/redirect":
            reply(w, "302 Found", [("Location", "/echo-request/after-redirect")], b"moved")
        elif path == "/basic":
            expect = "Basic " + base64.b64encode(("%s:%s" % (USER, PASSWORD)).encode()).decode()
            if headers.get("authorization") == expect:
                reply(w, "200 OK", [], b"basic ok")
            else:
                reply(w, "401 Unauthorized", [("WWW-Authenticate", 'Basic realm="%s"' % REALM)], b"no")
        elif path == "/digest":
            if digest_ok(headers.get("authorization", ""), method):
                reply(w, "200 OK", [], b"digest ok")
            else:
                reply(w, "401 Unauthorized",
                      [("WWW-Authenticate", 'Digest realm="%s", nonce="%s", qop="auth", algorithm=MD5' % (REALM, NONCE))],
                      b"no")
        else:
            reply(w, "404 Not Found", [], b"not here")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port-file", required=True)
    ap.add_argument("--cert")
    ap.add_argument("--key")
    a = ap.parse_args()
    srv = Server(("127.0.0.1", 0), Handler)
    if a.cert:
        ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        ctx.load_cert_chain(a.cert, a.key)
        srv.socket = ctx.wrap_socket(srv.socket, server_side=True)
    with open(a.port_file + ".tmp", "w") as f:
        f.write(str(srv.server_address[1]))
    import os
    os.rename(a.port_file + ".tmp", a.port_file)
    srv.serve_forever()


if __name__ == "__main__":
    main()
