// The thumbnail-size slider's track geometry.
#include "ThumbSliderRules.h"

#include <algorithm>

namespace thumbslider {

int PositionAt(int x) {
  if (x < kFirstX) return 0;
  return std::min((x - kFirstX) / kStep, kPositions - 1);
}

CRect ThumbRect(int position) {
  int x = kFirstX + kStep * position;
  return CRect(x, kThumbY, x + kThumbCx, kThumbY + kThumbCy);
}

bool OnTrack(int x) { return x >= kFirstX && x <= kFirstX + kStep * (kPositions - 1) + kThumbCx; }

}  // namespace thumbslider
