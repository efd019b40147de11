"""The card tree: its section icon, card and disc drive icons, the notice popup's buttons."""

from artlib import *  # noqa: F401,F403


def card_shape(img, s, body=(52, 150, 200)):
    """A memory card: a tile with its corner cut and gold contacts."""
    pts = [(s * 0.2, s * 0.06), (s * 0.68, s * 0.06), (s * 0.84, s * 0.22), (s * 0.84, s * 0.94), (s * 0.2, s * 0.94)]
    paint(img, polygon(pts), darker(body, 0.45))
    inner = [(s * 0.26, s * 0.12), (s * 0.66, s * 0.12), (s * 0.78, s * 0.24), (s * 0.78, s * 0.88), (s * 0.26, s * 0.88)]
    paint(img, polygon(inner), vgrad(0, s, lighter(body, 0.3), body))
    for i in range(4):
        x = s * (0.3 + i * 0.11)
        paint(img, box(x, s * 0.16, x + s * 0.06, s * 0.32), AMBER)


@art('icon_card_tree.ico')
def icon_card_tree():
    return icon_pair(card_shape)


@art('icon_card_drive.ico')
def icon_card_drive():
    return icon_pair(lambda img, s: card_shape(img, s, (40, 160, 110)))


def disc_shape(img, s):
    paint(img, circle(s * 0.5, s * 0.5, s * 0.45), vgrad(0, s, (214, 222, 230), (150, 162, 176)))
    paint(img, ring(circle(s * 0.5, s * 0.5, s * 0.3), max(1.0, s * 0.05)), (120, 170, 215))
    paint(img, circle(s * 0.5, s * 0.5, s * 0.1), (60, 70, 80))


@art('icon_disc_drive.ico')
def icon_disc_drive():
    return icon_pair(disc_shape)


art_states('notice_button%s.bmp', lambda st: button_face(98, 30, st, (231, 250, 255)),
           ('normal', 'hot', 'pressed', 'focus', 'disabled'))


MAGENTA = (255, 0, 255)
THUMB_BG = (195, 211, 215)


def check_box(checked):
    """An overlay cell of the thumbnail list: the box at (7, 2) on magenta."""
    img = Image(80, 60, MAGENTA)
    paint(img, box(7.5, 2.5, 22.5, 17.5, 2), (60, 80, 90), aa=False)
    paint(img, box(8.5, 3.5, 21.5, 16.5, 1), WHITE, aa=False)
    if checked:
        paint(img, stroke([(11, 10), (14, 13), (19, 6)], 2.0), (30, 120, 60), aa=False)
    return img


@art('thumb_unchecked.bmp')
def thumb_unchecked():
    return check_box(False)


@art('thumb_checked.bmp')
def thumb_checked():
    return check_box(True)


@art('thumb_mark.bmp')
def thumb_mark():
    img = Image(80, 60, MAGENTA)
    paint(img, circle(70, 10, 6), AMBER, aa=False)
    return img


@art('thumb_empty.bmp')
def thumb_empty():
    img = Image(80, 60, THUMB_BG)
    paint(img, ring(box(2.5, 2.5, 77.5, 57.5, 3), 1.0), (150, 166, 172))
    return img


@art('thumb_wide_frame.bmp')
def thumb_wide_frame():
    img = Image(80, 60, THUMB_BG)
    paint(img, box(2, 9, 62, 45, 2), (40, 44, 48))
    return img


@art('backup_background.bmp')
def backup_background():
    """The card backup's window: a pale panel with a dark band under the animation."""
    img = banded(450, 200, (236, 246, 250), (204, 224, 232), {0: (120, 150, 162), -1: (120, 150, 162)})
    paint(img, box(28.5, 114.5, 421.5, 138.5, 2), (150, 176, 186))
    paint(img, box(29.5, 115.5, 420.5, 137.5, 2), WHITE)
    return img


art_states('backup_button%s.bmp', lambda st: button_face(132, 36, st, (236, 246, 250)),
           ('normal', 'hot', 'pressed', 'focus', 'disabled'))
