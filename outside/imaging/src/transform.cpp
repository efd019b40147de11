// Resizing, turning, recolouring and cropping of Dibs; fit arithmetic.
#include "imaging/transform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/exif.h"

namespace imaging {

namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr int kMidBits = 4;  // extra precision kept between the two passes

// Source pixels and fixed-point weights for one output pixel.
struct Taps {
  int first = 0;
  std::vector<int> weights;
};

// Area average when shrinking, bilinear when enlarging, or the nearest pixel.
std::vector<Taps> MakeTaps(int srcN, int dstN, ResizeQuality quality) {
  std::vector<Taps> taps(static_cast<size_t>(dstN));
  double scale = double(srcN) / dstN;
  for (int i = 0; i < dstN; ++i) {
    Taps& t = taps[size_t(i)];
    if (quality == ResizeQuality::Nearest) {
      t.first = std::min(srcN - 1, int((i + 0.5) * scale));
      t.weights.assign(1, kWeightOne);
      continue;
    }
    std::vector<double> w;
    if (dstN < srcN) {
      double a = i * scale, b = (i + 1) * scale;
      t.first = int(a);
      int last = std::min(srcN - 1, int(std::ceil(b)) - 1);
      for (int j = t.first; j <= last; ++j) w.push_back(std::min(b, j + 1.0) - std::max(a, double(j)));
    } else {
      double c = (i + 0.5) * scale - 0.5;
      int j0 = int(std::floor(c));
      double f = c - j0;
      if (j0 < 0) {
        j0 = 0;
        f = 0;
      }
      if (j0 >= srcN - 1) {
        j0 = srcN - 1;
        f = 0;
      }
      t.first = j0;
      w.push_back(1 - f);
      if (f > 0) w.push_back(f);
    }
    double sum = 0;
    for (double v : w) sum += v;
    int total = 0;
    for (double v : w) {
      int q = int(v / sum * kWeightOne + 0.5);
      t.weights.push_back(q);
      total += q;
    }
    // Rounding error goes to the heaviest tap so flat areas stay exact.
    size_t big = size_t(std::max_element(t.weights.begin(), t.weights.end()) - t.weights.begin());
    t.weights[big] += kWeightOne - total;
  }
  return taps;
}

// Pixels as unsigned 8-bit channels, walked in visual (top-down) order.
struct View {
  const uint8_t* base;
  ptrdiff_t pitch;  // bytes from one visual row to the next (negative for bottom-up)
  int bpp;
  const uint8_t* Row(int y) const { return base + pitch * y; }
};

View ViewOf(const Dib& d) { return View{d.Row(0), d.Height() > 1 ? d.Row(1) - d.Row(0) : d.Stride(), d.BytesPerPixel()}; }

void Premultiply(Dib* d) {
  for (int y = 0; y < d->Height(); ++y) {
    uint8_t* p = d->Row(y);
    for (int x = 0; x < d->Width(); ++x, p += 4) {
      unsigned a = p[3];
      p[0] = uint8_t((p[0] * a + 127) / 255);
      p[1] = uint8_t((p[1] * a + 127) / 255);
      p[2] = uint8_t((p[2] * a + 127) / 255);
    }
  }
}

void Unpremultiply(Dib* d) {
  for (int y = 0; y < d->Height(); ++y) {
    uint8_t* p = d->Row(y);
    for (int x = 0; x < d->Width(); ++x, p += 4) {
      unsigned a = p[3];
      if (a == 0 || a == 255) continue;
      for (int c = 0; c < 3; ++c) p[c] = uint8_t(std::min(255u, (p[c] * 255u + a / 2) / a));
    }
  }
}

bool ResizeCore(const Dib& src, int width, int height, Dib* out, ResizeQuality quality) {
  Dib dst;
  if (!dst.Create(width, height, src.BitCount(), src.TopDown())) return false;
  dst.SetHasAlpha(src.HasAlpha());
  const int ch = src.BytesPerPixel();
  const int sw = src.Width(), sh = src.Height();
  std::vector<Taps> hx = MakeTaps(sw, width, quality), vy = MakeTaps(sh, height, quality);
  View sv = ViewOf(src);
  // Horizontal pass into 16-bit rows with kMidBits of extra precision.
  std::vector<uint16_t> mid;
  try {
    mid.resize(size_t(width) * ch * sh);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const int hShift = kWeightBits - kMidBits;
  for (int y = 0; y < sh; ++y) {
    const uint8_t* s = sv.Row(y);
    uint16_t* m = mid.data() + size_t(y) * width * ch;
    for (int x = 0; x < width; ++x) {
      const Taps& t = hx[size_t(x)];
      const uint8_t* p = s + size_t(t.first) * ch;
      int acc[4] = {0, 0, 0, 0};
      for (int w : t.weights) {
        for (int c = 0; c < ch; ++c) acc[c] += p[c] * w;
        p += ch;
      }
      for (int c = 0; c < ch; ++c) m[c] = uint16_t((acc[c] + (1 << (hShift - 1))) >> hShift);
      m += ch;
    }
  }
  // Vertical pass.
  const int vShift = kWeightBits + kMidBits;
  const size_t midRow = size_t(width) * ch;
  std::vector<int> acc(midRow);
  for (int y = 0; y < height; ++y) {
    const Taps& t = vy[size_t(y)];
    std::fill(acc.begin(), acc.end(), 0);
    const uint16_t* m = mid.data() + size_t(t.first) * midRow;
    for (int w : t.weights) {
      for (size_t i = 0; i < midRow; ++i) acc[i] += m[i] * w;
      m += midRow;
    }
    uint8_t* d = dst.Row(y);
    for (size_t i = 0; i < midRow; ++i) {
      int v = (acc[i] + (1 << (vShift - 1))) >> vShift;
      d[i] = uint8_t(v > 255 ? 255 : v);
    }
  }
  *out = std::move(dst);
  return true;
}

// Exif orientation o as a 2x2 matrix taking source to display coordinates
// (x right, y down, centred): {a, b, c, d} = [a b; c d].
const int kOrientMatrix[9][4] = {
    {1, 0, 0, 1},                                  // 0 (treated as 1)
    {1, 0, 0, 1},   {-1, 0, 0, 1}, {-1, 0, 0, -1}, {1, 0, 0, -1},  // 1..4
    {0, 1, 1, 0},   {0, -1, 1, 0}, {0, -1, -1, 0}, {0, 1, -1, 0},  // 5..8
};

}  // namespace

bool Resize(const Dib& src, int width, int height, Dib* out, ResizeQuality quality) {
  if (src.Empty() || !out || width <= 0 || height <= 0) return false;
  if (!src.HasAlpha()) return ResizeCore(src, width, height, out, quality);
  Dib pre = src;
  Premultiply(&pre);
  if (!ResizeCore(pre, width, height, out, quality)) return false;
  Unpremultiply(out);
  return true;
}

bool ApplyOrientation(const Dib& src, int orientation, Dib* out) {
  if (src.Empty() || !out) return false;
  if (orientation < 1 || orientation > 8) orientation = 1;
  if (orientation == 1) {
    if (out != &src) *out = src;
    return true;
  }
  const int sw = src.Width(), sh = src.Height(), bpp = src.BytesPerPixel();
  const bool swap = OrientationSwapsAxes(orientation);
  const int dw = swap ? sh : sw, dh = swap ? sw : sh;
  Dib dst;
  if (!dst.Create(dw, dh, src.BitCount(), src.TopDown())) return false;
  dst.SetHasAlpha(src.HasAlpha());
  // Source position of display pixel (dx, dy) = start + dx * stepX + dy * stepY.
  int sx0, sy0, ax, ay, bx, by;  // source (x, y) at (0,0); per dx; per dy
  switch (orientation) {
    case 2: sx0 = sw - 1, sy0 = 0, ax = -1, ay = 0, bx = 0, by = 1; break;
    case 3: sx0 = sw - 1, sy0 = sh - 1, ax = -1, ay = 0, bx = 0, by = -1; break;
    case 4: sx0 = 0, sy0 = sh - 1, ax = 1, ay = 0, bx = 0, by = -1; break;
    case 5: sx0 = 0, sy0 = 0, ax = 0, ay = 1, bx = 1, by = 0; break;
    case 6: sx0 = 0, sy0 = sh - 1, ax = 0, ay = -1, bx = 1, by = 0; break;
    case 7: sx0 = sw - 1, sy0 = sh - 1, ax = 0, ay = -1, bx = -1, by = 0; break;
    default: sx0 = sw - 1, sy0 = 0, ax = 0, ay = 1, bx = -1, by = 0; break;  // 8
  }
  View sv = ViewOf(src);
  const ptrdiff_t stepX = ptrdiff_t(ax) * bpp + ptrdiff_t(ay) * sv.pitch;
  const ptrdiff_t stepY = ptrdiff_t(bx) * bpp + ptrdiff_t(by) * sv.pitch;
  const uint8_t* rowStart = sv.Row(sy0) + ptrdiff_t(sx0) * bpp;
  for (int y = 0; y < dh; ++y, rowStart += stepY) {
    uint8_t* d = dst.Row(y);
    const uint8_t* s = rowStart;
    if (bpp == 3) {
      for (int x = 0; x < dw; ++x, s += stepX, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    } else {
      for (int x = 0; x < dw; ++x, s += stepX, d += 4) memcpy(d, s, 4);
    }
  }
  *out = std::move(dst);
  return true;
}

bool Rotate(const Dib& src, int degreesClockwise, Dib* out) {
  return ApplyOrientation(src, RotateOrientation(1, degreesClockwise), out);
}

bool Flip(const Dib& src, bool horizontal, bool vertical, Dib* out) {
  return ApplyOrientation(src, horizontal ? (vertical ? 3 : 2) : (vertical ? 4 : 1), out);
}

int RotateOrientation(int orientation, int degreesClockwise) {
  if (orientation < 1 || orientation > 8) orientation = 1;
  int turns = ((degreesClockwise / 90) % 4 + 4) % 4;
  int m[4];
  memcpy(m, kOrientMatrix[orientation], sizeof m);
  for (int i = 0; i < turns; ++i) {
    // [0 -1; 1 0] x m
    int n[4] = {-m[2], -m[3], m[0], m[1]};
    memcpy(m, n, sizeof m);
  }
  for (int o = 1; o <= 8; ++o)
    if (memcmp(m, kOrientMatrix[o], sizeof m) == 0) return o;
  return 1;
}

bool ConvertBitCount(const Dib& src, int bitCount, Dib* out, COLORREF background) {
  if (src.Empty() || !out || (bitCount != 24 && bitCount != 32)) return false;
  if (src.BitCount() == bitCount) {
    if (out != &src) *out = src;
    return true;
  }
  Dib dst;
  if (!dst.Create(src.Width(), src.Height(), bitCount, src.TopDown())) return false;
  const int w = src.Width();
  const unsigned bb = GetBValue(background), bg = GetGValue(background), br = GetRValue(background);
  for (int y = 0; y < src.Height(); ++y) {
    const uint8_t* s = src.Row(y);
    uint8_t* d = dst.Row(y);
    if (bitCount == 32) {
      for (int x = 0; x < w; ++x, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 0xFF;
      }
    } else if (src.HasAlpha()) {
      for (int x = 0; x < w; ++x, s += 4, d += 3) {
        unsigned a = s[3], na = 255 - a;
        d[0] = uint8_t((s[0] * a + bb * na + 127) / 255);
        d[1] = uint8_t((s[1] * a + bg * na + 127) / 255);
        d[2] = uint8_t((s[2] * a + br * na + 127) / 255);
      }
    } else {
      for (int x = 0; x < w; ++x, s += 4, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
  }
  *out = std::move(dst);
  return true;
}

bool Crop(const Dib& src, const RECT& rect, Dib* out) {
  if (src.Empty() || !out) return false;
  LONG l = std::max<LONG>(rect.left, 0), t = std::max<LONG>(rect.top, 0);
  LONG r = std::min<LONG>(rect.right, src.Width()), b = std::min<LONG>(rect.bottom, src.Height());
  if (r <= l || b <= t) return false;
  Dib dst;
  if (!dst.Create(r - l, b - t, src.BitCount(), src.TopDown())) return false;
  dst.SetHasAlpha(src.HasAlpha());
  const size_t bpp = size_t(src.BytesPerPixel());
  for (LONG y = t; y < b; ++y) memcpy(dst.Row(y - t), src.Row(y) + size_t(l) * bpp, size_t(r - l) * bpp);
  *out = std::move(dst);
  return true;
}

bool CropToAspect(const Dib& src, int aspectWidth, int aspectHeight, Dib* out) {
  if (src.Empty() || aspectWidth <= 0 || aspectHeight <= 0) return false;
  SIZE s = FitSize(aspectWidth, aspectHeight, src.Width(), src.Height(), true);
  RECT r;
  r.left = (src.Width() - s.cx) / 2;
  r.top = (src.Height() - s.cy) / 2;
  r.right = r.left + s.cx;
  r.bottom = r.top + s.cy;
  return Crop(src, r, out);
}

SIZE FitSize(int width, int height, int maxWidth, int maxHeight, bool enlarge) {
  SIZE s = {0, 0};
  if (width <= 0 || height <= 0 || maxWidth <= 0 || maxHeight <= 0) return s;
  if (!enlarge && width <= maxWidth && height <= maxHeight) {
    s.cx = width;
    s.cy = height;
    return s;
  }
  int64_t w = width, h = height, mw = maxWidth, mh = maxHeight;
  if (mw * h <= mh * w) {  // the width decides
    s.cx = maxWidth;
    s.cy = LONG((2 * h * mw + w) / (2 * w));
  } else {
    s.cy = maxHeight;
    s.cx = LONG((2 * w * mh + h) / (2 * h));
  }
  s.cx = std::max<LONG>(1, std::min<LONG>(s.cx, maxWidth));
  s.cy = std::max<LONG>(1, std::min<LONG>(s.cy, maxHeight));
  return s;
}

RECT FitRect(int width, int height, const RECT& box, bool enlarge) {
  RECT r = {0, 0, 0, 0};
  SIZE s = FitSize(width, height, box.right - box.left, box.bottom - box.top, enlarge);
  if (s.cx <= 0) return r;
  r.left = box.left + (box.right - box.left - s.cx) / 2;
  r.top = box.top + (box.bottom - box.top - s.cy) / 2;
  r.right = r.left + s.cx;
  r.bottom = r.top + s.cy;
  return r;
}

}  // namespace imaging
