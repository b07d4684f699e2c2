"""Where the boxes of a Max patcher (.maxpat, .maxhelp) or a Pd patch (.pd) really sit, and the layout
faults a user sees when opening one: boxes on top of each other, boxes outside the window, cords
through boxes, and boxes whose inlets or outlets are not the object's.

Max draws box text in Arial; Liberation Sans has the same metrics, so widths are measured with it
(through PIL). A box whose text needs more lines than its height holds grows, as Max grows it. Pd
lays its text on a grid of character cells.
"""
import json
import os
import re
import xml.etree.ElementTree as ET

FONT_DIRS = ['/usr/share/fonts/truetype/liberation', '/usr/share/fonts/truetype/liberation2']
PD_FONT = '/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf'

_fonts = {}


def font(size, bold=False, mono=False):
    from PIL import ImageFont  # only Max boxes and pictures need it: Pd boxes sit on a character grid
    key = (round(size), bold, mono)
    if key not in _fonts:
        if mono:
            path = PD_FONT
        else:
            name = 'LiberationSans-Bold.ttf' if bold else 'LiberationSans-Regular.ttf'
            path = next((os.path.join(d, name) for d in FONT_DIRS if os.path.exists(os.path.join(d, name))), None)
            if path is None:
                raise SystemExit('Liberation Sans is not installed (Debian package fonts-liberation)')
        _fonts[key] = ImageFont.truetype(path, key[0])
    return _fonts[key]


class Box:
    def __init__(self, ident, kind, text, rect, inlets, outlets, outlettype=None, size=12.0, bold=False):
        self.id, self.kind, self.text = ident, kind, text
        self.x, self.y, self.w, self.h = rect
        self.inlets, self.outlets, self.outlettype = inlets, outlets, outlettype
        self.size, self.bold = size, bold
        self.lines = []      # the text as drawn, one string per line
        self.sub = None      # the Patch inside a subpatcher box

    def label(self):
        return '%s (%s)' % (self.id, self.text or self.kind) if len(self.text) < 40 else \
            '%s (%s...)' % (self.id, self.text[:37])

    def rect(self):
        return self.x, self.y, self.x + self.w, self.y + self.h

    def port(self, index, count, bottom):
        """Centre of an inlet (top edge) or outlet (bottom edge): nubs spread evenly across the box."""
        nub = 7.0
        x = self.x + (self.w - nub) * index / (count - 1) if count > 1 else self.x
        return x + nub / 2, self.y + self.h if bottom else self.y


class Patch:
    def __init__(self, name, width, height, dialect):
        self.name, self.width, self.height, self.dialect = name, width, height, dialect
        self.boxes, self.cords = [], []   # cords: (source box, outlet, destination box, inlet)


# ---- text layout ----

def wrap(text, fits):
    """Greedy word wrap; `fits(line)` says whether a line fits. A word too long for a line stays whole."""
    lines = []
    for paragraph in text.split('\n'):
        line = ''
        for word in paragraph.split(' '):
            trial = word if not line else line + ' ' + word
            if line and not fits(trial):
                lines.append(line)
                line = word
            else:
                line = trial
        lines.append(line)
    return lines


# Max: text inset of each kind of box, and the height of a one-line box at 12 px.
MAX_PAD = {'comment': 8.0, 'message': 10.0, 'newobj': 10.0}
MAX_VPAD = {'comment': 6.0, 'message': 8.0, 'newobj': 8.0}


def max_text_size(kind, text, width, size=12.0, bold=False):
    """Width and height a Max box of this kind needs to show its text within `width`."""
    f = font(size, bold)
    pad = MAX_PAD.get(kind, 10.0)
    inner = width - pad
    lines = wrap(text, lambda s: f.getlength(s) <= inner)
    need_w = max(f.getlength(s) for s in lines) + pad
    line_h = round(size * 1.2, 1)
    return max(width, need_w), len(lines) * line_h + MAX_VPAD.get(kind, 8.0), lines


def max_box_size(kind, text, size=12.0, bold=False, max_width=None):
    """The size the generator gives a box: its text on one line, or wrapped within max_width."""
    f = font(size, bold)
    pad = MAX_PAD.get(kind, 10.0)
    one_line = f.getlength(text) + pad + 2
    width = one_line if max_width is None or one_line <= max_width else max_width
    w, h, _ = max_text_size(kind, text, width, size, bold)
    return round(w + 0.49), round(h + 0.49)


# ---- the classes a box can name: inlets and outlets ----

class Classes:
    """Inlet and outlet counts (and outlet types, where known) of the classes a patch may use: the
    project's, read from the reference pages written from what each class registers, and the few
    Max and Pd classes the help patches use."""

    def __init__(self, refpages_dir):
        self.project = {}
        for name in os.listdir(refpages_dir) if refpages_dir else []:
            if name.endswith('.maxref.xml'):
                page = ET.parse(os.path.join(refpages_dir, name)).getroot()
                types = [o.get('type') for o in page.find('outletlist')]
                types = ['' if t == 'OUTLET_TYPE' else t for t in types]
                self.project[page.get('name')] = (len(page.find('inletlist')), len(types), types)

    def counts(self, dialect, box):
        """(inlets, outlets, outlet types or None), or None for a class nobody knows."""
        words = box.text.split()
        head = words[0] if words else ''
        if dialect == 'pd':
            if box.kind == 'msg':
                return 1, 1, None
            if box.kind == 'text':
                return 0, 0, None
            if box.kind == 'sub':
                return inlet_outlet_counts(box.sub)
        else:
            if box.kind == 'comment':
                return 1, 0, None
            if box.kind == 'message':
                return 2, 1, ['']
            if box.kind == 'lcd':
                return 1, 4, ['list', 'list', 'int', '']
            if box.kind == 'inlet':
                return 0, 1, None
            if box.kind == 'outlet':
                return 1, 0, None
            if box.kind != 'newobj':
                return None
            if head in ('p', 'patcher') and box.sub is not None:
                return inlet_outlet_counts(box.sub)
        if head in self.project:
            inlets, outlets, types = self.project[head]
            return inlets, outlets, types if dialect == 'max' else None
        if head == 'print':
            return 1, 0, None
        if head == 'loadbang':
            return (1, 1, ['bang']) if dialect == 'max' else (0, 1, None)
        if head in ('s', 'send'):
            return (1, 0, None) if len(words) > 1 or dialect == 'max' else (2, 0, None)
        if head in ('r', 'receive'):
            return 0, 1, None
        if head in ('t', 'trigger'):
            return 1, max(1, len(words) - 1), None
        return None


def inlet_outlet_counts(patch):
    inlets = sum(1 for b in patch.boxes if b.kind == 'inlet' or (patch.dialect == 'pd' and b.text.split()[:1] == ['inlet']))
    outlets = sum(1 for b in patch.boxes if b.kind == 'outlet' or (patch.dialect == 'pd' and b.text.split()[:1] == ['outlet']))
    return inlets, outlets, None


# ---- reading patches ----

def read_max(path):
    doc = json.load(open(path, encoding='utf-8'))
    return _max_patch(os.path.basename(path), doc['patcher'])


def _max_patch(name, patcher):
    rect = patcher.get('rect', [0, 0, 640, 480])
    patch = Patch(name, rect[2], rect[3], 'max')
    default_size = patcher.get('default_fontsize', 12.0)
    by_id = {}
    for entry in patcher.get('boxes', []):
        b = entry['box']
        kind = b.get('maxclass', '')
        text = b.get('text', '')
        size = b.get('fontsize', default_size)
        bold = b.get('fontface', 0) in (1, 3)
        x, y, w, h = b.get('patching_rect', [0, 0, 0, 0])
        box = Box(b.get('id', '?'), kind, text, (x, y, w, h), b.get('numinlets', 0), b.get('numoutlets', 0),
                  b.get('outlettype'), size, bold)
        if kind in MAX_PAD:
            box.w, need_h, box.lines = max_text_size(kind, text, w, size, bold)
            box.h = max(h, need_h)
        if 'patcher' in b:
            box.sub = _max_patch('%s/%s' % (name, text or box.id), b['patcher'])
        patch.boxes.append(box)
        by_id[box.id] = box
    for entry in patcher.get('lines', []):
        line = entry['patchline']
        (src, outlet), (dst, inlet) = line['source'], line['destination']
        patch.cords.append((by_id.get(src), outlet, by_id.get(dst), inlet))
    return patch


# Pd at font size 12 lays text out on a grid of 7 x 16 px character cells (its metrics for DejaVu
# Sans Mono), and wraps a box without a width at 60 characters.
PD_SIZE = 12
PD_CELL_W = 7
PD_CELL_H = 16
PD_WRAP = 60


def pd_unescape(words):
    text = ' '.join(words)
    return text.replace(' \\, ', ', ').replace(' \\; ', '; ').replace('\\,', ',').replace('\\;', ';').replace('\\$', '$')


def pd_box_size(kind, text, width_chars=None):
    """Width, height and lines of a Pd box (kind 'obj', 'msg' or 'text')."""
    cols = width_chars or PD_WRAP
    lines = wrap(text, lambda s: len(s) <= cols)
    cw = PD_CELL_W
    used = width_chars if width_chars else max(len(s) for s in lines)
    w = max(used, 3 if kind != 'text' else 1) * cw + 4 + (5 if kind == 'msg' else 0)
    return w, len(lines) * PD_CELL_H + 5, lines


def read_pd(path):
    text = open(path, encoding='utf-8').read()
    records = [r.strip() for r in re.split(r'(?<!\\);\s*\n', text) if r.strip()]
    stack = []
    root = None
    for r in records:
        words = r.rstrip(';').split()
        if words[:2] == ['#N', 'canvas']:
            name = os.path.basename(path) if not stack else '%s/%s' % (stack[-1].name, words[6])
            patch = Patch(name, int(words[4]), int(words[5]), 'pd')
            patch.raw = []
            stack.append(patch)
            root = root or patch
            continue
        patch = stack[-1]
        if words[:2] == ['#X', 'restore']:
            sub = stack.pop()
            parent = stack[-1]
            box = _pd_box(len(parent.raw), 'obj', words[2:4], words[4:])
            box.kind, box.sub = 'sub', sub
            parent.raw.append(box)
            parent.boxes.append(box)
            continue
        if words[:2] == ['#X', 'connect']:
            s, o, d, i = (int(w) for w in words[2:6])
            patch.cords.append((s, o, d, i))
            continue
        if words[:2] == ['#X', 'coords']:
            continue
        kind = words[1]
        if kind in ('obj', 'msg', 'text', 'floatatom', 'symbolatom'):
            body = words[4:]
            width = None
            joined = ' '.join(body)
            m = re.search(r'\s*,\s*f\s+(\d+)$', joined)
            if m:
                width = int(m.group(1))
                body = joined[:m.start()].split()
            box = _pd_box(len(patch.raw), kind, words[2:4], body, width)
            patch.raw.append(box)
            patch.boxes.append(box)
    for patch in _all(root):
        patch.cords = [(patch.raw[s] if s < len(patch.raw) else None, o,
                        patch.raw[d] if d < len(patch.raw) else None, i) for s, o, d, i in patch.cords]
    return root


def _pd_box(index, kind, xy, body, width=None):
    text = pd_unescape(body)
    w, h, lines = pd_box_size(kind, text, width)
    box = Box('#%d' % index, kind, text, (int(xy[0]), int(xy[1]), w, h), None, None)
    box.lines, box.raw_words = lines, body
    return box


def _all(patch):
    yield patch
    for b in patch.boxes:
        if b.sub is not None:
            yield from _all(b.sub)


def read(path):
    return read_pd(path) if path.endswith('.pd') else read_max(path)


# ---- the checks ----

def _overlap(a, b):
    ax0, ay0, ax1, ay1 = a.rect()
    bx0, by0, bx1, by1 = b.rect()
    return ax0 < bx1 and bx0 < ax1 and ay0 < by1 and by0 < ay1


def _segment_hits_rect(p, q, rect, inset=1.0):
    """Whether the segment p-q passes through the rectangle shrunk by `inset` (Liang-Barsky)."""
    x0, y0, x1, y1 = rect[0] + inset, rect[1] + inset, rect[2] - inset, rect[3] - inset
    if x0 >= x1 or y0 >= y1:
        return False
    dx, dy = q[0] - p[0], q[1] - p[1]
    t0, t1 = 0.0, 1.0
    for pk, qk in ((-dx, p[0] - x0), (dx, x1 - p[0]), (-dy, p[1] - y0), (dy, y1 - p[1])):
        if pk == 0:
            if qk < 0:
                return False
        else:
            t = qk / pk
            if pk < 0:
                t0 = max(t0, t)
            else:
                t1 = min(t1, t)
            if t0 > t1:
                return False
    return True


def cord_ends(src, outlet, dst, inlet, counts_of):
    n_out = counts_of(src)[1]
    n_in = counts_of(dst)[0]
    return src.port(outlet, max(n_out, 1), True), dst.port(inlet, max(n_in, 1), False)


NUMBER = re.compile(r'^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$')


def check(patch, classes):
    """Every layout fault of the patch and its subpatchers, as lines of text."""
    faults = []
    for p in _all(patch):
        where = p.name
        known = {}
        for b in p.boxes:
            c = classes.counts(p.dialect, b)
            if c is None:
                faults.append('%s: %s: no class of that name is known' % (where, b.label()))
                c = (b.inlets or 0, b.outlets or 0, None)
            elif p.dialect == 'max':
                inlets, outlets, types = c
                if (b.inlets, b.outlets) != (inlets, outlets):
                    faults.append('%s: %s says %s inlets and %s outlets; the object has %d and %d' %
                                  (where, b.label(), b.inlets, b.outlets, inlets, outlets))
                elif types is not None and outlets and b.outlettype is not None and list(b.outlettype) != types:
                    faults.append('%s: %s says outlet types %s; the object has %s' % (where, b.label(), b.outlettype, types))
            known[id(b)] = c
        counts_of = lambda b: known[id(b)]
        for i, a in enumerate(p.boxes):
            x0, y0, x1, y1 = a.rect()
            if x0 < 0 or y0 < 0 or x1 > p.width or y1 > p.height:
                faults.append('%s: %s at %s is outside the %gx%g window' %
                              (where, a.label(), [round(v) for v in (x0, y0, x1, y1)], p.width, p.height))
            for b in p.boxes[i + 1:]:
                if _overlap(a, b):
                    faults.append('%s: %s overlaps %s' % (where, a.label(), b.label()))
        for src, outlet, dst, inlet in p.cords:
            if src is None or dst is None:
                faults.append('%s: a cord joins a box that does not exist' % where)
                continue
            if outlet >= counts_of(src)[1] or inlet >= counts_of(dst)[0]:
                faults.append('%s: a cord from outlet %d of %s to inlet %d of %s: no such outlet or inlet' %
                              (where, outlet, src.label(), inlet, dst.label()))
                continue
            a, z = cord_ends(src, outlet, dst, inlet, counts_of)
            for b in p.boxes:
                if b is not src and b is not dst and _segment_hits_rect(a, z, b.rect()):
                    faults.append('%s: the cord %s -> %s runs through %s' % (where, src.label(), dst.label(), b.label()))
        if p.dialect == 'pd':
            for b in p.boxes:
                if b.kind != 'text':
                    continue
                if ';' in b.text:
                    faults.append('%s: %s: a ";" in a comment breaks its line in Pd' % (where, b.label()))
                for word in b.raw_words:
                    if NUMBER.match(word) and _pd_shows(word) != word:
                        faults.append('%s: %s: Pd shows the number %s as %s' % (where, b.label(), word, _pd_shows(word)))
    return faults


def _pd_shows(word):
    """A number as Pd prints it back: a 32-bit float with six significant digits."""
    import struct
    value = struct.unpack('f', struct.pack('f', float(word)))[0]
    shown = '%g' % value
    return shown


def all_patches(patch):
    return list(_all(patch))
