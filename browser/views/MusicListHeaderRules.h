// The multi-image header strip's decisions without a window: the colour-key combination
// of a part image with its background, the strip's width, and, for the column header of
// the music list, the grab zones of its dividers, the column under a point and where a
// column cell's text and sort arrow go.
#pragma once
#include <fw/fw.h>

#include <vector>

namespace listheader {

enum { kPartImages = 10, kListImages = 6 };

// Bytes from the header to the first pixel of a packed DIB.
int BitsOffset(const BITMAPINFOHEADER* bih);
// Every pixel of `image` within rc (top-down coordinates) whose colour is the key takes the
// background's pixel at the same place. Both need 2, 3 or 4 bytes per pixel, the same.
bool CombineColourKey(BITMAPINFO* image, const BITMAPINFO* background, const RECT& rc, COLORREF key);
// The strip's width: the columns' sum, at least the minimum width when the sum fits.
int StripWidth(int columnsSum, int currentWidth, int minimumWidth);

// A grab zone: dragging in it resizes `column`.
struct Zone {
  int column;
  RECT rc;
};
// The zones of the dividers and of the zero-width columns, columns laid from x = -originX
// and as high as the strip. A divider zone always resizes the column to its left; a column
// narrower than 12 pixels gives no zone on its side of a divider.
void GrabZones(const std::vector<int>& widths, int originX, int height, std::vector<Zone>* dividers,
               std::vector<Zone>* hidden);
enum HoverKind { kHoverNone = 0, kHoverDivider = 1, kHoverHidden = 2 };
// What the pointer is over: the first divider zone, unless a zero-width column's zone holds
// it too (the last such wins); *column is the zone's column, -1 over none.
int HoverAt(const std::vector<Zone>& dividers, const std::vector<Zone>& hidden, POINT pt, int* column);
// The index of the width under a point, widths laid from x = -originX and `height` high;
// -1 outside every one.
int IndexAt(const std::vector<int>& widths, int originX, int height, POINT pt);
// The column under a client point, -1 beyond the layout width or outside every column.
int ColumnAt(const std::vector<int>& widths, int originX, int layoutWidth, int height, POINT pt);
// Where a column inserted before `index` goes in a list of `count` columns.
inline int InsertPosition(int index, int count) { return index <= 0 || count == 0 ? 0 : index >= count ? count : index; }

// One header cell's picture: the text between the edge parts and the sort arrow after it
// (at the right edge for right-aligned text).
struct CellLayout {
  int room;       // width the text may take; no text when 0 or less
  RECT text;      // where it is drawn (bottom: the left edge part's height)
  int arrowX;     // left of the arrow
};
CellLayout LayoutCell(int width, int height, int leftW, int leftH, int rightW, int arrowW, int textW, int textH,
                      UINT format, bool hasText);

}  // namespace listheader
