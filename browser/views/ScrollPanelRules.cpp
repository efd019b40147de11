// The scroll panel's decisions.
#include "ScrollPanelRules.h"

#include <algorithm>

namespace scrollpanel {

Fit FitCount(int requested, int requestedGap, int content, int itemSize) {
  Fit f = {requested, requestedGap};
  if (itemSize == 0) return {requested, 0};
  if (requested == -1 && requestedGap >= 0) {
    int unit = requestedGap + itemSize;
    int room = content - requestedGap;
    f.count = std::max(0, room / unit + (room % unit ? 1 : 0));
  } else if (requested == -1) {
    f.count = std::max(0, content / itemSize);
    f.gap = f.count < 2 ? 0 : (content - itemSize * f.count) / (f.count - 1);
  } else {
    if (f.gap == -1) f.gap = 10;
    if (f.count == 1) f.gap = 0;
  }
  return f;
}

int CellSize(int requested, int content, int gap, int count, int fitMargin, int itemSize) {
  if (requested == -1) return std::min(itemSize, content - fitMargin);
  if (count <= 0) return 0;
  int room = content - (count - 1) * gap - (requested != 1 ? fitMargin : 0);
  return std::max(room, 0) / count;
}

int PaddedTotal(int total, int columns) {
  if (columns <= 0 || total <= 0) return std::max(total, 0);
  return (total + columns - 1) / columns * columns;
}

bool ScrollFirst(UINT code, int thumb, int first, int columns, int capacity, int paddedTotal, int* out) {
  if (columns <= 0 || capacity > paddedTotal) return false;
  switch (code) {
    case SB_LINEDOWN: *out = first + columns; return true;
    case SB_LINEUP: *out = std::max(first - columns, 0); return true;
    case SB_PAGEDOWN: *out = first + capacity; return true;
    case SB_PAGEUP:
      if (first == 0) return false;
      *out = std::max(first - capacity, 0);
      return true;
    case SB_THUMBTRACK: *out = (thumb + columns - 1) / columns * columns; return true;
  }
  return false;
}

int LayoutFirst(int first, int paddedTotal, int capacity, int columns) {
  if (columns <= 0 || paddedTotal < capacity) return 0;
  first = std::min(first, paddedTotal - capacity + columns);
  first -= first % columns;
  return std::max(first, 0);
}

bool FirstRefused(int first, int total, int columns, int capacity) {
  int padded = PaddedTotal(total, columns);
  if (first < 0) return true;
  if (first != 0 && padded < capacity) return true;
  return total > capacity && first > padded - capacity + columns;
}

Reorder ShiftPool(int oldFirst, int newFirst, int lastVisible, int capacity, int poolSize) {
  Reorder r;
  int d = oldFirst - newFirst;
  if (d > 0) {
    if (d > capacity) {
      r.refreshFirst = 0, r.refreshLast = capacity - 1;
      return r;
    }
    r.refreshFirst = 0, r.refreshLast = d - 1;
    for (int p = poolSize - 1; p >= 0; p--)
      if (p + d < poolSize) r.swaps.push_back({p, p + d});
  } else if (d < 0) {
    int e = -d;
    if (newFirst > lastVisible) {
      r.refreshFirst = 0, r.refreshLast = capacity - 1;
      return r;
    }
    r.refreshFirst = capacity - e, r.refreshLast = capacity - 1;
    for (int p = e; p < poolSize; p++) r.swaps.push_back({p, p - e});
  }
  return r;
}

Reorder DeleteFromPool(int deleted, int first, int lastVisible, int capacity, int poolSize) {
  Reorder r;
  if (deleted < 0 || deleted > lastVisible) return r;
  r.refreshFirst = r.refreshLast = capacity - 1;
  int start = deleted < first ? 0 : deleted - first;
  for (int p = start; p < capacity - 1; p++)
    if (p + 1 < poolSize) r.swaps.push_back({p, p + 1});
  return r;
}

int FirstAfterDelete(int first, int count, int capacity, int columns) {
  if (columns > 0 && first - count + capacity >= columns && first > 0) return std::max(first - columns, 0);
  return -1;
}

bool Contains(const std::vector<int>& sel, int index) { return std::find(sel.begin(), sel.end(), index) != sel.end(); }

std::vector<int> SelectRange(const std::vector<int>& sel, int anchor, int index, bool keep) {
  std::vector<int> out = keep ? sel : std::vector<int>();
  int lo = std::min(anchor, index), hi = std::max(anchor, index);
  for (int i = std::max(lo, 0); i <= hi; i++) {
    auto it = std::find(out.begin(), out.end(), i);
    if (it == out.end())
      out.push_back(i);
    else if (keep && Contains(sel, i))
      out.erase(it);
  }
  return out;
}

std::vector<int> BandBlock(int startIndex, int endIndex, int columns, int lastIndex) {
  std::vector<int> block;
  if (columns <= 0 || startIndex < 0 || endIndex < 0) return block;
  int r0 = std::min(startIndex, endIndex) / columns, r1 = std::max(startIndex, endIndex) / columns;
  int c0 = std::min(startIndex % columns, endIndex % columns), c1 = std::max(startIndex % columns, endIndex % columns);
  for (int r = r0; r <= r1; r++)
    for (int c = c0; c <= c1; c++) {
      int i = r * columns + c;
      if (i <= lastIndex) block.push_back(i);
    }
  return block;
}

int BandAnchor(int startIndex, int columns, int lastIndex) {
  while (columns > 0 && startIndex > lastIndex && startIndex - columns >= 0) startIndex -= columns;
  return std::min(startIndex, lastIndex);
}

std::vector<int> ApplyBand(const std::vector<int>& saved, const std::vector<int>& block, bool ctrlOrShift) {
  std::vector<int> out = saved;
  for (int i : block) {
    auto it = std::find(out.begin(), out.end(), i);
    if (it == out.end())
      out.push_back(i);
    else if (ctrlOrShift)
      out.erase(it);
  }
  return out;
}

std::vector<int> ShiftSelection(const std::vector<int>& sel, int delta, int first, int last, int* anchor) {
  std::vector<int> out;
  for (int i : sel) {
    int moved = std::max(first, std::min(i + delta, last));
    if (!Contains(out, moved)) out.push_back(moved);
  }
  if (anchor && *anchor >= 0) *anchor = std::max(first, std::min(*anchor + delta, last));
  return out;
}

int CellAt(int at, int origin, int cellSize, int gap, int count) {
  if (count <= 0 || cellSize + gap <= 0) return 0;
  int cell = (at - origin) / (cellSize + gap);
  return std::max(0, std::min(cell, count - 1));
}

bool MoveAnchor(int action, int anchor, int columns, int lastIndex, int lastVisible, int* out) {
  switch (action) {
    case kUp:
      if (anchor == 0) return false;
      anchor = std::max(anchor, 0);
      if (anchor - columns < 0) return false;
      *out = anchor - columns;
      return true;
    case kDown:
      if (anchor == lastIndex) return false;
      anchor = std::max(anchor, 0);
      if (anchor + columns > lastIndex) {
        if (lastIndex <= lastVisible) return false;
        *out = lastIndex;
      } else {
        *out = anchor + columns;
      }
      return true;
    case kNext:
      if (anchor >= lastIndex) return false;
      *out = anchor + 1;
      return true;
    case kPrevious:
      if (anchor <= 0) return false;
      *out = anchor - 1;
      return true;
  }
  return false;
}

int FirstShowing(int anchor, int first, int capacity, int columns) {
  if (columns <= 0 || anchor < 0) return -1;
  int row = anchor - anchor % columns;
  if (anchor < first) return row;
  if (anchor >= first + capacity) return std::max(row - capacity + columns, 0);
  return -1;
}

}  // namespace scrollpanel
