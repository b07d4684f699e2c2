#!/usr/bin/env python3
"""Writes an object's Pd help patch (<class>-help.pd) from the description its Max help patch is
written from (package/patches/<class>.json), so both show the same messages with the same words,
laid out the same way in Pd's boxes.

Each tab of the Max help patch becomes a block of the Pd canvas, in two columns, each with its own
object; a block that would not fit the screen goes into a subpatch (`[pd drawing]`). Pd has no lcd: the lcd becomes a print of the drawing messages, with a comment saying what
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
COLUMNS = (740, 460)   # widths: the first block, with the longest comments, gets the wider one


class PdMetrics:
    dialect = 'pd'
    local_prefix = '$0-'   # Pd replaces $0 by a number unique to the patch
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


def pd_tab(tab, name):
    """The tab as Pd shows it: labelled, with the lcd as a print."""
    tab = json.loads(json.dumps(tab))
    for row in tab['rows']:
        for key in ('heading', 'comment'):
            if key in row:
                row[key] = pd_words(row[key])
    tab['label'] = tab['name']
    for dest in tab['outlets'].values():
        if dest['box'] == 'lcd':
            dest['box'] = 'print %s-drawing' % name
            dest['comment'] = ('dump_lcd sends the drawing here as lcd messages (clear, paintrect ...). '
                               'Pd has no lcd: print them, or route them to a drawing of your own.')
    return tab


def pd_only(metrics, channel, x, y, width):
    """Pd's own lines: the seed message the glue handles, sent to the first block's object."""
    heading = 'Pd only (Pd numbers are 32-bit floats: integers above 2^24 lose precision)'
    comment = 'reseed the random generator, so that a run repeats exactly (the object seeds it from the clock)'
    hw, hh = metrics.size('comment', heading, width)
    mw, mh = metrics.size('message', 'seed 1')
    cw, ch = metrics.size('comment', comment, width - mw - 30)
    sw, sh = metrics.size('object', 's ' + channel)
    my = y + hh + 6
    sy = my + max(mh, ch) + 12
    boxes = [dict(kind='comment', text=heading, x=x, y=y, w=hw, h=hh),
             dict(kind='message', text='seed 1', x=x + 10, y=my, w=mw, h=mh),
             dict(kind='comment', text=comment, x=x + 10 + mw + 16, y=my, w=cw, h=ch),
             dict(kind='obj', text='s ' + channel, x=x + 10, y=sy, w=sw, h=sh)]
    return boxes, [(1, 0, 3, 0)], sy + sh


def pd_lines(boxes, cords, subs=None):
    """The boxes and cords as Pd file lines; a box of kind 'sub' is a subpatch written in place."""
    lines = []
    for k, b in enumerate(boxes):
        x, y = int(round(b['x'])), int(round(b['y']))
        cols = (int(b['w']) - 4 - (5 if b['kind'] == 'message' else 0)) // patchgeom.PD_CELL_W
        if b['kind'] == 'comment':
            lines.append('#X text %d %d %s, f %d' % (x, y, escape(b['text']), cols))
        elif b['kind'] == 'message':
            width = ', f %d' % cols if len(b['text']) > cols else ''
            lines.append('#X msg %d %d %s%s' % (x, y, escape(b['text']), width))
        elif b['kind'] == 'sub':
            sub_boxes, sub_cords = subs[b['text']]
            lines.append(canvas_line(sub_boxes, 60, 60, b['text'].split()[1]))
            lines += pd_lines(sub_boxes, sub_cords)
            lines.append('#X restore %d %d %s' % (x, y, b['text']))
        else:
            lines.append('#X obj %d %d %s' % (x, y, escape(b['text'])))
    return lines + ['#X connect %d %d %d %d' % c for c in cords]


def canvas_line(boxes, x, y, name=None):
    width = int(max(b['x'] + b['w'] for b in boxes)) + 20
    height = int(max(b['y'] + b['h'] for b in boxes)) + 20
    return '#N canvas %d %d %d %d %s' % (x, y, width, height, '%s 0' % name if name else '12')


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    name, source, refpages, target = sys.argv[1:]
    desc = json.load(open(source, encoding='utf-8'))
    classes = patchgeom.Classes(refpages)
    metrics = PdMetrics()
    boxes, cords, subs = [], [], {}

    def place(placed):
        base = len(boxes)
        boxes.extend(placed[0])
        cords.extend((s + base, o, d + base, i) for s, o, d, i in placed[1])

    # The title and digest once, then the blocks in two columns, each block under the shorter one;
    # a block that would make the window taller than the screen goes into a subpatch of its own.
    tw, th = metrics.size('comment', desc['title'])
    dw, dh = metrics.size('comment', desc['digest'], 900)
    boxes += [dict(kind='comment', text=desc['title'], x=20, y=20, w=tw, h=th),
              dict(kind='comment', text=desc['digest'], x=20, y=22 + th, w=dw, h=dh)]
    top = 36 + th + dh
    columns = [[20, top, COLUMNS[0]], [20 + COLUMNS[0] + BLOCK_GAP, top, COLUMNS[1]]]   # left, bottom, width
    for k, tab in enumerate(desc['tabs']):
        tab = pd_tab(tab, name)
        column = min(columns, key=lambda c: c[1])
        placed = make_patches.lay_out(tab, metrics, classes, left=column[0], top=column[1],
                                      text_width=column[2] - 10)
        if k > 0 and placed[3] > make_patches.MAX_HEIGHT - 60:
            sub = make_patches.lay_out(tab, metrics, classes, left=20, top=20, text_width=COLUMNS[0] - 10)
            subs['pd ' + tab['name']] = sub[:2]
            continue
        place(placed)
        column[1] = placed[3] + BLOCK_GAP
    column = min(columns, key=lambda c: c[1])
    extra, extra_cords, column[1] = pd_only(metrics, make_patches.channel_of(desc['tabs'][0], metrics),
                                            column[0], column[1], column[2] - 10)
    place((extra, extra_cords))
    column[1] += BLOCK_GAP
    if subs:
        column = min(columns, key=lambda c: c[1])
        x, y = column[0], column[1]
        note = 'open for more (click it in run mode):'
        w, h = metrics.size('comment', note)
        boxes.append(dict(kind='comment', text=note, x=x, y=y, w=w, h=h))
        x += w + 12
        for text in subs:
            w, h = metrics.size('object', text)
            boxes.append(dict(kind='sub', text=text, x=x, y=y, w=w, h=h))
            x += w + 16

    with open(target, 'w', encoding='utf-8') as f:
        for line in [canvas_line(boxes, 40, 40)] + pd_lines(boxes, cords, subs):
            f.write(line + ';\n')


if __name__ == '__main__':
    main()
