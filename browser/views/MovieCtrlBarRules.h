// The movie position slider's geometry and input decisions without a window: thumb
// offsets and centres, the position under a point, wheel and key steps.
#pragma once
#include <fw/fw.h>

namespace moviebar {

struct Track {
  RECT channel;  // where the thumb runs
  int thumbWidth;
  int min, max;
};

// Offset of a position's thumb from the channel's left; -1 outside the range, 0 for an
// empty range (min equal to max).
double PosToOffset(const Track& t, int pos);
// Centre of a position's thumb; -1 outside the range.
int PosToCenter(const Track& t, int pos);
// The position whose thumb span holds x; with clamp, x at or beyond either end's centre
// gives that end; min - 1 when nothing is hit; min for an empty range.
int HitTestPos(const Track& t, int x, bool clamp);
int StepWidth(const Track& t);
// Thumb's left edge for a position, falling back to position 0's offset when the
// offset is negative or lies beyond a control of width cxControl.
int ThumbLeft(const Track& t, int pos, int cxControl);

// The wheel's new position: one position toward the start per forward notch.
int WheelPos(int pos, int delta, int min, int max);

// A key's step: false when the key does nothing at this position.
struct KeyStep {
  int pos;
  int code;  // SB_* code posted with WM_HSCROLL
};
bool KeyStepOf(UINT vk, int pos, int min, int max, int page, int line, KeyStep* out);

}  // namespace moviebar
