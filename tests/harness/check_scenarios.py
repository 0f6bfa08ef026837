"""Checks the UI scenario language against its description and every
scenario against the language:

  check_scenarios.py DRIVER_CPP README_MD FOLDER...

- the steps of the driver's table (DRIVER_CPP, the rows {"verb",
  "arguments", &Driver::handler}) and those of the table of steps in
  README_MD (each `verb arguments` in the first column) are the same, verb
  for verb and argument for argument;
- every .scenario file below the FOLDERs (build/ left out) has lines of the
  runner (run_ui.py) or steps of the table, each with as many arguments as
  its description allows, and names every control, dialog and message
  (the arguments ID, DIALOG, MESSAGE and COMMAND, and the message ids that
  enrolwiz_report_probe.exe takes and writes) by the name of resource.h, of
  the string table or of the system (resource_names.py), never by its
  number; a message that has no name (no text in the string table) is
  written as its number;
- every name in a scenario is one of those.
Faults are printed as FILE:LINE: what; the check fails when there is one."""
import os
import re
import sys

import resource_names
import run_ui

STEP_ROW = re.compile(r'\{"([a-z-]+)", "((?:[^"\\]|\\.)*)", &Driver::\w+\}')
KINDS_NAMED = {"ID", "DIALOG", "MESSAGE", "COMMAND"}
DIALOG_WORDS = {"message", "print"}
NAME = re.compile(r"\b(?:ID[A-Z]*_[A-Za-z0-9_]+|IDOK|IDCANCEL|IDABORT|IDRETRY|IDIGNORE|IDYES|IDNO|MSGBOX_[A-Z]+|cmb4)\b")
# enrolwiz_report_probe.exe's message ids: "report=ID[:TEXT]" and "N: report ID returned ...".
PROBE_MESSAGE = re.compile(r"\breport[= ](-?\d+)\b")


def driver_steps(path):
    with open(path, encoding="utf-8") as f:
        rows = STEP_ROW.findall(f.read())
    return {verb: arguments.replace('\\"', '"') for verb, arguments in rows}


def readme_steps(path):
    """The steps of the table that follows "## Scenario language"."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    section = text.split("## Scenario language", 1)[1].split("\n## ", 1)[0]
    steps = {}
    faults = []
    for line in section.splitlines():
        if not line.startswith("| `"):
            continue
        first = line[1:].split(" | ", 1)[0].replace("\\|", "|")
        for form in re.findall(r"`([^`]+)`", first):
            verb, _, arguments = form.partition(" ")
            if verb in steps:
                faults.append("%s: %s is described twice" % (path, verb))
            steps[verb] = arguments
    return steps, faults


def compare(driver, readme, driver_path, readme_path):
    faults = []
    for verb in sorted(set(driver) | set(readme)):
        if verb not in readme:
            faults.append("%s: the step %s of %s is not described" % (readme_path, verb, driver_path))
        elif verb not in driver:
            faults.append("%s: the step %s is described, but %s has none" % (readme_path, verb, driver_path))
        elif driver[verb] != readme[verb]:
            faults.append("%s: %s takes %r in %s, %r in the description"
                          % (readme_path, verb, driver[verb], driver_path, readme[verb]))
    return faults


def words(line):
    """The words of a line as the driver splits it ('"' quoting, "#" comments)."""
    out = []
    i = 0
    while i < len(line):
        while i < len(line) and line[i] in " \t":
            i += 1
        if i >= len(line) or line[i] == "#":
            break
        if line[i] == '"':
            i += 1
            word = ""
            while i < len(line) and line[i] != '"':
                if line[i] == "\\" and i + 1 < len(line) and line[i + 1] in '"\\':
                    i += 1
                word += line[i]
                i += 1
            i += 1
        else:
            start = i
            while i < len(line) and line[i] not in " \t":
                i += 1
            word = line[start:i]
        out.append(word)
    return out


def argument_kinds(arguments):
    """(fewest, most or None, [kind of each position]; the last repeats when
    the description ends with "...")."""
    fewest, most, kinds, depth = 0, 0, [], 0
    for word in arguments.split():
        optional = depth > 0 or word.startswith("[")
        depth += word.count("[") - word.count("]")
        kind = word.strip("[]").rstrip(".")
        kinds.append(kind)
        if word.rstrip("]").endswith("..."):
            most = None
        elif most is not None:
            most += 1
        if not optional and "..." not in word:
            fewest += 1
    return fewest, most, kinds


def is_number(word):
    return re.fullmatch(r"-?(?:0[xX][0-9A-Fa-f]+|\d+)", word) is not None


def check_scenario(path, steps, names, message_names):
    faults = []
    with open(path, encoding="latin-1") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        w = words(line)
        if not w:
            continue
        where = "%s:%d" % (path, number)
        for name in NAME.findall(line):
            if name not in names:
                faults.append("%s: unknown name %s" % (where, name))
        for message in PROBE_MESSAGE.findall(line):
            if int(message) in message_names:
                faults.append("%s: message %s by its number (%s)" % (where, message, message_names[int(message)]))
        if w[0] in run_ui.RUNNER_KEYWORDS:
            continue
        if w[0] not in steps:
            faults.append("%s: unknown step %s" % (where, w[0]))
            continue
        fewest, most, kinds = argument_kinds(steps[w[0]])
        given = w[1:]
        if len(given) < fewest or (most is not None and len(given) > most):
            faults.append("%s: %s takes %s" % (where, w[0], steps[w[0]] or "no arguments"))
            continue
        for i, word in enumerate(given):
            kind = kinds[min(i, len(kinds) - 1)] if kinds else ""
            if kind not in KINDS_NAMED or (kind == "DIALOG" and word in DIALOG_WORDS):
                continue
            if is_number(word) and not (kind == "MESSAGE" and int(word, 0) not in message_names):
                faults.append("%s: %s %s by its number" % (where, kind, word))
    return faults


def scenario_files(folder):
    for top, subfolders, files in os.walk(folder):
        subfolders[:] = sorted(s for s in subfolders if s != "build" and not s.startswith("."))
        for name in sorted(files):
            if name.endswith(".scenario"):
                yield os.path.join(top, name)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    driver_path, readme_path, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
    driver = driver_steps(driver_path)
    readme, faults = readme_steps(readme_path)
    if not driver:
        faults.append("%s: no table of steps" % driver_path)
    faults += compare(driver, readme, driver_path, readme_path)
    names = resource_names.read_names()
    message_names = {number: name for name, number in names.items() if name.startswith("IDS_")}
    count = 0
    for folder in folders:
        for path in scenario_files(folder):
            count += 1
            faults += check_scenario(path, driver, names, message_names)
    for fault in faults:
        print(fault)
    print("%d steps, %d scenarios, %d faults" % (len(driver), count, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
