#!/usr/bin/env python3
"""The layout check finds each fault a user would see, in a patcher and inside its subpatchers, and
nothing in a patch laid out well (so the test of the package's patches means something).

usage: test_check_layout.py REFPAGES_DIR
"""
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import patchgeom  # noqa: E402

REFPAGES = None


def box(ident, kind, rect, text='', inlets=1, outlets=0, **extra):
    b = {'id': ident, 'maxclass': kind, 'patching_rect': rect, 'numinlets': inlets, 'numoutlets': outlets}
    if text:
        b['text'] = text
    b.update(extra)
    return {'box': b}


def cord(src, outlet, dst, inlet=0):
    return {'patchline': {'source': [src, outlet], 'destination': [dst, inlet]}}


def faults_of(suffix, content):
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, 'patch' + suffix)
        with open(path, 'w') as f:
            f.write(content if isinstance(content, str) else json.dumps(content))
        return patchgeom.check(patchgeom.read(path), patchgeom.Classes(REFPAGES))


class LayoutCheck(unittest.TestCase):
    def test_a_patch_laid_out_well_has_no_fault(self):
        patch = {'patcher': {'rect': [0, 0, 400, 300], 'boxes': [
            box('m', 'message', [20, 20, 50, 22], 'bang', 2, 1),
            box('c', 'comment', [90, 20, 200, 20], 'a comment beside it', 1, 0),
            box('o', 'newobj', [20, 80, 120, 22], 'gasnet 12 127', 1, 2, outlettype=['list', '']),
            box('l', 'lcd', [120, 140, 100, 100], '', 1, 4, outlettype=['list', 'list', 'int', ''])],
            'lines': [cord('m', 0, 'o'), cord('o', 1, 'l')]}}
        self.assertEqual(faults_of('.maxpat', patch), [])

    def test_each_fault_is_found_inside_a_subpatcher_too(self):
        inner = {'rect': [0, 0, 400, 300], 'boxes': [
            # text wider than its box: the box grows down onto the one below
            box('m1', 'message', [20, 20, 40, 22], 'learn 20 110, learn 98 86', 2, 1),
            box('c1', 'comment', [100, 20, 150, 20], 'its comment', 1, 0),
            box('m2', 'message', [20, 60, 50, 22], 'bang', 2, 1),
            box('o', 'newobj', [20, 200, 120, 22], 'gasnet', 1, 2, outlettype=['list', '']),
            box('l', 'lcd', [200, 250, 100, 100], '', 1, 0),
            box('x', 'newobj', [20, 120, 60, 22], 'nosuchclass', 1, 0)],
            # from m1 down to the object, through x; from an outlet the message box lacks
            'lines': [cord('m1', 0, 'o'), cord('m2', 1, 'o')]}
        patch = {'patcher': {'rect': [0, 0, 400, 300], 'boxes': [
            box('p', 'newobj', [20, 20, 80, 22], 'p basic', 1, 0, patcher=inner)], 'lines': []}}
        faults = '\n'.join(faults_of('.maxhelp', patch))
        for expected in ['p basic) says 1 inlets and 0 outlets; the object has 0 and 0',
                         'm1 (learn 20 110, learn 98 86) overlaps m2',
                         'the cord m1 (learn 20 110, learn 98 86) -> o (gasnet) runs through x',
                         'l (lcd) says 1 inlets and 0 outlets; the object has 1 and 4',
                         'l (lcd) at [200, 250, 300, 350] is outside the 400x300 window',
                         'x (nosuchclass): no class of that name is known',
                         'from outlet 1 of m2 (bang)']:
            self.assertIn(expected, faults)

    def test_pd_comments_show_as_typed(self):
        patch = ('#N canvas 0 0 900 300 12;\n'
                 '#X text 20 20 integers above 16777216 lose precision, f 60;\n'
                 '#X text 20 60 one \\; two, f 20;\n'
                 '#X text 20 100 integers above 2^24 are fine, f 60;\n')
        faults = faults_of('.pd', patch)
        self.assertEqual(len(faults), 2, faults)
        self.assertIn('Pd shows the number 16777216 as 1.67772e+07', '\n'.join(faults))
        self.assertIn('#1 (one; two): a ";" in a comment', '\n'.join(faults))


if __name__ == '__main__':
    REFPAGES = sys.argv.pop(1)
    unittest.main()
