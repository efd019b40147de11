// The bitmap scroll bar's geometry without a window: thumb size and place, the part under
// the cursor, clamped positions and the position a thumb drag reaches. Lengths run along
// the bar (x for a horizontal bar, y for a vertical one).
#pragma once
#include <fw/fw.h>

namespace skinbar {

enum Part { kFirstArrow = 0, kSecondArrow, kGrip, kBody, kStartCap, kEndCap, kTrack, kParts };
// What a press holds.
enum Active { kNone = 0, kHoldFirst = 1, kHoldSecond = 2, kDragThumb = 3, kPageBefore = 4, kPageAfter = 5 };

struct Range {
  int min, max, page, pos;
};

// The thumb along the track [trackStart, trackEnd): none (length 0) for a range below 2.
struct Thumb {
  int start, length;
  bool Exists() const { return length > 0; }
};
Thumb ThumbOf(int trackStart, int trackEnd, const Range& r, bool bothCaps, int gripSize);

// max(max - page + 1, min).
int ScrollLimit(const Range& r);
// A new position kept within min..max, at most max - page + 1 and at least 0.
int ClampPos(int pos, const Range& r);

// What a press at `at` along the bar holds (arrows first, then the thumb, then the page
// areas); kNone on the track without a thumb.
Active PartAt(int at, int length, int firstArrow, int secondArrow, const Thumb& thumb);

// The position a thumb drag reaches with the cursor at `cursor`, begun at dragStart with
// the position startPos. False when nothing is to be sent.
bool DragPosition(int cursor, int dragStart, int startPos, int trackStart, int trackEnd, int thumbLength,
                  const Range& r, int* pos);

}  // namespace skinbar
