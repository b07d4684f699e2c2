#!/usr/bin/env python3
"""Runs a command-line host script in real Pd and compares what both print, line for line.

The script is turned into a patch: one box per `new` (all `new` lines come first), a print per
outlet (`name` for outlet 0, `name.k` for outlet k, as the command-line host prefixes them), and a
chain that sends each line's message in its own logical step (a zero delay between lines, so the
queue tasks a message sets run before the next, as the host runs them after every line; `wait`
becomes a delay of that length). `seed n` goes to every instance, where the Pd glue handles it.
Numbers are compared at the precision Pd prints (six significant digits, 32-bit floats).

usage: run_in_pd.py MAXSCRIPT PD EXTERNALS_DIR SCRIPT
"""
import os
import re
import subprocess
import sys

from pdrun import run_patch

MAX_OUTLETS = 8
NUMBER = re.compile(r'^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$')


def script_lines(path):
    base = os.path.dirname(path)
    for raw in open(path):
        line = raw.strip()
        if not line or line.startswith('#'):
            continue
        words = line.split()
        if words[0] == 'feed':
            sel = words[3:4]
            for d in open(os.path.join(base, words[2])):
                d = d.strip().rstrip(';').strip()
                if d and not d.startswith('#'):
                    yield ' '.join([words[1]] + sel + [d])
            continue
        yield line


def make_patch(lines):
    objs, cords, names = [], [], {}
    steps = []
    for line in lines:
        head, _, rest = line.partition(' ')
        if head == 'new':
            if steps:
                sys.exit('run_in_pd: every "new" must come before the other lines')
            name, _, box = rest.partition(' ')
            names[name] = len(objs)
            objs.append('obj 10 10 ' + box)
            for k in range(MAX_OUTLETS):
                cords.append((names[name], k, len(objs), 0))
                objs.append('obj 10 40 print ' + (name if k == 0 else '%s.%d' % (name, k)))
        elif head == 'seed':
            steps.append([(n, 'seed ' + rest) for n in names])
        elif head == 'wait':
            steps.append(float(rest))
        elif head == 'echo':
            if re.search(r'[,;$\\{}]', rest):
                sys.exit('run_in_pd: Pd cannot print this echo text as it is: ' + rest)
            steps.append([(None, rest)])
        elif head in names:
            steps.append([(head, rest)])
        else:
            sys.exit('run_in_pd: unsupported line: ' + line)
    echo = len(objs)
    objs.append('obj 10 70 print -n')
    prev = len(objs)
    objs.append('obj 10 100 loadbang')
    for step in steps:
        delay = len(objs)
        objs.append('obj 10 130 delay %g' % (step if isinstance(step, float) else 0))
        cords.append((prev, 0, delay, 0))
        if isinstance(step, float):
            prev = delay
            continue
        trig = len(objs)
        objs.append('obj 10 160 t b ' + 'b ' * len(step))
        cords.append((delay, 0, trig, 0))
        for i, (target, text) in enumerate(step):
            msg = len(objs)
            objs.append('msg 10 190 ' + text)
            cords.append((trig, len(step) - i, msg, 0))
            cords.append((msg, 0, echo if target is None else names[target], 0))
        prev = trig
    quit_msg = len(objs)
    objs.append('msg 10 220 \\; pd quit')
    delay = len(objs)
    objs.append('obj 10 250 delay 0')
    cords.append((prev, 0, delay, 0))
    cords.append((delay, 0, quit_msg, 0))
    text = '#N canvas 0 0 400 300 12;\n'
    text += ''.join('#X %s;\n' % o for o in objs)
    text += ''.join('#X connect %d %d %d %d;\n' % c for c in cords)
    return text


def same(a, b):
    ta, tb = a.split(), b.split()
    if len(ta) != len(tb):
        return False
    for x, y in zip(ta, tb):
        if x == y:
            continue
        if not (NUMBER.match(x) and NUMBER.match(y)):
            return False
        fx, fy = float(x), float(y)
        if abs(fx - fy) > 1e-5 * max(1.0, abs(fx)):
            return False
    return True


PD_NOISE = re.compile(r'^(verbose\(|.*connection failed|warning: |watchdog)')
# The command-line host puts the script line in front of the errors it runs into; Pd has no lines.
HOST_LOCATION = re.compile(r'^.*?:\d+: (?=error: )')


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    maxscript, pd, externals, script = sys.argv[1:]
    lines = list(script_lines(script))
    host = subprocess.run([maxscript, script], capture_output=True, text=True, timeout=120)
    expected = [HOST_LOCATION.sub('', l) for l in host.stdout.splitlines()]
    printed = run_patch(pd, make_patch(lines), externals)
    got = [l for l in printed if not PD_NOISE.match(l)]
    for i in range(max(len(expected), len(got))):
        e = expected[i] if i < len(expected) else '<nothing>'
        g = got[i] if i < len(got) else '<nothing>'
        if not same(e, g):
            print('%s: line %d differs\n  command-line host: %s\n  Pd:                %s' % (script, i + 1, e, g))
            print('--- Pd printed:\n' + '\n'.join(printed))
            return 1
    if not expected:
        print('%s: the command-line host printed nothing' % script)
        return 1
    print('%s: %d lines identical' % (os.path.basename(script), len(expected)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
