#!/usr/bin/env python3
"""An RFC 3161 time-stamping service on 127.0.0.1 for the signing test,
answering with `openssl ts -reply`. Usage: time_stamp_service.py FOLDER PORT_FILE
(FOLDER from make-test-signer.sh; the port it listens on goes to PORT_FILE)."""
import http.server
import pathlib
import subprocess
import sys
import tempfile

folder = pathlib.Path(sys.argv[1])
(folder / "tsa-serial").write_text("01\n")
(folder / "tsa.cnf").write_text(f"[tsa]\ndefault_tsa = test\n[test]\nserial = {folder}/tsa-serial\n"
                                f"signer_cert = {folder}/tsa.pem\nsigner_key = {folder}/tsa.key\ncerts = {folder}/root.pem\n"
                                "signer_digest = sha256\ndefault_policy = 1.2.3.4.1\ndigests = sha256\n")


class Service(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        with tempfile.TemporaryDirectory() as work:
            query = pathlib.Path(work) / "query"
            query.write_bytes(self.rfile.read(int(self.headers["Content-Length"])))
            reply = subprocess.run(["openssl", "ts", "-reply", "-config", str(folder / "tsa.cnf"), "-queryfile",
                                    str(query), "-out", "/dev/stdout"], capture_output=True, check=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *_):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Service)
pathlib.Path(sys.argv[2]).write_text(str(server.server_address[1]))
server.serve_forever()
