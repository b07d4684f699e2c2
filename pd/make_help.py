#!/usr/bin/env python3
"""Writes an object's Pd help patch (<class>-help.pd) from the description its Max help patch is
written from (package/patches/<class>.json), so both show the same messages with the same words,
laid out the same way in Pd's boxes.

Each tab of the Max help patch becomes a block of one Pd canvas, in two columns, each with its own
object. Pd has no lcd: the lcd becomes a print of the drawing messages, with a comment saying what
to connect there. Pd's own lines go in the first block: the `seed` message the Pd glue handles, and
what 32-bit floats mean for large integers.

usage: make_help.py CLASS DESCRIPTION.json REFPAGES_DIR OUT.pd
"""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tools', 'patches'))
import make_patches  # noqa: E402
import patchgeom  # noqa: E402

WORDING = [('Max window', 'Pd window')]
BLOCK_GAP = 40
COLUMN_WIDTH = 590


class PdMetrics:
    dialect = 'pd'
    title = ('comment', 12.0, False)

    def size(self, kind, text, max_width=None, font_size=12.0, bold=False):
        pd_kind = {'comment': 'text', 'message': 'msg', 'object': 'obj'}[kind]
        cols = len(text)
        if max_width is not None:
            cols = min(cols, max(8, int((max_width - 4) // patchgeom.PD_CELL_W)))
        elif kind != 'comment':
            cols = min(cols, patchgeom.PD_WRAP)
        lines = patchgeom.wrap(text, lambda s: len(s) <= cols)
        cols = max(len(s) for s in lines)
        w, h, _ = patchgeom.pd_box_size(pd_kind, text, cols)
        return w, h

    def port_x(self, x, w, index, count):
        return patchgeom.Box('', '', '', (x, 0, w, 0), 0, 0).port(index, count, True)[0]


def escape(text):
    """Pd file syntax: commas, semicolons and dollars are escaped, spaces around separators."""
    out = []
    for word in text.split():
        word = word.replace('$', '\\$')
        for piece in word.replace(',', '\x00,\x00').replace(';', '\x00;\x00').split('\x00'):
            if piece in (',', ';'):
                out.append('\\' + piece)
            elif piece:
                out.append(piece)
    return ' '.join(out)


def pd_words(text):
    for max_words, pd_words in WORDING:
        text = text.replace(max_words, pd_words)
    return text


def pd_tab(tab, name, first):
    """The tab as Pd shows it: the lcd as a print, and Pd's own rows in the first block."""
    tab = json.loads(json.dumps(tab))
    for row in tab['rows']:
        for key in ('heading', 'comment'):
            if key in row:
                row[key] = pd_words(row[key])
    tab['rows'].insert(0, {'heading': tab['name']})
    for dest in tab['outlets'].values():
        if dest['box'] == 'lcd':
            dest['box'] = 'print %s-drawing' % name
            dest['comment'] = ('dump_lcd sends the drawing here as lcd messages (clear, paintrect ...). '
                               'Pd has no lcd: print them, or route them to a drawing of your own.')
    if first:
        tab['rows'] += [
            {'heading': 'Pd only'},
            {'message': 'seed 1', 'comment': 'reseed the random generator, so that a run repeats exactly '
                                             '(the object seeds it from the clock when it is made). Pd numbers '
                                             'are 32-bit floats: integers above 2^24 lose precision on their way '
                                             'in and out.'},

        ]
    return tab


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    name, source, refpages, target = sys.argv[1:]
    desc = json.load(open(source, encoding='utf-8'))
    classes = patchgeom.Classes(refpages)
    metrics = PdMetrics()
    boxes, cords = [], []

    # The title and digest once, then the blocks in two columns, each block under the shorter one.
    tw, th = metrics.size('comment', desc['title'])
    dw, dh = metrics.size('comment', desc['digest'], 900)
    boxes += [dict(kind='comment', text=desc['title'], x=20, y=20, w=tw, h=th),
              dict(kind='comment', text=desc['digest'], x=20, y=22 + th, w=dw, h=dh)]
    top = 36 + th + dh
    columns = [[20, top], [20 + COLUMN_WIDTH + BLOCK_GAP, top]]   # left edge and bottom of each
    for k, tab in enumerate(desc['tabs']):
        column = min(columns, key=lambda c: c[1])
        b, c, right, bottom = make_patches.lay_out(pd_tab(tab, name, k == 0), metrics, classes, left=column[0],
                                                   top=column[1], text_width=COLUMN_WIDTH - 10)
        base = len(boxes)
        boxes += b
        cords += [(s + base, o, d + base, i) for s, o, d, i in c]
        column[1] = bottom + BLOCK_GAP

    lines = []
    for b in boxes:
        x, y = int(round(b['x'])), int(round(b['y']))
        cols = (int(b['w']) - 4 - (5 if b['kind'] == 'message' else 0)) // patchgeom.PD_CELL_W
        if b['kind'] == 'comment':
            lines.append('#X text %d %d %s, f %d' % (x, y, escape(b['text']), cols))
        elif b['kind'] == 'message':
            width = ', f %d' % cols if len(b['text']) > cols else ''
            lines.append('#X msg %d %d %s%s' % (x, y, escape(b['text']), width))
        else:
            lines.append('#X obj %d %d %s' % (x, y, escape(b['text'])))
    width = int(max(b['x'] + b['w'] for b in boxes)) + 20
    height = int(max(b['y'] + b['h'] for b in boxes)) + 20
    with open(target, 'w', encoding='utf-8') as f:
        f.write('#N canvas 40 40 %d %d 12;\n' % (width, height))
        for line in lines:
            f.write(line + ';\n')
        for c in cords:
            f.write('#X connect %d %d %d %d;\n' % c)


if __name__ == '__main__':
    main()
