"""Media windows: the slide-show window's panel (play, pause, settings)."""

from artlib import *  # noqa: F401,F403

PANEL_BASE = (44, 52, 60)
PANEL_FACES = {'normal': 'normal', 'selected': 'pressed', 'focus': 'hot'}


def glyph_play(img, dx, dy, c):
    paint(img, triangle(17 + dx, 13 + dy, 12, 'right'), c)


def glyph_pause(img, dx, dy, c):
    paint(img, box(11 + dx, 7 + dy, 14.5 + dx, 19 + dy, 0.6), c)
    paint(img, box(17.5 + dx, 7 + dy, 21 + dx, 19 + dy, 0.6), c)


def glyph_settings(img, dx, dy, c):
    paint(img, ring(circle(16 + dx, 13 + dy, 6.5), 2.2), c)
    for a in range(8):
        ang = a * math.pi / 4
        x, y = 16 + dx + 8 * math.cos(ang), 13 + dy + 8 * math.sin(ang)
        paint(img, circle(x, y, 1.7), c)


PANEL = {'play': glyph_play, 'pause': glyph_pause, 'settings': glyph_settings}

for _name, _glyph in PANEL.items():
    for _state, _face in PANEL_FACES.items():
        _suffix = '' if _state == 'normal' else '_' + _state
        art('slide_%s%s.bmp' % (_name, _suffix))(
            lambda f=_face, g=_glyph: button_face(32, 26, f, BLACK, g, 5, PANEL_BASE))
