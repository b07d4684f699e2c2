#!/usr/bin/env python3
"""Checks an object's Pd help patch against the object and runs it in real Pd.

The patch must send the object every message and attribute its class registers (as listed on its
reference page) and `seed`, and connect every outlet. Then it is opened in Pd with each message box
clicked in file order, a second apart: Pd must make every box, and print no error, and the object
must answer on its first outlet (and draw, when it has a drawing print).

usage: check_help.py PD EXTERNALS_DIR REFPAGE CLASS
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

from pdrun import errors, run_patch

NUMBER = re.compile(r'^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$')


def parse(path):
    """The patch's object lines (without the canvas line) and its cords."""
    text = open(path).read()
    records = [r.strip() for r in re.split(r'(?<!\\);', text) if r.strip()]
    boxes, cords = [], []
    for r in records[1:]:
        words = r.split()
        if words[:2] == ['#X', 'connect']:
            cords.append(tuple(int(w) for w in words[2:6]))
        else:
            boxes.append(words)
    return records[0], boxes, cords


def selectors(msg_words):
    """What each message of a message box is, as the object dispatches it."""
    out = []
    for message in ' '.join(msg_words).split('\\,'):
        words = message.split()
        if not words:
            continue
        if NUMBER.match(words[0]):
            out.append('int' if len(words) == 1 else 'list')
        else:
            out.append(words[0])
    return out


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    pd, externals, refpage, name = sys.argv[1:]
    patch = os.path.join(externals, name + '-help.pd')
    canvas, boxes, cords = parse(patch)
    failures = []

    page = ET.parse(refpage).getroot()
    wanted = [m.get('name') for m in page.find('methodlist')]
    wanted += [a.get('name') for a in page.find('attributelist')]
    wanted.append('seed')
    outlets = len(page.find('outletlist'))

    # The patch may show the object more than once (a block per part): together they must show it all.
    objs = {i for i, b in enumerate(boxes) if b[1] == 'obj' and b[4] == name}
    if not objs:
        sys.exit('%s: no %s box' % (patch, name))
    sent = set()
    for src, _, dst, _ in cords:
        if dst in objs and boxes[src][1] == 'msg':
            sent.update(selectors(boxes[src][4:]))
    for selector in wanted:
        if selector not in sent:
            failures.append('no message box sends "%s"' % selector)
    for k in range(outlets):
        if not any(src in objs and outlet == k for src, outlet, _, _ in cords):
            failures.append('outlet %d is not connected' % k)

    # Click every message box: a chain of one-second delays bangs them in file order, then Pd quits.
    driver = [' '.join(b) for b in boxes]
    links = ['#X connect %d %d %d %d' % c for c in cords]
    prev = len(driver)
    driver.append('#X obj 0 0 loadbang')
    for i, b in enumerate(boxes):
        if b[1] != 'msg':
            continue
        delay = len(driver)
        driver.append('#X obj 0 0 delay 1100')
        links += ['#X connect %d 0 %d 0' % (prev, delay), '#X connect %d 0 %d 0' % (delay, i)]
        prev = delay
    # Pd quits a second after the last click, so what that click defers (a drawing) still runs.
    last = len(driver)
    driver.append('#X obj 0 0 delay 1100')
    links.append('#X connect %d 0 %d 0' % (prev, last))
    quit_msg = len(driver)
    driver.append('#X msg 0 0 \\; pd quit')
    links.append('#X connect %d 0 %d 0' % (last, quit_msg))
    printed = run_patch(pd, canvas + ';\n' + ''.join(line + ';\n' for line in driver + links), externals)
    failures += ['Pd: ' + line for line in errors(printed)]
    first_print = next((boxes[dst][5] for src, outlet, dst, _ in cords
                        if src in objs and outlet == 0 and boxes[dst][4] == 'print'), None)
    if first_print and not any(l.startswith(first_print + ':') for l in printed):
        failures.append('nothing came out of the first outlet')
    if any(b[1] == 'obj' and b[4:6] == ['print', name + '-drawing'] for b in boxes):
        if not any(l.startswith(name + '-drawing: paintrect') for l in printed):
            failures.append('dump_lcd drew nothing')

    if failures:
        print('%s:\n  %s\n--- Pd printed:\n%s' % (patch, '\n  '.join(failures), '\n'.join(printed)))
        return 1
    print('%s: %d messages, %d outlets, %d lines printed in Pd' % (os.path.basename(patch), len(wanted),
                                                                  outlets, len(printed)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
