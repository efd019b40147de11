// Decisions of the skinned controls without a window: accepted states, where an unscaled
// picture lands in a box, and the colour table of a packed DIB.
#pragma once
#include <fw/fw.h>

namespace skinctrl {

enum State { kNormal = 1, kPressed = 2, kHover = 4, kDisabled = 8 };
enum { kSlop = 3, kToolId = 2024 };

inline bool ValidState(int state) { return state >= 1 && state <= 15; }

// An unscaled picture of cx x cy cut to a box: where it goes and which part of it shows.
// With centre, a narrower picture moves right by half the difference, a wider one loses
// half the difference on its left.
struct Placement {
  int x, y;        // destination
  int srcX, srcY;  // first source pixel (top-down)
  int cx, cy;      // copied size, 0 when nothing shows
};
Placement PlaceUnscaled(int cxPicture, int cyPicture, const RECT& box, bool centre);

// Bytes of colour table (masks included) behind a BITMAPINFOHEADER.
int ColorTableBytes(int bitCount, DWORD compression, DWORD clrUsed);

// The slop rectangle around a press point: a move of 3 pixels or less stays inside.
inline CRect SlopRect(CPoint pt) { return CRect(pt.x - kSlop, pt.y - kSlop, pt.x + kSlop + 1, pt.y + kSlop + 1); }

}  // namespace skinctrl
