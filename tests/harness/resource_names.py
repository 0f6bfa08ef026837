"""The names of the ids that the UI scenarios use, with their numbers:
dialog templates, controls, pictures, the icon and the menu item of
enrolwiz/res/resource.h (IDD_, IDC_, IDB_, IDI_, IDM_), the texts of the
string table enrolwiz/res/strings.txt (IDS_), and the system's own ids that
the scenarios meet: the buttons of dialogs and message boxes (winuser.h),
the text and icon of a message box as Wine makes it (its MSGBOX_IDTEXT and
MSGBOX_IDICON, the control stc1) and the list of printers of the system's
print dialog (cmb4 of dlgs.h)."""
import os
import re

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
RESOURCE_H = os.path.join(ROOT, "enrolwiz", "res", "resource.h")
STRINGS = os.path.join(ROOT, "enrolwiz", "res", "strings.txt")

SYSTEM_NAMES = {
    "IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5, "IDYES": 6, "IDNO": 7,
    "MSGBOX_IDTEXT": 0xFFFF, "MSGBOX_IDICON": 0x0440, "cmb4": 0x0473,
}

DEFINE = re.compile(r"^\s*#\s*define\s+(ID[A-Z]*_\w+)\s+\(?\s*(-?(?:0[xX][0-9A-Fa-f]+|\d+))\s*\)?\s*$")
STRING = re.compile(r"^(\d+)\s+(IDS_[A-Z0-9_]+)\s")


def read_names(resource_h=RESOURCE_H, strings=STRINGS):
    """{name: number} of all three sources; a name given two numbers is an error."""
    names = dict(SYSTEM_NAMES)

    def add(name, number, where):
        if names.get(name, number) != number:
            raise ValueError("%s: %s is %d, and %d elsewhere" % (where, name, number, names[name]))
        names[name] = number

    with open(resource_h, encoding="latin-1") as f:
        for number, line in enumerate(f, 1):
            m = DEFINE.match(line)
            if m:
                add(m.group(1), int(m.group(2), 0), "%s:%d" % (resource_h, number))
    with open(strings, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            m = STRING.match(line)
            if m:
                add(m.group(2), int(m.group(1)), "%s:%d" % (strings, number))
    return names


def write_names(path, names):
    """The names as the UI test driver reads them: "NAME NUMBER" lines."""
    with open(path, "w", encoding="ascii") as f:
        for name in sorted(names):
            f.write("%s %d\n" % (name, names[name]))
