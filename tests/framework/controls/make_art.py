#!/usr/bin/env python3
"""Pictures of the control tests, written at build time: make_art.py <output folder>.

Bitmaps are 24-bit bottom-up BMPs; the clip is an uncompressed 24-bit AVI, the kind the
animation control plays."""
import os
import struct
import sys

LIGHT_GREY = (192, 192, 192)
MAGENTA = (255, 0, 255)


def bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y counted from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(bits), 0, 0, 14 + len(header)))
        f.write(header + bits)


def solid(colour):
    return lambda x, y: colour


def cells(cell, colours, border, background):
    """A strip of square cells, each a colour inside a border of the background."""
    def pixel(x, y):
        i, cx = divmod(x, cell)
        inside = border <= cx < cell - border and border <= y < cell - border
        return colours[i] if inside else background
    return pixel


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, payload):
    return kind + struct.pack("<I", len(fourcc + payload)) + fourcc + payload


def avi(path, width, height, colours):
    stride = (width * 3 + 3) & ~3
    frames = [bytes((b, g, r)) * width + b"\0" * (stride - width * 3) for (r, g, b) in colours]
    frames = [f * height for f in frames]
    usec = 200000
    avih = struct.pack("<10I4I", usec, 0, 0, 0x10, len(frames), 0, 1, stride * height, width, height, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, 5, 0, len(frames), stride * height,
                                          0xFFFFFFFF, 0, 0, 0, width, height)
    strf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, stride * height, 0, 0, 0, 0)
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_payload = b""
    index = b""
    offset = 4
    for f in frames:
        c = chunk(b"00db", f)
        index += b"00db" + struct.pack("<III", 0x10, offset, len(f))
        offset += len(c)
        movi_payload += c
    movi = riff_list(b"LIST", b"movi", movi_payload)
    body = hdrl + movi + chunk(b"idx1", index)
    with open(path, "wb") as f:
        f.write(riff_list(b"RIFF", b"AVI ", body))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    # The four faces of the bitmap button: normal, selected, focus, disabled.
    for name, colour in (("face_normal", (255, 0, 0)), ("face_sel", (0, 255, 0)),
                         ("face_focus", (0, 0, 255)), ("face_disabled", (128, 128, 128))):
        bmp(os.path.join(out, name + ".bmp"), 40, 24, solid(colour))
    # Four 26 x 26 tool bar images on light grey (the strip's see-through colour).
    bmp(os.path.join(out, "strip.bmp"), 104, 26,
        cells(26, [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)], 3, LIGHT_GREY))
    # Three 16 x 16 images on magenta (the image-list test's mask colour).
    bmp(os.path.join(out, "icons.bmp"), 48, 16, cells(16, [(255, 0, 0), (0, 128, 0), (0, 0, 255)], 4, MAGENTA))
    avi(os.path.join(out, "clip.avi"), 16, 16, [(255, 0, 0), (0, 255, 0), (0, 0, 255)])


if __name__ == "__main__":
    main()
