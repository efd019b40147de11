#include "schedule.h"

#include <algorithm>

namespace sliderunner {

namespace {
long long IntervalOf(int kind, const std::vector<int>& intervalsMs, size_t i) {
  if (kind != 0) return kEffectSlideMs;
  const int v = intervalsMs[i];
  return v > 0 ? v : kDefaultIntervalMs;
}
}  // namespace

ShowPoint ShowAt(int kind, const std::vector<int>& intervalsMs, bool repeat, long long elapsedMs) {
  ShowPoint p;
  const size_t n = intervalsMs.size();
  if (n == 0) {
    p.ended = true;
    return p;
  }
  long long total = 0;
  for (size_t i = 0; i < n; ++i) total += IntervalOf(kind, intervalsMs, i);
  long long t = std::max(0LL, elapsedMs);
  if (t >= total) {
    if (!repeat) {
      p.slide = (int)n - 1;
      p.ended = true;
      return p;
    }
    t %= total;
  }
  size_t i = 0;
  for (; i + 1 < n; ++i) {
    const long long d = IntervalOf(kind, intervalsMs, i);
    if (t < d) break;
    t -= d;
  }
  p.slide = (int)i;
  p.along = double(t) / IntervalOf(kind, intervalsMs, i);
  // Effects run at the start of each slide; the first comes out of black.
  if (kind != 0 && t < kEffectTransitionMs) {
    p.progress = double(t) / kEffectTransitionMs;
    const bool first = i == 0 && elapsedMs < total;
    p.previous = first ? -1 : (i == 0 ? (int)n - 1 : (int)i - 1);
  }
  return p;
}

RECT FitRect(int w, int h, int cx, int cy) {
  RECT rc = {0, 0, 0, 0};
  if (w <= 0 || h <= 0 || cx <= 0 || cy <= 0) return rc;
  int fw = cx, fh = int((long long)h * cx / w);
  if (fh > cy) {
    fh = cy;
    fw = int((long long)w * cy / h);
  }
  rc.left = (cx - fw) / 2;
  rc.top = (cy - fh) / 2;
  rc.right = rc.left + fw;
  rc.bottom = rc.top + fh;
  return rc;
}

RECT ZoomSource(int w, int h, const RECT& crop, double t) {
  RECT whole = {0, 0, w, h};
  RECT c;
  if (!IntersectRect(&c, &crop, &whole) || IsRectEmpty(&c)) c = whole;
  t = std::min(1.0, std::max(0.0, t));
  RECT r;
  r.left = whole.left + LONG((c.left - whole.left) * t);
  r.top = whole.top + LONG((c.top - whole.top) * t);
  r.right = whole.right + LONG((c.right - whole.right) * t);
  r.bottom = whole.bottom + LONG((c.bottom - whole.bottom) * t);
  if (r.right <= r.left) r.right = r.left + 1;
  if (r.bottom <= r.top) r.bottom = r.top + 1;
  return r;
}

}  // namespace sliderunner
