#!/usr/bin/env python3
"""Writes the help patches and example patchers from short descriptions, so that their layout is
computed: the object near the top of each tab under a title and a one-line digest, what it sends
under it, message boxes in a column below with their comments beside them, cords that run clear of
every box.

A description (package/patches/<file>.json) holds a title, a digest and tabs. Each tab has its
object box, rows (a heading, a message box with its comment, or a loadbang with the message it
sends) and what each outlet goes to (a print with its comment, or an lcd). A help file with several
tabs holds one subpatcher per tab, shown on tabs as Max help files are; an example is one patcher.

Message boxes step a little further right on each row, so the cord of each one runs down to a
send under the column, to the left of every box below it; its receive feeds the object.

usage: make_patches.py --refpages DIR [--check] DESCRIPTION.json...
       writes package/<file> for each (--check: only says whether each is up to date)
       The Pd help patches are written from the same descriptions by pd/make_help.py.
"""
import argparse
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import patchgeom  # noqa: E402

STEP = 14          # how much further right each row's box starts
ROW_GAP = 8
MARGIN = 20
MAX_WIDTH = 1280
MAX_HEIGHT = 760


class MaxMetrics:
    dialect = 'max'
    local_prefix = '---'   # Max makes a name starting with --- unique to the patcher
    title = ('comment', 20.0, True)
    heading = ('comment', 12.0, True)

    def size(self, kind, text, max_width=None, font_size=12.0, bold=False):
        kind = {'object': 'newobj'}.get(kind, kind)
        return patchgeom.max_box_size(kind, text, font_size, bold, max_width)

    def port_x(self, x, w, index, count):
        box = patchgeom.Box('', '', '', (x, 0, w, 0), 0, 0)
        return box.port(index, count, True)[0]


def lay_out(tab, metrics, classes, left=MARGIN, top=MARGIN, title=None, digest=None, text_width=900):
    """Places one tab's boxes. Returns (boxes, cords, right, bottom): each box a dict with kind,
    text, x, y, w, h and, for objects, inlets, outlets and outlet types; cords as index pairs."""
    boxes, cords = [], []

    def add(kind, text, x, y, w, h, **extra):
        boxes.append(dict(kind=kind, text=text, x=x, y=y, w=w, h=h, **extra))
        return len(boxes) - 1

    y = top
    if title:
        _, size, bold = metrics.title
        w, h = metrics.size('comment', title, None, size, bold)
        add('comment', title, left, y, w, h, font_size=size, bold=True)
        y += h + 2
    if digest:
        w, h = metrics.size('comment', digest, text_width)
        add('comment', digest, left, y, w, h)
        y += h + 14

    if tab.get('label'):
        w, h = metrics.size('comment', tab['label'], None, 12.0, True)
        add('comment', tab['label'], left, y, w, h, bold=True)
        y += h + 6

    # The object near the top, fed by a receive; what each outlet goes to under it.
    channel = channel_of(tab, metrics)
    w, h = metrics.size('object', 'r ' + channel)
    receive = add('newobj', 'r ' + channel, left + 10, y, w, h, **object_ports(classes, metrics, 'r ' + channel))
    y += h + 16
    text = tab['object']
    w, h = metrics.size('object', text)
    obj = add('newobj', text, left + 10, y, w, h, **object_ports(classes, metrics, text))
    cords.append((receive, 0, obj, 0))
    note = None
    if tab.get('object_comment'):
        cx = left + 10 + w + 16
        cw, ch = metrics.size('comment', tab['object_comment'], left + text_width - cx)
        note = boxes[add('comment', tab['object_comment'], cx, y, cw, ch)]
    y = place_outlets(tab, metrics, classes, boxes, cords, add, obj, note, y + h, left) + 24

    # Rows: each box a step to the right of the one above, its comment in a column beyond them all,
    # and every cord down to one send under the column, left of the boxes below.
    def message_of(row):
        return row.get('message', row.get('loadbang'))

    x, right_of_boxes = left + 10, left + 200
    for row in tab['rows']:
        if message_of(row) is not None:
            x += STEP if 'loadbang' in row else 0
            right_of_boxes = max(right_of_boxes, x + metrics.size('message', message_of(row), min(row.get('width', 360), text_width // 2))[0])
            x += STEP
    comment_x = right_of_boxes + 16

    x = left + 10
    placed = []   # the message boxes that send to the object
    for row in tab['rows']:
        if 'heading' in row:
            w, h = metrics.size('comment', row['heading'], None, 12.0, True)
            add('comment', row['heading'], x, y, w, h, bold=True)
            y += h + 4
            continue
        lb = None
        if 'loadbang' in row:
            w, h = metrics.size('object', 'loadbang')
            lb = add('newobj', 'loadbang', x, y, w, h, **object_ports(classes, metrics, 'loadbang'))
            y += h + 10
            x += STEP
        w, h = metrics.size('message', message_of(row), min(row.get('width', 360), text_width // 2))
        m = add('message', message_of(row), x, y, w, h)
        if lb is not None:
            cords.append((lb, 0, m, 0))
        placed.append(m)
        if row.get('comment'):
            cw, ch = metrics.size('comment', row['comment'], left + text_width - comment_x)
            add('comment', row['comment'], comment_x, y, cw, ch)
            h = max(h, ch)
        y += h + ROW_GAP
        x += STEP
    y += 8
    w, h = metrics.size('object', 's ' + channel)
    send = add('newobj', 's ' + channel, left + 10, y, w, h, **object_ports(classes, metrics, 's ' + channel))
    cw, ch = metrics.size('comment', 'to the object at the top', text_width)
    add('comment', 'to the object at the top', left + 10 + w + 12, y, cw, ch)
    for m in placed:
        cords.append((m, 0, send, 0))
    right = max(b['x'] + b['w'] for b in boxes)
    bottom = max(b['y'] + b['h'] for b in boxes)
    return boxes, cords, right, bottom


def channel_of(tab, metrics):
    """The send/receive name of a tab, local to the patch (so two open copies do not cross)."""
    return '%s%s-%s' % (metrics.local_prefix, tab['object'].split()[0], tab['name'])


def place_outlets(tab, metrics, classes, boxes, cords, add, obj, note, start_y, left):
    """Places what each outlet goes to, left to right, each a little right of the outlet it hangs
    from, low enough that no cord cuts the comment beside the object. Returns the bottom."""
    ox, ow, n_out = boxes[obj]['x'], boxes[obj]['w'], boxes[obj]['outlets']
    dests, right = [], left + 10
    for outlet, dest in sorted(((int(k), v) for k, v in tab['outlets'].items())):
        port = metrics.port_x(ox, ow, outlet, n_out)
        dx = max(port - 3.5, right)
        if dest['box'] == 'lcd':
            dw = dh = dest.get('size', 200)
            cw, ch = metrics.size('comment', dest['comment'], dw)
        else:
            dw, dh = metrics.size('object', dest['box'])
            cw, ch = metrics.size('comment', dest['comment'], 200)
        dests.append((outlet, dest, dx, dw, dh, cw, ch))
        right = dx + max(dw, cw) + 24
    y = start_y + 30
    for outlet, dest, dx, dw, dh, cw, ch in dests:
        port = metrics.port_x(ox, ow, outlet, n_out)
        if note is not None and dx + 3.5 > port and note['y'] + note['h'] > start_y:
            # At the comment's bottom the cord must still be left of it.
            over = (note['x'] - 2 - port) / (dx + 3.5 - port)
            if over < 1:
                y = max(y, start_y + (note['y'] + note['h'] - start_y) / max(over, 0.05) + 4)
    y = round(y)
    bottom = y
    for outlet, dest, dx, dw, dh, cw, ch in dests:
        if dest['box'] == 'lcd':
            d = add('lcd', '', dx, y, dw, dh, **object_ports(classes, metrics, 'lcd', kind='lcd'))
        else:
            d = add('newobj', dest['box'], dx, y, dw, dh, **object_ports(classes, metrics, dest['box']))
        add('comment', dest['comment'], dx, y + dh + 4, cw, ch)
        cords.append((obj, outlet, d, 0))
        bottom = max(bottom, y + dh + 4 + ch)
    return bottom


def object_ports(classes, metrics, text, kind='newobj'):
    box = patchgeom.Box('', kind, text, (0, 0, 0, 0), 0, 0)
    counts = classes.counts(metrics.dialect, box)
    if counts is None:
        sys.exit('make_patches: no class is known for "%s"' % text)
    inlets, outlets, types = counts
    return dict(inlets=inlets, outlets=outlets, types=types if types is not None else [''] * outlets)


# ---- Max JSON ----

def max_patcher(rect, boxes_json, lines_json, tab=False):
    p = {
        'fileversion': 1,
        'appversion': {'major': 8, 'minor': 5, 'revision': 0, 'architecture': 'x64', 'modernui': 1},
        'classnamespace': 'box',
        'rect': rect,
        'bglocked': 0, 'openinpresentation': 0,
        'default_fontsize': 12.0, 'default_fontface': 0, 'default_fontname': 'Arial',
        'gridonopen': 1, 'gridsize': [15.0, 15.0], 'gridsnaponopen': 1, 'objectsnaponopen': 1,
        'statusbarvisible': 2, 'toolbarvisible': 1,
        'boxanimatetime': 200, 'enablehscroll': 1, 'enablevscroll': 1,
        'description': '', 'digest': '', 'tags': '', 'style': '', 'subpatcher_template': '',
    }
    if tab:
        p['showontab'] = 1
    p['boxes'] = boxes_json
    p['lines'] = lines_json
    return p


class Ids:
    def __init__(self):
        self.n = 0

    def next(self):
        self.n += 1
        return 'obj-%d' % self.n


def max_boxes(boxes, cords, ids):
    out, names = [], []
    for b in boxes:
        ident = ids.next()
        names.append(ident)
        rect = [float(b['x']), float(b['y']), float(b['w']), float(b['h'])]
        box = {'id': ident, 'maxclass': b['kind']}
        if b['kind'] == 'comment':
            box.update(numinlets=1, numoutlets=0)
            if b.get('font_size'):
                box['fontsize'] = b['font_size']
            if b.get('bold'):
                box['fontface'] = 1
        elif b['kind'] == 'message':
            box.update(numinlets=2, numoutlets=1, outlettype=[''])
        else:
            box.update(numinlets=b['inlets'], numoutlets=b['outlets'], outlettype=b['types'])
        box['patching_rect'] = rect
        if b['kind'] != 'lcd':
            box['text'] = b['text']
        out.append({'box': box})
    lines = [{'patchline': {'source': [names[s], o], 'destination': [names[d], i]}} for s, o, d, i in cords]
    return out, lines


def window(right, bottom):
    w, h = right + MARGIN, bottom + MARGIN
    if w > MAX_WIDTH or h > MAX_HEIGHT:
        sys.exit('make_patches: %gx%g does not fit a %dx%d screen: move rows to another tab' % (w, h, MAX_WIDTH, MAX_HEIGHT))
    return [80.0, 80.0, float(w), float(h)]


def write_max(desc, classes, out_path, check=False):
    metrics = MaxMetrics()
    ids = Ids()
    tabs = desc['tabs']
    if len(tabs) == 1:
        boxes, cords, right, bottom = lay_out(tabs[0], metrics, classes, title=desc['title'], digest=desc['digest'])
        bj, lj = max_boxes(boxes, cords, ids)
        patcher = max_patcher(window(right, bottom), bj, lj)
    else:
        # The main patcher: title, digest and one subpatcher box per tab; each tab holds its own object.
        top_boxes, top_lines = [], []
        tw, th = metrics.size('comment', desc['title'], None, 20.0, True)
        dw, dh = metrics.size('comment', desc['digest'], 900)
        note = 'Each tab shows one part of %s, with an object of its own.' % desc['object']
        nw, nh = metrics.size('comment', note, 900)
        header = [dict(kind='comment', text=desc['title'], x=MARGIN, y=MARGIN, w=tw, h=th, font_size=20.0, bold=True),
                  dict(kind='comment', text=desc['digest'], x=MARGIN, y=MARGIN + th + 2, w=dw, h=dh),
                  dict(kind='comment', text=note, x=MARGIN, y=MARGIN + th + dh + 16, w=nw, h=nh)]
        y = MARGIN + th + dh + nh + 26
        x = MARGIN + 10
        subs = []
        rect_right, rect_bottom = MARGIN + max(tw, dw, nw), y
        for tab in tabs:
            boxes, cords, right, bottom = lay_out(tab, metrics, classes, title=desc['title'], digest=desc['digest'])
            rect_right, rect_bottom = max(rect_right, right), max(rect_bottom, bottom)
            subs.append((tab, boxes, cords))
        rect = window(rect_right, rect_bottom)
        hb, _ = max_boxes(header, [], ids)
        top_boxes += hb
        for tab, boxes, cords in subs:
            text = 'p ' + tab['name']
            w, h = metrics.size('object', text)
            ident = ids.next()
            bj, lj = max_boxes(boxes, cords, ids)
            top_boxes.append({'box': {'id': ident, 'maxclass': 'newobj', 'numinlets': 0, 'numoutlets': 0,
                                      'patching_rect': [float(x), float(y), float(w), float(h)], 'text': text,
                                      'patcher': max_patcher(rect, bj, lj, tab=True)}})
            x += w + 16
        patcher = max_patcher(rect, top_boxes, top_lines)
    text = json.dumps({'patcher': patcher}, indent='\t') + '\n'
    if check:
        old = open(out_path, encoding='utf-8').read() if os.path.exists(out_path) else ''
        return old == text
    with open(out_path, 'w', encoding='utf-8') as f:
        f.write(text)
    return True


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument('--refpages', required=True)
    parser.add_argument('--check', action='store_true', help='write nothing: fail when a patch differs from its description')
    parser.add_argument('descriptions', nargs='+')
    args = parser.parse_args()
    classes = patchgeom.Classes(args.refpages)
    package = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'package')
    stale = []
    for path in args.descriptions:
        desc = json.load(open(path, encoding='utf-8'))
        out = os.path.normpath(os.path.join(package, desc['file']))
        if not write_max(desc, classes, out, args.check):
            stale.append(out)
    if stale:
        sys.exit('not what its description makes (run tools/patches/make_patches.py): ' + ', '.join(stale))


if __name__ == '__main__':
    main()
