"""The scripted FTP server with explicit TLS (AUTH TLS, PBSZ, PROT P): what
a real server will not do on demand over TLS (certificates a client must
refuse, an old protocol version, a refused PBSZ or PROT, a data connection
that ends without TLS's close notification, a close that trickles), with a
transcript of what it receives, in the style of ftpscript.py and with its
settings.

It serves the scenarios of the scenario file that have "tls" settings (the
plain scripted server leaves them alone), each on its own loopback listener.
"tls" settings (all optional):
  certificate       the kind of certificate (certificates.py) of the control
                    connection's handshake; default "server"
  data_certificate  the kind a data connection presents (another kind is
                    another TLS context: no session is resumed there)
  maximum_version   "TLSv1_1", "TLSv1_2": no later protocol version (with the
                    ciphers of OpenSSL's security level 0, which TLS 1.1 needs)
  data_end          a download's data connection after the data: "notify"
                    (default: the close notification, then the end) or
                    "cut" (the connection ends without it)
  renegotiate_after a verb: after its first reply the server asks for a new
                    handshake (TLS 1.2 renegotiation; give maximum_version
                    "TLSv1_2"), which runs when it next reads
  renegotiate_certificate  the kind of certificate that handshake presents
  store_end         an upload's data connection after the client's end:
                    "notify" (default) or "trickle" (a record of one byte
                    every 0.2 s and never the close notification, at most
                    HOSTILE_SECONDS; the final reply comes at once)
Replies to AUTH, PBSZ and PROT may be set as any other reply; set, they are
sent as they are and nothing is protected.

Besides the command lines the transcript holds "(TLS VERSION)" after the
control connection's handshake or "(TLS handshake failed: REASON)",
"(data TLS VERSION)" or "(data TLS handshake failed: REASON)", and how an
upload's data connection ended: "(data: close notify)", "(data: ended
without close notify)", "(data: reset)". A line received after "(TLS ...)"
came protected; one before it came in clear.
"""
import select
import socket
import ssl
import threading
import time

import ftpscript

TLS_REPLIES = {
    "AUTH": "234 Proceed with negotiation.\r\n",
    "PBSZ": "200 PBSZ set to 0.\r\n",
    "PROT": "200 PROT now Private.\r\n",
}
TRICKLE_SECONDS = 0.2
NO_RESUMPTION_ON_RENEGOTIATION = 0x00010000   # OpenSSL's SSL_OP_ of that name
TCP_CLOSE = 7                                 # Linux's tcp_info state


class TlsSession(ftpscript.Session):
    def __init__(self, server, scenario, number, sock):
        super().__init__(server, scenario, number, sock)
        self.tls = self.settings.get("tls", {})
        for verb, text in TLS_REPLIES.items():
            self.replies.setdefault(verb, text)
        self.private = False
        self.renegotiated = False

    def context(self, kind):
        return self.server.context(kind or "server", self.tls.get("maximum_version"))

    def command(self, text):
        verb, _, argument = text.partition(" ")
        verb = verb.upper()
        if verb in self.custom or verb not in TLS_REPLIES:
            going_on = super().command(text)
            if going_on and verb == self.tls.get("renegotiate_after") and not self.renegotiated:
                self.renegotiated = True
                self.log(renegotiate(self.sock, self.server.certificates, self.tls.get("renegotiate_certificate")))
            return going_on
        self.reply(verb)
        if verb == "PROT":
            self.private = argument.strip().upper() == "P"
        elif verb == "AUTH":
            try:
                self.sock = self.context(self.tls.get("certificate")).wrap_socket(self.sock, server_side=True)
            except (ssl.SSLError, OSError) as error:
                self.log("(TLS handshake failed: %s)" % reason(error))
                return False
            self.log("(TLS %s)" % self.sock.version())
        return True

    def data_connection(self):
        conn = super().data_connection()
        if conn is None or not self.private:
            return conn
        conn.settimeout(ftpscript.DATA_WAIT)
        kind = self.tls.get("data_certificate", self.tls.get("certificate"))
        try:
            # An end without the close notification must show as such.
            conn = self.context(kind).wrap_socket(conn, server_side=True, suppress_ragged_eofs=False)
        except (ssl.SSLError, OSError) as error:
            self.log("(data TLS handshake failed: %s)" % reason(error))
            conn.close()
            return None
        self.log("(data TLS %s)" % conn.version())
        return conn

    def send_data(self, content):
        if not self.private:
            return super().send_data(content)
        conn = self.data_connection()
        if conn is None:
            self.open_transfer = True   # an ABOR may follow
            return
        try:
            conn.sendall(content)
            if self.tls.get("data_end") != "cut":
                conn = conn.unwrap()
        except (ssl.SSLError, OSError):
            pass
        conn.close()   # without unwrap(): no close notification
        self.send(self.settings.get("transfer_end", "226 Transfer complete.\r\n"))

    def store(self, verb, name):
        if not self.private:
            return super().store(verb, name)
        opened = self.store_connection(verb, name)
        if opened is None:
            return
        conn, name = opened
        data = bytearray()
        try:
            while True:
                # Once TLS has nothing more to give, the TCP connection says
                # how it ended: TLS alone cannot tell a reset from an end.
                if not conn.pending():
                    ready, _, _ = select.select([conn], [], [], ftpscript.DATA_WAIT)
                    state = tcp_state(conn) if ready else "(data: nothing came)"
                    if state:
                        end = state
                        break
                piece = conn.recv(65536)
                if not piece:
                    end = "(data: close notify)"
                    break
                data += piece
        except (ssl.SSLError, OSError) as error:
            end = "(data: failed: %s)" % reason(error)
        self.log(end)
        self.files[name] = bytes(data)
        if end != "(data: close notify)":
            conn.close()
            self.send("426 Connection closed; transfer aborted.\r\n")
            return
        if self.tls.get("store_end") == "trickle":
            threading.Thread(target=trickle, args=(conn,), daemon=True).start()
        else:
            try:
                conn.unwrap().close()
            except (ssl.SSLError, OSError):
                conn.close()
        self.send(self.settings.get("transfer_end", "226 Transfer complete.\r\n"))


LIBSSL = None


def renegotiate(conn, certificates, kind):
    """Asks the client of conn for a new handshake (TLS 1.2), presenting the
    certificate of kind there. Python's ssl module offers no renegotiation:
    OpenSSL's own calls are made on the connection's SSL object, which the
    module keeps right after the socket's reference in its object (checked
    through the protocol version it reports)."""
    global LIBSSL
    import ctypes
    if LIBSSL is None:
        LIBSSL = ctypes.CDLL("libssl.so.3")
        for name in ("SSL_version", "SSL_renegotiate", "SSL_do_handshake"):
            getattr(LIBSSL, name).argtypes = [ctypes.c_void_p]
        for name in ("SSL_use_certificate_file", "SSL_use_PrivateKey_file"):
            getattr(LIBSSL, name).argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    ssl_object = ctypes.c_void_p.from_address(id(conn._sslobj) + 2 * ctypes.sizeof(ctypes.c_void_p) +
                                              ctypes.sizeof(ctypes.c_ssize_t)).value
    if not ssl_object or LIBSSL.SSL_version(ssl_object) != 0x0303:
        return "(TLS renegotiation not possible: no TLS 1.2 connection found)"
    if kind:
        pem = 1
        if (LIBSSL.SSL_use_certificate_file(ssl_object, certificates.chain(kind).encode(), pem) != 1 or
                LIBSSL.SSL_use_PrivateKey_file(ssl_object, certificates.key(kind).encode(), pem) != 1):
            return "(TLS renegotiation not possible: certificate %s)" % kind
    if LIBSSL.SSL_renegotiate(ssl_object) != 1 or LIBSSL.SSL_do_handshake(ssl_object) != 1:
        return "(TLS renegotiation refused)"
    return "(TLS renegotiation requested%s)" % (" with certificate " + kind if kind else "")


def tcp_state(conn):
    """None while bytes are there to read under TLS; else how the client
    ended the TCP connection: "(data: reset)" or, an orderly end without
    TLS's close notification, "(data: ended without close notify)"."""
    raw = socket.fromfd(conn.fileno(), socket.AF_INET, socket.SOCK_STREAM)
    try:
        if raw.recv(1, socket.MSG_PEEK):
            return None
    except ConnectionResetError:
        return "(data: reset)"
    finally:
        raw.close()
    # A reset's error goes to the first read after it, which may have been
    # TLS's own (its handshake): then the connection's state tells, closed
    # after a reset, waiting for our close after an orderly end.
    state = conn.getsockopt(socket.IPPROTO_TCP, socket.TCP_INFO, 1)[0]
    return "(data: reset)" if state == TCP_CLOSE else "(data: ended without close notify)"


def trickle(conn):
    """A byte in a record of its own every TRICKLE_SECONDS until the client
    goes away, at most HOSTILE_SECONDS; never the close notification."""
    end = time.time() + ftpscript.HOSTILE_SECONDS
    try:
        while time.time() < end:
            conn.sendall(b"x")
            time.sleep(TRICKLE_SECONDS)
    except (ssl.SSLError, OSError):
        pass
    conn.close()


def reason(error):
    return getattr(error, "reason", None) or str(error) or type(error).__name__


class TlsScriptedServer(ftpscript.ScriptedServer):
    session_class = TlsSession

    def __init__(self, scenario_file, certificates):
        super().__init__(scenario_file)
        self.certificates = certificates
        self.contexts = {}

    def serves(self, settings):
        return "tls" in settings

    def start(self):
        # Every certificate first: a handshake waits for no openssl run.
        for settings in self.scenarios.values():
            if self.serves(settings):
                tls = settings["tls"]
                for kind in (tls.get("certificate"), tls.get("data_certificate")):
                    self.context(kind or "server", tls.get("maximum_version"))
        super().start()

    def context(self, kind, maximum_version=None):
        key = (kind, maximum_version)
        with self.lock:
            if key not in self.contexts:
                context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
                # A renegotiation is a whole handshake, with a certificate.
                context.options |= NO_RESUMPTION_ON_RENEGOTIATION
                context.load_cert_chain(self.certificates.chain(kind), self.certificates.key(kind))
                if maximum_version:
                    context.set_ciphers("DEFAULT:@SECLEVEL=0")
                    context.minimum_version = ssl.TLSVersion.TLSv1
                    context.maximum_version = ssl.TLSVersion[maximum_version]
                self.contexts[key] = context
            return self.contexts[key]


if __name__ == "__main__":
    raise SystemExit("used through peers.py")
