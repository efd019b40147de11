"""The splash picture (a file beside the program, not a resource)."""

from artlib import *  # noqa: F401,F403


@art('Splash10.bmp')
def splash():
    w, h = 480, 300
    img = Image(w, h)
    fill(img, vgrad(0, h, (24, 104, 146), (4, 38, 60)))
    paint(img, ellipse(140, 150, 260, 220), (255, 255, 255), 0.05)
    paint(img, ellipse(150, 150, 120, 120), (255, 255, 255), 0.04)
    # The program's mark, large.
    mark = Image(120, 120)
    app_mark(mark, 120)
    img.paste(mark, 56, 90)
    size = 36
    tw = text_width('GLIMORA', size, 0.3)
    x = 200 + (250 - tw) / 2
    paint(img, offset(lettering('GLIMORA', x, 118, size, 5.2, 0.3), 2, 2), (0, 20, 34), 0.5)
    paint(img, lettering('GLIMORA', x, 118, size, 5.2, 0.3), WHITE)
    paint(img, stroke([(x, 172), (x + tw, 172)], 2), AMBER)
    sub = 'PHOTO  MOVIE  MUSIC'
    sw = text_width(sub, 11, 0.3)
    paint(img, lettering(sub, 200 + (250 - sw) / 2, 186, 11, 1.6, 0.3), (190, 226, 244))
    for x0 in range(0, w):
        img.blend(x0, h - 1, (2, 20, 32), 1)
    return img
