#!/usr/bin/env python3
"""Checks the shape of the Windows deliverables of one build: PE32 Intel 80386
(x86) or PE32+ x86-64 (x64) binaries of the right subsystem, the DLL's exports
exactly as the interpreter expects them, no import of a DLL that a Windows
system does not have, and the program's application manifest (resource type
24, id 1) as Windows reads it from the file.

  check_binaries.py x86|x64 ENROLWIZ_EXE WENDRIK_DLL"""
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

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


RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
# The processorArchitecture of each build's manifest ("*" would serve both).
MANIFEST_ARCHITECTURES = {"x86": {"x86", "*"}, "x64": {"amd64", "*"}}
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Windows Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
NS = {
    "asm1": "urn:schemas-microsoft-com:asm.v1",
    "asm3": "urn:schemas-microsoft-com:asm.v3",
    "compat": "urn:schemas-microsoft-com:compatibility.v1",
    "ws2005": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
    "ws2016": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
}


def pe_resource(path, type_id, name_id):
    """The bytes of resource TYPE/NAME (first language) of a PE file, or None."""
    with open(path, "rb") as f:
        image = f.read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("%s is no PE file" % path)
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva, _ = struct.unpack_from("<II", image, directories + 2 * 8)
    if resource_rva == 0:
        return None
    table = optional + optional_size
    spans = [struct.unpack_from("<8xIIII", image, table + 40 * i) for i in range(sections)]

    def offset(rva):
        for _, address, raw_size, raw_pointer in spans:
            if address <= rva < address + raw_size:
                return raw_pointer + rva - address
        raise ValueError("RVA %#x lies in no section of %s" % (rva, path))

    base = offset(resource_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<12xHH", image, base + directory)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", image, base + directory + 16 + 8 * i)
            yield key, target

    def child(directory, wanted):
        for key, target in entries(directory):
            if wanted is None or (not key & 0x80000000 and key == wanted):
                return target
        return None

    level = 0
    for wanted in (type_id, name_id, None):
        target = child(level, wanted)
        if target is None:
            return None
        level = target & 0x7FFFFFFF
        if not target & 0x80000000:
            break
    data_rva, size = struct.unpack_from("<II", image, base + level)
    start = offset(data_rva)
    return image[start:start + size]


def check_manifest(machine, path):
    """The failures of the program's manifest."""
    data = pe_resource(path, RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
    if data is None:
        return ["%s has no application manifest (resource type 24, id 1)" % path]
    try:
        root = ElementTree.fromstring(data)
    except ElementTree.ParseError as error:
        return ["%s: the manifest is no well-formed XML: %s" % (path, error)]
    failures = []
    architectures = MANIFEST_ARCHITECTURES[machine]
    identity = root.find("asm1:assemblyIdentity", NS)
    if identity is None or identity.get("processorArchitecture") not in architectures:
        failures.append("the manifest's own processorArchitecture is %r, expected one of %s"
                        % (None if identity is None else identity.get("processorArchitecture"), sorted(architectures)))
    levels = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        failures.append("the manifest's execution level is %s, expected asInvoker once" % levels)
    supported = {e.get("Id", "").lower() for e in root.iter("{%s}supportedOS" % NS["compat"])}
    missing = [name for guid, name in SUPPORTED_OS.items() if guid not in supported]
    if missing:
        failures.append("the manifest does not name as supported: " + ", ".join(missing))
    controls = [e for e in root.iter("{%s}assemblyIdentity" % NS["asm1"])
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    if len(controls) != 1 or controls[0].get("version") != "6.0.0.0" \
            or controls[0].get("publicKeyToken") != "6595b64144ccf1df" \
            or controls[0].get("processorArchitecture") not in architectures:
        failures.append("the manifest does not depend on common controls 6.0.0.0 for %s: %s"
                        % (sorted(architectures), [c.attrib for c in controls]))
    aware = [e.text.strip().lower() for e in root.iter("{%s}dpiAware" % NS["ws2005"]) if e.text]
    awareness = [e.text.strip().lower() for e in root.iter("{%s}dpiAwareness" % NS["ws2016"]) if e.text]
    print("  manifest: %s, execution level %s, %d supported systems, common controls %s, dpiAware %s%s"
          % (identity.get("processorArchitecture") if identity is not None else "?", ",".join(map(str, levels)),
             len(supported), controls[0].get("version") if controls else "none", ",".join(aware) or "none",
             ", dpiAwareness " + ",".join(awareness) if awareness else ""))
    # System-aware: the pages draw their pictures at the system's scale.
    if aware != ["true"] or awareness not in ([], ["system"]):
        failures.append("the manifest does not declare the program system-aware (dpiAware %s, dpiAwareness %s)"
                        % (aware, awareness))
    return failures


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
    failures += check_manifest(sys.argv[1], exe)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
