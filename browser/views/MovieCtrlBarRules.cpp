// The movie position slider's geometry and input decisions.
#include "MovieCtrlBarRules.h"

#include <algorithm>
#include <cmath>

namespace moviebar {

double PosToOffset(const Track& t, int pos) {
  if (pos < t.min || pos > t.max) return -1;
  if (t.max == t.min) return 0;  // no span to divide
  double width = t.channel.right - 2 * (t.thumbWidth / 2) - t.channel.left - 1;
  return width * (pos - t.min) / (t.max - t.min);
}

int PosToCenter(const Track& t, int pos) {
  double offset = PosToOffset(t, pos);
  if (offset < 0) return -1;
  return t.channel.left + (int)std::lround(offset) + t.thumbWidth / 2;
}

int HitTestPos(const Track& t, int x, bool clamp) {
  if (t.min == t.max) return t.min;
  if (clamp && x <= PosToCenter(t, t.min)) return t.min;
  if (clamp && x >= PosToCenter(t, t.max)) return t.max;
  int half = t.thumbWidth / 2;
  for (int pos = t.min; pos <= t.max; pos++) {
    int c = PosToCenter(t, pos);
    if (x >= c - half && x < c + half) return pos;
  }
  return t.min - 1;
}

int StepWidth(const Track& t) {
  if (t.min == t.max) return 0;
  return (int)(PosToOffset(t, t.min + 1) - PosToOffset(t, t.min));
}

int ThumbLeft(const Track& t, int pos, int cxControl) {
  int offset = (int)std::lround(PosToOffset(t, pos));
  if (offset < 0 || cxControl < t.channel.left + offset) offset = (int)std::lround(std::max(0.0, PosToOffset(t, 0)));
  return t.channel.left + offset;
}

int WheelPos(int pos, int delta, int min, int max) {
  int steps = delta / WHEEL_DELTA;  // truncated toward zero
  return std::max(min, std::min(pos - steps, max));
}

bool KeyStepOf(UINT vk, int pos, int min, int max, int page, int line, KeyStep* out) {
  switch (vk) {
    case VK_PRIOR:
      if (pos <= min) return false;
      *out = {pos - page, SB_PAGELEFT};
      break;
    case VK_NEXT:
      if (pos >= max) return false;
      *out = {pos + page, SB_PAGERIGHT};
      break;
    case VK_END:
      if (pos == max) return false;
      *out = {max, SB_RIGHT};
      break;
    case VK_HOME:
      if (pos == min) return false;
      *out = {min, SB_LEFT};
      break;
    case VK_LEFT:
    case VK_UP:
      if (pos <= min) return false;
      *out = {pos - line, SB_LINELEFT};
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (pos >= max) return false;
      *out = {pos + line, SB_LINERIGHT};
      break;
    default: return false;
  }
  out->pos = std::max(min, std::min(out->pos, max));
  return true;
}

}  // namespace moviebar
