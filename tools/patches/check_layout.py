#!/usr/bin/env python3
"""Checks the layout of Max patchers and Pd patches and draws each one to a PNG.

For every patch and subpatcher: no two boxes overlap, every box is inside the window, no cord runs
through a box other than its two ends, every box has the inlets and outlets of its class, and (Pd)
no comment holds a ';' or a number Pd would show otherwise than typed. With --png DIR each patcher
is drawn as checked: <file>.png, and <file>-<subpatcher>.png for each subpatcher (a tab).

usage: check_layout.py --refpages DIR [--png DIR] PATCH...
Exit status 1 when any patch has a fault.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import patchgeom  # noqa: E402
import render  # noqa: E402


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument('--refpages', required=True)
    parser.add_argument('--png')
    parser.add_argument('patches', nargs='+')
    args = parser.parse_args()
    classes = patchgeom.Classes(args.refpages)
    failed = 0
    for path in args.patches:
        patch = patchgeom.read(path)
        faults = patchgeom.check(patch, classes)
        if faults:
            failed += 1
            print('%s: %d layout faults\n  %s' % (path, len(faults), '\n  '.join(faults)))
        else:
            print('%s: laid out well' % path)
        if args.png:
            os.makedirs(args.png, exist_ok=True)
            for p in patchgeom.all_patches(patch):
                name = p.name.replace('/', '-').replace(' ', '_')
                render.draw(p, classes).save(os.path.join(args.png, name + '.png'))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
