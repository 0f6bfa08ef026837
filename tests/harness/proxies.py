"""Real HTTP proxies of the submission tests: Debian's squid, tinyproxy and
privoxy, each in the foreground on a free loopback port with a configuration
file that the test writes into a folder of its own (never the system's), in
front of the tests' gateway, bounded in time and stopped by its process id.

They connect on to the host and port of the absolute URI they are sent, so a
case names the gateway by its loopback address and port in its target.
Variants that make a proxy refuse the request:
  squid NAME deny          every request is refused: 403 and squid's page
                           "Access Denied", which links the requested URL
  tinyproxy NAME auth      proxy authentication is required: 407"""
import os
import pwd

import submission_servers as servers


class RealProxy(servers.ForegroundServer):
    """One proxy: config() gives its configuration for the port and the
    folder, command() its command line on that file."""

    # The account the proxy drops to when started as root: its folder must
    # be writable by it.
    USER = "nobody"
    VARIANTS = (None,)

    def __init__(self, name, variant=None):
        servers.ForegroundServer.__init__(self, name)
        if variant not in self.VARIANTS:
            raise ValueError("%s has no variant %r" % (os.path.basename(self.PROGRAM), variant))
        self.variant = variant
        os.chmod(self.dir, 0o755)
        if os.geteuid() == 0:
            account = pwd.getpwnam(self.USER)
            os.chown(self.dir, account.pw_uid, account.pw_gid)
        self.config_path = os.path.join(self.dir, "proxy.conf")
        with open(self.config_path, "w") as f:
            f.write("\n".join(self.config()) + "\n")


class Squid(RealProxy):
    PROGRAM = "/usr/sbin/squid"
    USER = "proxy"
    VARIANTS = (None, "deny")

    def config(self):
        def path(name):
            return os.path.join(self.dir, name)
        lines = ["http_port 127.0.0.1:%d" % self.port,
                 "pid_filename %s" % path("squid.pid"),
                 "access_log stdio:%s" % path("access.log"),
                 "cache_log %s" % path("cache.log"),
                 "coredump_dir %s" % self.dir,
                 "cache deny all",
                 # Names come from the hosts file; no name server beyond this
                 # machine is asked, and squid's own sockets stay on loopback.
                 "dns_nameservers 127.0.0.1",
                 "udp_incoming_address 127.0.0.1",
                 "udp_outgoing_address 127.0.0.1",
                 "pinger_enable off",
                 "shutdown_lifetime 0 seconds"]
        if self.variant == "deny":
            lines.append("http_access deny all")
        lines += ["http_access allow localhost", "http_access deny all"]
        return lines

    def command(self):
        return [self.PROGRAM, "-N", "-f", self.config_path]


class Tinyproxy(RealProxy):
    PROGRAM = "/usr/bin/tinyproxy"
    VARIANTS = (None, "auth")
    USER_NAME, PASSWORD = "registrant", "secret"

    def config(self):
        lines = ["User nobody", "Group nogroup",
                 "Port %d" % self.port, "Listen 127.0.0.1", "Allow 127.0.0.1",
                 "Timeout 60",
                 'LogFile "%s"' % os.path.join(self.dir, "tinyproxy.log"),
                 "LogLevel Info",
                 'PidFile "%s"' % os.path.join(self.dir, "tinyproxy.pid")]
        if self.variant == "auth":
            lines.append("BasicAuth %s %s" % (self.USER_NAME, self.PASSWORD))
        return lines

    def command(self):
        return [self.PROGRAM, "-d", "-c", self.config_path]


class Privoxy(RealProxy):
    PROGRAM = "/usr/sbin/privoxy"
    # The pages privoxy answers with itself; read, never changed.
    TEMPLATES = "/etc/privoxy/templates"

    def config(self):
        return ["confdir %s" % self.dir,
                "templdir %s" % self.TEMPLATES,
                "logdir %s" % self.dir,
                "logfile privoxy.log",
                "listen-address 127.0.0.1:%d" % self.port,
                "toggle 0",
                "enable-remote-toggle 0",
                "enable-edit-actions 0",
                "accept-intercepted-requests 0"]

    def command(self):
        args = [self.PROGRAM, "--no-daemon"]
        if os.geteuid() == 0:
            args += ["--user", "nobody"]
        return args + [self.config_path]


KINDS = {"squid": Squid, "tinyproxy": Tinyproxy, "privoxy": Privoxy}


def make(keyword, words):
    """The proxy of a directive: KIND NAME [VARIANT]."""
    return KINDS[keyword](words[0], words[1] if len(words) > 1 else None)
