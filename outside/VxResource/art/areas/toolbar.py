"""Toolbar pane: its background pieces and the faces of its image buttons."""

import math

from artlib import *  # noqa: F401,F403

# The pane's background runs over 165 rows; the buttons sit 4 pixels down and carry the
# same gradient so that their corners melt into it.
BG_TOP, BG_BOTTOM = (22, 82, 124), (4, 34, 58)


def background(w, h=165, y0=0):
    img = Image(w, h)
    fill(img, vgrad(-y0, 165 - y0, BG_TOP, BG_BOTTOM))
    return img


def background_end(x, colour, alpha):
    """An end piece of the background with an edge line at column x."""
    img = background(143)
    for y in range(165):
        img.blend(x, y, colour, alpha)
    return img


art('tb_back_left.bmp')(lambda: background_end(0, lighter(BG_TOP, 0.3), 0.5))
art('tb_back_right.bmp')(lambda: background_end(142, darker(BG_BOTTOM, 0.5), 0.6))


art('tb_back_middle.bmp')(lambda: background(1))


def arrow_head(tip, angle, size):
    """A filled arrow head whose point is at tip, pointing along angle (degrees, 0 to the
    right, 90 downwards)."""
    a = math.radians(angle)
    ux, uy = math.cos(a), math.sin(a)
    bx, by = tip[0] - ux * size, tip[1] - uy * size
    return polygon([tip, (bx - uy * size * 0.6, by + ux * size * 0.6), (bx + uy * size * 0.6, by - ux * size * 0.6)])


def arc_arrow(cx, cy, rr, a0, a1, width, head):
    """An arc clockwise from angle a0 to a1 whose end carries an arrow head."""
    t = math.radians(a1 + 90)
    ex, ey = cx + rr * math.cos(math.radians(a1)), cy + rr * math.sin(math.radians(a1))
    tip = (ex + math.cos(t) * head * 0.8, ey + math.sin(t) * head * 0.8)
    return union(stroke(arc(cx, cy, rr, rr, a0, a1, 24), width), arrow_head(tip, a1 + 90, head))


# Pictograms: each draws in a box of half-size r around (cx, cy).
def glyph_import(cx, cy, r):
    """A memory card with an arrow down out of it: taking pictures in."""
    card = polygon([(cx - r * 0.85, cy - r), (cx + r * 0.35, cy - r), (cx + r * 0.85, cy - r * 0.5),
                    (cx + r * 0.85, cy + r * 0.1), (cx - r * 0.85, cy + r * 0.1)])
    card = subtract(card, union(*[box(cx + x * r, cy - r * 0.8, cx + (x + 0.18) * r, cy - r * 0.45)
                                  for x in (-0.6, -0.3, 0.0)]))
    shaft = stroke([(cx, cy - r * 0.15), (cx, cy + r * 0.55)], r * 0.22)
    return union(card, shaft, arrow_head((cx, cy + r), 90, r * 0.45))


def glyph_plugin(cx, cy, r):
    """A plug: two prongs, the body and its cord."""
    prongs = strokes([[(cx - r * 0.35, cy - r), (cx - r * 0.35, cy - r * 0.45)],
                      [(cx + r * 0.35, cy - r), (cx + r * 0.35, cy - r * 0.45)]], r * 0.2)
    body = box(cx - r * 0.7, cy - r * 0.5, cx + r * 0.7, cy + r * 0.25, r * 0.2)
    cord = stroke([(cx, cy + r * 0.2), (cx, cy + r * 0.55)] + arc(cx + r * 0.35, cy + r * 0.55, r * 0.35, r * 0.4,
                                                                   180, 90, 8), r * 0.2)
    return union(prongs, body, cord)


def glyph_person(cx, cy, r):
    """A head and shoulders."""
    head = circle(cx, cy - r * 0.42, r * 0.42)
    shoulders = subtract(ellipse(cx, cy + r * 0.95, r * 0.85, r * 0.8), box(cx - r, cy + r, cx + r, cy + r * 2))
    return union(head, shoulders)


def glyph_pin(cx, cy, r):
    """A map pin with a hole."""
    top = circle(cx, cy - r * 0.3, r * 0.62)
    point = polygon([(cx - r * 0.55, cy - r * 0.05), (cx + r * 0.55, cy - r * 0.05), (cx, cy + r)])
    return subtract(union(top, point), circle(cx, cy - r * 0.3, r * 0.25))


def glyph_slides(cx, cy, r):
    """A screen with the play sign."""
    screen = ring(box(cx - r, cy - r * 0.75, cx + r, cy + r * 0.75, r * 0.12), r * 0.16)
    return union(screen, triangle(cx + r * 0.05, cy, r * 0.75, 'right'))


def glyph_tools(cx, cy, r):
    """A spanner across the box."""
    head = subtract(circle(cx - r * 0.5, cy - r * 0.5, r * 0.45),
                    union(circle(cx - r * 0.5, cy - r * 0.5, r * 0.2),
                          polygon([(cx - r * 0.5, cy - r * 0.5), (cx - r * 1.1, cy - r * 0.75),
                                   (cx - r * 0.75, cy - r * 1.1)])))
    handle = stroke([(cx - r * 0.3, cy - r * 0.3), (cx + r * 0.75, cy + r * 0.75)], r * 0.32)
    return union(head, handle)


def glyph_pencil(cx, cy, r):
    """A pencil drawing a line."""
    a, b = (cx + r * 0.7, cy - r * 0.9), (cx - r * 0.35, cy + r * 0.15)
    body = stroke([a, b], r * 0.42)
    tip = polygon([(cx - r * 0.55, cy - r * 0.05), (cx - r * 0.15, cy + r * 0.35), (cx - r * 0.75, cy + r * 0.55)])
    line = stroke([(cx - r * 0.9, cy + r * 0.9), (cx + r * 0.8, cy + r * 0.9)], r * 0.12)
    return union(body, tip, line)


def glyph_rotate(cx, cy, r):
    """A turn to the right: an arc clockwise from the lower left and its head."""
    return arc_arrow(cx, cy, r * 0.72, 130, 370, r * 0.22, r * 0.5)


def glyph_movie(cx, cy, r):
    """A movie camera: the body and its lens hood."""
    body = box(cx - r, cy - r * 0.55, cx + r * 0.35, cy + r * 0.55, r * 0.12)
    hood = polygon([(cx + r * 0.35, cy - r * 0.05), (cx + r, cy - r * 0.5), (cx + r, cy + r * 0.5),
                    (cx + r * 0.35, cy + r * 0.05)])
    return union(body, hood)


def glyph_disc(cx, cy, r):
    """A disc with its hole."""
    return subtract(circle(cx, cy, r * 0.95), circle(cx, cy, r * 0.22))


def glyph_refresh(cx, cy, r):
    """Two arrows round a circle."""
    return union(*[arc_arrow(cx, cy, r * 0.72, a0, a0 + 125, r * 0.2, r * 0.42) for a0 in (200, 20)])


def glyph_launcher(cx, cy, r):
    """Four program tiles."""
    s = r * 0.85
    return union(*[box(cx + x * s - s * 0.42, cy + y * s - s * 0.42, cx + x * s + s * 0.42, cy + y * s + s * 0.42,
                       s * 0.12) for x in (-0.55, 0.55) for y in (-0.55, 0.55)])


def glyph_manual(cx, cy, r):
    """An open book."""
    left = polygon([(cx - r * 0.08, cy - r * 0.55), (cx - r * 1.1, cy - r * 0.75), (cx - r * 1.1, cy + r * 0.65),
                    (cx - r * 0.08, cy + r * 0.85)])
    right = polygon([(cx + r * 0.08, cy - r * 0.55), (cx + r * 1.1, cy - r * 0.75), (cx + r * 1.1, cy + r * 0.65),
                     (cx + r * 0.08, cy + r * 0.85)])
    return union(left, right)


PICTOGRAMS = {
    'import': glyph_import, 'plugin': glyph_plugin, 'person': glyph_person, 'pin': glyph_pin,
    'slides': glyph_slides, 'tools': glyph_tools, 'pencil': glyph_pencil, 'rotate': glyph_rotate,
    'movie': glyph_movie, 'disc': glyph_disc, 'refresh': glyph_refresh, 'launcher': glyph_launcher,
    'manual': glyph_manual,
}


def sign(kind):
    """The glyph of a button: an arrow for navigation, a pictogram for the rest."""
    def draw(img, dx, dy, col):
        cx, cy = img.w / 2.0 + dx, img.h / 2.0 + dy
        if kind in ('up', 'left', 'right'):
            paint(img, triangle(cx, cy, min(img.w, img.h) * 0.45, kind), col)
        else:
            paint(img, PICTOGRAMS[kind](cx, cy, min(img.w, img.h) * 0.3), col)
    return draw


def face(w, h, state, glyph, y0):
    return button_face(w, h, state, None, glyph, 6, back=background(w, h, y0))


# name, size, glyph, top in the pane
BUTTONS = [
    ('up', 56, 56, 'up', 4), ('back', 38, 56, 'left', 4), ('forward', 38, 56, 'right', 4),
    ('tree', 56, 56, 'import', 4), ('plugin', 56, 56, 'plugin', 4), ('person', 56, 56, 'person', 4),
    ('location', 56, 56, 'pin', 4), ('slideshow', 56, 56, 'slides', 4), ('tools', 56, 56, 'tools', 4),
    ('edit', 56, 56, 'pencil', 4), ('rotate', 56, 56, 'rotate', 4), ('movie', 56, 56, 'movie', 4),
    ('disc', 42, 56, 'disc', 4), ('refresh', 42, 56, 'refresh', 4), ('launcher', 42, 56, 'launcher', 4),
    ('manual', 98, 29, 'manual', 27),
]
for _name, _w, _h, _g, _y in BUTTONS:
    for _state, _suffix in (('normal', ''), ('pressed', '_pressed'), ('focus', '_focus'), ('disabled', '_disabled')):
        art('tb_%s%s.bmp' % (_name, _suffix))(lambda w=_w, h=_h, s=_state, g=_g, y=_y: face(w, h, s, sign(g), y))


# Item lists: the row faces (normal, hover, pressed) and the check sign.
def item_face(state):
    img = Image(118, 29)
    c = {'normal': (236, 242, 246), 'hot': (196, 222, 240), 'pressed': (150, 196, 226)}[state]
    fill(img, c)
    for x in range(118):
        img.blend(x, 28, (160, 176, 188), 1)
    return img


art('tb_item.bmp')(lambda: item_face('normal'))
art('tb_item_hot.bmp')(lambda: item_face('hot'))
art('tb_item_pressed.bmp')(lambda: item_face('pressed'))
