#include "playerrules.h"

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
