#!/usr/bin/env python3
"""Draws every bitmap and icon of VxResource.dll, and the splash picture.

    make-art.py OUTDIR     write all files into OUTDIR (plus a .stamp)
    make-art.py --list     print the file names, one a line

The drawing kit is artlib.py; each area of the system draws its pictures in its own
module under areas/ (one per area, as with the .rc files), registering each file with
@art('name.bmp'). Bitmaps are 24-bit BMPs; icons are ICO files with 32-bit images and an
AND mask; cursors (@art('name.cur') answering the image and its hot spot) are CUR files of
one such image; clips (@art('name.avi') answering frames and frames per second) are 8-bit
uncompressed AVIs for the Animate control. Pictures that the program masks with a key colour use magenta RGB(255, 0, 255)
and are drawn without anti-aliasing at their edges. Plain Python 3, standard library only.
"""

import importlib.util
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import artlib  # noqa: E402


def load_areas():
    folder = os.path.join(HERE, 'areas')
    for name in sorted(os.listdir(folder)):
        if name.endswith('.py'):
            area_spec = importlib.util.spec_from_file_location('area_' + name[:-3], os.path.join(folder, name))
            area_spec.loader.exec_module(importlib.util.module_from_spec(area_spec))


def main(argv):
    load_areas()
    if len(argv) == 2 and argv[1] == '--list':
        print('\n'.join(sorted(artlib.ART)))
        return 0
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name in sorted(artlib.ART):
        result = artlib.ART[name]()
        path = os.path.join(out, name)
        if name.endswith('.ico'):
            artlib.write_ico(path, result)
        elif name.endswith('.cur'):
            artlib.write_cur(path, *result)
        elif name.endswith('.avi'):
            artlib.write_avi(path, *result)
        else:
            artlib.write_bmp(path, result)
    with open(os.path.join(out, '.stamp'), 'w') as f:
        f.write('%d files\n' % len(artlib.ART))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
