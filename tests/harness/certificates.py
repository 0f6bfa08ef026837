"""Throwaway certificates for the TLS tests, made with openssl when a test
starts and removed with its folder: nothing of them is kept in the
repository. Each kind is made on first use.

Kinds (each a certificate file, a key file, and for a server the chain it
sends; every server certificate names the listening address, the further
addresses and the DNS names given):
  authority     a certificate authority (the usual trust file)
  server        issued by the authority
  intermediate  a certificate authority issued by the authority
  via-intermediate  issued by the intermediate; its chain holds both
  expired       issued by the authority, valid for one day in 2020
  client-only   issued by the authority for clients only (no serverAuth)
  nul-name      issued by the authority, its one DNS name
                "localhost" NUL ".evil.example"
  self-signed   a server's own certificate, issuer and subject the same
  twin          the self-signed one's twin: the same issuer, serial number,
                subject and names, another key
  stranger      self-signed by nobody a test trusts
  first-address-only  issued by the authority for the listening address
                alone (not the further addresses)
"""
import os
import shutil
import subprocess

SERIAL = "0x5eed0001"


class Unavailable(Exception):
    """openssl is not there: the test is skipped."""


class Certificates:
    """owner names the certificates' subjects ("OWNER test server",
    "OWNER test authority"); dns_names are named by every server
    certificate besides the address."""

    def __init__(self, folder, address="127.0.0.1", owner="wendrik", dns_names=(), more_addresses=()):
        if shutil.which("openssl") is None:
            raise Unavailable("openssl is not installed")
        self.folder = folder
        self.address = address
        self.owner = owner
        self.subject = "/CN=%s test server" % owner
        self.dns_names = tuple(dns_names)
        self.more_addresses = tuple(more_addresses)
        self.made = set()

    def openssl(self, *arguments):
        subprocess.run(["openssl"] + list(arguments), check=True, cwd=self.folder,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, text):
        with open(self.path(name), "w") as f:
            f.write(text)
        return name

    def certificate(self, kind):
        """The certificate file of a kind (the trust file of a test)."""
        self.make(kind)
        return self.path(kind + ".pem")

    def key(self, kind):
        self.make(kind)
        return self.path(kind + ".key")

    def chain(self, kind):
        """What a server of this kind sends: its certificate, and the
        intermediate's after it where it has one."""
        self.make(kind)
        chain = self.path(kind + ".chain.pem")
        return chain if os.path.exists(chain) else self.certificate(kind)

    def make(self, kind):
        if kind in self.made:
            return
        if kind == "authority":
            self.self_signed(kind, "/CN=%s test authority" % self.owner, "basicConstraints=critical,CA:TRUE\n"
                             "keyUsage=critical,keyCertSign,cRLSign\n")
        elif kind == "intermediate":
            self.issued(kind, "authority", "/CN=%s test intermediate" % self.owner,
                        "basicConstraints=critical,CA:TRUE\nkeyUsage=critical,keyCertSign,cRLSign\n")
        elif kind == "server":
            self.issued(kind, "authority", self.subject, self.server_names())
        elif kind == "first-address-only":
            self.issued(kind, "authority", self.subject,
                        "subjectAltName=IP:%s\nextendedKeyUsage=serverAuth\n" % self.address)
        elif kind == "via-intermediate":
            self.issued(kind, "intermediate", self.subject, self.server_names())
            with open(self.path(kind + ".chain.pem"), "w") as chain:
                for part in (kind, "intermediate"):
                    with open(self.path(part + ".pem")) as f:
                        chain.write(f.read())
        elif kind == "expired":
            self.issued(kind, "authority", self.subject, self.server_names(),
                        dates=("20200101000000Z", "20200102000000Z"))
        elif kind == "client-only":
            self.issued(kind, "authority", self.subject,
                        "subjectAltName=IP:%s\nextendedKeyUsage=clientAuth\n" % self.address)
        elif kind == "nul-name":
            name = b"localhost\0.evil.example"
            der = bytes([0x30, len(name) + 2, 0x82, len(name)]) + name
            self.issued(kind, "authority", self.subject, "subjectAltName=DER:%s\n" % der.hex())
        elif kind in ("self-signed", "twin", "stranger"):
            if kind == "twin":
                self.make("self-signed")   # the trust file of a test of the twin
            self.self_signed(kind, self.subject, self.server_names(), serial=SERIAL)
        else:
            raise ValueError("unknown kind of certificate: " + kind)
        self.made.add(kind)

    def server_names(self):
        names = (["IP:" + a for a in (self.address,) + self.more_addresses] +
                 ["DNS:" + name for name in self.dns_names])
        return "subjectAltName=%s\nextendedKeyUsage=serverAuth\n" % ",".join(names)

    def self_signed(self, kind, subject, extensions, serial=None):
        extfile = self.write(kind + ".ext", extensions)
        self.openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", kind + ".key", "-out", kind + ".csr",
                     "-subj", subject)
        self.openssl("x509", "-req", "-in", kind + ".csr", "-key", kind + ".key", "-out", kind + ".pem",
                     "-days", "2", "-extfile", extfile, "-set_serial", serial or self.next_serial())

    def issued(self, kind, issuer, subject, extensions, dates=None):
        """A certificate of the issuer's; dates (not before, not after) through
        openssl ca, which alone takes dates in the past."""
        self.make(issuer)
        extfile = self.write(kind + ".ext", extensions)
        self.openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", kind + ".key", "-out", kind + ".csr",
                     "-subj", subject)
        if dates is None:
            self.openssl("x509", "-req", "-in", kind + ".csr", "-CA", issuer + ".pem", "-CAkey", issuer + ".key",
                         "-set_serial", self.next_serial(), "-out", kind + ".pem", "-days", "2",
                         "-extfile", extfile)
            return
        database = self.write(kind + ".index", "")
        config = self.write(kind + ".cnf", "\n".join([
            "[ca]", "default_ca = throwaway", "[throwaway]", "database = %s" % database,
            "new_certs_dir = .", "serial = %s" % self.write(kind + ".serial", "%x\n" % (0x1000 + len(self.made))),
            "default_md = sha256", "policy = anything", "unique_subject = no", "[anything]",
            "commonName = supplied", ""]))
        self.openssl("ca", "-batch", "-config", config, "-cert", issuer + ".pem", "-keyfile", issuer + ".key",
                     "-in", kind + ".csr", "-out", kind + ".pem", "-notext", "-extfile", extfile,
                     "-startdate", dates[0], "-enddate", dates[1])

    def environment(self, path):
        """WZ_CERT_KIND (self-signed: WZ_CERT_SELF_SIGNED) for each kind made,
        the file through path (a Windows path under Wine)."""
        return {"WZ_CERT_" + kind.upper().replace("-", "_"): path(self.certificate(kind)) for kind in self.made}

    def next_serial(self):
        return "0x%x" % (0x2000 + len(self.made))
