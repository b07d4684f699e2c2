#!/usr/bin/env python3
"""A model written by the command-line host and read in real Pd goes on exactly as it does in the
host, and Pd writes the very same file back.

TRAIN (a host script) writes model.json; RESUME starts with `<name> read model.json` and
`<name> write again.json`, then goes on. RESUME runs in the host and in Pd, each in the folder
holding model.json (the script's folder in the host, the patch's folder in Pd): every printed
line must agree, and Pd's again.json must equal model.json byte for byte.

usage: file_roundtrip.py MAXSCRIPT PD EXTERNALS_DIR TRAIN RESUME
"""
import os
import shutil
import subprocess
import sys
import tempfile

from pdrun import run_patch
from run_in_pd import PD_NOISE, make_patch, same, script_lines


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    maxscript, pd, externals, train, resume = sys.argv[1:]
    with tempfile.TemporaryDirectory() as tmp:
        for s in (train, resume):
            shutil.copy(s, tmp)
        train_copy = os.path.join(tmp, os.path.basename(train))
        resume_copy = os.path.join(tmp, os.path.basename(resume))
        subprocess.run([maxscript, train_copy], check=True, capture_output=True, timeout=120)
        model = open(os.path.join(tmp, 'model.json'), 'rb').read()
        host = subprocess.run([maxscript, resume_copy], capture_output=True, text=True, timeout=120)
        expected = host.stdout.splitlines() + host.stderr.splitlines()
        os.remove(os.path.join(tmp, 'again.json'))
        # Pd runs from elsewhere, so that only the patch's folder can lead it to model.json.
        elsewhere = os.path.join(tmp, 'elsewhere')
        os.mkdir(elsewhere)
        printed = run_patch(pd, make_patch(list(script_lines(resume_copy))), externals, folder=tmp, cwd=elsewhere)
        got = [l for l in printed if not PD_NOISE.match(l)]
        for i in range(max(len(expected), len(got))):
            e = expected[i] if i < len(expected) else '<nothing>'
            g = got[i] if i < len(got) else '<nothing>'
            if not same(e, g):
                print('line %d differs\n  command-line host: %s\n  Pd:                %s' % (i + 1, e, g))
                print('--- Pd printed:\n' + '\n'.join(printed))
                return 1
        again = os.path.join(tmp, 'again.json')
        if not os.path.exists(again) or open(again, 'rb').read() != model:
            print('Pd did not write back the file it read')
            return 1
    print('%s: %d lines identical, the file read and written back unchanged' % (os.path.basename(resume), len(expected)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
