"""Loopback servers of enrolwiz's submission cases and UI scenarios: a
scripted registration gateway that answers each request line with the next
reply of its case (also behind TLS, as an https gateway), a scripted HTTP
proxy that checks the absolute URI and forwards the request, a scripted
SOCKS 4 server that grants, refuses, closes or stays silent, the real
danted, and the real HTTP proxies of proxies.py (squid, tinyproxy,
privoxy). Every server binds to a 127.x address on a port from port 0 (or
on the one fixed port a case asks for), serves each connection for a
bounded time, writes what it receives to a shared transcript, and is
stopped by the test. make_servers builds them from the directives that the
submission cases (run_submissions.py) and the wizard's scenarios
(run_ui.py) share."""
import fcntl
import os
import select
import shutil
import socket
import ssl
import struct
import subprocess
import tempfile
import threading
import time

import certificates
import wzharness

# The keywords of make_servers.
REAL_PROXIES = ("squid", "tinyproxy", "privoxy")
SERVER_KEYWORDS = ("gateway", "https", "pac", "proxy", "socks", "danted", "closed") + REAL_PROXIES

CONNECTION_LIMIT = 30  # seconds one connection is served at most
DANTED = "/usr/sbin/danted"


class Unavailable(Exception):
    """A peer that cannot run on this machine."""


def escape(data):
    """Bytes as one transcript line: printable ASCII as it is, the rest escaped."""
    out = []
    for byte in data:
        c = chr(byte)
        if c == "\\":
            out.append("\\\\")
        elif c == "\n":
            out.append("\\n")
        elif c == "\r":
            out.append("\\r")
        elif c == "\0":
            out.append("\\0")
        elif 32 <= byte < 127:
            out.append(c)
        else:
            out.append("\\x%02x" % byte)
    return "".join(out)


class Transcript:
    def __init__(self):
        self.lines = []
        self.lock = threading.Lock()

    def add(self, server, number, text):
        with self.lock:
            self.lines.append("%s#%d: %s" % (server, number, text))

    def of(self, server):
        with self.lock:
            return [line.split(": ", 1)[1] for line in self.lines if line.split("#", 1)[0] == server]

    def connections(self, server):
        """How many connections the server recorded anything of."""
        with self.lock:
            return len({line.split(": ", 1)[0] for line in self.lines if line.split("#", 1)[0] == server})

    def requests(self, server):
        """What the server recorded of each request: its records less the
        handshakes of an https gateway."""
        return [line for line in self.of(server) if not line.startswith("TLS ")]


def free_port(address="127.0.0.1"):
    with socket.socket() as s:
        s.bind((address, 0))
        return s.getsockname()[1]


def read_until(conn, done, deadline):
    """What arrives until done(data) holds, the peer closes or the deadline passes."""
    data = b""
    while not done(data):
        remaining = deadline - time.time()
        if remaining <= 0:
            break
        # A TLS connection may hold decrypted bytes that select cannot see.
        pending = conn.pending() if isinstance(conn, ssl.SSLSocket) else 0
        ready = pending or select.select([conn], [], [], remaining)[0]
        if not ready:
            break
        try:
            chunk = conn.recv(4096)
        except OSError:
            break
        if not chunk:
            break
        data += chunk
    return data


def read_request(conn, deadline):
    """A request as a server reads it: its first line, and when that line
    names an HTTP version the header lines up to the empty one too (a full
    request's head is read whole, so that closing never resets it). The
    first line and all that was read come back."""
    data = read_until(conn, lambda data: b"\n" in data, deadline)
    line = data[:data.index(b"\n") + 1] if b"\n" in data else data
    if b" HTTP/" in line:
        head = data
        data += read_until(conn, lambda more: b"\r\n\r\n" in head + more, deadline)
    return line, data


def wait_for_close(conn, deadline):
    """Keeps the connection open until the peer closes it (or the deadline)."""
    read_until(conn, lambda data: False, deadline)


def relay(a, b, deadline):
    """Copies bytes both ways until both sides have closed."""
    open_ends = {a: b, b: a}
    while open_ends and time.time() < deadline:
        ready, _, _ = select.select(list(open_ends), [], [], max(0.0, deadline - time.time()))
        if not ready:
            break
        for side in ready:
            try:
                chunk = side.recv(65536)
            except OSError:
                chunk = b""
            other = open_ends.get(side)
            if other is None:
                continue
            if chunk:
                try:
                    other.sendall(chunk)
                except OSError:
                    pass
            else:
                try:
                    other.shutdown(socket.SHUT_WR)
                except OSError:
                    pass
                del open_ends[side]


class FixedPortLock:
    """A fixed port below 1024 (the registration servers' port 80) is the same
    for every test run on the machine: runs take turns through a lock file,
    and only root may bind it."""

    PATH = "/tmp/enrolwiz-tests-port-%d.lock"
    WAIT = 300  # seconds to wait for another run's turn

    def __init__(self, port):
        if os.geteuid() != 0:
            raise Unavailable("port %d can be bound by root only" % port)
        self.file = open(self.PATH % port, "w")
        deadline = time.time() + self.WAIT
        while True:
            try:
                fcntl.flock(self.file, fcntl.LOCK_EX | fcntl.LOCK_NB)
                return
            except OSError:
                if time.time() >= deadline:
                    self.file.close()
                    raise Unavailable("port %d stayed taken by another test run" % port)
                time.sleep(0.5)

    def release(self):
        self.file.close()


class Server:
    """A listener on a loopback address that serves each connection in a thread."""

    def __init__(self, name, transcript, address="127.0.0.1", port=0):
        self.name = name
        self.transcript = transcript
        self.host = address
        self.lock = FixedPortLock(port) if 0 < port < 1024 else None
        self.listener = socket.socket()
        if port:
            # The last run's connections to a fixed port may still be waiting out their close.
            self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            self.listener.bind((address, port))
        except OSError as error:
            self.listener.close()
            if self.lock:
                self.lock.release()
            raise Unavailable("cannot listen on %s:%d: %s" % (address, port, error))
        self.listener.listen(16)
        self.port = self.listener.getsockname()[1]
        self.count = 0
        self.stopped = threading.Event()
        self.threads = []
        self.values = {}

    def start(self, values):
        self.values = values
        thread = threading.Thread(target=self.accept_loop, daemon=True)
        thread.start()
        self.threads.append(thread)

    def accept_loop(self):
        while not self.stopped.is_set():
            ready, _, _ = select.select([self.listener], [], [], 0.1)
            if not ready:
                continue
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            self.count += 1
            thread = threading.Thread(target=self.serve, args=(conn, self.count), daemon=True)
            thread.start()
            self.threads.append(thread)

    def serve(self, conn, number):
        try:
            self.handle(conn, number, time.time() + CONNECTION_LIMIT)
        except OSError as error:
            self.record(number, "connection error: %s" % error)
        except Exception as error:  # a fault of the case itself: the runner fails it
            self.record(number, "server error: %r" % error)
        finally:
            conn.close()

    def record(self, number, text):
        self.transcript.add(self.name, number, text)

    def stop(self):
        self.stopped.set()
        self.listener.close()
        for thread in self.threads:
            thread.join(5)
        if self.lock:
            self.lock.release()
            self.lock = None


def render(text, values):
    """${name} placeholders replaced by their values; an unknown one is an error."""
    out = []
    at = 0
    while True:
        start = text.find("${", at)
        if start < 0:
            out.append(text[at:])
            return "".join(out)
        end = text.find("}", start)
        if end < 0:
            raise ValueError("unterminated placeholder in %r" % text)
        key = text[start + 2:end]
        if key not in values:
            raise ValueError("unknown placeholder ${%s}" % key)
        out.append(text[at:start])
        out.append(str(values[key]))
        at = end + 1


class Reply:
    """One answer of the gateway (a reply as a case file's "reply" line or
    the common replies.json gives it):
    text      what it sends (placeholders of the running servers filled in);
    fill      bytes of filler lines sent before the text;
    delay     seconds it waits before answering;
    keep_open it does not close after the text (the peer must);
    trickle   seconds between single bytes of the text (sent one at a time);
    reset     it ends with a reset instead of a reply."""

    def __init__(self, spec):
        self.text = spec.get("text", "")
        self.fill = spec.get("fill", 0)
        self.delay = spec.get("delay", 0)
        self.keep_open = spec.get("keep_open", False)
        self.reset = spec.get("reset", False)
        self.trickle = spec.get("trickle", 0)

    def serve(self, conn, values, deadline):
        if self.delay:
            time.sleep(self.delay)
        if self.reset:
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            return
        if self.fill:
            line = b"filler " + b"-" * 56 + b"\r\n"
            whole, rest = divmod(self.fill, len(line))
            block = line * (65536 // len(line))
            # In blocks, so that a huge fill never sits in memory at once.
            for _ in range(whole // (len(block) // len(line))):
                conn.sendall(block)
            conn.sendall(line * (whole % (len(block) // len(line))) + b"-" * rest)
        text = render(self.text, values).encode("latin-1")
        if self.trickle:
            for i in range(len(text)):
                if time.time() >= deadline:
                    return
                conn.sendall(text[i:i + 1])
                time.sleep(self.trickle)
            return
        conn.sendall(text)
        if self.keep_open:
            wait_for_close(conn, deadline)


class Gateway(Server):
    """Answers the nth connection's request with the nth reply (the last
    repeats); the request line is what it records."""

    def __init__(self, name, transcript, replies, address="127.0.0.1", port=0):
        Server.__init__(self, name, transcript, address, port)
        self.replies = replies

    def handle(self, conn, number, deadline):
        line, _ = read_request(conn, deadline)
        self.record(number, escape(line))
        self.replies[min(number, len(self.replies)) - 1].serve(conn, self.values, deadline)


class HttpsGateway(Gateway):
    """The gateway behind TLS with a certificate of the test's authority: it
    records each handshake (protocol, cipher and the server name the client
    sent) or its failure, then the request's head, and answers as the plain
    gateway does, ending with the close notification (a reset ends without
    it). VARIANT: None, TLS 1.2 or later; "untrusted", a certificate that
    nobody trusts; "tls1.1", TLS 1.1 at most."""

    VARIANTS = (None, "untrusted", "tls1.1")

    def __init__(self, name, transcript, replies, certificates, variant, address="127.0.0.1", port=0):
        Gateway.__init__(self, name, transcript, replies, address, port)
        kind = "stranger" if variant == "untrusted" else "server"
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        if variant == "tls1.1":
            self.context.set_ciphers("DEFAULT:@SECLEVEL=0")
            self.context.minimum_version = ssl.TLSVersion.TLSv1
            self.context.maximum_version = ssl.TLSVersion.TLSv1_1
        else:
            self.context.minimum_version = ssl.TLSVersion.TLSv1_2
        self.context.load_cert_chain(certificates.chain(kind), certificates.key(kind))
        self.server_names = {}
        self.context.sni_callback = self.take_server_name

    def take_server_name(self, connection, name, context):
        self.server_names[id(connection)] = name

    def handle(self, conn, number, deadline):
        conn.settimeout(max(0.1, deadline - time.time()))
        try:
            tls = self.context.wrap_socket(conn, server_side=True)
        except (ssl.SSLError, OSError) as error:
            self.record(number, "TLS handshake failed: %s" % (getattr(error, "reason", None) or error))
            return
        with tls:
            name = self.server_names.pop(id(tls), None)
            self.record(number, "TLS %s %s, server name %s" % (tls.version(), tls.cipher()[0], name or "none"))
            _, head = read_request(tls, deadline)
            self.record(number, escape(head))
            reply = self.replies[min(number, len(self.replies)) - 1]
            reply.serve(tls, self.values, deadline)
            if not reply.reset:
                try:
                    tls.unwrap()
                except (ssl.SSLError, OSError, ValueError):
                    pass


class Proxy(Server):
    """An HTTP proxy that takes the wizard's request through a proxy and
    nothing else: "GET http://HOST[:PORT]/path HTTP/1.0", CR LF, one header
    line "Host: HOST[:PORT]" naming the URI's host and port, CR LF, CR LF.
    It records the whole request and forwards "GET /path" and a line feed to
    the gateway that its route table names for HOST (whatever the port: the
    table stands for the names and ports of the Internet)."""

    def __init__(self, name, transcript, routes, address="127.0.0.1"):
        Server.__init__(self, name, transcript, address)
        self.routes = routes

    def refuse(self, conn, number, why):
        self.record(number, "refused: " + why)
        conn.sendall(b"HTTP/1.0 400 Bad Request\r\n\r\nproxy: " + why.encode() + b"\r\n")

    def handle(self, conn, number, deadline):
        line, data = read_request(conn, deadline)
        self.record(number, escape(data))
        text = data.decode("latin-1")
        if not line.endswith(b" HTTP/1.0\r\n"):
            return self.refuse(conn, number, "not a request line with an absolute URI and HTTP/1.0")
        request_line, _, rest = text.partition("\r\n")
        headers, _, after = rest.partition("\r\n\r\n")
        if not request_line.startswith("GET http://") or after or not rest.endswith("\r\n\r\n"):
            return self.refuse(conn, number, "not one request with an absolute URI")
        uri = request_line[len("GET http://"):-len(" HTTP/1.0")]
        slash = uri.find("/")
        authority = uri if slash < 0 else uri[:slash]
        if headers.split("\r\n") != ["Host: " + authority]:
            return self.refuse(conn, number, "headers other than Host: " + authority)
        host, _, port = authority.partition(":")
        if port == "80" or (port and not port.isdigit()):
            return self.refuse(conn, number, "port %s written in the URI" % port)
        gateway = self.routes.get(host.lower())
        if gateway is None:
            return self.refuse(conn, number, "no route to " + host)
        with socket.create_connection((gateway.host, gateway.port), timeout=10) as upstream:
            upstream.sendall(("GET " + (uri[slash:] if slash >= 0 else "/") + "\n").encode("latin-1"))
            relay(conn, upstream, deadline)


class Socks(Server):
    """A SOCKS 4 server: it reads the request and the user id, then
    grant   connects on to the destination (loopback only) and relays,
    refuse  answers code 0x5B and closes,
    close   closes without a reply,
    silent  keeps the connection open without a reply,
    one-byte answers a single byte and keeps the connection open."""

    def __init__(self, name, transcript, mode, address="127.0.0.1"):
        Server.__init__(self, name, transcript, address)
        self.mode = mode

    def handle(self, conn, number, deadline):
        data = read_until(conn, lambda d: len(d) > 8 and b"\0" in d[8:], deadline)
        request, user = data[:8], data[8:]
        self.record(number, "request " + " ".join("%02x" % b for b in request) + " user " + escape(user))
        if self.mode == "close":
            return
        if self.mode == "silent":
            return wait_for_close(conn, deadline)
        if self.mode == "one-byte":
            conn.sendall(b"\0")
            return wait_for_close(conn, deadline)
        if self.mode == "refuse" or len(request) < 8:
            conn.sendall(bytes([0, 0x5B, 0, 0, 0, 0, 0, 0]))
            return
        port = struct.unpack(">H", request[2:4])[0]
        address = socket.inet_ntoa(request[4:8])
        if not address.startswith("127."):
            conn.sendall(bytes([0, 0x5B, 0, 0, 0, 0, 0, 0]))
            return
        try:
            upstream = socket.create_connection((address, port), timeout=10)
        except OSError:
            conn.sendall(bytes([0, 0x5B, 0, 0, 0, 0, 0, 0]))
            return
        with upstream:
            conn.sendall(bytes([0, 0x5A]) + request[2:8])
            relay(conn, upstream, deadline)


class Closed:
    """A loopback port with nothing listening on it."""

    def __init__(self, name, address="127.0.0.1"):
        self.name = name
        self.host = address
        self.port = free_port(address)

    def start(self, values):
        pass

    def stop(self):
        pass


class ForegroundServer:
    """A real server in the foreground on a free loopback port, with a folder
    of its own for its configuration and logs, under timeout (LIMIT seconds
    at most), and stopped by its process id. A subclass names its PROGRAM,
    writes its configuration and gives its command line."""

    PROGRAM = None
    LIMIT = 120         # seconds the server runs at most
    START_WAIT = 15     # seconds to wait for its port to listen

    def __init__(self, name):
        if not os.path.exists(self.PROGRAM):
            raise Unavailable("%s is not installed" % os.path.basename(self.PROGRAM))
        self.name = name
        self.host = "127.0.0.1"
        self.port = free_port()
        self.dir = tempfile.mkdtemp(prefix="wz-%s-" % os.path.basename(self.PROGRAM))
        self.process = None

    def command(self):
        raise NotImplementedError

    def start(self, values):
        self.process = subprocess.Popen(["timeout", str(self.LIMIT)] + self.command(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=self.dir)
        deadline = time.time() + self.START_WAIT
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise Unavailable("%s ended at once: %s" % (self.name, self.log()))
            try:
                socket.create_connection((self.host, self.port), timeout=1).close()
                return
            except OSError:
                time.sleep(0.05)
        self.stop()
        raise Unavailable("%s did not listen on port %d" % (self.name, self.port))

    def log(self):
        """The end of each log file in the server's folder."""
        texts = []
        for name in sorted(os.listdir(self.dir)):
            if name.endswith(".log"):
                with open(os.path.join(self.dir, name), errors="replace") as f:
                    texts.append(f.read()[-2000:])
        return "\n".join(texts)

    def stop(self):
        # timeout passes the signal on to the server and waits for it.
        wzharness.stop_process(self.process, 15)
        shutil.rmtree(self.dir, ignore_errors=True)


class Danted(ForegroundServer):
    """The real SOCKS 4 server, limited to destinations on loopback."""

    PROGRAM = DANTED

    def __init__(self, name):
        ForegroundServer.__init__(self, name)
        user = "root" if os.geteuid() == 0 else os.environ.get("USER") or "nobody"
        unprivileged = "nobody" if os.geteuid() == 0 else user
        self.config = os.path.join(self.dir, "danted.conf")
        with open(self.config, "w") as f:
            f.write("\n".join([
                "logoutput: %s" % os.path.join(self.dir, "danted.log"),
                "internal: 127.0.0.1 port = %d" % self.port,
                "external: 127.0.0.1",
                "clientmethod: none",
                "socksmethod: none",
                "user.privileged: %s" % user,
                "user.unprivileged: %s" % unprivileged,
                "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }",
                "socks pass { from: 127.0.0.0/8 to: 127.0.0.0/8 command: connect }",
                "socks block { from: 0.0.0.0/0 to: 0.0.0.0/0 }",
                ""]))

    def command(self):
        return [DANTED, "-f", self.config, "-N", "1"]


class Authority:
    """A run's throwaway certificate authority (certificates.py, in FOLDER)
    and the https gateways' certificates, which name 127.0.0.1 and
    localhost. Its name is the run's own, so that runs at once never
    take one another's for theirs. With a trust program (Win32:
    enrolwiz_trust_root.exe) it is a root of the Wine session's prefix until
    remove()."""

    def __init__(self, folder, trust_program=None):
        self.folder = folder
        self.run = wzharness.run
        self.command = [wzharness.WINE_RUN, trust_program] if trust_program else None
        self.windows_path = wzharness.wine_path
        try:
            owner = "enrolwiz %d-%d" % (os.getpid(), int(time.time() * 1000))
            self.certificates = certificates.Certificates(folder, owner=owner, dns_names=["localhost"])
            for kind in ("authority", "server", "stranger"):
                self.certificates.make(kind)
        except certificates.Unavailable as why:
            raise Unavailable(str(why))
        self.trusted = False
        if self.command:
            self.trust("add")
            self.trusted = True

    def certificate(self, kind):
        return self.certificates.certificate(kind)

    def trust(self, command):
        status, out, err = self.run(self.command + [command, self.windows_path(self.certificate("authority"))],
                                    timeout=60)
        if status != 0:
            raise RuntimeError("%s %s failed (%d): %s%s" % (self.command[1], command, status, out, err))

    def remove(self):
        if self.trusted:
            self.trusted = False
            self.trust("remove")


def make_servers(directives, data, replies, transcript, certificates=None):
    """The servers of a case's directives (keyword, rest), not yet started,
    and the placeholder values of their hosts and ports:
      gateway NAME [@ADDR[:OTHER]] REPLY..  scripted gateway on ADDR, on the port of
                                            server OTHER or on port OTHER when it is a number;
                                            its nth connection gets the nth reply (the last repeats)
      pac NAME FILE                         a gateway that serves the script DATA/scripts/FILE
      proxy NAME HOST=GATEWAY..             scripted HTTP proxy and its routes
      socks NAME MODE                       scripted SOCKS 4 server
      danted NAME                           the real SOCKS server
      squid|tinyproxy|privoxy NAME [VARIANT] a real HTTP proxy (proxies.py)
      closed NAME                           a loopback port that nobody listens on
      https NAME [@ADDR[:OTHER]] [untrusted|tls1.1] REPLY..
                                            the gateway behind TLS, with a certificate of
                                            the test's authority (untrusted: of nobody's;
                                            tls1.1: TLS 1.1 at most)
    replies holds the replies by name (what Reply takes); certificates
    (certificates.py) makes the https gateways'. Other keywords are left alone. Servers made before a failure are stopped."""
    made = []
    by_name = {}
    values = {}
    try:
        for keyword, rest in directives:
            words = rest.split()
            if keyword in ("gateway", "https"):
                name, words = words[0], words[1:]
                address, port = "127.0.0.1", 0
                if words and words[0].startswith("@"):
                    address, _, same_as = words[0][1:].partition(":")
                    port = int(same_as) if same_as.isdigit() else by_name[same_as].port if same_as else 0
                    words = words[1:]
                if keyword == "gateway":
                    server = Gateway(name, transcript, [Reply(replies[w]) for w in words], address, port)
                else:
                    variant = words[0] if words and words[0] in HttpsGateway.VARIANTS else None
                    words = words[1:] if variant else words
                    server = HttpsGateway(name, transcript, [Reply(replies[w]) for w in words], certificates,
                                          variant, address, port)
            elif keyword == "pac":
                with open(os.path.join(data, "scripts", words[1]), encoding="latin-1") as f:
                    script = f.read()
                text = "HTTP/1.0 200 OK\r\nContent-Type: application/x-ns-proxy-autoconfig\r\n\r\n" + script
                server = Gateway(words[0], transcript, [Reply({"text": text})])
            elif keyword == "proxy":
                routes = {}
                for route in words[1:]:
                    host, _, gateway = route.partition("=")
                    routes[host.lower()] = gateway
                server = Proxy(words[0], transcript, routes)
            elif keyword == "socks":
                server = Socks(words[0], transcript, words[1])
            elif keyword == "danted":
                server = Danted(words[0])
            elif keyword in REAL_PROXIES:
                import proxies  # it builds on this module
                server = proxies.make(keyword, words)
            elif keyword == "closed":
                server = Closed(words[0])
            else:
                continue
            by_name[server.name] = server
            made.append(server)
            values[server.name + ".port"] = server.port
            values[server.name + ".host"] = server.host
            values[server.name + ".porthex"] = "%02x %02x" % divmod(server.port, 256)
        for server in made:
            if isinstance(server, Proxy):
                server.routes = {host: by_name[name] for host, name in server.routes.items()}
    except BaseException:
        for server in made:
            server.stop()
        raise
    return made, values


def render_registry(template, values):
    """A .reg template with its placeholders filled in, the values escaped as
    REGEDIT4 strings want them."""
    return render(template, {k: str(v).replace("\\", "\\\\") for k, v in values.items()})
