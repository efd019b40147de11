// Pixel work on Dibs and the geometry of fitting pictures into rectangles.
// Every function writing to `out` accepts out == &src. The result keeps the
// source's bit count, row order and alpha flag unless said otherwise.
#pragma once

#include <windows.h>

#include "imaging/dib.h"

namespace imaging {

enum class ResizeQuality {
  Nearest,  // point sampling (fast previews only)
  Good,     // area average when shrinking, bilinear when enlarging
};

// Scales src to width x height (aspect is the caller's business).
bool Resize(const Dib& src, int width, int height, Dib* out, ResizeQuality quality = ResizeQuality::Good);
// Turns by 0, 90, 180 or 270 degrees clockwise (other multiples of 90 too).
bool Rotate(const Dib& src, int degreesClockwise, Dib* out);
bool Flip(const Dib& src, bool horizontal, bool vertical, Dib* out);
// Turns a picture stored with Exif orientation 1..8 upright (0 or 1: a copy).
bool ApplyOrientation(const Dib& src, int orientation, Dib* out);
// To 24 or 32 bits. 32 -> 24 blends transparent pixels over background when
// the source has alpha; 24 -> 32 gives opaque pixels.
bool ConvertBitCount(const Dib& src, int bitCount, Dib* out, COLORREF background = RGB(255, 255, 255));
// The part of src inside rect (clipped to the picture); false when nothing is left.
bool Crop(const Dib& src, const RECT& rect, Dib* out);
// The middle part of src with the aspect ratio aspectWidth : aspectHeight.
bool CropToAspect(const Dib& src, int aspectWidth, int aspectHeight, Dib* out);

// Size of a width x height picture fitted into maxWidth x maxHeight with its
// aspect ratio kept (rounded, at least 1 x 1). Smaller pictures keep their size
// unless enlarge is set. Empty size (0 x 0) for empty input or box.
SIZE FitSize(int width, int height, int maxWidth, int maxHeight, bool enlarge = false);
// The rectangle a width x height picture takes when fitted into box and
// centred in it. Empty rectangle (all zero) for empty input or box.
RECT FitRect(int width, int height, const RECT& box, bool enlarge = false);

}  // namespace imaging
