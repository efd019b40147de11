"""Music view: the list's column header parts and the rows' play and stop buttons."""

from artlib import *  # noqa: F401,F403

HEADER_H = 20
HEADER_TOP, HEADER_BOTTOM = (250, 250, 248), (221, 224, 226)
HEADER_PRESSED_TOP, HEADER_PRESSED_BOTTOM = (200, 228, 244), (160, 204, 230)
ROW_BG = (241, 240, 236)


def header_piece(w, pressed, edge=None):
    top, bottom = (HEADER_PRESSED_TOP, HEADER_PRESSED_BOTTOM) if pressed else (HEADER_TOP, HEADER_BOTTOM)
    img = Image(w, HEADER_H)
    fill(img, vgrad(0, HEADER_H, top, bottom))
    paint(img, box(0, HEADER_H - 1, w, HEADER_H), (157, 157, 157), aa=False)
    if edge == 'left':
        paint(img, box(0, 0, 1, HEADER_H), WHITE, aa=False)
    elif edge == 'right':
        paint(img, box(w - 1, 3, w, HEADER_H - 3), (176, 178, 180), aa=False)
    return img


def header_arrow(direction, pressed):
    img = header_piece(12, pressed)
    paint(img, triangle(6, HEADER_H / 2.0, 7, direction), DEEP)
    return img


for _pressed, _suffix in ((False, ''), (True, '_pressed')):
    art('music_header_body%s.bmp' % _suffix)(lambda p=_pressed: header_piece(8, p))
    art('music_header_left%s.bmp' % _suffix)(lambda p=_pressed: header_piece(2, p, 'left'))
    art('music_header_right%s.bmp' % _suffix)(lambda p=_pressed: header_piece(2, p, 'right'))
    # Direction 1 sorts ascending (arrow up), direction 2 descending.
    art('music_header_up%s.bmp' % _suffix)(lambda p=_pressed: header_arrow('up', p))
    art('music_header_down%s.bmp' % _suffix)(lambda p=_pressed: header_arrow('down', p))


def glyph_play(img, dx, dy, c):
    paint(img, triangle(9.5 + dx, 9.5 + dy, 8, 'right'), c)


def glyph_stop(img, dx, dy, c):
    paint(img, box(6 + dx, 6 + dy, 13 + dx, 13 + dy, 0.8), c)


# Normal, selected (pressed), focus and disabled faces of the rows' buttons.
for _name, _glyph, _base in (('play', glyph_play, (30, 104, 144)), ('stop', glyph_stop, (176, 62, 48))):
    for _state, _suffix in (('normal', ''), ('pressed', '_selected'), ('focus', '_focus'), ('disabled', '_disabled')):
        art('music_%s%s.bmp' % (_name, _suffix))(
            lambda s=_state, g=_glyph, b=_base: button_face(19, 19, s, ROW_BG, g, 4, b))


# ---- cursors of the header: over a column's divider (sizes it), and over the zone of a
# column dragged to nothing (opens it again); 32 x 32, hot spot in the middle.
def size_cursor(bars):
    img = Image(32, 32)
    parts = [triangle(6, 16, 8, 'left'), triangle(26, 16, 8, 'right'), box(6, 15, 26, 17)]
    for x in bars:
        parts.append(box(x - 1, 7, x + 1, 25))
    outlined(img, union(*parts))
    return img


art('music_divider.cur')(lambda: (size_cursor([16]), 16, 16))
art('music_hidden_column.cur')(lambda: (size_cursor([14, 18]), 16, 16))
