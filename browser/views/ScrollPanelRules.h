// The scroll panel's decisions without a window: how many rows and columns fit, the cell
// size, which item the page starts at after a scroll, how the pool of item windows is
// reordered when the page moves or an item goes (so only the cells showing another item
// are filled again), and the selection by Shift, rubber band and keys.
#pragma once
#include <fw/fw.h>

#include <utility>
#include <vector>

namespace scrollpanel {

enum { kFirstItemId = 2025, kTemplateId = 2026, kVertBarId = 2027, kHorzBarId = 2028, kCanvasId = 2029 };
enum KeyAction { kActivate = 1, kPrevious = 2, kNext = 3, kUp = 4, kDown = 5, kPress = 7 };

// Rows (or columns) in effect: requested count or -1 for as many as fit, requested gap or
// -1 for spreading the spare space; itemSize is the template's height (or width).
struct Fit {
  int count, gap;
};
Fit FitCount(int requested, int requestedGap, int content, int itemSize);
// A cell's height (or width): requested -1 takes the template's size when it fits.
int CellSize(int requested, int content, int gap, int count, int fitMargin, int itemSize);

int PaddedTotal(int total, int columns);
// The first index a WM_VSCROLL code leads to; false when it does not scroll.
bool ScrollFirst(UINT code, int thumb, int first, int columns, int capacity, int paddedTotal, int* out);
// The first index a layout starts at: 0 when everything fits, else at most one row past
// the last full page, moved to a row start.
int LayoutFirst(int first, int paddedTotal, int capacity, int columns);
// Whether a page may start at first (total = item count before any deletion).
bool FirstRefused(int first, int total, int columns, int capacity);

// Pool reordering: swaps of pool positions, in order, and the cells to fill again.
struct Reorder {
  std::vector<std::pair<int, int>> swaps;
  int refreshFirst = -1, refreshLast = -1;
};
// The page moves from oldFirst to newFirst (lastVisible is the old page's last item).
Reorder ShiftPool(int oldFirst, int newFirst, int lastVisible, int capacity, int poolSize);
// Item `deleted` goes; empty when it lies below the page.
Reorder DeleteFromPool(int deleted, int first, int lastVisible, int capacity, int poolSize);
template <class T>
void Apply(const Reorder& r, std::vector<T>& pool) {
  for (auto& s : r.swaps) std::swap(pool[s.first], pool[s.second]);
}
// After a deletion leaves count items: the page scrolls back one row when it now ends
// in a wholly empty row; -1 when it stays.
int FirstAfterDelete(int first, int count, int capacity, int columns);

// Selection.
bool Contains(const std::vector<int>& sel, int index);
// Shift between anchor and index; keep (Ctrl held) toggles the range into the selection.
std::vector<int> SelectRange(const std::vector<int>& sel, int anchor, int index, bool keep);
// The items of the block of cells between two ends of a rubber band.
std::vector<int> BandBlock(int startIndex, int endIndex, int columns, int lastIndex);
// The anchor a band leaves: its start, kept within the last index a row up at a time.
int BandAnchor(int startIndex, int columns, int lastIndex);
// The saved selection with the block: already selected block items go with Ctrl or Shift.
std::vector<int> ApplyBand(const std::vector<int>& saved, const std::vector<int>& block, bool ctrlOrShift);
// Every selected index moved by delta within first..last, duplicates dropped; the anchor follows.
std::vector<int> ShiftSelection(const std::vector<int>& sel, int delta, int first, int last, int* anchor);
// The cell under a coordinate, kept within 0..count - 1.
int CellAt(int at, int origin, int cellSize, int gap, int count);
// The new anchor of a move key; false when the key moves nothing.
bool MoveAnchor(int action, int anchor, int columns, int lastIndex, int lastVisible, int* out);
// The first index that shows the anchor: -1 when it is on the page already.
int FirstShowing(int anchor, int first, int capacity, int columns);

}  // namespace scrollpanel
