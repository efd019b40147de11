// The multi-image header strip's decisions without a window: the colour-key combination
// of a part image with its background, and the strip's width.
#pragma once
#include <fw/fw.h>

namespace listheader {

enum { kPartImages = 10, kListImages = 6 };

// Bytes from the header to the first pixel of a packed DIB.
int BitsOffset(const BITMAPINFOHEADER* bih);
// Every pixel of `image` within rc (top-down coordinates) whose colour is the key takes the
// background's pixel at the same place. Both need 2, 3 or 4 bytes per pixel, the same.
bool CombineColourKey(BITMAPINFO* image, const BITMAPINFO* background, const RECT& rc, COLORREF key);
// The strip's width: the columns' sum, at least the minimum width when the sum fits.
int StripWidth(int columnsSum, int currentWidth, int minimumWidth);

}  // namespace listheader
