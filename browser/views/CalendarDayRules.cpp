// The day calendar's decisions.
#include "CalendarDayRules.h"

#include <algorithm>

#include "CalendarMonthRules.h"

namespace calday {

Grid GridOf(int width, int height) {
  Grid g = {0, 0, false};
  if (width <= 0 || height <= 0) return g;
  g.columns = width / kColumnPitch;
  g.rows = height / kRowPitch;
  if (height % kRowPitch) g.rows++, g.partialRow = true;
  return g;
}

int VirtualRows(int count, int columns) {
  if (columns <= 0 || count <= 0) return 0;
  return count / columns + (count % columns ? 1 : 0);
}

int ScrollTo(int code, int thumbPos, int first, int fullRows, int maxRow) {
  int last = std::max(0, maxRow - fullRows), page = fullRows;
  int to;
  switch (code) {
    case SB_LINEUP: to = first - 1; break;
    case SB_LINEDOWN: to = first + 1; break;
    case SB_PAGEUP: to = first - page; break;
    case SB_PAGEDOWN: to = first + page; break;
    case SB_THUMBPOSITION: to = thumbPos; break;
    default: return -1;
  }
  return std::min(std::max(to, 0), last);
}

int FirstRowShowing(int index, int columns, int first, int fullRows) {
  if (columns <= 0) return first;
  int row = index / columns;
  if (row < first) return row;
  if (row >= first + fullRows) return std::max(0, row - fullRows + 1);
  return first;
}

std::vector<int> RangeSelect(int anchor, int to) {
  std::vector<int> out;
  int step = anchor <= to ? 1 : -1;
  for (int i = anchor;; i += step) {
    out.push_back(i);
    if (i == to) break;
  }
  return out;
}

std::vector<int> KeySelect(int delta, bool shift, int count, int lastSelected, int* anchor, int* current) {
  if (count <= 0) return {};
  auto clamp = [count](int i) { return std::min(std::max(i, 0), count - 1); };
  if (shift) {
    *current = clamp(*current + delta);
    int a = clamp(*anchor);
    int lo = std::min(a, *current), hi = std::max(a, *current);
    return delta > 0 ? RangeSelect(lo, hi) : RangeSelect(hi, lo);
  }
  int to = clamp((lastSelected < 0 ? 0 : lastSelected) + delta);
  *anchor = *current = to;
  return {to};
}

bool BandState(bool snapshot, bool intersects, UINT keyFlags) {
  if (keyFlags & MK_CONTROL) return intersects ? !snapshot : snapshot;
  if (keyFlags & MK_SHIFT) return intersects || snapshot;
  return intersects;
}

std::vector<int> DateBitmaps(const char* text, bool dated) {
  std::vector<int> out;
  for (const char* p = text ? text : ""; *p; ++p) {
    char c = *p;
    if (c >= '0' && c <= '9')
      out.push_back(dated ? 9 + (c - '0') : 28);
    else if (c == '/' || c == '.' || c == '-')
      out.push_back(19);
    else
      out.push_back(28);
  }
  return out;
}

POINT DateOrigin(const RECT& back, const RECT& forward, int count, SIZE character, int pitch) {
  int width = count > 0 ? (count - 1) * pitch + character.cx : 0;
  int room = forward.left - back.right;
  POINT pt;
  pt.x = back.right + (room > width ? (room - width) / 2 : 0);
  pt.y = (back.top + back.bottom) / 2 - character.cy / 2;
  return pt;
}

Buttons ButtonStates(Day current, Day earliest, Day latest) {
  Buttons b;
  b.back = current.Valid() && earliest.Valid() && earliest < current;
  b.forward = current.Valid() && latest.Valid() && current < latest;
  return b;
}

void FindDays(const std::vector<calmonth::DatedItem>& items, Day* earliest, Day* latest) {
  *earliest = *latest = {0, 0, 0};
  if (items.empty()) return;
  bool undated = false;
  for (const calmonth::DatedItem& it : items) {
    if (!(it.kind & (0x100 | 0x200 | 0x1000))) continue;
    if (it.year >= 1971) {
      if (it.year < 2038) *earliest = {it.year, it.month, it.day};
      break;
    }
    undated = true;
  }
  *latest = {2038, 1, 1};
  if (undated) return;
  const calmonth::DatedItem* last = &items.front();
  for (auto it = items.rbegin(); it != items.rend(); ++it)
    if ((it->kind & (0x200 | 0x1000)) && !(it->kind & 0x100)) {
      last = &*it;
      break;
    }
  if (last->year >= 1971 && last->year <= 2037) *latest = {last->year, last->month, last->day};
}

Day ParseDayText(const char* text) {
  Day day = {0, 0, 0};
  if (!calmonth::ParseDateText(text, &day.year, &day.month, &day.day)) return {0, 0, 0};
  return day;
}

std::vector<Badge> CellBadges(UINT kind, bool edited, bool favourite, bool exifText) {
  std::vector<Badge> badges;
  if (kind & 0x1000) {
    if ((kind & 0x1040) == 0x1040)
      badges.push_back({edited ? 30 : 29, 3});
    else
      badges.push_back({0, 0});
  }
  if ((kind & 0x288) == 0x288 || (kind & 0x282) == 0x282) badges.push_back({3, 3});
  if (favourite) badges.push_back({2, 3});
  if (exifText) badges.push_back({1, 3});
  return badges;
}

int RenameTextLimit(int pathLength, int textLength) {
  int limit = 256 - pathLength + textLength;
  return limit > 0 ? limit : 0;
}

std::string RenamedName(const char* text, const char* oldName) {
  std::string name = oldName ? oldName : "";
  size_t dot = name.rfind('.');
  return std::string(text ? text : "") + (dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot));
}

}  // namespace calday
