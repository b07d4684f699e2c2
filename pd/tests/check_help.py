#!/usr/bin/env python3
"""Checks an object's Pd help patch against the object and runs it in real Pd.

The patch must send the object every message and attribute its class registers (as listed on its
reference page) and `seed`, and connect every outlet. Then it is opened in Pd with each message box
(those of its subpatches too) clicked in file order, a second apart: Pd must make every box, and
print no error, and the object must answer on its first outlet (and draw, when it has a drawing
print).

usage: check_help.py PD EXTERNALS_DIR REFPAGE CLASS
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

from pdrun import errors, run_patch

NUMBER = re.compile(r'^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$')


class Canvas:
    """A canvas of the patch: its header, its boxes in index order (a subpatch is a Canvas, with the
    words of its restore line) and its cords."""

    def __init__(self, header):
        self.header, self.boxes, self.cords, self.restore = header, [], [], None

    def walk(self):
        yield self
        for b in self.boxes:
            if isinstance(b, Canvas):
                yield from b.walk()

    def text(self, extra_boxes=None, extra_cords=None):
        """The canvas as Pd reads it, with boxes and cords added for each canvas (keyed by id)."""
        lines = [self.header]
        for b in self.boxes:
            lines.append(b.text(extra_boxes, extra_cords) if isinstance(b, Canvas) else ' '.join(b))
        lines += (extra_boxes or {}).get(id(self), [])
        lines += ['#X connect %d %d %d %d' % c for c in self.cords]
        lines += (extra_cords or {}).get(id(self), [])
        if self.restore:
            lines.append(' '.join(self.restore))
        return ''.join(line + ';\n' for line in lines)


def parse(path):
    """The patch as a tree of canvases."""
    text = open(path).read()
    records = [r.strip() for r in re.split(r'(?<!\\);', text) if r.strip()]
    stack = []
    for r in records:
        words = r.split()
        if words[:2] == ['#N', 'canvas']:
            stack.append(Canvas(r))
        elif words[:2] == ['#X', 'restore']:
            sub = stack.pop()
            sub.restore = words
            stack[-1].boxes.append(sub)
        elif words[:2] == ['#X', 'connect']:
            stack[-1].cords.append(tuple(int(w) for w in words[2:6]))
        else:
            stack[-1].boxes.append(words)
    return stack[0]


def is_box(b, kind, head=None):
    return not isinstance(b, Canvas) and b[1] == kind and (head is None or b[4:5] == [head])


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
    root = parse(patch)
    failures = []

    page = ET.parse(refpage).getroot()
    wanted = [m.get('name') for m in page.find('methodlist')]
    wanted += [a.get('name') for a in page.find('attributelist')]
    wanted.append('seed')
    outlets = len(page.find('outletlist'))

    # The patch may show the object more than once (in subpatches): together they must show it all.
    # A message box sends to it by a cord, or to a send whose receive has a cord to it.
    feeds = set()
    for canvas in root.walk():
        for src, _, dst, _ in canvas.cords:
            if is_box(canvas.boxes[dst], 'obj', name) and is_box(canvas.boxes[src], 'obj', 'r'):
                feeds.add(canvas.boxes[src][5])
    sent, connected, first_prints, draws = set(), set(), set(), False
    for canvas in root.walk():
        objs = {i for i, b in enumerate(canvas.boxes) if is_box(b, 'obj', name) or
                (is_box(b, 'obj', 's') and b[5:6] and b[5] in feeds)}
        for src, outlet, dst, _ in canvas.cords:
            if dst in objs and is_box(canvas.boxes[src], 'msg'):
                sent.update(selectors(canvas.boxes[src][4:]))
            if src in objs and is_box(canvas.boxes[src], 'obj', name):
                connected.add(outlet)
                if outlet == 0 and is_box(canvas.boxes[dst], 'obj', 'print'):
                    first_prints.add(canvas.boxes[dst][5])
        draws = draws or any(is_box(b, 'obj', 'print') and b[5:6] == [name + '-drawing'] for b in canvas.boxes)
    if not any(is_box(b, 'obj', name) for c in root.walk() for b in c.boxes):
        sys.exit('%s: no %s box' % (patch, name))
    for selector in wanted:
        if selector not in sent:
            failures.append('no message box sends "%s"' % selector)
    for k in range(outlets):
        if k not in connected:
            failures.append('outlet %d is not connected' % k)

    # Click every message box, subpatches' too: a chain of one-second delays on the main canvas sends
    # a bang to a receive beside each box, in file order; a second after the last, Pd quits.
    extra_boxes, extra_cords = {}, {}
    clicks = 0
    for canvas in root.walk():
        for i, b in enumerate(canvas.boxes):
            if is_box(b, 'msg'):
                here = extra_boxes.setdefault(id(canvas), [])
                receive = len(canvas.boxes) + len(here)
                here.append('#X obj 0 0 r check-help-click-%d' % clicks)
                extra_cords.setdefault(id(canvas), []).append('#X connect %d 0 %d 0' % (receive, i))
                clicks += 1
    driver = extra_boxes.setdefault(id(root), [])
    links = extra_cords.setdefault(id(root), [])

    def add(line):
        driver.append(line)
        return len(root.boxes) + len(driver) - 1

    prev = add('#X obj 0 0 loadbang')
    for k in range(clicks):
        delay = add('#X obj 0 0 delay 1100')
        send = add('#X obj 0 0 s check-help-click-%d' % k)
        links += ['#X connect %d 0 %d 0' % (prev, delay), '#X connect %d 0 %d 0' % (delay, send)]
        prev = delay
    last = add('#X obj 0 0 delay 1100')
    quit_msg = add('#X msg 0 0 \\; pd quit')
    links += ['#X connect %d 0 %d 0' % (prev, last), '#X connect %d 0 %d 0' % (last, quit_msg)]
    printed = run_patch(pd, root.text(extra_boxes, extra_cords), externals)
    failures += ['Pd: ' + line for line in errors(printed)]
    if first_prints and not any(l.split(':')[0] in first_prints for l in printed):
        failures.append('nothing came out of the first outlet')
    if draws and not any(l.startswith(name + '-drawing: paintrect') for l in printed):
        failures.append('dump_lcd drew nothing')

    if failures:
        print('%s:\n  %s\n--- Pd printed:\n%s' % (patch, '\n  '.join(failures), '\n'.join(printed)))
        return 1
    print('%s: %d messages, %d outlets, %d message boxes clicked, %d lines printed in Pd' %
          (os.path.basename(patch), len(wanted), outlets, clicks, len(printed)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
