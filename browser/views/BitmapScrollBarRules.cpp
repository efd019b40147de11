// The bitmap scroll bar's geometry.
#include "BitmapScrollBarRules.h"

#include <algorithm>
#include <cmath>

namespace skinbar {

Thumb ThumbOf(int trackStart, int trackEnd, const Range& r, bool bothCaps, int gripSize) {
  Thumb t = {trackStart, 0};
  int range = r.max - r.min + 1;
  int track = trackEnd - trackStart;
  if (range < 2 || track <= 0) return t;
  double perUnit = (double)track / range;
  int length = (int)(std::max(r.page, 0) * perUnit);
  int minimum = bothCaps ? 14 : gripSize + 6;
  double scale = perUnit;
  if (length < minimum) {
    length = std::min(minimum, track);
    scale = (double)(track - length) / range;
  }
  length = std::min(length, track);
  int offset = std::max(0, (int)((r.pos - r.min) * scale));
  if (r.pos >= ScrollLimit(r)) offset = track - length;
  offset = std::min(offset, track - length);
  t.start = trackStart + offset;
  t.length = length;
  return t;
}

int ScrollLimit(const Range& r) { return std::max(r.max - r.page + 1, r.min); }

int ClampPos(int pos, const Range& r) {
  pos = std::max(r.min, std::min(pos, r.max));
  pos = std::min(pos, r.max - r.page + 1);
  return std::max(pos, 0);
}

Active PartAt(int at, int length, int firstArrow, int secondArrow, const Thumb& thumb) {
  if (at < firstArrow) return kHoldFirst;
  if (at >= length - secondArrow) return kHoldSecond;
  if (!thumb.Exists()) return kNone;
  if (at < thumb.start) return kPageBefore;
  if (at >= thumb.start + thumb.length) return kPageAfter;
  return kDragThumb;
}

bool DragPosition(int cursor, int dragStart, int startPos, int trackStart, int trackEnd, int thumbLength,
                  const Range& r, int* pos) {
  if (r.min >= r.max || r.pos < r.min) return false;
  int room = trackEnd - trackStart - thumbLength;
  if (room <= 0) return false;
  int last = std::max(r.max - r.page + 1, r.min);
  if (cursor < trackStart) {
    *pos = r.min;
  } else if (cursor >= trackEnd) {
    *pos = last;
  } else {
    // The range need not start at 0: the travel scales over its span.
    double v = (double)(cursor - dragStart) * (r.max - r.min + 1) / room + startPos;
    int p = (int)std::lround(v);
    *pos = std::max(r.min, std::min(p, last));
  }
  return true;
}

}  // namespace skinbar
