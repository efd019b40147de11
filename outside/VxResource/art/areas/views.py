"""Browser views: thumbnails, badges, movie controls, calendars."""

import math

from artlib import *  # noqa: F401,F403


@art('zoom_background.bmp')
def zoom_background():
    img = Image(256, 192)
    fill(img, radial(128, 96, 160, (44, 46, 50), (6, 6, 8)))
    return img


@art('group_header.bmp')
def group_header():
    return banded(8, 19, (60, 118, 150), (22, 74, 102), {0: (120, 170, 196), -1: (8, 42, 62)})


def badge(w, h, draw):
    """Item badges: dark label with a thin light border, drawn opaque over the picture."""
    img = Image(w, h, (28, 36, 44))
    paint(img, ring(box(0.5, 0.5, w - 0.5, h - 0.5), 1), (220, 226, 230), aa=False)
    draw(img)
    return img


@art('badge_movie.bmp')
def badge_movie():
    def draw(img):
        for k in range(4):
            paint(img, box(2.5 + k * 4.2, 2, 4.5 + k * 4.2, 3.6), (200, 206, 210))
            paint(img, box(2.5 + k * 4.2, 10.4, 4.5 + k * 4.2, 12), (200, 206, 210))
        paint(img, triangle(10.5, 7, 6, 'right'), WHITE)
    return badge(20, 14, draw)


@art('badge_favorite.bmp')
def badge_favorite():
    def draw(img):
        pts = []
        for i in range(10):
            r = 5.6 if i % 2 == 0 else 2.4
            a = math.radians(-90 + i * 36)
            pts.append((7 + r * math.cos(a), 7.4 + r * math.sin(a)))
        paint(img, polygon(pts), AMBER)
    return badge(14, 14, draw)


@art('badge_text.bmp')
def badge_text():
    def draw(img):
        paint(img, box(2.5, 2.5, 11.5, 9, 1.5), (200, 226, 240))
        paint(img, polygon([(4.5, 8.5), (7.5, 8.5), (4, 11.8)]), (200, 226, 240))
        paint(img, lettering('T', 5.3, 3.6, 4.2, 1.2), (28, 36, 44))
    return badge(14, 14, draw)


@art('badge_raw.bmp')
def badge_raw():
    def draw(img):
        w = text_width('RAW', 6.2, 0.22)
        paint(img, lettering('RAW', (24 - w) / 2, 3, 6.2, 1.25, 0.22), AMBER)
    return badge(24, 12, draw)


def avchd_badge(edited):
    def draw(img):
        w = text_width('HD', 7.2)
        paint(img, lettering('HD', (24 - w) / 2 - (1 if edited else 0), 3.4, 7.2, 1.5), WHITE)
        if edited:
            paint(img, polygon([(16, 1), (23, 1), (23, 8)]), AMBER, aa=False)
    return badge(24, 14, draw)


art('badge_avchd.bmp')(lambda: avchd_badge(False))
art('badge_avchd_edited.bmp')(lambda: avchd_badge(True))


def check_box(marked):
    img = Image(16, 16, WHITE)
    paint(img, ring(box(0.5, 0.5, 15.5, 15.5), 1), DEEP if marked else (112, 128, 140), aa=False)
    if marked:
        paint(img, box(2, 2, 14, 14), (255, 236, 200), aa=False)
        paint(img, stroke([(3.6, 8.2), (6.6, 11.4), (12.4, 4.4)], 2.2), ORANGE)
    return img


art('check_on.bmp')(lambda: check_box(True))
art('check_off.bmp')(lambda: check_box(False))


def thumb_back(cell, margin):
    """Backing of a thumbnail: a white mat (picture + margin) at (4, 4) with a soft shadow."""
    s = cell + 2 * margin + 8
    img = Image(s, s, VIEW_BG)
    mat = cell + 2 * margin
    for k, a in ((3.0, 0.12), (2.0, 0.18), (1.0, 0.25)):
        paint(img, box(4 + k, 4 + k, 4 + mat + k, 4 + mat + k, 2 + k), (30, 40, 48), a)
    paint(img, box(4, 4, 4 + mat, 4 + mat), WHITE, aa=False)
    paint(img, ring(box(4.5, 4.5, 4 + mat - 0.5, 4 + mat - 0.5), 1), (200, 208, 214), aa=False)
    paint(img, ring(box(4 + margin - 0.5, 4 + margin - 0.5, 4 + margin + cell + 0.5, 4 + margin + cell + 0.5), 1), (226, 230, 234), aa=False)
    return img


art('thumb_back_30.bmp')(lambda: thumb_back(30, 5))
art('thumb_back_80.bmp')(lambda: thumb_back(80, 5))
art('thumb_back_160.bmp')(lambda: thumb_back(160, 8))
art('thumb_back_223.bmp')(lambda: thumb_back(223, 8))
art('thumb_back_303.bmp')(lambda: thumb_back(303, 8))


# Movie controls of the enlarged view: on its black background.
def glyph_play_pause(img, dx, dy, col):
    paint(img, triangle(14 + dx, 10.5 + dy, 10, 'right'), col)
    paint(img, box(22 + dx, 6 + dy, 24.5 + dx, 15 + dy, 0.6), col)
    paint(img, box(26.5 + dx, 6 + dy, 29 + dx, 15 + dy, 0.6), col)


def glyph_full_view(img, dx, dy, col):
    x0, y0, x1, y1 = 13 + dx, 5 + dy, 30 + dx, 16 + dy
    for (ax, ay, sx, sy) in ((x0, y0, 1, 1), (x1, y0, -1, 1), (x0, y1, 1, -1), (x1, y1, -1, -1)):
        paint(img, stroke([(ax + 4 * sx, ay), (ax, ay), (ax, ay + 3.2 * sy)], 1.6), col)
    paint(img, box(x0 + 3.5, y0 + 2.5, x1 - 3.5, y1 - 2.5, 0.5), col, 0.55)


MOVIE_FACES = {'normal': 'normal', 'selected': 'pressed', 'focus': 'hot', 'disabled': 'disabled'}
for _state, _face in MOVIE_FACES.items():
    _suffix = '' if _state == 'normal' else '_' + _state
    art('movie_play%s.bmp' % _suffix)(lambda f=_face: button_face(39, 21, f, BLACK, glyph_play_pause, 4, (44, 52, 60)))
    art('movie_zoom%s.bmp' % _suffix)(lambda f=_face: button_face(43, 21, f, BLACK, glyph_full_view, 4, (44, 52, 60)))


def movie_channel(w, part):
    img = Image(w, 21, BLACK)
    groove = (70, 76, 84)
    x0 = 3 if part == 'left' else -4
    x1 = w - 3 if part == 'right' else w + 4
    paint(img, box(x0, 8, x1, 13, 2.5), groove)
    paint(img, box(x0 + 1, 12, x1 - 1, 13, 0.5), (110, 116, 124))
    return img


art('movie_channel_left.bmp')(lambda: movie_channel(6, 'left'))
art('movie_channel.bmp')(lambda: movie_channel(64, 'middle'))
art('movie_channel_right.bmp')(lambda: movie_channel(6, 'right'))


def movie_thumb(state):
    img = Image(11, 17, BLACK)
    c = {'normal': ((236, 240, 244), (176, 184, 192)), 'hot': ((255, 255, 255), (206, 226, 240)),
         'pressed': ((255, 222, 140), AMBER), 'disabled': ((96, 100, 106), (70, 74, 80))}[state]
    paint(img, box(0.5, 0.5, 10.5, 16.5, 4), vgrad(0, 17, c[0], c[1]))
    paint(img, stroke([(5.5, 5), (5.5, 12)], 1.2), darker(c[1], 0.35))
    return img


art_states('movie_thumb%s.bmp', movie_thumb, ('normal', 'hot', 'pressed', 'disabled'))


# ----------------------------------------------------------------------------- calendars
@art('cal_bar.bmp')
def cal_bar():
    return banded(32, 44, (70, 128, 160), (26, 82, 114), {0: (150, 196, 218), 1: (96, 150, 180),
                                                         -2: (14, 56, 82), -1: darker(CAL_BG, 0.3)})


def big_digit(ch, color):
    """Date, year and month digits: 24 x 32 on the calendar background."""
    img = Image(24, 32, CAL_BG)
    shape = digit(ch, 4, 3, 16, 26, 3.4)
    if shape:
        paint(img, offset(shape, 1, 1), darker(CAL_BG, 0.45), 0.8)
        paint(img, shape, color)
    return img


for _d in range(10):
    art('cal_digit_%d.bmp' % _d)(lambda d=_d: big_digit(str(d), WHITE))
    art('cal_month_digit_%d.bmp' % _d)(lambda d=_d: big_digit(str(d), AMBER))


@art('cal_separator.bmp')
def cal_separator():
    img = Image(24, 32, CAL_BG)
    shape = stroke([(15, 5), (9, 27)], 3.2)
    paint(img, offset(shape, 1, 1), darker(CAL_BG, 0.45), 0.8)
    paint(img, shape, WHITE)
    return img


@art('cal_blank.bmp')
def cal_blank():
    img = Image(24, 32, CAL_BG)
    paint(img, stroke([(7, 16), (17, 16)], 3), lighter(CAL_BG, 0.3))
    return img


@art('cal_month_blank.bmp')
def cal_month_blank():
    img = Image(24, 32, CAL_BG)
    paint(img, stroke([(7, 16), (17, 16)], 3), mix(CAL_BG, AMBER, 0.4))
    return img


def day_digit(ch, color):
    """Day numbers in the month cells: 12 x 16, magenta as the transparent key, a white halo."""
    img = Image(12, 16, KEY)
    shape = digit(ch, 2, 2, 8, 12, 2.0)
    paint(img, ring(shape, 3.0), WHITE, aa=False)
    paint(img, shape, color, aa=False)
    return img


for _d in range(10):
    art('cal_day_digit_%d.bmp' % _d)(lambda d=_d: day_digit(str(d), DEEP))
    art('cal_sunday_digit_%d.bmp' % _d)(lambda d=_d: day_digit(str(d), (200, 34, 34)))


def cal_caption_button(state):
    """Faces of the buttons whose caption the view draws on top."""
    return button_face(96, 30, state, CAL_BG, None, 6, (40, 110, 150))


art_states('cal_button%s.bmp', cal_caption_button, ('normal', 'pressed', 'focus', 'disabled', 'hot'))
art('cal_button_dark.bmp')(lambda: button_face(96, 30, 'normal', CAL_BG, None, 6, (20, 70, 100)))


def cal_indicator(hot):
    """The view shown: an amber tab."""
    img = Image(96, 30, CAL_BG)
    c0, c1 = ((255, 226, 150), AMBER) if not hot else ((255, 236, 180), (255, 206, 96))
    paint(img, box(0.5, 0.5, 95.5, 29.5, 6), darker(AMBER, 0.45))
    paint(img, box(1.5, 1.5, 94.5, 28.5, 5), vgrad(1, 29, c0, c1))
    return img


art('cal_indicator.bmp')(lambda: cal_indicator(False))
art('cal_indicator_hot.bmp')(lambda: cal_indicator(True))


@art('cal_cell.bmp')
def cal_cell():
    img = Image(32, 24)
    fill(img, vgrad(0, 24, (232, 238, 242), (206, 216, 224)))
    paint(img, ring(box(0.5, 0.5, 31.5, 23.5), 1), (170, 186, 198), aa=False)
    return img


def nav_button(direction, state):
    def sign(img, dx, dy, col):
        cx = 22 + dx
        for k in (-5, 3):
            kk = k if direction == 'right' else -k
            paint(img, triangle(cx + kk, 18 + dy, 12, direction), col)
    return button_face(44, 36, state, CAL_BG, sign, 6, (40, 110, 150))


for _dir, _name in (('left', 'prev'), ('right', 'next')):
    art_states('cal_' + _name + '%s.bmp', lambda state, d=_dir: nav_button(d, state), ('normal', 'pressed', 'focus', 'disabled'))


WEEKDAYS = ('SUN', 'MON', 'TUE', 'WED', 'THU', 'FRI', 'SAT')
for _i, _day in enumerate(WEEKDAYS):
    def _weekday(i=_i, day=_day):
        img = Image(40, 16, CAL_BG)
        col = (190, 30, 30) if i == 0 else ((20, 70, 150) if i == 6 else DEEP)
        size = 9.0
        w = text_width(day, size, 0.3)
        paint(img, lettering(day, (40 - w) / 2, 3.5, size, 1.6, 0.3), col)
        return img
    art('cal_weekday_%s.bmp' % _day.lower())(_weekday)


# ----------------------------------------------------------------------------- skinned lists
SKIN_FACES = {'normal': ((86, 98, 112), (52, 60, 72)), 'pressed': ((60, 130, 170), (30, 90, 130)),
              'hot': ((110, 126, 144), (70, 80, 94)), 'disabled': ((60, 62, 66), (48, 50, 54))}


def skin_arrow(w, h, direction, state):
    top, bottom = SKIN_FACES[state]
    img = Image(w, h, (20, 22, 26))
    paint(img, box(0.5, 0.5, w - 0.5, h - 0.5, 2), vgrad(0, h, top, bottom))
    glyph = (120, 124, 130) if state == 'disabled' else (236, 240, 244)
    paint(img, triangle(w / 2, h / 2, min(w, h) * 0.45, direction), glyph)
    return img


def skin_piece(w, h, state, grip=False):
    top, bottom = SKIN_FACES[state]
    img = Image(w, h, (20, 22, 26))
    paint(img, box(0, 0, w, h), vgrad(0, h, top, bottom) if w >= h else vgrad(0, h, top, bottom))
    if grip:
        img = Image(w, h, mix(top, bottom, 0.5))
        for i in range(3):
            y = 2 + i * 3 if h > w else h / 2
            x = w / 2 if h > w else 2 + i * 3
            if h > w:
                paint(img, box(3, y, w - 3, y + 1), lighter(top, 0.4), aa=False)
            else:
                paint(img, box(x, 3, x + 1, h - 3), lighter(top, 0.4), aa=False)
    return img


for _state in ('normal', 'pressed', 'hot', 'disabled'):
    _sfx = '' if _state == 'normal' else '_' + _state
    art('skin_vscroll_up%s.bmp' % _sfx)(lambda s=_state: skin_arrow(14, 14, 'up', s))
    art('skin_vscroll_down%s.bmp' % _sfx)(lambda s=_state: skin_arrow(14, 14, 'down', s))
for _state in ('normal', 'pressed', 'hot'):
    _sfx = '' if _state == 'normal' else '_' + _state
    art('skin_vscroll_grip%s.bmp' % _sfx)(lambda s=_state: skin_piece(14, 9, s, grip=True))
    art('skin_vscroll_body%s.bmp' % _sfx)(lambda s=_state: skin_piece(14, 8, s))
    art('skin_hscroll_left%s.bmp' % _sfx)(lambda s=_state: skin_arrow(14, 14, 'left', s))
    art('skin_hscroll_right%s.bmp' % _sfx)(lambda s=_state: skin_arrow(14, 14, 'right', s))
    art('skin_hscroll_body%s.bmp' % _sfx)(lambda s=_state: skin_piece(8, 14, s))


@art('skin_vscroll_cap_top.bmp')
def skin_cap_top():
    img = Image(14, 4, (20, 22, 26))
    paint(img, box(0.5, 0.5, 13.5, 8, 3), SKIN_FACES['normal'][0])
    return img


@art('skin_vscroll_cap_bottom.bmp')
def skin_cap_bottom():
    img = Image(14, 4, (20, 22, 26))
    paint(img, box(0.5, -4, 13.5, 3.5, 3), SKIN_FACES['normal'][1])
    return img


@art('skin_vscroll_track.bmp')
def skin_vtrack():
    img = Image(14, 8, (28, 30, 36))
    paint(img, box(6, 0, 8, 8), (40, 44, 52), aa=False)
    return img


@art('skin_hscroll_track.bmp')
def skin_htrack():
    img = Image(8, 14, (28, 30, 36))
    paint(img, box(0, 6, 8, 8), (40, 44, 52), aa=False)
    return img


def header_face(top, bottom):
    img = Image(16, 22)
    fill(img, vgrad(0, 22, top, bottom))
    paint(img, box(0, 21, 16, 22), darker(bottom, 0.4), aa=False)
    return img


art('skin_header_face.bmp')(lambda: header_face((64, 74, 88), (36, 42, 52)))
art('skin_header_face_pressed.bmp')(lambda: header_face((40, 100, 140), (22, 66, 100)))
art('skin_header_face_sort.bmp')(lambda: header_face((74, 118, 150), (40, 76, 104)))


@art('skin_header_separator.bmp')
def header_separator():
    img = Image(2, 22, (24, 28, 34))
    paint(img, box(1, 0, 2, 22), (96, 108, 122), aa=False)
    return img


art('skin_header_filler.bmp')(lambda: header_face((48, 54, 64), (30, 34, 42)))
