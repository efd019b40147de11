"""Toolbar pane: its background pieces and the faces of its image buttons."""

from artlib import *  # noqa: F401,F403

# The pane's background runs over 165 rows; the buttons sit 4 pixels down and carry the
# same gradient so that their corners melt into it.
BG_TOP, BG_BOTTOM = (22, 82, 124), (4, 34, 58)


def background(w, h=165, y0=0):
    img = Image(w, h)
    fill(img, vgrad(-y0, 165 - y0, BG_TOP, BG_BOTTOM))
    return img


@art('tb_back_left.bmp')
def back_left():
    img = background(143)
    for y in range(165):
        img.blend(0, y, lighter(BG_TOP, 0.3), 0.5)
    return img


@art('tb_back_right.bmp')
def back_right():
    img = background(143)
    for y in range(165):
        img.blend(142, y, darker(BG_BOTTOM, 0.5), 0.6)
    return img


art('tb_back_middle.bmp')(lambda: background(1))


def sign(kind):
    """The glyph of a button: an arrow for navigation, two capitals for the rest."""
    def draw(img, dx, dy, col):
        cx, cy = img.w / 2.0 + dx, img.h / 2.0 + dy
        if kind in ('up', 'left', 'right'):
            paint(img, triangle(cx, cy, min(img.w, img.h) * 0.45, kind), col)
        else:
            size = 11 if img.h > 30 else 9
            w = text_width(kind, size)
            paint(img, lettering(kind, cx - w / 2.0, cy - size / 2.0, size, 2.0), col)
    return draw


def face(w, h, state, glyph, y0):
    base = (30, 104, 144)
    img = background(w, h, y0)
    if state == 'disabled':
        c0, c1, edge = (110, 124, 134), (84, 96, 106), (60, 70, 80)
    elif state == 'focus':
        c0, c1, edge = lighter(base, 0.45), lighter(base, 0.1), darker(base, 0.5)
    elif state == 'pressed':
        c0, c1, edge = darker(base, 0.45), darker(base, 0.15), darker(base, 0.65)
    else:
        c0, c1, edge = lighter(base, 0.3), darker(base, 0.2), darker(base, 0.55)
    paint(img, box(0.5, 0.5, w - 0.5, h - 0.5, 6), edge)
    paint(img, box(1.5, 1.5, w - 1.5, h - 1.5, 5), vgrad(1, h - 1, c0, c1))
    col = (170, 180, 188) if state == 'disabled' else WHITE
    d = 1 if state == 'pressed' else 0
    glyph(img, d, d, col)
    return img


# name, size, glyph, top in the pane
BUTTONS = [
    ('up', 56, 56, 'up', 4), ('back', 38, 56, 'left', 4), ('forward', 38, 56, 'right', 4),
    ('tree', 56, 56, 'TR', 4), ('plugin', 56, 56, 'PL', 4), ('person', 56, 56, 'PS', 4),
    ('location', 56, 56, 'MP', 4), ('slideshow', 56, 56, 'SS', 4), ('tools', 56, 56, 'TL', 4),
    ('edit', 56, 56, 'ED', 4), ('rotate', 56, 56, 'RT', 4), ('movie', 56, 56, 'MV', 4),
    ('disc', 42, 56, 'DC', 4), ('refresh', 42, 56, 'RF', 4), ('launcher', 42, 56, 'LN', 4),
    ('manual', 98, 29, 'MN', 27),
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
