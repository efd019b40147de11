"""Auto-run launcher: the tray icon."""

from artlib import *  # noqa: F401,F403


@art('icon_tray.ico')
def icon_tray():
    def draw(img, s):
        app_mark(img, s)
        # A memory card corner: the launcher watches for cards.
        x, y = s * 0.52, s * 0.5
        paint(img, polygon([(x, y), (s * 0.84, y), (s * 0.96, y + s * 0.12), (s * 0.96, s * 0.98), (x, s * 0.98)]), DEEP)
        paint(img, polygon([(x + 1, y + 1), (s * 0.83, y + 1), (s * 0.95 - 1, y + s * 0.12), (s * 0.95 - 1, s * 0.98 - 1), (x + 1, s * 0.98 - 1)]), AMBER)
    return icon_pair(draw)
