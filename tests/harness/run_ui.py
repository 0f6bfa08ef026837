"""Runs one UI scenario: the UI test driver inside a Wine virtual desktop of
the test run's Wine session, then converts the driver's screenshots to PNG.

Usage: run_ui.py [--dpi N] DRIVER SCENARIO PROGRAM_DIRECTORY OUTPUT_DIRECTORY

--dpi N runs the scenario as if it had the line "dpi N" (below), so that one
scenario serves several scales.

OUTPUT_DIRECTORY is emptied first; afterwards it holds the driver's
report.txt, the standard output of each program started (programN.out) and NN-what.png.
The test passes when the report ends with PASS and the runner's own checks hold.

The driver gets the names of the program's ids (resource_names.py: resource.h,
the string table's IDS_ names, the system's ids) in OUTPUT_DIRECTORY/names.txt,
so that a scenario names its controls, dialogs and messages.

A scenario may also name loopback servers and fixtures of its own; the
runner takes these lines out, starts the servers before the driver runs and
stops them after it, and fills their ports into the other lines:
  gateway, https, pac, proxy, socks, danted, closed, squid, tinyproxy, privoxy
                     servers as the submission cases name them
                     (submission_servers.py; replies from
                     DATA/gateway/replies.json); ${NAME.port}, ${NAME.host}.
                     For an https gateway the runner makes a throwaway
                     authority (OUTPUT_DIRECTORY/certificates) and makes it
                     a root of the session's prefix with the build's
                     enrolwiz_trust_root.exe while the scenario runs
  fixture FILE       a .reg template of DATA/registry, loaded with regedit into
                     the session's registry before the driver runs; the values
                     it sets are deleted again afterwards
  prefs FILE         a prefs.js template of DATA/prefs in the Netscape profile
                     folder ${PROFILE} (OUTPUT_DIRECTORY/profile)
  bookmarks          an empty Netscape bookmark file in that folder;
  bookmark LINE      ... which then ends with these lines, in order
  received NAME TEXT a request line that server NAME received begins with TEXT
  connections NAME N server NAME had exactly N connections
  request NAME N     the Nth request line that server NAME received is a
                     registration request whose parameters are the "pair" lines
  pair KEY=VALUE     that follow it, exactly and in order, each value as the
                     program had it before escaping (in double quotes when it
                     begins or ends with a blank); the escaping is checked too
Two lines set up the system the scenario runs on; the runner applies them
before the driver starts and puts back what was there before once it has
ended (also after an interrupted run: the next scenario does it first):
  windows VERSION    Wine's Windows version (HKCU\\Software\\Wine, "Version":
                     win10, win81, win7, winxp, ...)
  dpi N              the display's scale in dots per inch (96 is 100 %):
                     "LogPixels" where Wine reads it (HKCU\\Control Panel\\Desktop,
                     which wins, and HKCC\\Software\\Fonts); Wine reads it when a
                     process starts, so the scenario's programs, all started
                     after, see it. The virtual desktop grows with the scale
                     (800x600 at 96); a scale other than 96 runs on an X
                     display of that size of its own, started for the
                     scenario (the session's is 1024x768). Above 96 Wine's
                     own Tahoma Bold is set
                     aside for the scenario: its outlines, drawn at every size
                     above its 11 and 12 pixel bitmaps, are of the regular
                     weight, so bold dialog texts would look regular; without
                     the file Wine emboldens Tahoma itself, as bold looks on
                     Windows.
CTest runs scenarios with either line alone (RUN_SERIAL): they change the
whole session.
The driver's step "remember NAME KEY VALUE" (a registry value) makes ${NAME}
for the pair lines. The requests that servers received, parameter by
parameter, are written to OUTPUT_DIRECTORY/received.txt. A server that cannot
run here (danted missing, a fixed port and no root) skips the scenario
(status 77)."""
import glob
import json
import os
import re
import shutil
import subprocess
import sys

import resource_names
import submission_servers as servers
import wzharness

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
DATA = os.path.join(ROOT, "enrolwiz", "net", "tests", "data", "submission")

DESKTOP_SIZE = (800, 600)
DEFAULT_DPI = 96
SKIPPED = 77
SERVER_KEYWORDS = set(servers.SERVER_KEYWORDS)
SYSTEM_KEYWORDS = {"windows", "dpi"}
RUNNER_KEYWORDS = SERVER_KEYWORDS | SYSTEM_KEYWORDS | {"fixture", "prefs", "bookmarks", "bookmark", "received",
                                                       "connections", "request", "pair"}
# Where Wine reads the display's scale (the first one wins) and its Windows version.
DPI_VALUES = [("HKCU\\Control Panel\\Desktop", "LogPixels"), ("HKCC\\Software\\Fonts", "LogPixels")]
VERSION_VALUE = ("HKCU\\Software\\Wine", "Version")
# Wine's Tahoma Bold, set aside above 96 dots per inch (see the head comment)
# into the session's folder: Wine loads every file of its Fonts folder.
BOLD_FONT = os.path.join("prefix", "drive_c", "windows", "Fonts", "tahomabd.ttf")
BOLD_FONT_ASIDE = "tahomabd.ttf.set-aside"
GATEWAY_MARK = "/scripts/mwisapi.dll/Service.Gateway.DoGet?"
BOOKMARK_FILE = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n"


def url_encode(text):
    """The program's escaping: letters, digits and "_" stay, every other byte
    becomes "%" and two lower-case hex digits."""
    out = []
    for byte in text.encode("latin-1"):
        c = chr(byte)
        out.append(c if c.isascii() and (c.isalnum() or c == "_") else "%%%02x" % byte)
    return "".join(out)


def url_decode(text):
    return re.sub(r"%([0-9A-Fa-f]{2})", lambda m: chr(int(m.group(1), 16)), text)


def query_of(line):
    """The parameters of a received request line (escaped as the transcript
    writes it), or None when it is no registration request. The query ends
    at the line's end or at the blank before an HTTP version."""
    at = line.find(GATEWAY_MARK)
    if at < 0:
        return None
    query = re.split(r" |\\r|\\n", line[at + len(GATEWAY_MARK):])[0]
    return query.replace("\\\\", "\\").split("&")


def undo_registry(text):
    """A .reg text that deletes every value that the given one sets."""
    out = ["REGEDIT4", ""]
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            out += ["", line]
        elif line.startswith("@="):
            out.append("@=-")
        elif line.startswith('"') and '"=' in line[1:]:
            out.append(line[:line.index('"=', 1) + 2] + "-")
    return "\r\n".join(out) + "\r\n"


def reg(*arguments):
    status, out, err = wzharness.run([wzharness.WINE_RUN, "reg"] + list(arguments), timeout=60)
    return status, out


def read_value(key, name):
    """(type, data) of a registry value of the session, or None when absent."""
    status, out = reg("query", key, "/v", name)
    if status != 0:
        return None
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
            return parts[1], parts[2].strip() if len(parts) > 2 else ""
    return None


def write_value(key, name, value):
    """Sets (type, data) or, for None, deletes a registry value of the session."""
    if value is None:
        reg("delete", key, "/v", name, "/f")
        return
    kind, data = value
    if kind == "REG_DWORD" and data.lower().startswith("0x"):
        data = str(int(data, 16))
    status, out = reg("add", key, "/v", name, "/t", kind, "/d", data, "/f")
    if status != 0:
        raise RuntimeError("cannot set %s\\%s: %s" % (key, name, out))


class SystemSettings:
    """The windows and dpi lines: applied for one scenario and undone after.
    What they change is written to a journal in the session's folder first,
    so that a run cut short is undone by the next scenario."""

    def __init__(self, directives):
        self.values = []
        self.dpi = DEFAULT_DPI
        for keyword, rest in directives:
            if keyword == "windows":
                self.values.append((VERSION_VALUE, ("REG_SZ", rest)))
            elif keyword == "dpi":
                self.dpi = int(rest)
                self.values += [(place, ("REG_DWORD", str(self.dpi))) for place in DPI_VALUES]
        session = os.environ.get("WZ_WINE_DIR", "")
        self.journal = os.path.join(session, "scenario-settings.json")
        self.font = os.path.join(session, BOLD_FONT)
        self.font_aside = os.path.join(session, BOLD_FONT_ASIDE)

    def desktop_size(self):
        return tuple(size * self.dpi // DEFAULT_DPI for size in DESKTOP_SIZE)

    def desktop(self):
        return "%dx%d" % self.desktop_size()

    def undo(self):
        """Puts back what the journal recorded, and the bold font."""
        if os.path.exists(self.font_aside):
            os.replace(self.font_aside, self.font)
        if os.path.exists(self.journal):
            with open(self.journal, encoding="utf-8") as f:
                for (key, name), previous in json.load(f):
                    write_value(key, name, tuple(previous) if previous else None)
            os.remove(self.journal)

    def apply(self):
        self.undo()
        if not self.values and self.dpi == DEFAULT_DPI:
            return
        previous = [(place, read_value(*place)) for place, _ in self.values]
        with open(self.journal, "w", encoding="utf-8") as f:
            json.dump(previous, f)
        for place, value in self.values:
            write_value(place[0], place[1], value)
        if self.dpi > DEFAULT_DPI and os.path.exists(self.font):
            os.replace(self.font, self.font_aside)


class Display:
    """An X display of a given size for one scenario, bounded in time and
    stopped by its process id: a virtual desktop larger than the session's
    display, or of another size, takes the mouse's clicks elsewhere."""

    LIMIT = 300

    def __init__(self, size):
        self.size = size
        self.process = None
        self.name = None

    def start(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["timeout", str(self.LIMIT), "Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % self.size,
             "-nolisten", "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        return self.name

    def stop(self):
        wzharness.stop_process(self.process, 10)


class Scenario:
    def __init__(self, path, output, dpi=None):
        self.output = output
        self.driver_lines = []
        self.directives = [("dpi", dpi)] if dpi else []
        with open(path, encoding="latin-1") as f:
            for line in f.read().splitlines():
                keyword, _, rest = line.strip().partition(" ")
                if keyword == "dpi" and dpi:
                    continue
                if keyword in RUNNER_KEYWORDS:
                    self.directives.append((keyword, rest.strip()))
                else:
                    self.driver_lines.append(line)
        self.servers = []
        self.transcript = servers.Transcript()
        self.profile = os.path.join(output, "profile")
        self.values = {"PROFILE": wzharness.wine_path(self.profile)}
        self.undo = None
        self.system = SystemSettings([(k, rest) for k, rest in self.directives if k in SYSTEM_KEYWORDS])
        self.authority = None

    def all(self, keyword):
        return [rest for k, rest in self.directives if k == keyword]

    def start(self, programs):
        self.system.apply()
        with open(os.path.join(DATA, "gateway", "replies.json"), encoding="utf-8") as f:
            replies = json.load(f)["replies"]
        if self.all("https"):
            folder = os.path.join(self.output, "certificates")
            os.makedirs(folder)
            self.authority = servers.Authority(folder, os.path.join(programs, "enrolwiz_trust_root.exe"))
        self.servers, values = servers.make_servers(
            [(k, rest) for k, rest in self.directives if k in SERVER_KEYWORDS], DATA, replies, self.transcript,
            self.authority and self.authority.certificates)
        self.values.update(values)
        for server in self.servers:
            server.start(self.values)
        os.makedirs(self.profile, exist_ok=True)
        for name in self.all("prefs"):
            with open(os.path.join(DATA, "prefs", name), encoding="latin-1") as f:
                text = servers.render(f.read(), self.values)
            with open(os.path.join(self.profile, "prefs.js"), "w", encoding="latin-1", newline="") as f:
                f.write(text)
        if self.all("bookmarks"):
            with open(os.path.join(self.profile, "bookmark.htm"), "w", encoding="latin-1", newline="\r\n") as f:
                f.write(BOOKMARK_FILE)
        fixtures = []
        for name in self.all("fixture"):
            with open(os.path.join(DATA, "registry", name), encoding="latin-1") as f:
                fixtures.append(servers.render_registry(f.read(), self.values))
        if fixtures:
            self.undo = "".join(undo_registry(text) for text in fixtures)
            for i, text in enumerate(fixtures):
                self.regedit("fixture%d.reg" % i, text)

    def regedit(self, name, text):
        path = os.path.join(self.output, name)
        with open(path, "w", encoding="latin-1", newline="\r\n") as f:
            f.write(text.replace("\r\n", "\n"))
        status, out, err = wzharness.run([wzharness.WINE_RUN, "regedit", "/s", wzharness.wine_path(path)],
                                         timeout=60)
        if status != 0:
            raise RuntimeError("regedit %s failed (%d): %s%s" % (name, status, out, err))

    def stop(self):
        for server in self.servers:
            server.stop()
        if self.undo:
            self.regedit("fixture-undo.reg", self.undo)
        self.system.undo()
        if self.authority:
            self.authority.remove()

    def driver_names(self):
        path = os.path.join(self.output, "names.txt")
        resource_names.write_names(path, resource_names.read_names())
        return path

    def driver_scenario(self):
        path = os.path.join(self.output, "scenario.txt")
        with open(path, "w", encoding="latin-1") as f:
            for line in self.driver_lines:
                f.write(servers.render(line, self.values) + "\n")
        return path

    def check(self, report):
        for name, value in re.findall(r"^    remember (\w+)=(.*)$", report, re.M):
            self.values[name] = value
        failures = [line for line in self.transcript.lines if ": server error: " in line]
        requests = {}
        for keyword, rest in self.directives:
            if keyword == "received":
                name, _, text = rest.partition(" ")
                text = servers.render(text, self.values)
                if not any(line.startswith(text) for line in self.transcript.of(name)):
                    failures.append("%s received no request line that begins with %r" % (name, text))
            elif keyword == "connections":
                name, number = rest.split()
                got = self.transcript.connections(name)
                if got != int(number):
                    failures.append("%s had %d connection(s), not %s" % (name, got, number))
            elif keyword == "request":
                name, number = rest.split()
                requests[(name, int(number))] = []
                current = requests[(name, int(number))]
            elif keyword == "pair":
                current.append(servers.render(rest, self.values))
        for (name, number), pairs in requests.items():
            failures += self.check_request(name, number, pairs)
        wanted = [servers.render(line, self.values) for line in self.all("bookmark")]
        if wanted:
            with open(os.path.join(self.profile, "bookmark.htm"), encoding="latin-1", newline="") as f:
                lines = f.read().split("\r\n")
            if lines and lines[-1] == "":
                lines.pop()
            if lines[-len(wanted):] != wanted:
                failures.append("the bookmark file does not end with %r; it is %r" % (wanted, lines))
        return failures

    def check_request(self, name, number, wanted):
        got = self.transcript.requests(name)
        if len(got) < number:
            return ["%s received %d request(s), not %d" % (name, len(got), number)]
        query = query_of(got[number - 1])
        if query is None:
            return ["%s's request %d is no registration request: %s" % (name, number, got[number - 1])]
        failures = []
        for i in range(max(len(query), len(wanted))):
            sent = query[i] if i < len(query) else None
            expected = wanted[i] if i < len(wanted) else None
            if sent is None or expected is None:
                failures.append("%s request %d, pair %d: expected %r, sent %r" % (name, number, i + 1, expected, sent))
                continue
            key, _, raw = sent.partition("=")
            value = url_decode(raw)
            wanted_key, _, wanted_value = expected.partition("=")
            if len(wanted_value) >= 2 and wanted_value[0] == wanted_value[-1] == '"':
                wanted_value = wanted_value[1:-1]
            if (key, value) != (wanted_key, wanted_value):
                failures.append("%s request %d, pair %d: expected %s=%r, sent %s=%r"
                                % (name, number, i + 1, wanted_key, wanted_value, key, value))
            elif url_encode(value) != raw:
                failures.append("%s request %d, pair %d: %s is escaped as %r, not %r"
                                % (name, number, i + 1, key, raw, url_encode(value)))
        return failures

    def write_received(self):
        """Every request line the servers received, registration requests
        parameter by parameter."""
        out = []
        for line in self.transcript.lines:
            out.append(line)
            query = query_of(line.split(": ", 1)[1])
            if query:
                out += ["    %s = %s" % (pair.partition("=")[0], url_decode(pair.partition("=")[2])) for pair in query]
        with open(os.path.join(self.output, "received.txt"), "w", encoding="latin-1") as f:
            f.write("".join(line + "\n" for line in out))
        return out


def main():
    arguments = sys.argv[1:]
    dpi = None
    if arguments[:1] == ["--dpi"] and len(arguments) > 1:
        dpi = arguments[1]
        arguments = arguments[2:]
    if len(arguments) != 4:
        sys.exit(__doc__)
    driver, scenario_path, programs, output = arguments
    wzharness.skip_if_wine_unusable()
    if os.path.isdir(output):
        shutil.rmtree(output)
    os.makedirs(output)
    scenario = Scenario(scenario_path, output, dpi)
    name = os.path.basename(output)
    display = Display(scenario.system.desktop_size()) if scenario.system.dpi != DEFAULT_DPI else None
    try:
        scenario.start(programs)
        environment = {"WZ_WINE_TIMEOUT": "170"}
        if display:
            environment["WZ_DISPLAY"] = display.start()
        command = [wzharness.WINE_RUN, "explorer", "/desktop=wz-%s,%s" % (name, scenario.system.desktop()), driver,
                   wzharness.wine_path(scenario.driver_scenario()), wzharness.wine_path(output),
                   wzharness.wine_path(programs), wzharness.wine_path(scenario.driver_names())]
        status, out, err = wzharness.run(command, timeout=180, env=environment)
    except servers.Unavailable as why:
        print("skipped: %s" % why)
        return SKIPPED
    finally:
        scenario.stop()
        if display:
            display.stop()
    for bitmap in sorted(glob.glob(os.path.join(output, "*.bmp"))):
        png = bitmap[:-4] + ".png"
        if subprocess.run(["convert", bitmap, png]).returncode == 0:
            os.remove(bitmap)
    report_path = os.path.join(output, "report.txt")
    report = open(report_path, encoding="latin-1").read() if os.path.exists(report_path) else ""
    sys.stdout.write(report)
    for program_out in sorted(glob.glob(os.path.join(output, "program*.out"))):
        sys.stdout.write("--- %s ---\n" % os.path.basename(program_out) +
                         open(program_out, encoding="latin-1").read())
    received = scenario.write_received()
    if received:
        sys.stdout.write("--- received ---\n" + "".join(line + "\n" for line in received))
    print("screenshots: " + output)
    failures = scenario.check(report)
    for failure in failures:
        print("FAIL: " + failure)
    lines = report.strip().splitlines()
    if not lines or lines[-1] != "PASS" or failures:
        if err:
            sys.stdout.write("--- standard error ---\n" + err)
        print("FAIL: the scenario did not pass (driver status %d)" % status)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
