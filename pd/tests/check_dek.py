#!/usr/bin/env python3
"""Checks the Pd package: a zip named as Pd's package manager expects, holding one folder with each
external and its help patch, from which Pd makes every object.

usage: check_dek.py PD DEK CLASS...
"""
import os
import re
import sys
import tempfile
import zipfile

from pdrun import errors, run_patch


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    pd, dek, classes = sys.argv[1], sys.argv[2], sys.argv[3:]
    failures = []
    match = re.match(r'^([^\[\]()]+)\[v[0-9][^\]]*\]((?:\([A-Za-z]+-[a-z0-9_]+-32\))+)\.dek$', os.path.basename(dek))
    if not match or '(Linux-' not in match.group(2):
        sys.exit('%s: not named <name>[v<version>](Linux-<cpu>-32)...dek' % dek)
    folder = match.group(1)
    # A platform the name claims has its externals inside.
    suffixes = ['.pd_linux'] + (['.d_fat'] if '(Darwin-' in match.group(2) else [])
    names = zipfile.ZipFile(dek).namelist()
    for name in names:
        if not name.startswith(folder + '/'):
            failures.append('%s lies outside the folder %s/' % (name, folder))
    for c in classes:
        for f in [c + s for s in suffixes] + [c + '-help.pd']:
            if folder + '/' + f not in names:
                failures.append('no ' + f)
    with tempfile.TemporaryDirectory() as tmp:
        zipfile.ZipFile(dek).extractall(tmp)
        # The declare record sets the path before any box is made; the declare box is box 0.
        text = '#N canvas 0 0 400 300 12;\n#X declare -path %s;\n' % folder
        text += '#X obj 200 10 declare -path %s;\n' % folder
        for i, c in enumerate(classes):
            text += '#X obj 10 %d %s;\n' % (30 * i + 30, c)
        text += '#X obj 10 10 loadbang;\n#X msg 10 200 \\; pd quit;\n'
        text += '#X connect %d 0 %d 0;\n' % (len(classes) + 1, len(classes) + 2)
        failures += ['Pd: ' + line for line in errors(run_patch(pd, text, folder=tmp))]
    if failures:
        print('%s:\n  %s' % (dek, '\n  '.join(failures)))
        return 1
    print('%s: %d files, %d objects made in Pd' % (os.path.basename(dek), len(names), len(classes)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
