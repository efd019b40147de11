// Decisions of the skinned controls without a window.
#include "SkinCtrlRules.h"

#include <algorithm>

namespace skinctrl {

Placement PlaceUnscaled(int cxPicture, int cyPicture, const RECT& box, bool centre) {
  Placement p = {box.left, box.top, 0, 0, 0, 0};
  int cxBox = box.right - box.left, cyBox = box.bottom - box.top;
  if (cxPicture <= 0 || cyPicture <= 0 || cxBox <= 0 || cyBox <= 0) return p;
  if (centre && cxPicture < cxBox) p.x += (cxBox - cxPicture) / 2;
  if (centre && cxPicture > cxBox) p.srcX = (cxPicture - cxBox) / 2;
  p.cx = std::min(cxPicture - p.srcX, (int)box.right - p.x);
  p.cy = std::min(cyPicture, cyBox);
  return p;
}

int ColorTableBytes(int bitCount, DWORD compression, DWORD clrUsed) {
  if ((bitCount == 16 || bitCount == 32) && compression == BI_BITFIELDS) return 3 * 4 + (int)clrUsed * 4;
  if (bitCount < 16) return clrUsed ? (int)clrUsed * 4 : 4 * (1 << bitCount);
  return 0;
}

}  // namespace skinctrl
