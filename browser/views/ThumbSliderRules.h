// The thumbnail-size slider's track geometry, without a window.
#pragma once
#include <fw/fw.h>

namespace thumbslider {
enum { kWidth = 167, kHeight = 26, kPositions = 5, kFirstX = 30, kStep = 23, kThumbY = 5, kThumbCx = 9, kThumbCy = 20 };
// The position under x: 0 left of the track, 4 from its end on.
int PositionAt(int x);
CRect ThumbRect(int position);
// Whether a press at x lands on the track (and so may move the thumb there).
bool OnTrack(int x);
}  // namespace thumbslider
