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

// Where a part of a file lies in the file's movie time, given as MoviePart gives it: times
// on the file's own clock are taken back by `start` (the clock of MPEG-TS wraps after
// 2^33 / 90 kHz), equal ones meaning the whole file; a start before the file's is its start.
// Checked as CheckRange checks a range; `length` is how long the part plays (0 when unknown).
struct PartPlace {
  bool valid = false;
  double from = 0;
  double to = 0;  // 0: to the end
  double length = 0;
};
PartPlace PlacePart(double from, double to, bool fileClock, double start, double duration);

// The part of `lengths` (played in turn) that holds `seconds`, and where in it: times before
// the first part go to its start, times at or past the end to the last one's end.
struct PartAt {
  int part = 0;
  double within = 0;
};
PartAt FindPart(const double* lengths, int count, double seconds);

// A picture due at `due` when the clock shows `now` is skipped when more than `late` behind.
bool ShouldDrop(double due, double now, double late);

// Where a w x h picture goes in `client`: as large as fits, its shape kept, centred.
RECT LetterBox(const RECT& client, int w, int h);

}  // namespace moviekit
