#!/usr/bin/env python3
"""Makes libfacetag's face cascade from an OpenCV Haar cascade (Debian's opencv-data).

    make-cascade.py CASCADE_XML OUT_FILE

Only stump cascades without tilted features are taken (haarcascade_frontalface_default);
the layout is written down in include/libfacetag.h.
"""
import struct
import sys
import xml.etree.ElementTree as ET


def main():
    cascade = ET.parse(sys.argv[1]).getroot().find("cascade")
    width, height = int(cascade.find("width").text), int(cascade.find("height").text)
    stages = cascade.find("stages")
    features = cascade.find("features")
    out = bytearray(b"FCSC")
    out += struct.pack("<IIIII", 1, width, height, len(stages), len(features))
    weaks = bytearray()
    for stage in stages:
        classifiers = stage.find("weakClassifiers")
        out += struct.pack("<If", len(classifiers), float(stage.find("stageThreshold").text))
        for weak in classifiers:
            nodes = weak.find("internalNodes").text.split()
            leaves = [float(v) for v in weak.find("leafValues").text.split()]
            if len(nodes) != 4 or len(leaves) != 2:
                sys.exit("not a stump cascade")
            weaks += struct.pack("<Ifff", int(nodes[2]), float(nodes[3]), leaves[0], leaves[1])
    out += weaks
    for feature in features:
        tilted = feature.find("tilted")
        if tilted is not None and tilted.text.strip() != "0":
            sys.exit("tilted features are not read")
        rects = [r.text.split() for r in feature.find("rects")]
        if not 1 <= len(rects) <= 3:
            sys.exit("a feature of 1 to 3 rectangles")
        out += struct.pack("<I", len(rects))
        for i in range(3):
            x, y, w, h, weight = (rects[i] if i < len(rects) else ["0", "0", "0", "0", "0"])
            out += struct.pack("<BBBBf", int(x), int(y), int(w), int(h), float(weight))
    with open(sys.argv[2], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
