"""Runs a patch in real Pd (no GUI, no sound, as fast as logical time allows) and returns what Pd
printed, line by line."""
import os
import subprocess
import tempfile


def run_patch(pd, text, search_path=None, folder=None, cwd=None):
    """Writes `text` as a patch in `folder` (a temporary one by default) and runs it, from that
    folder unless `cwd` names another."""
    with tempfile.TemporaryDirectory() as tmp:
        where = folder or tmp
        patch = os.path.join(where, 'run.pd')
        with open(patch, 'w') as f:
            f.write(text)
        command = [pd, '-nogui', '-nosound', '-noprefs', '-batch', '-stderr']
        if search_path:
            command += ['-path', os.path.abspath(search_path)]
        run = subprocess.run(command + ['-open', patch], capture_output=True, text=True, timeout=120, cwd=cwd or where)
    return run.stderr.splitlines()


def errors(lines):
    """Pd's errors, and the boxes it could not make."""
    return [l for l in lines if l.startswith('error') or "couldn't create" in l]
