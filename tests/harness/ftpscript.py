"""The scripted FTP server of the tests: what a real server will not do on
demand (odd replies, Telnet options, dropped connections, refused commands,
slow or missing data), with a transcript of every line it receives.

Scenarios come from a JSON file beside the test that plays them
(TEST.scenarios.json): {"scenarios": {NAME: SETTINGS}}. Each scenario gets
its own loopback listener. SETTINGS (all optional):
  greeting      the bytes sent on connect
  replies       VERB -> reply text (null: no reply), or a list of them for
                the VERB's first, second ... command (the last one stays);
                "{argument}" stands for the command's argument, "{pasv}" for the
                h1,h2,h3,h4,p1,p2 of the passive listener, {p1} and {p2} for
                its port bytes, {unique} for the name STOU chose
  every_reply   the reply to every command, whatever it is (null: silence)
  close_after   verbs after whose reply the server closes the connection
  silent_after  verbs after whose reply the server reads what comes and
                answers nothing (a TLS handshake that never ends), at most
                HOSTILE_SECONDS
  connections   "N" -> SETTINGS for the N-th connection (from 1) only
  line_end      replaces every CR LF of the replies ("\n": bare line feeds)
  bytewise      true: every reply goes out one byte per packet
  data          "none": a data connection that never carries data;
                "slow": data after data_delay seconds; "open": the data, then
                the connection held open (it never ends); "reset": the first
                data_bytes bytes, then the connection reset
  store         "reset": after store_bytes bytes of an upload the data
                connection is reset (the final reply comes all the same);
                "stall": an upload's data is never read
  no_connect    true: in active mode the server never connects back
  files         NAME -> content of the files the server starts with
  listings      "NLST", "LIST *.txt" ... -> the data of that listing command;
                without one, NLST lists the file names and LIST a long
                format, each line ended by CR LF
  transfer_end  the reply after a transfer's data (default 226; null: none)
  address       the loopback address it listens on: "127.0.0.1" (the
                default) or "::1" (IPv6: passive listeners there too, EPSV
                and EPRT served, "{epsv}" in a reply the passive port)
Texts are Latin-1: "\u00ff" is the Telnet IAC byte; "{xN}" stands for N
letters x (over-long lines); "{split}" sends what comes before it as a packet
of its own; "{endless}" sends letters x until the client goes away (a line
that never ends), at most HOSTILE_SECONDS.

The transcript has one line per received command line, "NAME#N: LINE",
with bytes outside printable ASCII written as \\xNN.
"""
import json
import re
import select
import socket
import struct
import threading
import time

DEFAULT_REPLIES = {
    "USER": "331 Password required.\r\n",
    "PASS": "230 Logged in.\r\n",
    "ACCT": "202 Account not needed.\r\n",
    "PWD": "257 \"/home/scripted\" is the current directory\r\n",
    "CWD": "250 Directory changed.\r\n",
    "TYPE": "200 Type set.\r\n",
    "NOOP": "200 NOOP ok.\r\n",
    "PASV": "227 Entering Passive Mode ({pasv}).\r\n",
    "PORT": "200 PORT command successful.\r\n",
    "EPSV": "229 Entering Extended Passive Mode (|||{epsv}|)\r\n",
    "EPRT": "200 EPRT command successful. Consider using EPSV.\r\n",
    "QUIT": "221 Goodbye.\r\n",
    "ABOR": "226 ABOR successful.\r\n",
    "RNTO": "250 Rename successful.\r\n",
    "SYST": "215 UNIX Type: L8\r\n",
    "MKD": "257 \"{argument}\" created\r\n",
    "RMD": "250 Remove directory operation successful.\r\n",
    "SITE": "200 SITE command ok.\r\n",
}
TELNET_IAC = 0xFF
DATA_WAIT = 10
HOSTILE_SECONDS = 30


def printable(data):
    out = []
    for b in data:
        out.append(chr(b) if 0x20 <= b < 0x7F and b != 0x5C else "\\x%02x" % b)
    return "".join(out)


def strip_telnet(line):
    """The command text of a line without the Telnet commands in it."""
    out = bytearray()
    i = 0
    while i < len(line):
        if line[i] == TELNET_IAC:
            i += 3 if i + 1 < len(line) and 251 <= line[i + 1] <= 254 else 2
            continue
        if line[i] in (0xF2, 0xF4):   # a DM or IP whose IAC went as urgent data
            i += 1
            continue
        out.append(line[i])
        i += 1
    return out.decode("latin-1")


def reset(conn):
    """Closes a connection with a reset instead of an orderly end."""
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    conn.close()


class Session(threading.Thread):
    def __init__(self, server, scenario, number, sock):
        super().__init__(daemon=True)
        self.server = server
        self.name_ = scenario
        self.number = number
        self.sock = sock
        base = dict(server.scenarios[scenario])
        per_connection = base.pop("connections", {}).get(str(number), {})
        replies = dict(DEFAULT_REPLIES)
        replies.update(base.get("replies", {}))
        replies.update(per_connection.get("replies", {}))
        replies = {verb: list(text) if isinstance(text, list) else text for verb, text in replies.items()}
        self.settings = dict(base)
        self.settings.update(per_connection)
        self.replies = replies
        # Verbs whose reply the scenario writes out: no logic of the server's own.
        self.custom = set(base.get("replies", {})) | set(per_connection.get("replies", {}))
        self.files = server.files[scenario]
        self.passive = None
        self.port_address = None
        self.rename_from = None
        self.open_transfer = False
        self.buffer = b""

    # --- sending ---
    def send(self, text):
        if text is None:
            return
        line_end = self.settings.get("line_end")
        if line_end is not None:
            text = text.replace("\r\n", line_end)
        text = re.sub(r"\{x(\d+)\}", lambda m: "x" * int(m.group(1)), text)
        if "{split}" in text:
            for piece in text.split("{split}"):
                self.send(piece)
                time.sleep(0.02)
            return
        if text.endswith("{endless}"):
            self.send(text[:-len("{endless}")])
            end = time.time() + HOSTILE_SECONDS
            while time.time() < end:
                self.sock.sendall(b"x" * 65536)   # fails once the client has gone
            return
        data = text.encode("latin-1")
        if self.settings.get("bytewise"):
            for i in range(len(data)):
                self.sock.sendall(data[i:i + 1])
                time.sleep(0.002)
        else:
            self.sock.sendall(data)

    def reply(self, verb, **values):
        text = self.replies.get(verb, "500 Unknown command.\r\n")
        if isinstance(text, list):
            text = text.pop(0) if len(text) > 1 else text[0]
        if text is None:
            return
        for key, value in values.items():
            text = text.replace("{%s}" % key, str(value))
        if self.passive is not None:
            port = self.passive.getsockname()[1]
            text = text.replace("{pasv}", "127,0,0,1,%d,%d" % (port >> 8, port & 255))
            text = text.replace("{p1}", str(port >> 8)).replace("{p2}", str(port & 255))
            text = text.replace("{epsv}", str(port))
        self.send(text)

    # --- data connections ---
    def data_connection(self):
        if self.passive is not None:
            listener, self.passive = self.passive, None
            listener.settimeout(DATA_WAIT)
            try:
                conn, _ = listener.accept()
            except OSError:
                return None
            finally:
                listener.close()
            return conn
        if self.settings.get("no_connect"):
            return None
        # PORT's address, or the default data port: the client's control port.
        address = self.port_address or self.sock.getpeername()[:2]
        self.port_address = None
        try:
            return socket.create_connection(address, timeout=DATA_WAIT)
        except OSError:
            return None

    def listing(self, text):
        verb, _, argument = text.partition(" ")
        listings = self.settings.get("listings", {})
        if text in listings:
            data = re.sub(r"\{x(\d+)\}", lambda m: "x" * int(m.group(1)), listings[text]).encode("latin-1")
        elif argument:
            self.send("550 No files found.\r\n")
            return
        elif verb.upper() == "NLST":
            data = "".join("%s\r\n" % name for name in sorted(self.files)).encode("latin-1")
        else:
            data = "".join("-rw-r--r--    1 ftp      ftp      %8d Jan 01 00:00 %s\r\n" % (len(c), n)
                           for n, c in sorted(self.files.items())).encode("latin-1")
        self.send("150 Here comes the directory listing.\r\n")
        self.send_data(data)

    def retrieve(self, name):
        if name not in self.files:
            self.send("550 Failed to open file.\r\n")
            return
        self.send("150 Opening BINARY mode data connection for %s.\r\n" % name)
        self.send_data(self.files[name])

    def send_data(self, content):
        conn = self.data_connection()
        if conn is None:
            self.open_transfer = True   # an ABOR may follow
            return
        with conn:
            mode = self.settings.get("data")
            if mode == "none":
                # Hold the data connection open until the client gives up.
                conn.settimeout(DATA_WAIT)
                try:
                    conn.recv(1)
                except OSError:
                    pass
                self.send("426 Connection closed; transfer aborted.\r\n")
                return
            if mode == "slow":
                time.sleep(self.settings.get("data_delay", 0.5))
            if mode == "reset":
                conn.sendall(content[:self.settings.get("data_bytes", 0)])
                time.sleep(0.1)
                reset(conn)
            else:
                conn.sendall(content)
            if mode == "open":
                # Never ends: held open until the client closes it.
                conn.settimeout(HOSTILE_SECONDS)
                try:
                    conn.recv(1)
                except OSError:
                    pass
        self.send(self.settings.get("transfer_end", "226 Transfer complete.\r\n"))

    def store_connection(self, verb, name):
        """The preliminary reply and the data connection of an upload: the
        connection and the file's name (STOU's own), or None (425 sent)."""
        if verb == "STOU":
            self.server.unique += 1
            name = "unique.%d" % self.server.unique
            self.send("150 FILE: %s\r\n" % name)
        else:
            self.send("150 Ok to send data.\r\n")
        conn = self.data_connection()
        if conn is None:
            self.send("425 Failed to establish connection.\r\n")
            return None
        return conn, name

    def store(self, verb, name):
        opened = self.store_connection(verb, name)
        if opened is None:
            return
        conn, name = opened
        data = bytearray()
        if self.settings.get("store") == "stall":
            # Nothing is read: the client's sends fill the buffers and stop.
            # Held until the client gives up (its control connection speaks
            # or ends), and no final reply.
            select.select([self.sock], [], [], HOSTILE_SECONDS)
            conn.close()
            return
        with conn:
            conn.settimeout(DATA_WAIT)
            while True:
                if self.settings.get("store") == "reset" and len(data) >= self.settings.get("store_bytes", 0):
                    reset(conn)
                    break
                # An ABOR on the control connection ends the transfer.
                ready, _, _ = select.select([conn, self.sock], [], [], DATA_WAIT)
                if self.sock in ready:
                    line = self.read_line()
                    if line is None:
                        return
                    self.log(printable(line))
                    if strip_telnet(line).upper().startswith("ABOR"):
                        self.send("426 Transfer aborted.\r\n226 ABOR successful.\r\n")
                        return
                    continue
                if not ready:
                    break
                piece = conn.recv(65536)
                if not piece:
                    break
                data += piece
        if verb == "APPE":
            self.files[name] = self.files.get(name, b"") + bytes(data)
        else:
            self.files[name] = bytes(data)
        self.send(self.settings.get("transfer_end", "226 Transfer complete.\r\n"))

    # --- the command loop ---
    def run(self):
        try:
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_OOBINLINE, 1)
            self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            self.sock.settimeout(120)
            self.log("(connected)")
            self.send(self.settings.get("greeting", "220 Scripted server ready.\r\n"))
            while True:
                line = self.read_line()
                if line is None:
                    self.log("(closed)")
                    return
                self.log(printable(line))
                if not self.command(strip_telnet(line)):
                    return
        except OSError:
            self.log("(connection failed)")
        finally:
            self.sock.close()

    def read_line(self):
        """The next command line without its line end; None at the end."""
        while b"\n" not in self.buffer:
            piece = self.sock.recv(4096)
            if not piece:
                return None
            self.buffer += piece
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.rstrip(b"\r")

    def log(self, text):
        self.server.record("%s#%d: %s" % (self.name_, self.number, text))

    def command(self, text):
        verb, _, argument = text.partition(" ")
        verb = verb.upper()
        custom = verb in self.custom
        if "every_reply" in self.settings:
            self.send(self.settings["every_reply"])
        elif verb in ("PASV", "EPSV"):
            planned = self.replies.get(verb)
            if isinstance(planned, list):
                planned = planned[0]
            if (planned or "").startswith(("227", "229")):
                self.open_passive()
            self.reply(verb)
        elif verb == "PORT" and not custom:
            numbers = [int(n) for n in argument.split(",")]
            self.port_address = ("%d.%d.%d.%d" % tuple(numbers[:4]), numbers[4] * 256 + numbers[5])
            self.reply("PORT")
        elif verb == "EPRT" and not custom:
            # "EPRT |2|::1|6446|": the delimiter is the first character.
            fields = argument[1:].split(argument[:1]) if argument else []
            try:
                self.port_address = (fields[1], int(fields[2]))
            except (IndexError, ValueError):
                self.send("501 Bad EPRT.\r\n")
            else:
                self.reply("EPRT")
        elif verb == "RETR" and not custom:
            self.retrieve(argument)
        elif verb in ("STOR", "APPE", "STOU") and not custom:
            self.store(verb, argument)
        elif verb in ("NLST", "LIST") and not custom:
            self.listing(text)
        elif verb == "DELE" and not custom:
            if argument in self.files:
                del self.files[argument]
                self.send("250 Delete operation successful.\r\n")
            else:
                self.send("550 Delete operation failed.\r\n")
        elif verb == "RNFR" and not custom:
            if argument in self.files:
                self.rename_from = argument
                self.send("350 Ready for RNTO.\r\n")
            else:
                self.send("550 RNFR command failed.\r\n")
        elif verb == "ABOR" and not custom and self.open_transfer:
            self.open_transfer = False
            self.send("426 Transfer aborted.\r\n226 ABOR successful.\r\n")
        elif verb == "RNTO" and not custom and self.rename_from:
            self.files[argument] = self.files.pop(self.rename_from)
            self.rename_from = None
            self.reply("RNTO")
        else:
            self.reply(verb, argument=argument)
        if verb in self.settings.get("silent_after", []):
            self.log("(server falls silent)")
            self.sock.settimeout(HOSTILE_SECONDS)
            while self.sock.recv(4096):
                pass
            return False
        if verb == "QUIT" or verb in self.settings.get("close_after", []):
            self.log("(server closes)")
            return False
        return True

    def open_passive(self):
        if self.passive is not None:
            self.passive.close()
        address = self.server.addresses[self.name_]
        self.passive = socket.socket(socket.AF_INET6 if ":" in address else socket.AF_INET)
        self.passive.bind((address, 0))
        self.passive.listen(1)


class ScriptedServer:
    session_class = Session

    def __init__(self, scenario_file):
        with open(scenario_file, encoding="utf-8") as f:
            self.scenarios = json.load(f)["scenarios"]
        self.files = {name: {k: v.encode("latin-1") for k, v in s.get("files", {}).items()}
                      for name, s in self.scenarios.items()}
        self.ports = {}
        self.addresses = {name: s.get("address", "127.0.0.1") for name, s in self.scenarios.items()}
        self.listeners = []
        self.lines = []
        self.lock = threading.Lock()
        self.unique = 0
        self.stopping = False

    def record(self, line):
        with self.lock:
            self.lines.append(line)

    def transcript(self):
        with self.lock:
            return list(self.lines)

    def serves(self, settings):
        """Scenarios with "tls" settings are the TLS server's (ftpscript_tls.py)."""
        return "tls" not in settings

    def start(self):
        for name, settings in self.scenarios.items():
            if not self.serves(settings):
                continue
            address = self.addresses[name]
            listener = socket.socket(socket.AF_INET6 if ":" in address else socket.AF_INET)
            listener.bind((address, 0))
            listener.listen(300)
            self.ports[name] = listener.getsockname()[1]
            self.listeners.append(listener)
            threading.Thread(target=self.accept, args=(name, listener), daemon=True).start()

    def accept(self, name, listener):
        number = 0
        while not self.stopping:
            try:
                sock, _ = listener.accept()
            except OSError:
                return
            number += 1
            self.session_class(self, name, number, sock).start()

    def stop(self):
        self.stopping = True
        for listener in self.listeners:
            listener.close()
