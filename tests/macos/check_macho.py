#!/usr/bin/env python3
"""Checks macOS externals with LLVM's tools, as Max or Pd would find them on a Mac.

check_macho.py --tools LIPO NM OBJDUMP --libsystem TBD [--maxapi DEF --version V] KIND FILE...

KIND max: FILE is <class>.mxo. Both slices (arm64, x86_64) are bundles for macOS 11 or later, each
exports _ext_main and at most _main besides, every undefined name is a Max API name of the .def or
a libSystem one, the only libraries loaded are libSystem and the MaxAPIImpl stub (weakly), the
arm64 slice is signed, and Info.plist and PkgInfo say what Max looks for.
KIND pd: FILE is a Pd external for macOS. Both slices are bundles, each exports only
_<class>_setup, loads libSystem alone and defines no Max API name (its Max half's are renamed),
leaving Pd's names to bind at load.
"""
import argparse
import os
import plistlib
import re
import subprocess
import sys

MAXAPI_INSTALL_NAME = "@rpath/../Frameworks/MaxAPIImpl.framework/Versions/A/MaxAPIImpl"
LIBSYSTEM = "/usr/lib/libSystem.B.dylib"
ARCHS = ["arm64", "x86_64"]


def run(*cmd):
    return subprocess.run(cmd, check=True, capture_output=True, text=True).stdout


class Checker:
    def __init__(self, args):
        self.lipo, self.nm, self.objdump = args.tools
        with open(args.libsystem) as f:
            self.libsystem = set(re.findall(r"[A-Za-z_$][\w$.]*", f.read()))
        self.api = set()
        if args.maxapi:
            with open(args.maxapi) as f:
                self.api = {"_" + l.strip() for l in f if re.match(r"^\s+[A-Za-z_]", l)}
        self.version = args.version
        self.failures = []

    def fail(self, path, text):
        self.failures.append(f"{os.path.basename(path)}: {text}")

    def slices(self, path, binary):
        info = run(self.lipo, "-info", binary)
        archs = info.rsplit(":", 1)[-1].split()
        if sorted(archs) != sorted(ARCHS):
            self.fail(path, f"architectures {archs}, expected {ARCHS}")
        return [a for a in ARCHS if a in archs]

    def check_slice(self, path, binary, arch, entries, optional, weak_api):
        header = run(self.objdump, "--macho", "--private-header", f"--arch={arch}", binary)
        if "BUNDLE" not in header:
            self.fail(path, f"{arch} slice is not a bundle")
        commands = run(self.objdump, "--macho", "--private-headers", f"--arch={arch}", binary)
        minos = re.search(r"cmd LC_BUILD_VERSION.*?minos (\S+)", commands, re.S)
        if not minos or int(minos.group(1).split(".")[0]) < 11:
            self.fail(path, f"{arch} slice: no LC_BUILD_VERSION for macOS 11 or later")
        if arch == "arm64" and "LC_CODE_SIGNATURE" not in commands:
            self.fail(path, "arm64 slice has no code signature")

        exported = set(run(self.nm, "-g", "--defined-only", "-j", f"--arch={arch}", binary).split())
        missing = entries - exported
        extra = exported - entries - optional
        if missing:
            self.fail(path, f"{arch} slice does not export {sorted(missing)}")
        if extra:
            self.fail(path, f"{arch} slice exports {sorted(extra)} beyond its entry")

        dylibs = {}
        for line in run(self.objdump, "--macho", "--dylibs-used", f"--arch={arch}", binary).splitlines()[1:]:
            name = line.strip().split(" (")[0]
            dylibs[name] = "weak)" in line
        wanted = {LIBSYSTEM} | ({MAXAPI_INSTALL_NAME} if weak_api else set())
        if set(dylibs) != wanted:
            self.fail(path, f"{arch} slice loads {sorted(dylibs)}, expected {sorted(wanted)}")
        if weak_api and not dylibs.get(MAXAPI_INSTALL_NAME, False):
            self.fail(path, f"{arch} slice does not bind the Max API weakly")

        undefined = set(run(self.nm, "-u", "-j", f"--arch={arch}", binary).split())
        return undefined

    def check_max(self, path):
        name = os.path.basename(path)[: -len(".mxo")]
        binary = os.path.join(path, "Contents", "MacOS", name)
        if not os.path.isfile(binary):
            self.fail(path, "no Contents/MacOS/" + name)
            return
        for arch in self.slices(path, binary):
            undefined = self.check_slice(path, binary, arch, {"_ext_main"}, {"_main"}, True)
            unknown = undefined - self.api - self.libsystem
            if unknown:
                self.fail(path, f"{arch} slice needs {sorted(unknown)}, neither Max API nor libSystem")
        try:
            with open(os.path.join(path, "Contents", "Info.plist"), "rb") as f:
                plist = plistlib.load(f)
        except (OSError, plistlib.InvalidFileException) as e:
            self.fail(path, f"Info.plist: {e}")
            plist = {}
        want = {"CFBundleExecutable": name, "CFBundlePackageType": "iLaX", "CFBundleSignature": "max2"}
        if self.version:
            want["CFBundleVersion"] = self.version
        for key, value in want.items():
            if plist.get(key) != value:
                self.fail(path, f"Info.plist {key} is {plist.get(key)!r}, expected {value!r}")
        if not plist.get("CFBundleIdentifier"):
            self.fail(path, "Info.plist has no CFBundleIdentifier")
        try:
            with open(os.path.join(path, "Contents", "PkgInfo"), "rb") as f:
                pkginfo = f.read()
        except OSError:
            pkginfo = b""
        if pkginfo != b"iLaX????":
            self.fail(path, f"PkgInfo is {pkginfo!r}, expected b'iLaX????'")

    def check_pd(self, path):
        name = os.path.basename(path).split(".")[0]
        for arch in self.slices(path, path):
            self.check_slice(path, path, arch, {f"_{name}_setup"}, set(), False)
            # Pd defines functions of the same names: one defined inside, even local, would take
            # the glue's calls meant for Pd's.
            defined = set(run(self.nm, "--defined-only", "-j", f"--arch={arch}", path).split())
            clashes = defined & self.api
            if clashes:
                self.fail(path, f"{arch} slice defines Max API names Pd has too: {sorted(clashes)[:8]}")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--tools", nargs=3, required=True)
    p.add_argument("--libsystem", required=True)
    p.add_argument("--maxapi")
    p.add_argument("--version")
    p.add_argument("kind", choices=["max", "pd"])
    p.add_argument("files", nargs="+")
    args = p.parse_args()
    c = Checker(args)
    for path in args.files:
        (c.check_max if args.kind == "max" else c.check_pd)(path)
    for f in c.failures:
        print(f)
    if not c.failures:
        print(f"{len(args.files)} {args.kind} externals checked: {' '.join(os.path.basename(f) for f in args.files)}")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())
