"""Runs UI scenarios that print, against a print queue of their own: a private
cupsd with a PDF printer (cups-pdf), reached by Wine through CUPS_SERVER.

Usage: run_printing.py DRIVER PROGRAMS WORK SCREENSHOTS SCENARIO...

WORK (in the build tree) is emptied and holds the server's configuration,
spool, logs, socket and the PDF files. The server listens on a socket there
(no port), runs in a mount namespace of its own in which cups-pdf's
configuration file is the one written to WORK (so the PDF files go to
WORK/pdf and no file outside WORK is touched), is bounded in time, and is
stopped by its process id whatever happens.

Each scenario runs through run_ui.py (screenshots in
SCREENSHOTS/enrolwiz.printing.NAME, where its printed document and a picture
of the document's first page go too). A
scenario NAME.scenario with a file NAME.pdf.txt beside it must print exactly
one document whose text (pdftotext -layout) is that file's, a line "<page>"
standing for each page break; every page's first line must stand at the
height of the first page's first line. The text is read back from the
glyphs' places, which do not tell how many blanks made a gap, so blanks
within a line compare as one; and the printer's font names its hyphen so
that it reads back as a soft hyphen, which compares as "-". A scenario without one must print
nothing. Exit status 77 (skipped) where the server cannot run: not root, or
the packages missing."""
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HARNESS = os.path.join(HERE, "..", "..", "..", "tests", "harness")
sys.path.insert(0, HARNESS)
import wzharness  # noqa: E402

RUN_UI = os.path.join(HARNESS, "run_ui.py")
QUEUE = "VirtualPDF"
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
BACKEND_CONFIG = "/etc/cups/cups-pdf.conf"
# Where the print server sees its work folder, in its own mount namespace only.
INSIDE = "/mnt"
PAGE_BREAK = "<page>"


def write(path, text):
    with open(path, "w") as f:
        f.write(text)


def skip_reason():
    if os.geteuid() != 0:
        return "the print server runs as root only (cups-pdf's backend is root's)"
    for tool in ("cupsd", "lpadmin", "lpstat", "pdftotext", "unshare"):
        if not shutil.which(tool):
            return tool + " is missing"
    for path in (PPD, BACKEND_CONFIG, "/usr/lib/cups/backend/cups-pdf", INSIDE):
        if not os.path.exists(path):
            return path + " is missing"
    return None


class PrintServer:
    """The private cupsd and its queue."""

    def __init__(self, work):
        self.work = work
        self.socket = os.path.join(work, "cups.sock")
        self.pdf = os.path.join(work, "pdf")
        self.process = None
        if len(self.socket) > 100:
            raise SystemExit("the build tree's path is too long for the server's socket: " + self.socket)

    def folder(self, name):
        """A folder of the work folder, by the path the server sees it under."""
        os.makedirs(os.path.join(self.work, name), exist_ok=True)
        return os.path.join(INSIDE, name)

    def configure(self):
        conf = self.folder("conf")
        log = self.folder("log")
        conf_here = os.path.join(self.work, "conf")
        write(os.path.join(conf_here, "cupsd.conf"),
              "Listen %s\nLogLevel info\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"
              % os.path.join(INSIDE, "cups.sock"))
        write(os.path.join(conf_here, "cups-files.conf"),
              "ServerRoot %s\nRequestRoot %s\nCacheDir %s\nStateDir %s\nTempDir %s\n"
              "ErrorLog %s/error_log\nAccessLog %s/access_log\nPageLog %s/page_log\nSystemGroup root\n"
              % (conf, self.folder("spool"), self.folder("cache"), self.folder("state"), self.folder("tmp"),
                 log, log, log))
        # cups-pdf reads its settings from one fixed file; inside the server's
        # mount namespace this one is bound over it.
        write(os.path.join(conf_here, "cups-pdf.conf"),
              "Out %s\nAnonDirName %s\nSpool %s\nLog %s\nGrp root\nGSTmp %s\nLabel 1\n"
              % (self.folder("pdf"), self.folder("pdf"), self.folder("pdf-spool"), log, self.folder("tmp")))

    def lp(self, *command, check=True):
        done = subprocess.run(list(command), env=dict(os.environ, CUPS_SERVER=self.socket),
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=30)
        if check and done.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(command), done.stdout.decode(errors="replace")))
        return done.stdout.decode(errors="replace")

    def start(self):
        # The filters run as the "lp" user, which may not pass through the
        # folders above the build tree (a private clone in /tmp, say): in the
        # server's own mount namespace the work folder is also bound at INSIDE,
        # whose parents everybody may pass, and the server uses that path.
        conf = os.path.join(INSIDE, "conf")
        script = ("mount --bind %s %s && mount --bind %s/cups-pdf.conf %s && "
                  "exec timeout 900 cupsd -f -c %s/cupsd.conf -s %s/cups-files.conf"
                  % (self.work, INSIDE, conf, BACKEND_CONFIG, conf, conf))
        self.process = subprocess.Popen(["unshare", "--mount", "--propagation", "private", "--", "sh", "-c", script],
                                        stdout=open(os.path.join(self.work, "log", "cupsd.out"), "w"),
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        for _ in range(100):
            if self.process.poll() is not None:
                raise RuntimeError("cupsd ended at once: " + open(os.path.join(self.work, "log", "cupsd.out")).read())
            if os.path.exists(self.socket) and "is running" in self.lp("lpstat", "-r", check=False):
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("cupsd did not answer")
        self.lp("lpadmin", "-p", QUEUE, "-v", "cups-pdf:/", "-E", "-P", PPD)
        self.lp("lpadmin", "-d", QUEUE)

    def stop(self):
        if not self.process or self.process.poll() is not None:
            return
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def wait_until_idle(self, seconds=60):
        """Until no job is waiting or printing."""
        until = time.time() + seconds
        while time.time() < until:
            if not self.lp("lpstat", "-o", check=False).strip():
                return True
            time.sleep(0.25)
        return False

    def documents(self):
        return sorted(glob.glob(os.path.join(self.pdf, "*.pdf")))


def comparable(line):
    return re.sub(" +", " ", line.replace("\u00ad", "-")).rstrip()


def pdf_pages(path):
    """The text of each page, trailing blank lines dropped."""
    text = subprocess.run(["pdftotext", "-layout", "-enc", "UTF-8", path, "-"], stdout=subprocess.PIPE,
                          check=True, timeout=60).stdout.decode("utf-8")
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    out = []
    for page in pages:
        lines = page.split("\n")
        while lines and not lines[-1].strip():
            lines.pop()
        out.append(lines)
    return out


def first_line_heights(path):
    """The top of the first word on each page (pdftotext -bbox)."""
    html = subprocess.run(["pdftotext", "-bbox", path, "-"], stdout=subprocess.PIPE, check=True,
                          timeout=60).stdout.decode("latin-1")
    heights = []
    for page in html.split("<page ")[1:]:
        word = re.search(r'<word xMin="[^"]*" yMin="([^"]*)"', page)
        heights.append(float(word.group(1)) if word else None)
    return heights


def check_document(documents, expected_path):
    failures = []
    if not os.path.exists(expected_path):
        if documents:
            failures.append("nothing should have been printed, but there is " + ", ".join(documents))
        return failures
    if len(documents) != 1:
        return ["one document should have been printed, there are %d: %s" % (len(documents), documents)]
    wanted = [[]]
    for line in open(expected_path, encoding="utf-8").read().split("\n")[:-1]:
        if line == PAGE_BREAK:
            wanted.append([])
        else:
            wanted[-1].append(line)
    pages = pdf_pages(documents[0])
    if [[comparable(l) for l in page] for page in pages] != [[comparable(l) for l in page] for page in wanted]:
        failures.append("the printed text differs from %s; it is:\n%s" % (
            expected_path, ("\n" + PAGE_BREAK + "\n").join("\n".join(page) for page in pages)))
    heights = first_line_heights(documents[0])
    if any(h != heights[0] for h in heights):
        failures.append("the pages' first lines stand at different heights: %s" % heights)
    print("printed %s: %d page(s), first lines at %s" % (os.path.basename(documents[0]), len(pages), heights))
    return failures


def keep(documents, folder):
    """The documents beside the scenario's screenshots, and their first pages as pictures."""
    for document in documents:
        kept = os.path.join(folder, os.path.basename(document))
        shutil.move(document, kept)
        subprocess.run(["pdftoppm", "-png", "-r", "50", "-f", "1", "-l", "1", "-singlefile", kept, kept[:-4]],
                       timeout=60)


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    driver, programs, work, screenshots = sys.argv[1:5]
    scenarios = sys.argv[5:]
    wzharness.skip_if_wine_unusable()
    reason = skip_reason()
    if reason:
        print("skipped: " + reason)
        return 77
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    server = PrintServer(work)
    failures = []
    try:
        server.configure()
        server.start()
        for scenario in scenarios:
            name = os.path.splitext(os.path.basename(scenario))[0]
            status = subprocess.run([sys.executable, RUN_UI, driver, scenario, programs,
                                     os.path.join(screenshots, "enrolwiz.printing." + name)],
                                    env=dict(os.environ, CUPS_SERVER=server.socket), timeout=200).returncode
            if status != 0:
                failures.append("%s: the scenario failed" % name)
                continue
            if not server.wait_until_idle():
                failures.append("%s: the print queue did not empty" % name)
                continue
            documents = server.documents()
            for failure in check_document(documents, os.path.splitext(scenario)[0] + ".pdf.txt"):
                failures.append("%s: %s" % (name, failure))
            keep(documents, os.path.join(screenshots, "enrolwiz.printing." + name))
    finally:
        server.stop()
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
