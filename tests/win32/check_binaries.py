#!/usr/bin/env python3
"""Checks the shape of the Windows deliverables of one build: PE32 Intel 80386
(x86) or PE32+ x86-64 (x64) binaries of the right subsystem, the DLL's exports
exactly as the interpreter expects them, and no import of a DLL that a Windows
system does not have.

  check_binaries.py x86|x64 ENROLWIZ_EXE WENDRIK_DLL"""
import re
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "wsock32.dll", "ws2_32.dll", "msvcrt.dll",
    "winspool.drv", "version.dll", "uuid.dll", "shlwapi.dll", "iphlpapi.dll", "icmp.dll",
    # wendrik's TLS: the system's Secure Channel (SSPI) and its certificate checks
    "secur32.dll", "crypt32.dll",
}


def output(*command):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout.decode()


# What file(1) says of each build's program and library, and its objdump.
BUILDS = {
    "x86": ("PE32 executable (GUI) Intel 80386", "PE32 executable (DLL) (console) Intel 80386",
            "i686-w64-mingw32-objdump"),
    "x64": ("PE32+ executable (GUI) x86-64", "PE32+ executable (DLL) (console) x86-64",
            "x86_64-w64-mingw32-objdump"),
}


def pe_info(objdump, path):
    dump = output(objdump, "-p", path)
    imports = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}
    exports = []
    table = dump.split("[Ordinal/Name Pointer] Table")
    if len(table) > 1:
        for line in table[1].splitlines()[1:]:
            match = re.match(r"\s+\[\s*\d+\] (\S+)", line)
            if not match:
                break
            exports.append(match.group(1))
    return imports, exports


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in BUILDS:
        sys.exit(__doc__)
    exe, dll = sys.argv[2], sys.argv[3]
    exe_kind, dll_kind, objdump = BUILDS[sys.argv[1]]
    failures = []
    kinds = {exe: exe_kind, dll: dll_kind}
    for path, kind in kinds.items():
        described = output("file", "-b", path)
        print("%s: %s" % (path, described.strip()))
        if not described.startswith(kind):
            failures.append("%s is %r, expected %r" % (path, described.strip(), kind))
        imports, _ = pe_info(objdump, path)
        foreign = sorted(imports - SYSTEM_DLLS)
        print("  imports: " + ", ".join(sorted(imports)))
        if foreign:
            failures.append("%s imports non-system DLLs: %s" % (path, ", ".join(foreign)))
    _, exports = pe_info(objdump, dll)
    print("  exports of %s: %s" % (dll, ", ".join(exports)))
    if sorted(exports) != ["FTPFUNCTIONGATEWAY", "FTPLOADFUNCS"]:
        failures.append("wendrik.dll exports %s, expected FTPFUNCTIONGATEWAY and FTPLOADFUNCS" % exports)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
