// The slide runner's timing and geometry, without windows: which slide shows at a moment of
// the show, how far its effect has gone, and where a picture lies on the screen.
#pragma once
#include <windows.h>

#include <vector>

namespace sliderunner {

const int kDefaultIntervalMs = 3000;  // a plain slide without its own interval
const int kEffectSlideMs = 4000;      // an effect slide, its transition included
const int kEffectTransitionMs = 1000;

// Where the show stands `elapsedMs` after its start.
struct ShowPoint {
  int slide = 0;          // the slide coming in (or shown)
  int previous = -1;      // the slide going out during a transition; -1 when none
  double progress = 1.0;  // of the transition, 0 to 1 (1: the slide alone)
  double along = 1.0;     // of the slide's whole time, 0 to 1
  bool ended = false;     // a show without repeat is over (the last slide stays)
};
// intervalsMs: each slide's own interval for kind 0 (0: the default); effect kinds 1 to 4
// ignore them. With repeat the show starts again after its last slide.
ShowPoint ShowAt(int kind, const std::vector<int>& intervalsMs, bool repeat, long long elapsedMs);

// The picture of w x h fitted into the screen of cx x cy, centred, never enlarged beyond
// the screen (small pictures are enlarged to fit).
RECT FitRect(int w, int h, int cx, int cy);
// The part of a picture of w x h shown while zooming into crop (in the picture's pixels;
// an empty or outside crop is the whole picture): from the whole at t = 0 to the crop at 1.
RECT ZoomSource(int w, int h, const RECT& crop, double t);

}  // namespace sliderunner
