"""Folder pane: faces of the tree title buttons."""

from artlib import *  # noqa: F401,F403


def title_face(c0, c1, edge):
    """Folder-pane title button: the right part is stretched, so it changes only vertically."""
    img = Image(120, 17)
    fill(img, vgrad(0, 17, c0, c1))
    for x in range(120):
        img.blend(x, 0, lighter(c0, 0.35), 1)
        img.blend(x, 16, edge, 1)
    for y in range(17):
        img.blend(0, y, edge, 0.8)
    return img


TITLES = {
    'title_active.bmp': ((46, 120, 160), (14, 72, 106), (6, 40, 60)),
    'title_active_pressed.bmp': ((200, 236, 250), (132, 196, 226), (60, 110, 136)),
    'title_active_focus.bmp': ((222, 244, 252), (168, 214, 236), (70, 120, 146)),
    'title_active_disabled.bmp': ((156, 166, 172), (126, 136, 142), (92, 100, 106)),
    'title_inactive.bmp': ((30, 88, 120), (8, 50, 76), (4, 30, 46)),
    'title_inactive_pressed.bmp': ((176, 220, 240), (112, 172, 206), (52, 96, 122)),
    'title_inactive_focus.bmp': ((210, 236, 248), (150, 200, 226), (64, 110, 136)),
    'title_inactive_disabled.bmp': ((136, 146, 152), (108, 118, 124), (80, 88, 94)),
}
for _name, _c in TITLES.items():
    art(_name)(lambda c=_c: title_face(*c))


@art('export_caption.bmp')
def export_caption():
    """Export pane: the caption's picture above the tiles."""
    img = Image(66, 35)
    fill(img, vgrad(0, 35, (28, 96, 130), (10, 58, 82)))
    for x in range(66):
        img.blend(x, 34, (120, 180, 210), 0.6)
    return img


@art('export_background.bmp')
def export_background():
    """Export pane background: its first 66 x 1 pixels are stretched over the pane."""
    img = Image(66, 4)
    fill(img, vgrad(0, 4, (10, 58, 82), (10, 58, 82)))
    return img


def upload_tile(top, bottom, mark):
    """Export pane: the upload tile, a film frame with an arrow going up."""
    img = Image(66, 66)
    fill(img, vgrad(0, 66, top, bottom))
    paint(img, box(13, 24, 53, 52), (mark[0] // 3, mark[1] // 3, mark[2] // 3))
    paint(img, polygon([(27, 30), (27, 46), (40, 38)]), mark)
    paint(img, stroke([(33, 20), (33, 8)], 4), mark)
    paint(img, polygon([(25, 12), (41, 12), (33, 3)]), mark)
    return img


UPLOAD_TILES = {
    'upload_normal.bmp': ((28, 96, 130), (10, 58, 82), (240, 240, 240)),
    'upload_pressed.bmp': ((10, 58, 82), (28, 96, 130), (255, 255, 255)),
    'upload_hover.bmp': ((48, 130, 170), (20, 80, 110), (255, 255, 255)),
    'upload_disabled.bmp': ((110, 120, 126), (90, 98, 104), (170, 170, 170)),
}
for _name, _c in UPLOAD_TILES.items():
    art(_name)(lambda c=_c: upload_tile(*c))
