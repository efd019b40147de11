#include "playerrules.h"

#include <algorithm>
#include <cmath>

namespace moviekit {

RangeCheck CheckRange(double from, double to, double duration) {
  RangeCheck r;
  if (!std::isfinite(from) || !std::isfinite(to) || from < 0) return r;
  if (duration > 0 && from >= duration) return r;
  if (to > 0 && to <= from) return r;
  r.valid = true;
  r.from = from;
  r.to = to > 0 && (duration <= 0 || to < duration) ? to : 0;
  return r;
}

PartPlace PlacePart(double from, double to, bool fileClock, double start, double duration) {
  PartPlace p;
  if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(start)) return p;
  if (fileClock) {
    if (to == from) {
      from = to = 0;
    } else {
      const double wrap = 8589934592.0 / 90000.0;
      double d = std::fmod(from - start, wrap);
      if (d > wrap / 2) d -= wrap;
      if (d < -wrap / 2) d += wrap;
      const double span = to - from;
      if (span <= 0) return p;
      from = std::max(0.0, d);
      to = d + span;
      if (to <= from) return p;
    }
  }
  RangeCheck r = CheckRange(from, to, duration);
  if (!r.valid) return p;
  p.valid = true;
  p.from = r.from;
  p.to = r.to;
  p.length = (r.to > 0 ? r.to : duration) - r.from;
  if (p.length < 0) p.length = 0;
  return p;
}

PartAt FindPart(const double* lengths, int count, double seconds) {
  PartAt at;
  if (!lengths || count <= 0 || !(seconds > 0)) return at;
  double offset = 0;
  for (int i = 0; i < count; ++i) {
    if (seconds < offset + lengths[i] || i == count - 1) {
      at.part = i;
      at.within = std::min(seconds - offset, lengths[i]);
      return at;
    }
    offset += lengths[i];
  }
  return at;
}

bool ShouldDrop(double due, double now, double late) { return now - due > late; }

RECT LetterBox(const RECT& client, int w, int h) {
  RECT r = {client.left, client.top, client.left, client.top};
  long cw = client.right - client.left, ch = client.bottom - client.top;
  if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0) return r;
  long pw = cw, ph = ch;
  if (LONGLONG(cw) * h > LONGLONG(ch) * w)
    pw = long(LONGLONG(ch) * w / h);
  else
    ph = long(LONGLONG(cw) * h / w);
  r.left = client.left + (cw - pw) / 2;
  r.top = client.top + (ch - ph) / 2;
  r.right = r.left + pw;
  r.bottom = r.top + ph;
  return r;
}

}  // namespace moviekit
