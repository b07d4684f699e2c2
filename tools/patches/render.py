"""Draws a patch as its layout check sees it: boxes at their real size with their text, inlets and
outlets, cords as straight lines."""
from PIL import Image, ImageDraw

import patchgeom

FILL = {'message': (218, 218, 218), 'msg': (218, 218, 218), 'newobj': (250, 250, 250), 'obj': (250, 250, 250),
        'sub': (250, 250, 250), 'lcd': (255, 255, 255), 'inlet': (200, 220, 255), 'outlet': (200, 220, 255)}


def pd_font():
    """Pd's font at the largest size whose characters fit its cells, as Pd picks it."""
    size = patchgeom.PD_SIZE
    while size > 6 and patchgeom.font(size, mono=True).getlength('x') > patchgeom.PD_CELL_W:
        size -= 1
    return patchgeom.font(size, mono=True)


def draw(patch, classes):
    img = Image.new('RGB', (max(1, int(patch.width)), max(1, int(patch.height))), (255, 255, 255) if patch.dialect == 'pd'
                    else (232, 232, 232))
    d = ImageDraw.Draw(img)
    counts = {}
    for b in patch.boxes:
        c = classes.counts(patch.dialect, b)
        counts[id(b)] = c if c else (b.inlets or 0, b.outlets or 0, None)
    for b in patch.boxes:
        x0, y0, x1, y1 = b.rect()
        if b.kind in FILL:
            d.rectangle([x0, y0, x1, y1], fill=FILL[b.kind], outline=(90, 90, 90))
            inlets, outlets, _ = counts[id(b)]
            for k in range(inlets):
                cx, cy = b.port(k, inlets, False)
                d.rectangle([cx - 3.5, cy, cx + 3.5, cy + 2], fill=(60, 60, 60))
            for k in range(outlets):
                cx, cy = b.port(k, outlets, True)
                d.rectangle([cx - 3.5, cy - 2, cx + 3.5, cy], fill=(60, 60, 60))
        if patch.dialect == 'pd':
            f = pd_font()
            for i, line in enumerate(b.lines):
                d.text((x0 + 2, y0 + 2 + i * patchgeom.PD_CELL_H), line, font=f, fill=(0, 0, 0))
        else:
            f = patchgeom.font(b.size, b.bold)
            pad = patchgeom.MAX_PAD.get(b.kind, 10.0) / 2
            line_h = round(b.size * 1.2, 1)
            for i, line in enumerate(b.lines):
                d.text((x0 + pad, y0 + patchgeom.MAX_VPAD.get(b.kind, 8.0) / 2 + i * line_h), line, font=f,
                       fill=(0, 0, 0))
    for src, outlet, dst, inlet in patch.cords:
        if src is None or dst is None or outlet >= counts[id(src)][1] or inlet >= counts[id(dst)][0]:
            continue
        a, z = patchgeom.cord_ends(src, outlet, dst, inlet, lambda b: counts[id(b)])
        d.line([a, z], fill=(40, 40, 40), width=2 if patch.dialect == 'max' else 1)
    return img
