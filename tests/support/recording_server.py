#!/usr/bin/env python3
"""Loopback HTTP/HTTPS servers for the network tests: they record every request exactly as it
arrived and answer from a table of canned answers that the test fills at run time.

Listeners (all on 127.0.0.1): plain HTTP, HTTPS, a plain-HTTP "proxy" (it answers requests in
absolute form, "GET http://host/path HTTP/1.1", from the same table instead of forwarding them),
and a control listener through which a test registers answers and reads the recorded requests:

  POST /answer          body: one answer as JSON (below); the newest matching answer wins
  POST /reset           forget all answers and recorded requests, and go online again
  POST /offline         close the HTTP, HTTPS and proxy listeners and their open connections, so
                        connections are refused as with no network at all (control stays)
  POST /online          listen again
  GET  /requests        every recorded request as JSON: listener, requestLine, headers, body, raw
  GET  /requests/count  the number of recorded requests, in decimal
  GET  /requests/N      the raw bytes of request N (from 0; negative counts from the end, -1 is
                        the last), with its listener in the "X-Listener" answer header

Strings in the JSON stand for bytes: each character U+0000-U+00FF is the one byte of that value,
so "\\u00b0\\u00a1" is the GBK pair B0 A1. An answer:

  {"path": "/gettiny?url=x",  request target to match (path and query as sent; for a request in
                              absolute form, its path part); required
   "prefix": false,           true: match every target that begins with "path"
   "host": "sa.sogou.com",    optional: only for this host (Host line or absolute target; the
                              port and ASCII case do not count)
   "method": "GET",           optional: only for this verb
   "status": 200, "reason": "OK",
   "headers": [["Set-Cookie", "a=1; path=/"], ...],   sent in this order
   "body": "...",             the body bytes
   "bodySize": 20971520,      optional: the body repeated to exactly this many bytes
   "gzip": false,             true: the body is sent gzip-compressed with Content-Encoding: gzip
   "close": false,            true: the connection is closed after this answer
   "times": 1}                optional: the answer serves this many requests, then is dropped
                              (so an older answer takes over: a service that answers differently
                              the second time)

Content-Length is added unless the answer's headers hold one. A request no answer matches gets
404 with the body "no answer registered". Records are stored before the answer is sent, so a
client that has its answer can read its request at once.

Run: recording_server.py --http 80 --https 443 --proxy 3128 --control 8998
                         --cert server.pem --key server.key --ready FILE
"""

import argparse
import gzip
import json
import os
import socket
import socketserver
import ssl
import sys
import threading

MAX_LINE = 1 << 20


def _latin1(data):
    return data.decode("latin-1")


def _bytes(text):
    return text.encode("latin-1")


class Record:
    def __init__(self, listener, raw, request_line, header_lines, body):
        self.listener = listener
        self.raw = raw
        self.request_line = request_line
        self.header_lines = header_lines
        self.body = body

    def as_json(self):
        return {
            "listener": self.listener,
            "requestLine": _latin1(self.request_line),
            "headers": [_latin1(h) for h in self.header_lines],
            "body": _latin1(self.body),
            "raw": _latin1(self.raw),
        }


class State:
    """Answers and records, shared by every listener and thread."""

    def __init__(self):
        self.lock = threading.Lock()
        self.answers = []  # newest first
        self.records = []
        self.set_online = lambda online: None  # set by RecordingServers

    def reset(self):
        with self.lock:
            self.answers.clear()
            self.records.clear()

    def add_answer(self, answer):
        if "path" not in answer:
            raise ValueError("an answer needs a path")
        with self.lock:
            self.answers.insert(0, answer)

    def add_record(self, record):
        with self.lock:
            self.records.append(record)

    def find_answer(self, method, host, path):
        with self.lock:
            for answer in self.answers:
                wanted = answer["path"]
                if not (path == wanted or (answer.get("prefix") and path.startswith(wanted))):
                    continue
                if answer.get("host") and answer["host"].lower() != host.lower():
                    continue
                if answer.get("method") and answer["method"] != method:
                    continue
                if "times" in answer:
                    answer["times"] -= 1
                    if answer["times"] <= 0:
                        self.answers.remove(answer)
                return answer
        return None


def _header(header_lines, name):
    """Returns the value of the first header line called `name` (any case), or None."""
    prefix = name.lower().encode() + b":"
    for line in header_lines:
        if line.lower().startswith(prefix):
            return line[len(prefix):].strip()
    return None


def _split_target(target, host_line):
    """Returns (host, path) of a request target, absolute or origin form."""
    lower = target.lower()
    for scheme in ("http://", "https://"):
        if lower.startswith(scheme):
            rest = target[len(scheme):]
            cut = min([i for i in (rest.find("/"), rest.find("?")) if i >= 0] or [len(rest)])
            path = rest[cut:]
            return rest[:cut].split(":")[0], path if path.startswith("/") else "/" + path
    return host_line.split(":")[0], target


def _answer_bytes(answer):
    """Returns the bytes of the status line, header lines and body of an answer."""
    body = _bytes(answer.get("body", ""))
    size = answer.get("bodySize")
    if size is not None:
        pattern = body or b"x"
        body = (pattern * (size // len(pattern) + 1))[:size]
    headers = [(_bytes(n), _bytes(v)) for n, v in answer.get("headers", [])]
    if answer.get("gzip"):
        body = gzip.compress(body)
        if not any(n.lower() == b"content-encoding" for n, _ in headers):
            headers.append((b"Content-Encoding", b"gzip"))
    if not any(n.lower() == b"content-length" for n, _ in headers):
        headers.append((b"Content-Length", str(len(body)).encode()))
    head = b"HTTP/1.1 %d %s\r\n" % (answer.get("status", 200), _bytes(answer.get("reason", "OK")))
    head += b"".join(n + b": " + v + b"\r\n" for n, v in headers) + b"\r\n"
    return head, body


class Handler(socketserver.StreamRequestHandler):
    timeout = 120  # an idle keep-alive connection is dropped after this many seconds

    def setup(self):
        with self.server.connections_lock:  # the plain socket, as shutdown_request gets it
            self.server.connections.add(self.request)
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        if self.server.tls_context is not None:
            self.request = self.server.tls_context.wrap_socket(self.request, server_side=True)
            self.connection = self.request
        super().setup()

    def handle(self):
        try:
            while self.handle_one():
                pass
        except (OSError, ssl.SSLError, ValueError):
            pass  # the client went away or spoke garbage: nothing to record

    def read_request(self):
        """Returns (raw, request line, header lines, body), or None at the end of the stream."""
        request_line = self.rfile.readline(MAX_LINE)
        if not request_line:
            return None
        raw = bytearray(request_line)
        header_lines = []
        while True:
            line = self.rfile.readline(MAX_LINE)
            raw += line
            if line in (b"\r\n", b"\n", b""):
                break
            header_lines.append(line.rstrip(b"\r\n"))
        body = b""
        length = _header(header_lines, "content-length")
        if length is not None:
            body = self.rfile.read(int(length))
        elif (_header(header_lines, "transfer-encoding") or b"").lower() == b"chunked":
            chunks = bytearray()
            while True:
                size_line = self.rfile.readline(MAX_LINE)
                chunks += size_line
                size = int(size_line.split(b";")[0].strip() or b"0", 16)
                data = self.rfile.read(size + 2)
                chunks += data
                if size == 0:
                    break
            body = bytes(chunks)
        raw += body
        return bytes(raw), request_line.rstrip(b"\r\n"), header_lines, body

    def handle_one(self):
        request = self.read_request()
        if request is None:
            return False
        raw, request_line, header_lines, body = request
        parts = _latin1(request_line).split(" ")
        method, target = parts[0], " ".join(parts[1:-1]) if len(parts) > 2 else "/"
        if self.server.listener == "control":
            return self.control(method, target, body)

        self.server.state.add_record(
            Record(self.server.listener, raw, request_line, header_lines, body))
        host, path = _split_target(target, _latin1(_header(header_lines, "host") or b""))
        print(f"{self.server.listener} {_latin1(request_line)!r}", file=sys.stderr, flush=True)
        answer = self.server.state.find_answer(method, host, path)
        if answer is None:
            answer = {"status": 404, "reason": "Not Found", "body": "no answer registered"}
        head, payload = _answer_bytes(answer)
        # A small answer goes in one write: a body sent after the head in a second small packet
        # would wait for the client's delayed acknowledgement (Nagle), some 40 ms.
        if len(payload) < 65536:
            self.wfile.write(head + payload)
        else:
            self.wfile.write(head)
            self.wfile.write(payload)
        self.wfile.flush()
        connection = (_header(header_lines, "connection") or b"").lower()
        return not answer.get("close") and connection != b"close"

    def control(self, method, target, body):
        state = self.server.state
        status, payload, extra = 200, b"ok", []
        try:
            if method == "POST" and target == "/answer":
                state.add_answer(json.loads(body.decode("utf-8")))
            elif method == "POST" and target == "/reset":
                state.reset()
                state.set_online(True)
            elif method == "POST" and target in ("/offline", "/online"):
                state.set_online(target == "/online")
            elif method == "GET" and target == "/requests":
                with state.lock:
                    payload = json.dumps([r.as_json() for r in state.records]).encode()
            elif method == "GET" and target == "/requests/count":
                with state.lock:
                    payload = str(len(state.records)).encode()
            elif method == "GET" and target.startswith("/requests/"):
                index = int(target[len("/requests/"):])
                with state.lock:
                    record = state.records[index]
                payload, extra = record.raw, [b"X-Listener: " + record.listener.encode()]
            else:
                status, payload = 404, b"unknown control request"
        except (ValueError, IndexError, KeyError) as error:
            status, payload = 400, str(error).encode()
        self.wfile.write(b"HTTP/1.1 %d Control\r\nContent-Length: %d\r\nConnection: close\r\n"
                         % (status, len(payload)) + b"".join(e + b"\r\n" for e in extra)
                         + b"\r\n" + payload)
        self.wfile.flush()
        return False


class Listener(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64

    def __init__(self, port, listener, state, tls_context=None):
        self.listener = listener
        self.state = state
        self.tls_context = tls_context
        self.connections = set()
        self.connections_lock = threading.Lock()
        super().__init__(("127.0.0.1", port), Handler)

    def shutdown_request(self, request):
        with self.connections_lock:
            self.connections.discard(request)
        super().shutdown_request(request)

    def close(self):
        """Stops listening and ends every open connection, keep-alive ones included."""
        self.shutdown()
        self.server_close()
        with self.connections_lock:
            for connection in self.connections:
                try:
                    connection.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass


class RecordingServers:
    """The listeners of one run, for use from Python: start(), then state.add_answer(...),
    state.records, and stop()."""

    def __init__(self, http=(), https=(), proxy=(), control=(), cert=None, key=None):
        self.state = State()
        self.state.set_online = self.set_online
        tls = None
        if https:
            tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            tls.load_cert_chain(cert, key)
        # (port, name, TLS context) of each service listener; they come and go with set_online.
        self.services = ([(p, f"http:{p}", None) for p in http]
                         + [(p, f"https:{p}", tls) for p in https]
                         + [(p, f"proxy:{p}", None) for p in proxy])
        self.open = []
        self.open_lock = threading.Lock()
        self.control = [Listener(p, "control", self.state) for p in control]

    @staticmethod
    def _serve(listener):
        threading.Thread(target=listener.serve_forever, daemon=True).start()

    def set_online(self, online):
        """Opens the service listeners, or closes them so that connecting is refused."""
        with self.open_lock:
            if online and not self.open:
                self.open = [Listener(p, name, self.state, tls) for p, name, tls in self.services]
                for listener in self.open:
                    self._serve(listener)
            elif not online:
                for listener in self.open:
                    listener.close()
                self.open = []

    def start(self):
        for listener in self.control:
            self._serve(listener)
        self.set_online(True)

    def stop(self):
        self.set_online(False)
        for listener in self.control:
            listener.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    for name in ("http", "https", "proxy", "control"):
        parser.add_argument("--" + name, type=int, action="append", default=[],
                            help=f"port of a {name} listener (repeatable)")
    parser.add_argument("--cert", help="PEM certificate chain of the HTTPS listeners")
    parser.add_argument("--key", help="PEM private key of the HTTPS listeners")
    parser.add_argument("--ready", help="file written once every listener is bound")
    args = parser.parse_args()

    servers = RecordingServers(args.http, args.https, args.proxy, args.control, args.cert,
                               args.key)
    servers.start()
    if args.ready:
        with open(args.ready + ".tmp", "w") as ready:
            ready.write(str(os.getpid()))
        os.replace(args.ready + ".tmp", args.ready)
    threading.Event().wait()


if __name__ == "__main__":
    main()
