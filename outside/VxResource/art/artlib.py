"""Drawing kit of the resource art: images, shapes, lettering, file writers, registry.

Shapes are signed-distance functions painted with one pixel of anti-aliasing, so the
pictures come out the same on every run. Standard library only.
"""

import math
import struct

# ----------------------------------------------------------------------------- colours
NAVY = (13, 62, 89)        # status bar
STRIP = (11, 73, 104)      # sub-view strip
SPLIT = (5, 67, 98)        # splitter bar
SPLIT_OPEN = (1, 82, 119)  # splitter bar of a folded column
COMBO = (3, 37, 56)        # skinned combo box
CAL_BG = (121, 147, 165)   # calendar views
VIEW_BG = (122, 142, 156)  # icon view
AMBER = (255, 193, 59)     # calendar selection
ORANGE = (255, 146, 18)    # selected label
DEEP = (0, 54, 99)         # dark text
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
KEY = (255, 0, 255)        # transparent key colour


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    return mix(c, BLACK, t)


# ----------------------------------------------------------------------------- image
class Image:
    """RGBA floats, straight alpha; (0, 0) is the top-left pixel."""

    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        if bg is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[float(bg[0]), float(bg[1]), float(bg[2]), 1.0] for _ in range(w * h)]

    def blend(self, x, y, c, a):
        if a <= 0.0:
            return
        p = self.px[y * self.w + x]
        if a >= 1.0:
            p[0], p[1], p[2], p[3] = c[0], c[1], c[2], 1.0
            return
        da = p[3] * (1.0 - a)
        oa = a + da
        p[0] = (c[0] * a + p[0] * da) / oa
        p[1] = (c[1] * a + p[1] * da) / oa
        p[2] = (c[2] * a + p[2] * da) / oa
        p[3] = oa

    def get(self, x, y):
        return self.px[y * self.w + x]

    def paste(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                p = other.get(x, y)
                tx, ty = ox + x, oy + y
                if 0 <= tx < self.w and 0 <= ty < self.h:
                    self.blend(tx, ty, p, p[3])


# ----------------------------------------------------------------------------- shapes
# A shape is (sd, bbox): sd(x, y) is the signed distance (negative inside) at a point,
# bbox = (x0, y0, x1, y1) bounds the inside.

def box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sd(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return out + min(max(dx, dy), 0.0) - r
    return sd, (x0, y0, x1, y1)


def ellipse(cx, cy, rx, ry):
    def sd(x, y):
        # Scaled circle distance: close enough for the small ellipses used here.
        k = math.hypot((x - cx) / rx, (y - cy) / ry)
        return (k - 1.0) * min(rx, ry)
    return sd, (cx - rx, cy - ry, cx + rx, cy + ry)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def _seg_dist(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    wx, wy = x - ax, y - ay
    ll = vx * vx + vy * vy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, (wx * vx + wy * vy) / ll))
    return math.hypot(wx - vx * t, wy - vy * t)


def stroke(points, width):
    """A polyline of round-capped segments."""
    r = width / 2.0
    segs = list(zip(points, points[1:])) or [(points[0], points[0])]

    def sd(x, y):
        return min(_seg_dist(x, y, a[0], a[1], b[0], b[1]) for a, b in segs) - r
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return sd, (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r)


def strokes(paths, width):
    parts = [stroke(p, width) for p in paths]
    return union(*parts)


def polygon(points):
    n = len(points)

    def sd(x, y):
        d = min(_seg_dist(x, y, *points[i], *points[(i + 1) % n]) for i in range(n))
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -d if inside else d
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return sd, (min(xs), min(ys), max(xs), max(ys))


def union(*shapes):
    def sd(x, y):
        return min(s[0](x, y) for s in shapes)
    bb = (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
          max(s[1][2] for s in shapes), max(s[1][3] for s in shapes))
    return sd, bb



def subtract(shape, cut):
    """What of shape lies outside cut."""
    sd0, bb = shape
    sd1 = cut[0]
    return (lambda x, y: max(sd0(x, y), -sd1(x, y))), bb


def ring(shape, width):
    """The outline of a shape, centred on its edge."""
    sd0, bb = shape
    h = width / 2.0
    return (lambda x, y: abs(sd0(x, y)) - h), (bb[0] - h, bb[1] - h, bb[2] + h, bb[3] + h)


def offset(shape, dx, dy):
    sd0, bb = shape
    return (lambda x, y: sd0(x - dx, y - dy)), (bb[0] + dx, bb[1] + dy, bb[2] + dx, bb[3] + dy)


def arc(cx, cy, rx, ry, a0, a1, n=24):
    """Points on an elliptic arc; angles in degrees, 0 to the right, 90 downwards."""
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


def paint(img, shape, color, alpha=1.0, aa=True):
    """Fills a shape; color is an RGB tuple or a function (x, y) -> RGB."""
    sd, bb = shape
    x0 = max(0, int(math.floor(bb[0])) - 1)
    y0 = max(0, int(math.floor(bb[1])) - 1)
    x1 = min(img.w, int(math.ceil(bb[2])) + 2)
    y1 = min(img.h, int(math.ceil(bb[3])) + 2)
    fn = color if callable(color) else None
    for y in range(y0, y1):
        for x in range(x0, x1):
            d = sd(x + 0.5, y + 0.5)
            if aa:
                cov = 0.5 - d
                if cov <= 0.0:
                    continue
                cov = min(cov, 1.0)
            else:
                if d > 0.0:
                    continue
                cov = 1.0
            img.blend(x, y, fn(x + 0.5, y + 0.5) if fn else color, cov * alpha)


def outlined(img, shape, fill=WHITE, edge=BLACK, width=1.4):
    """A shape filled and edged, as cursors are drawn (readable on light and dark)."""
    sd0, bb = shape
    grown = (lambda x, y: sd0(x, y) - width), (bb[0] - width, bb[1] - width, bb[2] + width, bb[3] + width)
    paint(img, grown, edge)
    paint(img, shape, fill)


def vgrad(y0, y1, c0, c1):
    span = max(y1 - y0, 1e-6)
    return lambda x, y: mix(c0, c1, max(0.0, min(1.0, (y - y0) / span)))



def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, min(1.0, math.hypot(x - cx, y - cy) / r))


def fill(img, color):
    paint(img, box(-1, -1, img.w + 1, img.h + 1), color, aa=False)


def banded(w, h, top, bottom, rows):
    """A horizontal band: a vertical gradient with edge rows {y: colour} (y < 0 from the bottom)."""
    img = Image(w, h)
    fill(img, vgrad(0, h, top, bottom))
    for y, c in rows.items():
        for x in range(w):
            img.blend(x, y % h, c, 1)
    return img


# ----------------------------------------------------------------------------- lettering
# Stroke font for capitals, cap height 1; each glyph is (advance width, paths).
GLYPHS = {
    'A': (0.72, [[(0, 1), (0.36, 0), (0.72, 1)], [(0.14, 0.62), (0.58, 0.62)]]),
    'C': (0.74, [arc(0.42, 0.5, 0.42, 0.5, -45, -315)]),
    'D': (0.7, [[(0.3, 0), (0, 0), (0, 1), (0.3, 1)], arc(0.3, 0.5, 0.38, 0.5, 90, -90)]),
    'E': (0.6, [[(0.6, 0), (0, 0), (0, 1), (0.6, 1)], [(0, 0.5), (0.5, 0.5)]]),
    'F': (0.6, [[(0.6, 0), (0, 0), (0, 1)], [(0, 0.5), (0.5, 0.5)]]),
    'G': (0.78, [arc(0.4, 0.5, 0.4, 0.5, -40, -360), [(0.8, 0.5), (0.44, 0.5)]]),
    'H': (0.66, [[(0, 0), (0, 1)], [(0.66, 0), (0.66, 1)], [(0, 0.5), (0.66, 0.5)]]),
    'I': (0.0, [[(0, 0), (0, 1)]]),
    'L': (0.56, [[(0, 0), (0, 1), (0.56, 1)]]),
    'M': (0.82, [[(0, 1), (0, 0), (0.41, 0.72), (0.82, 0), (0.82, 1)]]),
    'N': (0.66, [[(0, 1), (0, 0), (0.66, 1), (0.66, 0)]]),
    'O': (0.8, [arc(0.4, 0.5, 0.4, 0.5, 0, 360, 36)]),
    'P': (0.62, [[(0, 1), (0, 0), (0.34, 0)] + arc(0.34, 0.27, 0.28, 0.27, -90, 90) + [(0, 0.54)]]),
    'R': (0.66, [[(0, 1), (0, 0), (0.36, 0)] + arc(0.36, 0.26, 0.27, 0.26, -90, 90) + [(0, 0.52)],
                 [(0.3, 0.52), (0.66, 1)]]),
    'S': (0.62, [arc(0.31, 0.26, 0.29, 0.25, -25, -270) + arc(0.31, 0.75, 0.31, 0.25, -90, 155)]),
    'T': (0.7, [[(0, 0), (0.7, 0)], [(0.35, 0), (0.35, 1)]]),
    'U': (0.66, [[(0, 0), (0, 0.64)] + arc(0.33, 0.64, 0.33, 0.36, 180, 0) + [(0.66, 0)]]),
    'V': (0.72, [[(0, 0), (0.36, 1), (0.72, 0)]]),
    'W': (0.94, [[(0, 0), (0.22, 1), (0.47, 0.3), (0.72, 1), (0.94, 0)]]),
}


def text_width(text, size, gap=0.32):
    w = 0.0
    for i, ch in enumerate(text):
        adv = GLYPHS[ch][0] if ch != ' ' else 0.4
        w += adv * size + (gap * size if i < len(text) - 1 else 0)
    return w


def lettering(text, x, y, size, width, gap=0.32):
    """The shape of a capital text whose cap box starts at (x, y)."""
    paths = []
    for ch in text:
        if ch == ' ':
            x += (0.4 + gap) * size
            continue
        adv, glyph = GLYPHS[ch]
        for p in glyph:
            paths.append([(x + px * size, y + py * size) for px, py in p])
        x += (adv + gap) * size
    return strokes(paths, width)


# Seven-segment digits: segments a..g with a small gap, round ends.
SEGMENTS = {
    '0': 'abcdef', '1': 'bc', '2': 'abged', '3': 'abgcd', '4': 'fgbc',
    '5': 'afgcd', '6': 'afgedc', '7': 'abc', '8': 'abcdefg', '9': 'abcdfg',
    '-': 'g', ' ': '',
}


def digit(ch, x, y, w, h, t):
    """A digit in the box (x, y, w, h), strokes t wide."""
    g = t * 0.45
    l, r = x + t / 2, x + w - t / 2
    top, mid, bot = y + t / 2, y + h / 2, y + h - t / 2
    seg = {
        'a': [(l + g, top), (r - g, top)],
        'b': [(r, top + g), (r, mid - g)],
        'c': [(r, mid + g), (r, bot - g)],
        'd': [(l + g, bot), (r - g, bot)],
        'e': [(l, mid + g), (l, bot - g)],
        'f': [(l, top + g), (l, mid - g)],
        'g': [(l + g, mid), (r - g, mid)],
    }
    paths = [seg[s] for s in SEGMENTS[ch]]
    if not paths:
        return None
    return strokes(paths, t)


# ----------------------------------------------------------------------------- common pieces
def button_face(w, h, state, bg, glyph=None, radius=4, base=(30, 104, 144), back=None):
    """A rounded push button on a background colour (or the picture back); glyph(img, dx,
    dy, colour) draws its sign."""
    img = back if back is not None else Image(w, h, bg)
    if state == 'disabled':
        c0, c1, edge = (158, 168, 174), (128, 138, 145), (96, 106, 112)
    elif state == 'hot':
        c0, c1, edge = lighter(base, 0.45), lighter(base, 0.1), darker(base, 0.5)
    elif state == 'pressed':
        c0, c1, edge = darker(base, 0.45), darker(base, 0.15), darker(base, 0.65)
    else:
        c0, c1, edge = lighter(base, 0.3), darker(base, 0.2), darker(base, 0.55)
    body = box(0.5, 0.5, w - 0.5, h - 0.5, radius)
    paint(img, body, edge)
    paint(img, box(1.5, 1.5, w - 1.5, h - 1.5, radius - 1), vgrad(1, h - 1, c0, c1))
    if state in ('normal', 'hot'):
        paint(img, stroke([(radius + 1, 2.0), (w - radius - 1, 2.0)], 1.0), WHITE, 0.35)
    if state == 'focus':
        paint(img, ring(box(2.5, 2.5, w - 2.5, h - 2.5, radius - 2), 1.0), (190, 232, 250))
    if glyph:
        col = (214, 220, 224) if state == 'disabled' else WHITE
        d = 1 if state == 'pressed' else 0
        glyph(img, d, d, col)
    return img


def triangle(cx, cy, size, direction):
    """An equilateral-ish arrow head pointing left, right, up or down."""
    s = size / 2.0
    if direction == 'right':
        pts = [(cx - s * 0.75, cy - s), (cx + s * 0.9, cy), (cx - s * 0.75, cy + s)]
    elif direction == 'left':
        pts = [(cx + s * 0.75, cy - s), (cx - s * 0.9, cy), (cx + s * 0.75, cy + s)]
    elif direction == 'down':
        pts = [(cx - s, cy - s * 0.6), (cx + s, cy - s * 0.6), (cx, cy + s * 0.8)]
    else:
        pts = [(cx - s, cy + s * 0.6), (cx + s, cy + s * 0.6), (cx, cy - s * 0.8)]
    return polygon(pts)


def app_mark(img, s):
    """The program's mark: a blue tile with a white lens ring and an amber spark."""
    paint(img, box(s * 0.04, s * 0.04, s * 0.96, s * 0.96, s * 0.2), vgrad(0, s, (52, 150, 200), (8, 62, 98)))
    paint(img, ring(circle(s * 0.5, s * 0.53, s * 0.27), max(1.6, s * 0.1)), WHITE)
    paint(img, circle(s * 0.5, s * 0.53, s * 0.12), (170, 220, 245))
    paint(img, circle(s * 0.74, s * 0.26, max(1.2, s * 0.08)), AMBER)


def icon_pair(draw, sizes=(16, 32)):
    """Icon images drawn by draw(img, size) at each size, on transparency."""
    out = []
    for s in sizes:
        img = Image(s, s)
        draw(img, s)
        out.append(img)
    return out


# ----------------------------------------------------------------------------- file writers
def write_bmp(path, img):
    """24-bit bottom-up BMP; transparent pixels come out over black."""
    row = (img.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(img.h - 1, -1, -1):
        line = bytearray()
        for x in range(img.w):
            p = img.get(x, y)
            a = p[3]
            line += bytes((_b(p[2] * a), _b(p[1] * a), _b(p[0] * a)))
        line += b'\0' * (row - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + bytes(data))


def _b(v):
    return max(0, min(255, int(round(v))))


def _icon_blob(img):
    """One image of an ICO or CUR file: a 32-bit BGRA bitmap and its AND mask."""
    xor = bytearray()
    mask_row = ((img.w + 31) // 32) * 4
    mask = bytearray()
    for y in range(img.h - 1, -1, -1):
        bits = 0
        mrow = bytearray()
        for x in range(img.w):
            p = img.get(x, y)
            xor += bytes((_b(p[2]), _b(p[1]), _b(p[0]), _b(p[3] * 255)))
            bits = (bits << 1) | (1 if p[3] < 0.5 else 0)
            if x % 8 == 7:
                mrow.append(bits)
                bits = 0
        if img.w % 8:
            mrow.append(bits << (8 - img.w % 8))
        mrow += b'\0' * (mask_row - len(mrow))
        mask += mrow
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """ICO with 32-bit BGRA images and their AND masks."""
    entries, blobs = [], []
    offset_ = 6 + 16 * len(images)
    for img in images:
        blob = _icon_blob(img)
        entries.append(struct.pack('<BBBBHHII', img.w % 256, img.h % 256, 0, 0, 1, 32, len(blob), offset_))
        blobs.append(blob)
        offset_ += len(blob)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs))


def write_cur(path, img, hot_x, hot_y):
    """CUR of one 32-bit image with its hot spot."""
    blob = _icon_blob(img)
    entry = struct.pack('<BBBBHHII', img.w % 256, img.h % 256, 0, 0, hot_x, hot_y, len(blob), 6 + 16)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 2, 1) + entry + blob)


# ----------------------------------------------------------------------------- registry
ART = {}


def art(name):
    def reg(fn):
        ART[name] = fn
        return fn
    return reg


def art_states(pattern, draw, states):
    """Registers one file per state: pattern % '' for 'normal', pattern % '_<state>' else."""
    for state in states:
        art(pattern % ('' if state == 'normal' else '_' + state))(lambda s=state: draw(s))


def _palette_index(p):
    """The colour cube of write_avi's palette: 6 reds x 7 greens x 6 blues."""
    a = p[3]
    r, g, b = _b(p[0] * a), _b(p[1] * a), _b(p[2] * a)
    return (r * 5 + 127) // 255 * 42 + (g * 6 + 127) // 255 * 6 + (b * 5 + 127) // 255


def write_avi(path, frames, fps):
    """Uncompressed 8-bit AVI (what the Animate control plays) of equally sized frames.
    The palette is a fixed colour cube; the first frame's top-left pixel is the colour the
    control keys out when transparent."""
    w, h = frames[0].w, frames[0].h
    row = (w + 3) & ~3
    palette = bytearray()
    for i in range(256):
        if i < 252:
            r, g, b = i // 42 * 255 // 5, i // 6 % 7 * 255 // 6, i % 6 * 255 // 5
        else:
            r = g = b = 0
        palette += bytes((b, g, r, 0))
    images = []
    for img in frames:
        data = bytearray()
        for y in range(h - 1, -1, -1):
            data += bytes(_palette_index(img.get(x, y)) for x in range(w))
            data += b'\0' * (row - w)
        images.append(bytes(data))

    def chunk(fourcc, body):
        return fourcc + struct.pack('<I', len(body)) + body + (b'\0' if len(body) % 2 else b'')

    def lst(kind, body):
        return chunk(b'LIST', kind + body)

    size = row * h
    avih = struct.pack('<14I', 1000000 // fps, size * fps, 0, 0x10, len(frames), 0, 1, size, w, h, 0, 0, 0, 0)
    strh = b'vids' + b'DIB ' + struct.pack('<IHHIIIIIIIIhhhh', 0, 0, 0, 0, 1, fps, 0, len(frames), size, 0xFFFFFFFF,
                                           0, 0, 0, w, h)
    strf = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, size, 0, 0, 256, 0) + bytes(palette)
    hdrl = lst(b'hdrl', chunk(b'avih', avih) + lst(b'strl', chunk(b'strh', strh) + chunk(b'strf', strf)))
    movi_body, index, offset_ = bytearray(), bytearray(), 4
    for data in images:
        index += b'00db' + struct.pack('<III', 0x10, offset_, len(data))
        c = chunk(b'00db', data)
        movi_body += c
        offset_ += len(c)
    body = b'AVI ' + hdrl + lst(b'movi', bytes(movi_body)) + chunk(b'idx1', bytes(index))
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)
