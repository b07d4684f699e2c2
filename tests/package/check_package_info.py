#!/usr/bin/env python3
"""Assembles the Max package into a scratch folder and checks that package-info.json claims what
ships: a platform is claimed exactly when every object has its binary for it, macOS with the
architectures every bundle holds, and the file list names the files that are there.

usage: check_package_info.py CMAKE ASSEMBLE_ARGS... -- OUT_DIR NAME OBJECT...
"""
import json
import os
import struct
import subprocess
import sys

CPU = {0x01000007: "x64", 0x0100000C: "aarch64"}


def macho_archs(path):
    with open(path, "rb") as f:
        head = f.read(8 + 20 * 8)
    magic, = struct.unpack(">I", head[:4])
    if magic == 0xCAFEBABE:
        count, = struct.unpack(">I", head[4:8])
        return {CPU.get(struct.unpack(">I", head[8 + 20 * i:12 + 20 * i])[0], "?") for i in range(count)}
    if head[:4] == b"\xcf\xfa\xed\xfe":
        return {CPU.get(struct.unpack("<I", head[4:8])[0], "?")}
    return set()


def main():
    split = sys.argv.index("--")
    subprocess.run(sys.argv[1:split], check=True, stdout=subprocess.DEVNULL)
    out, name, objects = sys.argv[split + 1], sys.argv[split + 2], sys.argv[split + 3:]
    root = os.path.join(out, name)
    info = json.load(open(os.path.join(root, "package-info.json")))
    failures = []
    ext = os.path.join(root, "externals")
    have_win = all(os.path.isfile(os.path.join(ext, o + ".mxe64")) for o in objects)
    have_mac = all(os.path.isdir(os.path.join(ext, o + ".mxo")) for o in objects)
    claimed = info.get("os", {})
    if ("windows" in claimed) != have_win:
        failures.append(f"windows claimed: {'windows' in claimed}, every .mxe64 shipped: {have_win}")
    if ("macintosh" in claimed) != have_mac:
        failures.append(f"macintosh claimed: {'macintosh' in claimed}, every .mxo shipped: {have_mac}")
    if have_mac and "macintosh" in claimed:
        archs = set.intersection(*(macho_archs(os.path.join(ext, o + ".mxo", "Contents", "MacOS", o)) for o in objects))
        if set(claimed["macintosh"].get("platform", [])) != archs:
            failures.append(f"macintosh platforms {claimed['macintosh'].get('platform')}, bundles hold {sorted(archs)}")
    for f in info.get("filelist", []):
        if not os.path.exists(os.path.join(root, f)):
            failures.append(f"filelist names {f}, which is not in the package")
    for key in ("name", "displayname", "version", "author", "authors", "description", "tags",
                "website", "max_version_min", "os", "homepatcher"):
        if key not in info:
            failures.append(f"package-info.json has no {key}")
    if not os.path.isfile(os.path.join(root, "icon.png")):
        failures.append("no icon.png")
    for f in failures:
        print(f)
    if not failures:
        print(f"{name}: claims {sorted(claimed)}, as shipped")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
