"""Main program: status bar, sub-view strip, slider, splitters, program icons."""

from artlib import *  # noqa: F401,F403


@art('status_back.bmp')
def status_back():
    return banded(1, 18, NAVY, NAVY, {0: lighter(NAVY, 0.18), -1: darker(NAVY, 0.3)})


@art('status_separator.bmp')
def status_separator():
    img = Image(2, 16, NAVY)
    for y in range(16):
        img.blend(0, y, darker(NAVY, 0.45), 1)
        img.blend(1, y, lighter(NAVY, 0.25), 1)
    return img


@art('status_grip.bmp')
def status_grip():
    img = Image(15, 18, NAVY)
    for i in range(3):
        for j in range(i + 1):
            x, y = 11 - 4 * j, 15 - 4 * (i - j)
            paint(img, box(x + 1, y + 1, x + 3, y + 3), darker(NAVY, 0.5), aa=False)
            paint(img, box(x, y, x + 2, y + 2), lighter(NAVY, 0.45), aa=False)
    return img


def mark_sign(img, x, y, s, bg_alpha=1.0):
    """Amber rounded square with a white tick: the mark."""
    paint(img, box(x + 0.5, y + 0.5, x + s - 0.5, y + s - 0.5, s * 0.2), vgrad(y, y + s, (255, 210, 90), ORANGE), bg_alpha)
    paint(img, stroke([(x + s * 0.26, y + s * 0.52), (x + s * 0.44, y + s * 0.7), (x + s * 0.76, y + s * 0.3)], max(1.4, s * 0.14)), WHITE)


def selection_sign(img, x, y, s):
    """A picture frame with the selection's orange border."""
    paint(img, box(x + 0.5, y + 0.5, x + s - 0.5, y + s - 0.5, s * 0.12), ORANGE)
    paint(img, box(x + s * 0.16, y + s * 0.16, x + s * 0.84, y + s * 0.84, s * 0.05), vgrad(y, y + s, (170, 210, 236), (70, 130, 170)))
    paint(img, polygon([(x + s * 0.16, y + s * 0.84), (x + s * 0.42, y + s * 0.48), (x + s * 0.6, y + s * 0.7),
                        (x + s * 0.7, y + s * 0.58), (x + s * 0.84, y + s * 0.84)]), (40, 96, 60))


@art('status_marks.bmp')
def status_marks():
    img = Image(16, 13, NAVY)
    mark_sign(img, 1.5, 0, 12.5)
    return img


@art('status_selection.bmp')
def status_selection():
    img = Image(16, 13, NAVY)
    selection_sign(img, 1.5, 0, 12.5)
    return img


@art('icon_status_marks.ico')
def icon_status_marks():
    return icon_pair(lambda img, s: mark_sign(img, s * 0.06, s * 0.06, s * 0.88))


@art('icon_status_selection.ico')
def icon_status_selection():
    return icon_pair(lambda img, s: selection_sign(img, s * 0.06, s * 0.06, s * 0.88))


@art('icon_app.ico')
def icon_app():
    return icon_pair(app_mark, (16, 32, 48))


# Sub-view strip: the view-mode images, 26 x 26 each.
def glyph_large_icons(img, x, col):
    for i in range(2):
        for j in range(2):
            paint(img, box(x + 5 + i * 9, 5 + j * 9, x + 12 + i * 9, 12 + j * 9, 1.2), col)


def glyph_small_icons(img, x, col):
    for i in range(3):
        for j in range(3):
            paint(img, box(x + 5 + i * 6, 5 + j * 6, x + 9 + i * 6, 9 + j * 6, 0.8), col)


def glyph_focus(img, x, col):
    paint(img, box(x + 4, 4, x + 22, 16, 1.5), col)
    paint(img, polygon([(x + 6, 14), (x + 11, 8), (x + 15, 12), (x + 17, 10), (x + 20, 14)]), STRIP)
    for k in range(2):
        paint(img, stroke([(x + 5, 19 + k * 3), (x + 21 - k * 5, 19 + k * 3)], 1.4), col)


def glyph_zoom(img, x, col):
    paint(img, ring(circle(x + 11, 11, 6), 2.2), col)
    paint(img, stroke([(x + 15.5, 15.5), (x + 21, 21)], 3.2), col)
    paint(img, stroke([(x + 8, 11), (x + 14, 11)], 1.6), col)
    paint(img, stroke([(x + 11, 8), (x + 11, 14)], 1.6), col)


def glyph_calendar(img, x, col):
    paint(img, ring(box(x + 4.5, 6.5, x + 21.5, 21.5, 1.5), 1.6), col)
    paint(img, box(x + 4, 6, x + 22, 10.5, 1.5), col)
    paint(img, stroke([(x + 9, 4), (x + 9, 8)], 1.8), col)
    paint(img, stroke([(x + 17, 4), (x + 17, 8)], 1.8), col)
    for i in range(4):
        for j in range(2):
            paint(img, box(x + 6.5 + i * 3.6, 13 + j * 3.8, x + 8.7 + i * 3.6, 15.2 + j * 3.8), col)


def glyph_details(img, x, col):
    for k in range(4):
        y = 6 + k * 4.6
        paint(img, box(x + 4, y, x + 7.5, y + 3), col)
        paint(img, stroke([(x + 10, y + 1.5), (x + 22, y + 1.5)], 1.5), col)


@art('subview_toolbar.bmp')
def subview_toolbar():
    glyphs = [glyph_large_icons, glyph_small_icons, glyph_focus, glyph_zoom, glyph_calendar, glyph_details]
    img = Image(26 * len(glyphs), 26, STRIP)
    for i, g in enumerate(glyphs):
        shadow = Image(26 * len(glyphs), 26)
        g(shadow, i * 26, darker(STRIP, 0.6))
        for y in range(25):
            for x in range(img.w - 1):
                p = shadow.get(x, y)
                if p[3] > 0:
                    img.blend(x + 1, y + 1, p, p[3] * 0.7)
        g(img, i * 26, (232, 244, 250))
    return img


@art('combo_face.bmp')
def combo_face():
    return banded(8, 20, COMBO, COMBO, {0: darker(COMBO, 0.5), 1: lighter(COMBO, 0.12),
                                        -2: darker(COMBO, 0.2), -1: lighter(COMBO, 0.2)})


def combo_arrow(state):
    img = Image(23, 20, COMBO)
    if state == 'disabled':
        c0, c1, sign = (8, 48, 68), (5, 43, 62), (36, 80, 100)
    elif state == 'hot':
        c0, c1, sign = (40, 120, 158), (14, 78, 110), WHITE
    elif state == 'pressed':
        c0, c1, sign = (4, 40, 60), (12, 66, 94), (200, 236, 250)
    else:
        c0, c1, sign = (24, 92, 128), (8, 58, 86), (224, 240, 248)
    paint(img, box(0.5, 0.5, 22.5, 19.5, 2.5), darker(COMBO, 0.4))
    paint(img, box(1.5, 1.5, 21.5, 18.5, 2), vgrad(1, 19, c0, c1))
    d = 1 if state == 'pressed' else 0
    paint(img, triangle(11.5 + d, 10 + d, 8, 'down'), sign)
    return img


art_states('combo_arrow%s.bmp', combo_arrow, ('normal', 'hot', 'pressed', 'disabled'))


@art('slider_track.bmp')
def slider_track():
    img = Image(167, 26, STRIP)
    # Groove under the five thumb positions (x = 30 + 23 p, 9 wide).
    paint(img, box(30, 11, 131, 15, 2), darker(STRIP, 0.55))
    paint(img, stroke([(32, 15.5), (129, 15.5)], 1), lighter(STRIP, 0.25))
    for p in range(5):
        cx = 30 + 23 * p + 4.5
        paint(img, stroke([(cx, 19), (cx, 22)], 1.2), lighter(STRIP, 0.45))
    # Small and large picture at the two ends.
    paint(img, ring(box(10.5, 9.5, 19.5, 17.5, 1), 1.2), (214, 232, 242))
    paint(img, ring(box(141.5, 4.5, 160.5, 21.5, 1.5), 1.6), (214, 232, 242))
    paint(img, polygon([(143.5, 19.5), (148.5, 12), (152, 16), (154.5, 13.5), (158.5, 19.5)]), (214, 232, 242))
    return img


def slider_thumb(state):
    img = Image(9, 20, STRIP)
    c = {'normal': ((236, 246, 252), (170, 204, 224)), 'hot': ((255, 255, 255), (200, 230, 246)),
         'pressed': ((255, 222, 140), AMBER), 'disabled': ((130, 150, 160), (100, 120, 132))}[state]
    paint(img, box(0.5, 0.5, 8.5, 19.5, 3), darker(STRIP, 0.5))
    paint(img, box(1.5, 1.5, 7.5, 18.5, 2.5), vgrad(1, 19, c[0], c[1]))
    for k in range(3):
        paint(img, stroke([(3, 7.5 + k * 2.5), (6, 7.5 + k * 2.5)], 0.9), darker(c[1], 0.35))
    return img


art_states('slider_thumb%s.bmp', slider_thumb, ('normal', 'hot', 'pressed', 'disabled'))


def splitter_button(direction, hot, bar):
    img = Image(12, 138, bar)
    tab = lighter(bar, 0.28 if hot else 0.12)
    paint(img, box(1, 4, 11, 134, 4), vgrad(4, 134, lighter(tab, 0.1), darker(tab, 0.1)))
    paint(img, ring(box(1.5, 4.5, 10.5, 133.5, 3.5), 1), darker(bar, 0.35))
    sign = AMBER if hot else (230, 244, 250)
    paint(img, triangle(6, 69, 7, direction), sign)
    for k in (-1, 1):
        for j in range(3):
            y = 69 + k * (14 + j * 5)
            paint(img, circle(6, y, 1.1), lighter(bar, 0.55))
    return img


art('splitter_left.bmp')(lambda: splitter_button('left', False, SPLIT))
art('splitter_left_hot.bmp')(lambda: splitter_button('left', True, SPLIT))
art('splitter_right.bmp')(lambda: splitter_button('right', False, SPLIT_OPEN))
art('splitter_right_hot.bmp')(lambda: splitter_button('right', True, SPLIT_OPEN))
