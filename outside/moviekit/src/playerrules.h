// The player's decisions, plain functions the tests call without a window or a movie.
#pragma once

#include <windows.h>

namespace moviekit {

struct RangeCheck {
  bool valid = false;
  double from = 0;
  double to = 0;  // 0: to the end
};

// A play range [from, to) of a movie `duration` long (0: unknown); to <= 0 means to the end.
// Invalid: negative or not-a-number times, from at or past the end, to not after from.
RangeCheck CheckRange(double from, double to, double duration);

// A picture due at `due` when the clock shows `now` is skipped when more than `late` behind.
bool ShouldDrop(double due, double now, double late);

// Where a w x h picture goes in `client`: as large as fits, its shape kept, centred.
RECT LetterBox(const RECT& client, int w, int h);

}  // namespace moviekit
