"""Media windows: the full-screen zoom window's panel and its cursors."""

from artlib import *  # noqa: F401,F403

PANEL_BASE = (44, 52, 60)
# The three faces each panel button loads: normal, selected (pressed) and focus (hot).
PANEL_FACES = {'normal': 'normal', 'selected': 'pressed', 'focus': 'hot'}


def glyph_close(img, dx, dy, c):
    paint(img, strokes([[(10 + dx, 7 + dy), (22 + dx, 19 + dy)], [(22 + dx, 7 + dy), (10 + dx, 19 + dy)]], 2.2), c)


def arrows(n, direction, bar):
    def g(img, dx, dy, c):
        x = 12 if direction == 'right' else 20
        for k in range(n):
            step = 7 if direction == 'right' else -7
            paint(img, triangle(x + k * step + dx, 13 + dy, 10, direction), c)
        if bar:
            bx = 27 if direction == 'right' else 5
            paint(img, box(bx + dx, 8 + dy, bx + 2.5 + dx, 18 + dy, 0.5), c)
    return g


def glyph_lens(sign):
    def g(img, dx, dy, c):
        paint(img, ring(circle(14 + dx, 12 + dy, 6.5), 2), c)
        paint(img, stroke([(19 + dx, 17 + dy), (24 + dx, 22 + dy)], 2.6), c)
        paint(img, box(10.5 + dx, 11 + dy, 17.5 + dx, 13 + dy), c)
        if sign == '+':
            paint(img, box(13 + dx, 8.5 + dy, 15 + dx, 15.5 + dy), c)
    return g


def glyph_fit(img, dx, dy, c):
    paint(img, ring(box(8 + dx, 7 + dy, 24 + dx, 19 + dy, 1), 1.8), c)
    paint(img, triangle(16 + dx, 10.5 + dy, 5, 'up'), c)
    paint(img, triangle(16 + dx, 15.5 + dy, 5, 'down'), c)


def glyph_actual(img, dx, dy, c):
    paint(img, ring(box(8 + dx, 7 + dy, 24 + dx, 19 + dy, 1), 1.8), c)
    paint(img, box(12 + dx, 10 + dy, 20 + dx, 16 + dy), c)


def glyph_play(img, dx, dy, c):
    paint(img, triangle(12 + dx, 13 + dy, 10, 'right'), c)
    paint(img, box(19 + dx, 8 + dy, 21.5 + dx, 18 + dy, 0.6), c)
    paint(img, box(23.5 + dx, 8 + dy, 26 + dx, 18 + dy, 0.6), c)


def glyph_mark(filled):
    def g(img, dx, dy, c):
        paint(img, ring(box(9 + dx, 6 + dy, 23 + dx, 20 + dy, 2), 1.8), c)
        if filled:
            paint(img, stroke([(12 + dx, 13 + dy), (15 + dx, 17 + dy), (21 + dx, 9 + dy)], 2.4), AMBER)
    return g


PANEL = {
    'close': glyph_close, 'prev_group': arrows(2, 'left', True), 'prev_item': arrows(1, 'left', False),
    'next_item': arrows(1, 'right', False), 'next_group': arrows(2, 'right', True),
    'in': glyph_lens('+'), 'out': glyph_lens('-'), 'fit': glyph_fit, 'actual': glyph_actual,
    'play': glyph_play, 'marked': glyph_mark(True), 'unmarked': glyph_mark(False),
}

for _name, _glyph in PANEL.items():
    for _state, _face in PANEL_FACES.items():
        _suffix = '' if _state == 'normal' else '_' + _state
        art('zoom_%s%s.bmp' % (_name, _suffix))(
            lambda f=_face, g=_glyph: button_face(32, 26, f, BLACK, g, 5, PANEL_BASE))


# ---- cursors: the open hand over a picture larger than the screen, the closed hand while
# it is dragged, the pointing hand over a panel button (32 x 32, hot spot given).
def hand(fingers, thumb=True):
    """A hand seen from its back; fingers: (x, top) of each finger above the palm."""
    parts = [box(9, 15, 24, 29, 4)]
    for x, top in fingers:
        parts.append(box(x - 2, top, x + 2, 19, 2))
    if thumb:
        parts.append(stroke([(10, 22), (5, 15)], 4))
    img = Image(32, 32)
    outlined(img, union(*parts))
    return img


art('zoom_open_hand.cur')(lambda: (hand([(11, 6), (15, 4), (19, 5), (23, 8)]), 16, 16))
art('zoom_closed_hand.cur')(lambda: (hand([(11, 12), (15, 11), (19, 11), (23, 12)], False), 16, 16))
art('zoom_button_hand.cur')(lambda: (hand([(13, 2), (17, 13), (21, 13), (24, 14)]), 13, 2))
