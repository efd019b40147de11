"""Toolbar pane: its background pieces and the faces of its image buttons."""

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
    return button_face(w, h, state, None, glyph, 6, back=background(w, h, y0))


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
