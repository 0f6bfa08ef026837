"""Checks the layering rule of enrolwiz: every file of the program includes
only files of its own layer and of the layers below it.

  check_layers.py ARCHITECTURE_MD ENROLWIZ_FOLDER

The layers are the rows of the table under the heading "### Layers" in
ARCHITECTURE_MD, the lowest first; its second column names each layer's
files by patterns under the enrolwiz folder, in backquotes ("*" any name
within one folder, "**" any path). A file belongs to the first row that
names it. Every .h and .cpp file outside the tests' folders is checked:
each "#include" in double quotes is taken relative to the including file
when it lies there, else relative to the enrolwiz folder (the generated
headers, such as string_ids.h, are named that way). A file in no layer, an
include of a file in no layer and an include of a higher layer are faults,
each printed as FILE:LINE; the check fails when there is one."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def pattern_regex(pattern):
    out = []
    i = 0
    while i < len(pattern):
        if pattern.startswith("**", i):
            out.append(".*")
            i += 2
        elif pattern[i] == "*":
            out.append("[^/]*")
            i += 1
        else:
            out.append(re.escape(pattern[i]))
            i += 1
    return re.compile("^" + "".join(out) + "$")


def read_layers(architecture):
    """[(name, [regex])], the lowest layer first."""
    with open(architecture, encoding="utf-8") as f:
        lines = f.read().splitlines()
    try:
        start = lines.index("### Layers")
    except ValueError:
        raise SystemExit("%s: no heading \"### Layers\"" % architecture)
    layers = []
    in_table = False
    for line in lines[start + 1:]:
        if line.startswith("#"):
            break
        if not line.startswith("|"):
            if in_table:
                break
            continue
        in_table = True
        cells = [cell.strip() for cell in line.strip("|").split("|")]
        if len(cells) < 2 or set(cells[0]) <= set("-: ") or cells[0] == "Layer":
            continue
        patterns = re.findall(r"`([^`]+)`", cells[1])
        if not patterns:
            raise SystemExit("%s: layer %r names no files" % (architecture, cells[0]))
        layers.append((cells[0], [pattern_regex(p) for p in patterns]))
    if not layers:
        raise SystemExit("%s: the table of layers is empty" % architecture)
    return layers


def layer_of(path, layers):
    for number, (_, patterns) in enumerate(layers):
        if any(p.match(path) for p in patterns):
            return number
    return None


def program_files(root):
    for folder, subfolders, names in os.walk(root):
        subfolders[:] = sorted(s for s in subfolders if s != "tests")
        for name in sorted(names):
            if name.endswith((".h", ".cpp")):
                yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def included(path, name, root):
    """The included file as a path under the enrolwiz folder."""
    beside = os.path.normpath(os.path.join(os.path.dirname(path), name)).replace(os.sep, "/")
    if os.path.exists(os.path.join(root, beside)):
        return beside
    return os.path.normpath(name).replace(os.sep, "/")


def faults(root, layers):
    found = []
    for path in program_files(root):
        own = layer_of(path, layers)
        if own is None:
            found.append("%s: in no layer" % path)
            continue
        with open(os.path.join(root, path), encoding="latin-1") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = included(path, m.group(1), root)
                other = layer_of(target, layers)
                if other is None:
                    found.append("%s:%d: includes %s, which is in no layer" % (path, number, target))
                elif other > own:
                    found.append("%s:%d: %s (%s) includes %s of a higher layer (%s)"
                                 % (path, number, path, layers[own][0], target, layers[other][0]))
    return found


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    architecture, root = sys.argv[1:]
    layers = read_layers(architecture)
    found = faults(root, layers)
    for fault in found:
        print(fault)
    print("%d layers, %d files checked, %d faults" % (len(layers), sum(1 for _ in program_files(root)), len(found)))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
