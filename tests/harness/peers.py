"""FTP peers of the tests, on loopback: a real vsftpd with a throwaway local
user, and the scripted FTP server (ftpscript.py). A runner asks for them by
name, gets their settings as environment variables for the program under
test, and stops them at the end."""
import os
import re
import shutil
import socket
import subprocess
import tempfile
import time

import certificates
import ftpscript
import ftpscript_tls
import wzharness

VSFTPD = "/usr/sbin/vsftpd"
COMMAND_LINE = re.compile(r'FTP command: Client "[^"]*", "(.*)"\s*$')


def scenarios_beside(script):
    """The scripted server's scenarios of a test: the file NAME.scenarios.json
    beside the test NAME.EXT, or None when it has none."""
    path = os.path.splitext(script)[0] + ".scenarios.json"
    return path if os.path.exists(path) else None


class PeerUnavailable(Exception):
    """A peer that cannot run on this machine (the test is skipped)."""


def family_of(address):
    return socket.AF_INET6 if ":" in address else socket.AF_INET


def free_port(address="127.0.0.1"):
    with socket.socket(family_of(address)) as s:
        s.bind((address, 0))
        return s.getsockname()[1]


def wait_for_port(port, seconds, address="127.0.0.1"):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            with socket.create_connection((address, port), timeout=1) as s:
                s.recv(100)
                return
        except OSError:
            time.sleep(0.05)
    raise RuntimeError("no server on port %d after %d s" % (port, seconds))


class Vsftpd:
    """vsftpd in the foreground on a free loopback port, its root a fresh
    directory that belongs to a throwaway user (local users need root).
    Several can run at once (prefix names their variables, address their
    loopback address); promiscuous lets two of them exchange a file
    directly (FtpProxy): PORT to another host, data from another host."""

    def __init__(self, limit_seconds=300, logging=True, prefix="WZ_VSFTPD", address="127.0.0.1",
                 promiscuous=False, settings=(), tls=None, certificate="server"):
        self.settings = list(settings)   # more "name=value" lines of its configuration
        self.tls = tls                   # the Certificates of a server that requires TLS
        self.certificate = certificate   # the kind it presents
        self.limit = limit_seconds
        self.logging = logging
        self.prefix = prefix
        self.address = address
        self.promiscuous = promiscuous
        self.process = None
        self.user = None

    def start(self):
        if os.geteuid() != 0:
            raise PeerUnavailable("vsftpd with a local user needs root")
        if not os.path.exists(VSFTPD):
            raise PeerUnavailable("vsftpd is not installed")
        self.dir = tempfile.mkdtemp(prefix="wz-vsftpd-")
        os.chmod(self.dir, 0o755)
        self.root = os.path.join(self.dir, "home")
        empty = os.path.join(self.dir, "empty")
        os.mkdir(empty, 0o755)
        tag = "" if self.prefix == "WZ_VSFTPD" else self.prefix[-1]
        self.user = "wzftp%d%s" % (os.getpid(), tag)
        self.password = "pw%d%s" % (os.getpid(), tag)
        subprocess.run(["useradd", "-M", "-d", self.root, "-s", "/bin/bash", self.user],
                       check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["chpasswd"], input=("%s:%s\n" % (self.user, self.password)).encode(),
                       check=True)
        os.mkdir(self.root, 0o755)
        shutil.chown(self.root, self.user, self.user)
        self.log = os.path.join(self.dir, "vsftpd.log")
        if self.tls:
            self.settings = self.tls_settings() + self.settings
        self.port = free_port(self.address)
        config = os.path.join(self.dir, "vsftpd.conf")
        # On an IPv6 address it answers EPSV and EPRT (and PASV with no address).
        if family_of(self.address) == socket.AF_INET6:
            listening = ["listen=NO", "listen_ipv6=YES", "listen_address6=%s" % self.address]
        else:
            listening = ["listen=YES", "listen_ipv6=NO", "listen_address=%s" % self.address,
                         "pasv_address=%s" % self.address]
        with open(config, "w") as f:
            f.write("\n".join(listening + [
                "listen_port=%d" % self.port, "background=NO", "seccomp_sandbox=NO",
                "secure_chroot_dir=%s" % empty, "anonymous_enable=NO", "local_enable=YES",
                "pam_service_name=vsftpd", "local_root=%s" % self.root, "local_umask=022",
                "write_enable=YES", "pasv_enable=YES",
                "port_enable=YES", "connect_from_port_20=NO", "async_abor_enable=YES",
                "xferlog_enable=YES", "vsftpd_log_file=%s" % self.log,
                "log_ftp_protocol=%s" % ("YES" if self.logging else "NO"),
                "max_clients=0", "max_per_ip=0", "delay_failed_login=0",
                "pasv_promiscuous=%s" % ("YES" if self.promiscuous else "NO"),
                "port_promiscuous=%s" % ("YES" if self.promiscuous else "NO"),
            ] + self.settings + [""]))
        self.process = subprocess.Popen(["timeout", str(self.limit), VSFTPD, config],
                                        stdin=subprocess.DEVNULL, start_new_session=True)
        wait_for_port(self.port, 10, self.address)
        return self

    def tls_settings(self):
        """Explicit TLS required for logins and data, with a certificate of
        the test's own (certificates.py): by default one that a throwaway
        authority issued for the listening address, which only the test's
        trust file names."""
        self.authority = self.tls.certificate("authority")
        return ["ssl_enable=YES", "rsa_cert_file=%s" % self.tls.chain(self.certificate),
                "rsa_private_key_file=%s" % self.tls.key(self.certificate),
                "force_local_logins_ssl=YES", "force_local_data_ssl=YES",
                "ssl_tlsv1=YES", "ssl_sslv2=NO", "ssl_sslv3=NO", "debug_ssl=YES"]

    def commands(self):
        """The command lines its log shows (log_ftp_protocol)."""
        try:
            with open(self.log, encoding="latin-1") as f:
                return [m.group(1) for m in map(COMMAND_LINE.search, f) if m]
        except FileNotFoundError:
            return []

    def connections(self):
        """Control connections the program under test opened (the start-up
        probe of wait_for_port is not counted)."""
        try:
            with open(self.log, encoding="latin-1") as f:
                return sum(1 for line in f if "CONNECT: Client" in line) - 1
        except FileNotFoundError:
            return 0

    def environment(self, windows):
        path = wzharness.wine_path if windows else (lambda p: p)
        return {
            self.prefix + "_HOST": "%s %d" % (self.address, self.port),
            self.prefix + "_PORT": str(self.port),
            self.prefix + "_USER": self.user,
            self.prefix + "_PASSWORD": self.password,
            self.prefix + "_ROOT": path(self.root),
            self.prefix + "_LOG": path(self.log),
            self.prefix + "_CA": path(self.authority) if self.tls else "",
        }

    def stop(self):
        if self.process is not None:
            # The group of the timeout we started: vsftpd and its session processes.
            try:
                os.killpg(self.process.pid, 15)
            except ProcessLookupError:
                pass
            self.process.wait(timeout=30)
            self.process = None
        if self.user:
            subprocess.run(["userdel", self.user], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            self.user = None
        shutil.rmtree(self.dir, ignore_errors=True)


class Scripted:
    """The scripted FTP server: one loopback listener per scenario of the
    test's scenario file, each named to the program as WZ_SCRIPTED_<NAME>. With
    certificates, the scripted TLS server, for the scenarios with "tls"
    settings (ftpscript_tls.py)."""

    def __init__(self, scenario_file, tls=None):
        if tls is None:
            self.server = ftpscript.ScriptedServer(scenario_file)
        else:
            self.server = ftpscript_tls.TlsScriptedServer(scenario_file, tls)

    def start(self):
        self.server.start()
        return self

    def environment(self, windows):
        env = {}
        for name, port in self.server.ports.items():
            key = name.upper().replace("-", "_")
            env["WZ_SCRIPTED_" + key] = "%s %d" % (self.server.addresses[name], port)
            env["WZ_SCRIPTED_PORT_" + key] = str(port)
        return env

    def transcript(self):
        return self.server.transcript()

    def stop(self):
        self.server.stop()


class Icmp:
    """Not a server: the raw ICMP socket that ping needs, which the system
    gives to root only (the test is skipped otherwise); with ipv6, the raw
    ICMPv6 socket and the IPv6 loopback address."""

    def __init__(self, ipv6=False, probe=None):
        self.ipv6 = ipv6
        self.probe = probe   # under Wine: the test program that asks the system's ICMPv6 service

    def start(self):
        if self.probe:
            self.ask_windows()
            return self
        family, protocol = ((socket.AF_INET6, socket.IPPROTO_ICMPV6) if self.ipv6 else
                            (socket.AF_INET, socket.IPPROTO_ICMP))
        try:
            socket.socket(family, socket.SOCK_RAW, protocol).close()
        except PermissionError:
            raise PeerUnavailable("a raw ICMP%s socket needs root" % ("v6" if self.ipv6 else ""))
        except OSError as error:
            raise PeerUnavailable("no ICMP%s socket here: %s" % ("v6" if self.ipv6 else "", error))
        return self

    def ask_windows(self):
        """A Windows build pings IPv6 hosts through Icmp6SendEcho2: where the
        system (Wine) has no such service, wendrik_ping_system_test says so
        by skipping its ICMPv6 case, and so does the test that asked."""
        command = wzharness.command_for(self.probe, ["--gtest_filter=PingSystemEcho.Icmp6OnLoopback"])
        rc, out, err = wzharness.run(command, 120)
        skipped = [line for line in out.splitlines() if "not implemented here" in line]
        if skipped:
            raise PeerUnavailable("the system's ICMPv6 echo service: " + skipped[0].strip())
        if rc != 0:
            raise RuntimeError("wendrik_ping_system_test failed its ICMPv6 case:\n" + out + err)

    def environment(self, windows):
        return {}

    def stop(self):
        pass


class Peers:
    """The peers a test script names, started in order, stopped in reverse.
    A name may carry settings after it: "vsftpd2 idle_session_timeout=1"
    adds that line to the vsftpd's configuration; "address=::1" makes a
    vsftpd listen on the IPv6 loopback address."""

    def __init__(self, names, scenario_file=None, windows=False, programs=None):
        self.programs = programs   # the folder of the build's test programs
        self.requested = [name.split() for name in names]
        self.names = [words[0] for words in self.requested]
        self.scenario_file = scenario_file
        self.windows = windows
        self.started = {}
        self.certificates = None
        self.certificate_folder = None

    def tls(self):
        """The certificates of the test's TLS peers, made as they are asked for."""
        if self.certificates is None:
            self.certificate_folder = tempfile.mkdtemp(prefix="wz-certificates-")
            try:
                # Server certificates name both loopback addresses.
                self.certificates = certificates.Certificates(self.certificate_folder,
                                                              more_addresses=("::1",))
            except certificates.Unavailable as reason:
                raise PeerUnavailable(str(reason))
        return self.certificates

    def __enter__(self):
        # Two vsftpd instances are there to exchange files with each other.
        pair = "vsftpd2" in self.names
        try:
            for name, *settings in self.requested:
                # "address=::1": a vsftpd on that loopback address (IPv6).
                address = [s.split("=", 1)[1] for s in settings if s.startswith("address=")]
                settings = [s for s in settings if not s.startswith("address=")]
                if name == "vsftpd":
                    self.started[name] = Vsftpd(promiscuous=pair, settings=settings,
                                                address=(address or ["127.0.0.1"])[0]).start()
                elif name == "vsftpd-tls":
                    # Wine's Secure Channel does not resume TLS sessions (a
                    # data connection offered the control connection's
                    # session starts a new one), so under Wine the server
                    # does not require resumption; natively it does.
                    if self.windows:
                        settings = ["require_ssl_reuse=NO"] + settings
                    # "certificate=KIND": the kind it presents (certificates.py).
                    kinds = [s.split("=", 1)[1] for s in settings if s.startswith("certificate=")]
                    settings = [s for s in settings if not s.startswith("certificate=")]
                    self.started[name] = Vsftpd(settings=settings, tls=self.tls(),
                                                certificate=(kinds or ["server"])[0],
                                                address=(address or ["127.0.0.1"])[0]).start()
                elif name == "vsftpd2":
                    self.started[name] = Vsftpd(prefix="WZ_VSFTPD2", address=(address or ["127.0.0.2"])[0],
                                                promiscuous=True, settings=settings).start()
                elif name == "icmp":
                    self.started[name] = Icmp().start()
                elif name == "icmp6":
                    probe = os.path.join(self.programs or "", "wendrik_ping_system_test.exe")
                    self.started[name] = Icmp(ipv6=True, probe=probe if self.windows else None).start()
                elif name in ("scripted", "scripted-tls") and self.scenario_file is None:
                    raise ValueError("peer %s: the test has no scenario file beside it" % name)
                elif name == "scripted":
                    self.started[name] = Scripted(self.scenario_file).start()
                elif name == "scripted-tls":
                    self.started[name] = Scripted(self.scenario_file, self.tls()).start()
                else:
                    raise ValueError("unknown peer: " + name)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for peer in reversed(list(self.started.values())):
            peer.stop()
        self.started = {}
        if self.certificate_folder:
            shutil.rmtree(self.certificate_folder, ignore_errors=True)
            self.certificate_folder = self.certificates = None

    def environment(self):
        env = {}
        for peer in self.started.values():
            env.update(peer.environment(self.windows))
        if self.certificates:
            env.update(self.certificates.environment(wzharness.wine_path if self.windows else (lambda p: p)))
        return env

    def transcript(self):
        """The scripted servers' transcripts, then each vsftpd's command lines
        as "NAME: LINE"."""
        lines = []
        for name, peer in self.started.items():
            if isinstance(peer, Scripted):
                lines += peer.transcript()
        for name, peer in self.started.items():
            if isinstance(peer, Vsftpd):
                lines += ["%s: %s" % (name, command) for command in peer.commands()]
        return lines

    def get(self, name):
        return self.started.get(name)
