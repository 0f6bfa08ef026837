#!/usr/bin/env python3
"""Checks the shape of the Win32 deliverables: PE32 Intel 80386 binaries of the
right subsystem, the DLL's exports exactly as the interpreter expects them, and
no import of a DLL that a Windows system does not have."""
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


def pe_info(path):
    dump = output("i686-w64-mingw32-objdump", "-p", path)
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
    exe, dll = sys.argv[1], sys.argv[2]
    failures = []
    kinds = {exe: "PE32 executable (GUI) Intel 80386", dll: "PE32 executable (DLL) (console) Intel 80386"}
    for path, kind in kinds.items():
        described = output("file", "-b", path)
        print("%s: %s" % (path, described.strip()))
        if not described.startswith(kind):
            failures.append("%s is %r, expected %r" % (path, described.strip(), kind))
        imports, _ = pe_info(path)
        foreign = sorted(imports - SYSTEM_DLLS)
        print("  imports: " + ", ".join(sorted(imports)))
        if foreign:
            failures.append("%s imports non-system DLLs: %s" % (path, ", ".join(foreign)))
    _, exports = pe_info(dll)
    print("  exports of %s: %s" % (dll, ", ".join(exports)))
    if sorted(exports) != ["FTPFUNCTIONGATEWAY", "FTPLOADFUNCS"]:
        failures.append("wendrik.dll exports %s, expected FTPFUNCTIONGATEWAY and FTPLOADFUNCS" % exports)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
