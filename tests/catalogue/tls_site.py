#!/usr/bin/python3
"""The TLS end of the catalogue's loopback web site, for the tests under Wine.

Usage: tls_site.py -- COMMAND [ARG...]

Makes a test certificate authority, its (empty) revocation list and certificates for
www.kestrune.example (one signed by that authority, one of another name signed by it, one
self-signed) with Debian's openssl, in a temporary folder that goes at the end. Listens on
127.0.0.1 and runs COMMAND with
  TELLARO_TLS_PORT  its port,
  TELLARO_TLS_CA    the authority's certificate (DER) and
  TELLARO_TLS_CRL   its revocation list (DER), both as Windows paths on Wine's Z: drive.
The signed certificates name the list at http://crl.kestrune.example/authority.crl, since
WinInet refuses a certificate whose revocation it can't check. COMMAND (a Wine test) adds
the authority to its own prefix's root store and serves plain HTTP on loopback, the list
included; its proxy tunnels each CONNECT here, first sending one line
"UPSTREAM <port> <certificate>\\n". This end then speaks TLS with that certificate and relays
the decrypted bytes to 127.0.0.1:<port> and back. Nothing is sent anywhere but 127.0.0.1.
Exits with COMMAND's exit code; COMMAND is ended after a time limit, and so is every relay.
"""
import os
import select
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

HOST = "www.kestrune.example"
CRL_URL = "http://crl.kestrune.example/authority.crl"
COMMAND_LIMIT_S = 600   # the whole test program
RELAY_LIMIT_S = 120     # one connection
IDLE_LIMIT_S = 60       # one connection without a byte either way


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_certificates(folder):
    """ca.der for the root store, ca.crl; site, wrongname and selfsigned as PEM pairs."""
    def path(name):
        return os.path.join(folder, name)
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Tellaro test authority",
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign",
            "-keyout", path("ca.key"), "-out", path("ca.pem"))
    openssl("x509", "-in", path("ca.pem"), "-outform", "DER", "-out", path("ca.der"))
    with open(path("ca.cnf"), "w") as config:
        config.write("[ca]\ndefault_ca=test\n[test]\ndatabase=%s\ncrlnumber=%s\ndefault_md=sha256\n"
                     "default_crl_days=2\n" % (path("index.txt"), path("crlnumber")))
    open(path("index.txt"), "w").close()
    with open(path("crlnumber"), "w") as number:
        number.write("01\n")
    openssl("ca", "-config", path("ca.cnf"), "-gencrl", "-keyfile", path("ca.key"), "-cert", path("ca.pem"),
            "-out", path("ca.crl.pem"))
    openssl("crl", "-in", path("ca.crl.pem"), "-outform", "DER", "-out", path("ca.crl"))
    for name, host in (("site", HOST), ("wrongname", "www.elsewhere.example")):
        with open(path(name + ".ext"), "w") as ext:
            ext.write("subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n"
                      "authorityKeyIdentifier=keyid\ncrlDistributionPoints=URI:%s\n" % (host, CRL_URL))
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + host, "-keyout", path(name + ".key"),
                "-out", path(name + ".csr"))
        openssl("x509", "-req", "-in", path(name + ".csr"), "-CA", path("ca.pem"), "-CAkey", path("ca.key"),
                "-CAcreateserial", "-days", "2", "-extfile", path(name + ".ext"), "-out", path(name + ".pem"))
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + HOST,
            "-addext", "subjectAltName=DNS:" + HOST, "-keyout", path("selfsigned.key"), "-out", path("selfsigned.pem"))
    contexts = {}
    for name in ("site", "wrongname", "selfsigned"):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(path(name + ".pem"), path(name + ".key"))
        contexts[name] = context
    return contexts


def read_line(connection):
    line = b""
    while not line.endswith(b"\n") and len(line) < 200:
        byte = connection.recv(1)
        if not byte:
            break
        line += byte
    return line.decode("ascii", "replace").split()


def relay(client, contexts):
    """One tunnelled connection: TLS towards the client, plain towards the test's server."""
    try:
        client.settimeout(IDLE_LIMIT_S)
        words = read_line(client)
        if len(words) != 3 or words[0] != "UPSTREAM" or words[2] not in contexts:
            return
        secure = contexts[words[2]].wrap_socket(client, server_side=True)
        upstream = socket.create_connection(("127.0.0.1", int(words[1])), timeout=IDLE_LIMIT_S)
        deadline = threading.Event()
        timer = threading.Timer(RELAY_LIMIT_S, deadline.set)
        timer.start()
        try:
            while not deadline.is_set():
                ready = [secure] if secure.pending() else select.select([secure, upstream], [], [], 1.0)[0]
                if not ready:
                    continue
                if secure in ready:
                    data = secure.recv(65536)
                    if not data:
                        break
                    upstream.sendall(data)
                if upstream in ready:
                    data = upstream.recv(65536)
                    if not data:
                        break
                    secure.sendall(data)
        finally:
            timer.cancel()
            upstream.close()
            secure.close()
    except (OSError, ValueError):
        pass  # a refused handshake is what some tests ask for
    finally:
        client.close()


def serve(listener, contexts):
    while True:
        try:
            client, _ = listener.accept()
        except OSError:
            return
        threading.Thread(target=relay, args=(client, contexts), daemon=True).start()


def main():
    if len(sys.argv) < 3 or sys.argv[1] != "--":
        sys.exit(__doc__)
    folder = tempfile.mkdtemp(prefix="tellaro-tls-")
    try:
        contexts = make_certificates(folder)
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        threading.Thread(target=serve, args=(listener, contexts), daemon=True).start()
        environment = dict(os.environ)
        environment["TELLARO_TLS_PORT"] = str(listener.getsockname()[1])
        for name, file in (("TELLARO_TLS_CA", "ca.der"), ("TELLARO_TLS_CRL", "ca.crl")):
            environment[name] = "Z:" + os.path.join(folder, file).replace("/", "\\")
        try:
            code = subprocess.run(sys.argv[2:], env=environment, timeout=COMMAND_LIMIT_S).returncode
        except subprocess.TimeoutExpired:
            code = 124
        listener.close()
        return code
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
