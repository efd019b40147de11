"""The progress windows' clips: pictures leaving a card for a folder (the import's copy and
registration windows) and for the computer's disk (the card backup)."""

import math

from artlib import *  # noqa: F401,F403

FRAMES = 12


def card(img, x, y, h):
    """A memory card standing h pixels high, its top-left at (x, y)."""
    w = h * 0.75
    pts = [(x, y), (x + w * 0.7, y), (x + w, y + h * 0.22), (x + w, y + h), (x, y + h)]
    paint(img, polygon(pts), (33, 96, 140))
    paint(img, polygon([(x + 2, y + 2), (x + w * 0.7 - 1, y + 2), (x + w - 2, y + h * 0.24), (x + w - 2, y + h - 2),
                        (x + 2, y + h - 2)]), vgrad(y, y + h, (120, 186, 230), (52, 150, 200)))
    for i in range(4):
        cx = x + w * (0.14 + i * 0.17)
        paint(img, box(cx, y + h * 0.1, cx + w * 0.1, y + h * 0.32), AMBER)


def folder(img, x, y, w, h):
    paint(img, box(x, y, x + w * 0.45, y + h * 0.3, 2), (214, 160, 40))
    paint(img, box(x, y + h * 0.15, x + w, y + h, 2), vgrad(y, y + h, (255, 214, 110), (236, 170, 40)))


def disk(img, x, y, w, h):
    paint(img, box(x, y, x + w, y + h, 3), vgrad(y, y + h, (190, 198, 208), (120, 130, 142)))
    paint(img, box(x + 3, y + h * 0.55, x + w - 3, y + h * 0.8, 1), (70, 78, 88))
    paint(img, circle(x + w - 7, y + h * 0.3, 2.2), (80, 220, 90))


def sheet(img, cx, cy, s, turn):
    """A small photo tilted by turn radians around its centre."""
    c, si = math.cos(turn), math.sin(turn)

    def corner(dx, dy):
        return (cx + dx * c - dy * si, cy + dx * si + dy * c)

    w, h = s * 0.6, s * 0.45
    paint(img, polygon([corner(-w, -h), corner(w, -h), corner(w, h), corner(-w, h)]), WHITE)
    paint(img, ring(polygon([corner(-w, -h), corner(w, -h), corner(w, h), corner(-w, h)]), 0.8), (90, 100, 110))
    iw, ih = w - 2, h - 2
    paint(img, polygon([corner(-iw, -ih), corner(iw, -ih), corner(iw, ih), corner(-iw, ih)]),
          vgrad(cy - ih, cy + ih, (120, 190, 240), (90, 170, 90)))


def flight(w, h, target):
    frames = []
    start, end = 40.0, w - 44.0
    for f in range(FRAMES):
        img = Image(w, h, WHITE)
        card(img, 8, 4, h - 8)
        target(img, w - 40, 8, 32, h - 14)
        # Two sheets half a trip apart, each on an arc from the card to the target.
        for k in (0.0, 0.5):
            t = (f / FRAMES + k) % 1.0
            x = start + (end - start) * t
            y = h * 0.55 - math.sin(math.pi * t) * h * 0.32
            sheet(img, x, y, 14, (t - 0.5) * 0.9)
        frames.append(img)
    return frames, 10


@art('anim_import_copy.avi')
def anim_import_copy():
    return flight(272, 40, folder)


@art('anim_card_backup.avi')
def anim_card_backup():
    return flight(192, 36, disk)
