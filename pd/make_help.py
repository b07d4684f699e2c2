#!/usr/bin/env python3
"""Writes an object's Pd help patch (<class>-help.pd) from its Max help patch, so both show the
same messages with the same words.

Message boxes, object boxes, comments and cords carry over. Pd has no lcd: the lcd becomes a print
of the drawing messages, with a comment saying what to connect there. Pd's own lines follow at the
bottom: the `seed` message the Pd glue handles, and what 32-bit floats mean for large integers.

usage: make_help.py CLASS MAXHELP OUT.pd
"""
import json
import sys

X_SCALE = 1.15  # Pd's monospaced font is a little wider than Max's
CHAR_PX = 7     # width of one character of Pd's font at size 12
LINE_PX = 30

WORDING = [
    ('Max window', 'Pd window'),
]


def escape(text):
    """Pd file syntax: commas, semicolons and dollars are escaped, spaces around separators."""
    out = []
    for word in text.split():
        word = word.replace('$', '\\$')
        parts = []
        for piece in word.replace(',', '\x00,\x00').replace(';', '\x00;\x00').split('\x00'):
            if piece in (',', ';'):
                parts.append('\\' + piece)
            elif piece:
                parts.append(piece)
        out.extend(parts)
    return ' '.join(out)


def pd_text(text):
    for max_words, pd_words in WORDING:
        text = text.replace(max_words, pd_words)
    return text


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    name, source, target = sys.argv[1:]
    patcher = json.load(open(source))['patcher']
    lines = []       # Pd object lines, in index order
    index = {}       # Max box id -> Pd object index
    object_index = None
    bottom = 0

    for entry in patcher['boxes']:
        box = entry['box']
        x, y, w, h = box['patching_rect']
        px, py = int(x * X_SCALE), int(y)
        bottom = max(bottom, int(y + h))
        cls = box['maxclass']
        text = box.get('text', '')
        index[box['id']] = len(lines)
        if cls == 'comment':
            if 'draws here' in text:
                text = ('dump_lcd sends the drawing here as lcd messages (clear, paintrect ...). '
                        'Pd has no lcd: print them, or route them to a drawing of your own.')
            width = max(10, int(w * X_SCALE / CHAR_PX))
            lines.append('#X text %d %d %s, f %d' % (px, py, escape(pd_text(text)), width))
        elif cls == 'message':
            lines.append('#X msg %d %d %s' % (px, py, escape(text)))
        elif cls == 'newobj':
            if text.split()[0] == name:
                object_index = len(lines)
            lines.append('#X obj %d %d %s' % (px, py, escape(text)))
        elif cls == 'lcd':
            lines.append('#X obj %d %d print %s-drawing' % (px, py, name))
        else:
            sys.exit('make_help: %s: no Pd counterpart for a %s box' % (source, cls))
    if object_index is None:
        sys.exit('make_help: %s has no %s box' % (source, name))

    cords = []
    for entry in patcher['lines']:
        line = entry['patchline']
        (src, outlet), (dst, inlet) = line['source'], line['destination']
        cords.append((index[src], outlet, index[dst], inlet))

    y = bottom + 40
    lines.append('#X text 20 %d Pd only, f 40' % y)
    y += LINE_PX
    seed = len(lines)
    lines.append('#X msg 34 %d seed 1' % y)
    cords.append((seed, 0, object_index, 0))
    lines.append('#X text 345 %d %s, f 80' % (y, escape(
        'reseed the random generator, so that a run repeats exactly (the object seeds it from '
        'the clock when it is made)')))
    y += LINE_PX
    lines.append('#X text 20 %d %s, f 120' % (y, escape(
        'Pd numbers are 32-bit floats: integers above 16777216 lose precision on their way in and out.')))

    width = max(int(b['box']['patching_rect'][0] * X_SCALE + b['box']['patching_rect'][2] * X_SCALE)
                for b in patcher['boxes']) + 40
    height = y + 3 * LINE_PX
    with open(target, 'w') as f:
        f.write('#N canvas 40 40 %d %d 12;\n' % (width, height))
        for line in lines:
            f.write(line + ';\n')
        for c in cords:
            f.write('#X connect %d %d %d %d;\n' % c)


if __name__ == '__main__':
    main()
