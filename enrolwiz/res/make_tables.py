#!/usr/bin/env python3
"""Generates enrolwiz's string table and operator tables from strings.txt and
operator.txt (formats: the heads of those files); an operator file of "-"
makes a string table alone. Writes, into the output
folder: string_ids.h (the IDS_ names), string_table.cpp (the native builds'
table), string_table.rc (the Win32 STRINGTABLE) and operator_data.cpp.
A fault in either file stops the build with "FILE:LINE: what is wrong"."""
import os
import re
import sys

ENCODING = "cp1252"
ADDRESS_FIRST_ID, ADDRESS_LAST_ID = 636, 873
COUNTRY_ROWS = 169
WEB_TARGET_ID = 129
BOOKMARK_IDS = {"shop": 117, "services": 119, "software": 121}
SCHEMES = ("http", "https")


class Fault(Exception):
    pass


def fault(path, line, message):
    raise Fault("%s:%d: %s" % (path, line, message))


def encode(path, line, text):
    try:
        return text.encode(ENCODING)
    except UnicodeEncodeError as e:
        fault(path, line, "character %r is not in Windows-1252" % text[e.start])


def check_length(path, line, what, value, limit):
    size = len(encode(path, line, value))
    if size > limit:
        fault(path, line, "%s is too long for its field: %d characters, at most %d" % (what, size, limit))


STRING_LINE = re.compile(r'^(\d+)(?:\s+(IDS_[A-Z0-9_]+))?\s+"((?:[^"\\]|\\.)*)"\s*$')
ESCAPES = {'"': '"', "\\": "\\", "n": "\n", "t": "\t"}


def unescape(path, line, text):
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            e = text[i + 1]
            if e not in ESCAPES:
                fault(path, line, "unknown escape \\%s" % e)
            out.append(ESCAPES[e])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_strings(path):
    texts = {}     # id -> (text, name, line)
    names = {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = STRING_LINE.match(line)
            if not m:
                fault(path, number, 'expected: ID [NAME] "TEXT"')
            ident = int(m.group(1))
            if not 0 < ident < 65536:
                fault(path, number, "id %d out of range" % ident)
            if ident in texts:
                fault(path, number, "id %d already has a text (line %d)" % (ident, texts[ident][2]))
            name = m.group(2)
            if name:
                if name in names:
                    fault(path, number, "name %s already used (line %d)" % (name, names[name]))
                names[name] = number
            text = unescape(path, number, m.group(3))
            encode(path, number, text)
            texts[ident] = (text, name, number)
    return texts


def read_operator(path):
    sections = []   # (kind, argument, [(line, fields or (key, value))])
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = re.match(r"^\[([a-z-]+)(?:\s+([a-z0-9-]+))?\]\s*$", line)
            if m:
                sections.append((m.group(1), m.group(2), number, []))
                continue
            if not sections:
                fault(path, number, "a value before the first [section]")
            sections[-1][3].append((number, line))
    return sections


def key_values(path, entries, allowed):
    values = {}
    for number, line in entries:
        if "=" not in line:
            fault(path, number, "expected: key = value")
        key, value = (part.strip() for part in line.split("=", 1))
        if key not in allowed:
            fault(path, number, "unknown key %r (known: %s)" % (key, ", ".join(allowed)))
        if key in values and key != "line":
            fault(path, number, "%s given twice" % key)
        values.setdefault(key, []).append((number, value))
    return values


def fields(number, line, count, path):
    parts = [p.strip() for p in line.split("|")]
    if len(parts) != count:
        fault(path, number, "expected %d fields separated by |, found %d" % (count, len(parts)))
    return parts


def stored_number(path, number, value, field):
    # Non-blank numbers are kept with one leading blank.
    stored = " " + value if value else ""
    check_length(path, number, "number %r" % value, stored, field - 1)
    return stored


def is_dotted_address(text):
    parts = text.split(".")
    return len(parts) == 4 and all(p.isdigit() and int(p) <= 255 for p in parts)


def operator_tables(path, sections, texts):
    added = {}    # id -> (text, line)
    blocks = {}   # name -> [ids]
    next_id = ADDRESS_FIRST_ID
    server = bookmarks = None
    countries = []
    by_language = []
    pellix = []
    for kind, argument, number, entries in sections:
        if kind == "server":
            server = key_values(path, entries, ["scheme", "host", "address", "web-target"])
            for key in ("host", "address", "web-target"):
                if key not in server:
                    fault(path, number, "[server] needs %s" % key)
            line, scheme = server.setdefault("scheme", [(number, "http")])[0]
            if scheme not in SCHEMES:
                fault(path, line, "scheme %r is neither http nor https" % scheme)
            for key in ("host", "web-target"):
                line, value = server[key][0]
                if "://" in value:
                    fault(path, line, "%s %r names a scheme: give it as \"scheme = https\" instead" % (key, value))
            # A target text holds at most 259 characters, "https://" included.
            room = 259 - (len("https://") if scheme == "https" else 0)
            line, host = server["host"][0]
            check_length(path, line, "host", host, room)
            line, address = server["address"][0]
            if not is_dotted_address(address):
                fault(path, line, "address %r is not a dotted IPv4 address" % address)
            line, target = server["web-target"][0]
            check_length(path, line, "web-target", target, room)
            added[WEB_TARGET_ID] = (target, line)
        elif kind == "bookmarks":
            bookmarks = key_values(path, entries, list(BOOKMARK_IDS))
            for key, ident in BOOKMARK_IDS.items():
                if key not in bookmarks:
                    fault(path, number, "[bookmarks] needs %s" % key)
                line, value = bookmarks[key][0]
                check_length(path, line, key, value, 259)
                added[ident] = (value, line)
        elif kind == "address":
            if not argument:
                fault(path, number, "an address block needs a name: [address NAME]")
            if argument in blocks:
                fault(path, number, "address block %s defined twice" % argument)
            lines = key_values(path, entries, ["line"]).get("line", [])
            if not 1 <= len(lines) <= 7:
                fault(path, number, "an address block has one to seven lines, %s has %d" % (argument, len(lines)))
            ids = []
            for line, value in lines:
                check_length(path, line, "address line", value, 255)
                if next_id > ADDRESS_LAST_ID:
                    fault(path, line, "more address lines than ids %d to %d" % (ADDRESS_FIRST_ID, ADDRESS_LAST_ID))
                added[next_id] = (value, line)
                ids.append(next_id)
                next_id += 1
            blocks[argument] = ids
        elif kind == "countries":
            for line, text in entries:
                index, code, block, first, second, third = fields(line, text, 6, path)
                if not index.isdigit() or int(index) != len(countries):
                    fault(path, line, "expected the row of country index %d" % len(countries))
                if not re.fullmatch(r"[A-Z]{2}", code):
                    fault(path, line, "country code %r is not two capital letters" % code)
                numbers = [stored_number(path, line, n, 20) for n in (first, second, third)]
                countries.append((code, block, numbers, line))
        elif kind == "numbers-by-language":
            for line, text in entries:
                country, language, kind_text, value = fields(line, text, 4, path)
                if country not in ("BE", "CH"):
                    fault(path, line, "numbers by language are for BE and CH, not %r" % country)
                if not re.fullmatch(r"[A-Z]{3}", language):
                    fault(path, line, "language code %r is not three capital letters" % language)
                if kind_text not in ("1", "2"):
                    fault(path, line, "kind is 1 or 2, not %r" % kind_text)
                by_language.append((country, language, int(kind_text), stored_number(path, line, value, 16)))
        elif kind == "pellix-numbers":
            for line, text in entries:
                index, code, value = fields(line, text, 3, path)
                if not index.isdigit() or int(index) >= COUNTRY_ROWS:
                    fault(path, line, "country index %r out of range" % index)
                pellix.append((int(index), code, stored_number(path, line, value, 20)))
        else:
            fault(path, number, "unknown section [%s]" % kind)
    if server is None or bookmarks is None:
        fault(path, 1, "[server] and [bookmarks] are required")
    if len(countries) != COUNTRY_ROWS:
        fault(path, 1, "[countries] has %d rows, expected %d" % (len(countries), COUNTRY_ROWS))
    rows = []
    for code, block, numbers, line in countries:
        if block not in blocks:
            fault(path, line, "no address block named %r" % block)
        rows.append((code, numbers, blocks[block]))
    for ident, (text, line) in added.items():
        if ident in texts:
            fault(path, line, "string-table id %d is the operator's but strings.txt gives it a text" % ident)
    return added, rows, by_language, pellix, server


def c_literal(data):
    out = ['"']
    for b in data:
        c = chr(b)
        if 32 <= b < 127 and c not in '"\\?':
            out.append(c)
        else:
            out.append("\\%03o" % b)
    out.append('"')
    return "".join(out)


def rc_literal(data):
    out = ['"']
    for b in data:
        c = chr(b)
        if c == '"':
            out.append('""')
        elif 32 <= b < 127 and c != "\\":
            out.append(c)
        else:
            out.append("\\%03o" % b)
    out.append('"')
    return "".join(out)


def write(path, text):
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


def main():
    strings_path, operator_path, out = sys.argv[1:4]
    try:
        texts = read_strings(strings_path)
        if operator_path == "-":
            # A string table alone (a resource library's).
            added, rows = {}, None
        else:
            added, rows, by_language, pellix, server = operator_tables(
                operator_path, read_operator(operator_path), texts)
    except Fault as e:
        sys.stderr.write("error: %s\n" % e)
        return 1
    os.makedirs(out, exist_ok=True)
    table = {ident: text for ident, (text, _, _) in texts.items()}
    table.update({ident: text for ident, (text, _) in added.items()})
    banner = "// Generated by enrolwiz/res/make_tables.py from strings.txt and operator.txt.\n"

    ids = [banner, "#ifndef ENROLWIZ_STRING_IDS_H\n#define ENROLWIZ_STRING_IDS_H\n\n"]
    for ident in sorted(texts):
        name = texts[ident][1]
        if name:
            ids.append("#define %s %d\n" % (name, ident))
    ids.append("\n#define IDS_WEB_TARGET %d\n" % WEB_TARGET_ID)
    for key, ident in sorted(BOOKMARK_IDS.items(), key=lambda kv: kv[1]):
        ids.append("#define IDS_BOOKMARK_ADDRESS_%s %d\n" % (key.upper(), ident))
    ids.append("\n#endif\n")
    write(os.path.join(out, "string_ids.h"), "".join(ids))

    cpp = [banner, '#include "framework/string_table.h"\n\nconst StringTableEntry builtInStrings[] = {\n']
    for ident in sorted(table):
        cpp.append("  {%d, %s},\n" % (ident, c_literal(table[ident].encode(ENCODING))))
    cpp.append("};\n\nconst int builtInStringCount = %d;\n" % len(table))
    write(os.path.join(out, "string_table.cpp"), "".join(cpp))

    rc = [banner, "#pragma code_page(1252)\n\nSTRINGTABLE\nBEGIN\n"]
    for ident in sorted(table):
        rc.append("  %d, %s\n" % (ident, rc_literal(table[ident].encode(ENCODING))))
    rc.append("END\n")
    write(os.path.join(out, "string_table.rc"), "".join(rc))

    if rows is None:
        return 0
    op = [banner, '#include "tables/operator_data.h"\n\n']
    op.append("const char registrationServerHost[] = %s;\n" % c_literal(server["host"][0][1].encode(ENCODING)))
    op.append("const char registrationServerAddress[] = %s;\n" % c_literal(server["address"][0][1].encode(ENCODING)))
    op.append("const bool registrationServerSecure = %s;\n\n" % ("true" if server["scheme"][0][1] == "https" else "false"))
    op.append("const OperatorCountryRow operatorCountries[%d] = {\n" % COUNTRY_ROWS)
    for code, numbers, mail in rows:
        padded = mail + [0] * (7 - len(mail))
        op.append("  {%s, {%s}, {%s}},\n" % (
            c_literal(code.encode()), ", ".join(c_literal(n.encode(ENCODING)) for n in numbers),
            ", ".join(str(i) for i in padded)))
    op.append("};\n\n")
    for country, name in (("BE", "belgianNumbers"), ("CH", "swissNumbers")):
        chosen = [r for r in by_language if r[0] == country]
        op.append("const LanguageNumberRow %s[] = {\n" % name)
        for _, language, kind, number in chosen:
            op.append("  {%s, %d, %s},\n" % (c_literal(language.encode()), kind, c_literal(number.encode(ENCODING))))
        if not chosen:
            op.append('  {"", 0, ""},\n')
        op.append("};\nconst int %sCount = %d;\n\n" % (name, len(chosen)))
    op.append("const BrandNumberRow pellixNumbers[] = {\n")
    for index, code, number in pellix:
        op.append("  {%d, %s, %s},\n" % (index, c_literal(code.encode()), c_literal(number.encode(ENCODING))))
    if not pellix:
        op.append('  {-1, "", ""},\n')
    op.append("};\nconst int pellixNumberCount = %d;\n" % len(pellix))
    write(os.path.join(out, "operator_data.cpp"), "".join(op))
    return 0


if __name__ == "__main__":
    sys.exit(main())
