#!/usr/bin/env python3
"""Writes an AVCHD tree's playlists and clip information as a camera does.

    make-avchd.py BDMV-FOLDER card|disc MAKER MODEL CLIPS [CLIPS ...]

Each CLIPS argument is one title: its clip numbers joined by commas ("0,1"). Playlists
carry the maker and model codes (hexadecimal) in their extension data; clip information
says 1080i at 29.97. The index and movie object are written too; the streams are not.
"""
import os
import struct
import sys


def playlist(clips, maker, model):
    # Each play item: clip, codec, connection condition 1, STC sequence 0, in and out times
    # 0 (the whole clip), user operation mask, still mode, an empty stream table.
    body = lambda c: ('%05d' % c).encode() + b'M2TS' + struct.pack('>HBII', 1, 0, 0, 0) + bytes(12) + struct.pack('>H', 14) + bytes(14)
    items = b''.join(struct.pack('>H', len(body(c))) + body(c) for c in clips)
    plist = struct.pack('>HHH', 0, len(clips), 0) + items
    head_len = 20 + 4 + 14
    list_at = head_len
    mark_at = list_at + 4 + len(plist)
    ext_at = mark_at + 6
    ext_body = struct.pack('>I', 24) + bytes(3) + bytes([1]) + struct.pack('>III', 0x10000100, 24, 4) + struct.pack('>HH', maker, model)
    out = b'MPLS0100' + struct.pack('>III', list_at, mark_at, ext_at) + struct.pack('>I', 14) + bytes(14)
    out += struct.pack('>I', len(plist)) + plist + struct.pack('>IH', 2, 0)
    out += struct.pack('>I', len(ext_body)) + ext_body
    return out


def clipinfo():
    prog = bytes([0, 1]) + struct.pack('>IHBB', 0, 0x100, 1, 0) + struct.pack('>HBBBBH', 0x1011, 5, 0x1B, 0x44, 0x30, 0)
    return b'HDMV0100' + struct.pack('>IIIII', 0, 28, 0, 0, 0) + struct.pack('>I', len(prog)) + prog


def main(argv):
    if len(argv) < 6:
        sys.stderr.write(__doc__)
        return 2
    bdmv, kind, maker, model = argv[1], argv[2], int(argv[3], 16), int(argv[4], 16)
    disc = kind == 'disc'
    for sub in ('PLAYLIST', 'CLIPINF', 'STREAM'):
        os.makedirs(os.path.join(bdmv, sub), exist_ok=True)
    for n, title in enumerate(argv[5:]):
        clips = [int(c) for c in title.split(',') if c]
        with open(os.path.join(bdmv, 'PLAYLIST', '%05d.%s' % (n, 'mpls' if disc else 'MPL')), 'wb') as f:
            f.write(playlist(clips, maker, model))
        for c in clips:
            with open(os.path.join(bdmv, 'CLIPINF', '%05d.%s' % (c, 'clpi' if disc else 'CPI')), 'wb') as f:
                f.write(clipinfo())
    with open(os.path.join(bdmv, 'index.bdmv' if disc else 'INDEX.BDM'), 'wb') as f:
        f.write(b'INDX0100')
    with open(os.path.join(bdmv, 'MovieObject.bdmv' if disc else 'MOVIEOBJ.BDM'), 'wb') as f:
        f.write(b'MOBJ0100')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
