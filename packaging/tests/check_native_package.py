#!/usr/bin/env python3
"""Checks the Linux product as a Regina user gets it, from the plain native
build tree:
  1. the library of the build tree, run by Regina with no preload;
  2. "make install" into a scratch DESTDIR: the files, then Regina running a
     script against the installed copy;
  3. the Debian package: its fields, lintian without errors, and Regina
     running the script against a copy unpacked with dpkg -x.
Each run checks, through the dynamic loader's own report, which file Regina
loaded, so that a copy installed on the machine cannot stand in.

  check_native_package.py --build TREE --root SOURCE --addons RELATIVE_DIR
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text)


def run(command, env=None, cwd=None):
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env, cwd=cwd,
                          timeout=240)
    return done.returncode, done.stdout.decode("latin-1")


def plain_environment(library_dir):
    """The environment of a user's shell: nothing preloaded, no sanitizer
    settings; the loader reports which files it opens."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("ASAN_", "UBSAN_", "LSAN_", "WZ_")) and k not in ("LD_PRELOAD",)}
    env["LD_LIBRARY_PATH"] = library_dir
    env["LD_DEBUG"] = "files"
    return env


def run_script(root, library_dir, label):
    """Regina runs the check script with the package found in library_dir."""
    script = os.path.join(root, "packaging", "tests", "installed.rexx")
    with tempfile.TemporaryDirectory() as work:
        log = os.path.join(work, "loader")
        env = plain_environment(library_dir)
        env["LD_DEBUG_OUTPUT"] = log
        code, out = run(["regina", script], env=env)
        loaded = []
        for path in glob.glob(log + "*"):
            for line in open(path, encoding="latin-1"):
                # "calling init: PATH" names the file the loader really opened.
                if "calling init:" in line and "wendrik" in line.lower():
                    loaded.append(line.split("calling init:", 1)[1].strip())
    print("%s: regina %s -> %d\n%s" % (label, script, code, out.rstrip()))
    if code != 0 or "installed package works" not in out:
        fail("%s: the script did not pass" % label)
    expected = os.path.realpath(library_dir)
    if not loaded:
        fail("%s: the loader did not report loading the package" % label)
    for path in loaded:
        if not os.path.realpath(path).startswith(expected + os.sep):
            fail("%s: Regina loaded %s, not the copy in %s" % (label, path, library_dir))
        else:
            print("%s: loaded %s" % (label, path))


def check_plain(path, label):
    code, out = run(["readelf", "-d", "--dyn-syms", path])
    if code != 0:
        fail("%s: readelf failed on %s" % (label, path))
    elif "libasan" in out or "libubsan" in out or "__asan_" in out:
        fail("%s: %s is built with the sanitizers" % (label, path))


def check_installed(root, addons, label):
    library = os.path.join(root, "usr", addons, "libwendrik.so")
    alias = os.path.join(root, "usr", addons, "libWendrik.so")
    doc = os.path.join(root, "usr", "share", "doc", "wendrik")
    for path in (library, os.path.join(doc, "functions.md"), os.path.join(doc, "copyright"),
                 os.path.join(doc, "changelog.gz"), os.path.join(doc, "examples", "session.rexx")):
        if not os.path.isfile(path):
            fail("%s: %s is missing" % (label, os.path.relpath(path, root)))
    if not os.path.islink(alias) or os.readlink(alias) != "libwendrik.so":
        fail("%s: libWendrik.so is not a link to libwendrik.so" % label)
    if os.path.isfile(library):
        check_plain(library, label)
        if os.stat(library).st_mode & 0o111:
            fail("%s: the library is executable" % label)
    return os.path.dirname(library)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--addons", required=True)
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    if not shutil.which("regina"):
        print("skipped: regina is missing")
        return 77

    # 1. The library of the build tree, as "make" leaves it.
    check_plain(os.path.join(build, "lib", "libwendrik.so"), "build tree")
    run_script(options.root, os.path.join(build, "lib"), "build tree")

    with tempfile.TemporaryDirectory(dir=build) as scratch:
        # 2. make install (cmake --install with DESTDIR and the prefix /usr).
        destdir = os.path.join(scratch, "destdir")
        env = dict(os.environ, DESTDIR=destdir)
        code, out = run(["cmake", "--install", build, "--prefix", "/usr"], env=env)
        print(out.rstrip())
        if code != 0:
            fail("install: cmake --install failed")
        else:
            run_script(options.root, check_installed(destdir, options.addons, "install"), "install")

        # 3. The Debian package.
        packages = os.path.join(scratch, "packages")
        code, out = run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-G", "DEB",
                         "-B", packages], cwd=build)
        debs = glob.glob(os.path.join(packages, "*.deb"))
        if code != 0 or len(debs) != 1:
            print(out)
            fail("deb: cpack made %d packages" % len(debs))
            return report()
        deb = debs[0]
        print("deb: " + os.path.basename(deb))
        code, fields = run(["dpkg-deb", "--field", deb])
        print(fields.rstrip())
        wanted = {"Package": "wendrik", "Version": "2.1", "Architecture": "amd64"}
        values = dict(line.split(": ", 1) for line in fields.splitlines() if ": " in line and line[0] != " ")
        for key, value in wanted.items():
            if values.get(key) != value:
                fail("deb: %s is %r, expected %r" % (key, values.get(key), value))
        if "libregina3" not in values.get("Depends", ""):
            fail("deb: Depends does not name Regina's runtime library: %r" % values.get("Depends"))
        if "@" not in values.get("Maintainer", ""):
            fail("deb: no maintainer address")
        if shutil.which("lintian"):
            code, out = run(["lintian", "--fail-on", "error", "--tag-display-limit", "0", deb])
            print("lintian:\n" + out.rstrip())
            if code != 0:
                fail("deb: lintian reports errors")
        else:
            fail("deb: lintian is missing")
        unpacked = os.path.join(scratch, "unpacked")
        code, out = run(["dpkg", "-x", deb, unpacked])
        if code != 0:
            print(out)
            fail("deb: dpkg -x failed")
        else:
            run_script(options.root, check_installed(unpacked, options.addons, "deb"), "deb")
    return report()


def report():
    if failures:
        print("%d failures" % len(failures))
        return 1
    print("the library, its installation and its package work")
    return 0


if __name__ == "__main__":
    sys.exit(main())
