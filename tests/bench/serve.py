"""A static server for the benchmarks on 127.0.0.1, as hosts serve: it keeps connections
open and sends each file gzip'd to a browser that accepts it, compressed once."""
import gzip
import http.server
import io
import os
import threading
from functools import partial


class Compressing(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    compressed = {}  # by path and time of change

    def send_head(self):
        path = self.translate_path(self.path)
        if "gzip" not in self.headers.get("Accept-Encoding", "") or not os.path.isfile(path):
            return super().send_head()
        key = (path, os.stat(path).st_mtime_ns)
        if key not in self.compressed:
            with open(path, "rb") as f:
                self.compressed[key] = gzip.compress(f.read(), 9)
        body = self.compressed[key]
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        return io.BytesIO(body)

    def log_message(self, *args):
        pass


def serve(folder):
    """Serves folder until the program ends; returns its address, with a final slash."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), partial(Compressing, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"
