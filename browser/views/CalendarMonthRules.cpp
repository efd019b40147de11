// The month calendar's decisions.
#include "CalendarMonthRules.h"

#include <algorithm>
#include <cstdio>

namespace calmonth {

int MaxDay(int month, int year) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

int WeekdayOf(int year, int month, int day) {
  if (year < 1601 || month < 1 || month > 12 || day < 1 || day > MaxDay(month, year)) return -1;
  // Sakamoto's method: 0 = Sunday.
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = year - (month < 3);
  return (y + y / 4 - y / 100 + y / 400 + t[month - 1] + day) % 7;
}

Geometry LayOut(int w, int h) {
  Geometry g = {};
  int a = (w - 188) / 7, b = (h - 158) / 6;
  if (3 * a < 4 * b) {
    g.cx = a - a % 4;
    g.cy = g.cx / 4 * 3;
  } else if (3 * a > 4 * b) {
    g.cy = b - b % 3;
    g.cx = g.cy / 3 * 4;
  } else {
    g.cx = a, g.cy = b;
  }
  g.originX = w / 2 - (7 * g.cx + 78) / 2 - 56;
  g.originY = (h - 123) / 2 - (6 * g.cy + 35) / 2;
  g.grid = {g.originX + 56, g.originY + 106, g.originX + 7 * g.cx + 134, g.originY + 6 * g.cy + 141};
  return g;
}

RECT CellRect(const Geometry& g, int i) {
  int left = g.grid.left + (i % 7) * (g.cx + kColumnGap), top = g.grid.top + (i / 7) * (g.cy + kRowGap);
  return {left, top, left + g.cx, top + g.cy};
}

int HitIndex(const Geometry& g, POINT pt) {
  if (pt.x < g.grid.left || pt.y < g.grid.top || g.cx <= 0 || g.cy <= 0) return -1;
  int row = (pt.y - g.grid.top) / (g.cy + kRowGap), column = (pt.x - g.grid.left) / (g.cx + kColumnGap);
  if (row > 5 || column > 6) return -1;
  if (row < 5 && pt.y - g.grid.top - row * (g.cy + kRowGap) >= g.cy) return -1;
  if (column < 6 && pt.x - g.grid.left - column * (g.cx + kColumnGap) >= g.cx) return -1;
  int index = row * 7 + column;
  return index < kCells ? index : -1;
}

Cells FillCells(int year, int month, const std::vector<int>& itemDays, int* firstWeekday) {
  Cells cells;
  cells.fill({false, 0, -1});
  *firstWeekday = 0;
  if (itemDays.empty()) return cells;
  if (year < 1971 || year > 2037) {
    cells[kUndatedCell] = {true, 0, 0};
    return cells;
  }
  int offset = WeekdayOf(year, month, 1);
  if (offset < 0) return cells;
  *firstWeekday = offset;
  int days = MaxDay(month, year);
  for (int d = 1; d <= days && offset + d - 1 < kCells; d++) cells[offset + d - 1].day = d;
  for (size_t k = 0; k < itemDays.size(); k++) {
    int i = offset + itemDays[k] - 1;
    if (itemDays[k] >= 1 && itemDays[k] <= days && i < kCells) cells[i].hasData = true, cells[i].item = (int)k;
  }
  return cells;
}

int CorrectSelect(int target, int year, const Cells& cells) {
  if (year < 1971 || year > 2037) {
    if (year == 0) return -1;
    return cells[kUndatedCell].hasData ? (int)kUndatedCell : -1;
  }
  if (target < 0 || target >= kCells) target = kCells - 1;
  if (cells[target].hasData) return target;
  for (int i = kCells - 1; i >= 0; i--)
    if (cells[i].hasData) return i;
  return 0;
}

int StepSelect(int from, int step, const Cells& cells) {
  for (int i = from + step; i >= 0 && i < kCells; i += step)
    if (cells[i].hasData) return i;
  return -1;
}

Month StepMonth(Month shown, bool forward, const std::function<int(int, int)>& count, int* lastCount) {
  int dir = forward ? 1 : -1;
  *lastCount = 0;
  auto found = [&](int y, int m) {
    int n = count(y, m);
    if (n > 0) *lastCount = n;
    return n > 0;
  };
  for (int m = shown.month + dir; m >= 1 && m <= 12; m += dir)
    if (found(shown.year, m)) return {shown.year, m};
  for (int y = shown.year + dir; y >= 1971 && y <= 2037; y += dir) {
    if (count(y, -1) <= 0) continue;
    for (int m = forward ? 1 : 12; m >= 1 && m <= 12; m += dir)
      if (found(y, m)) return {y, m};
  }
  return forward ? Month{2038, 1} : Month{1970, 12};
}

Buttons ButtonStates(Month shown, Month earliest, Month latest, const Cells& cells) {
  Buttons b;
  b.next = !(shown.year == 0 || shown == latest);
  b.previous = !(shown.year == 0 || earliest.year < 0 || shown == earliest);
  b.day = std::any_of(cells.begin(), cells.end(), [](const Cell& c) { return c.hasData; });
  return b;
}

bool ModeHintShows(int value, int* lastSeen) {
  if (value == *lastSeen) return false;
  *lastSeen = value;
  return value == kViewMode;
}

static bool Counts(UINT kind) { return !(kind & 0x100) && (kind & (0x200 | 0x1000)); }
static bool Dated(int year) { return year >= 1971 && year <= 2037; }

void FindMonths(const std::vector<DatedItem>& items, Month* shown, Month* earliest, Month* latest) {
  *shown = {0, 0}, *latest = {2038, 1}, *earliest = {-1, -1};
  bool undatedFirst = false;
  for (const DatedItem& it : items) {
    if (!Counts(it.kind)) continue;
    if (!Dated(it.year)) {
      undatedFirst = true;
      continue;
    }
    *earliest = {it.year, it.month};
    if (undatedFirst) {
      *shown = {2038, 1};
      return;
    }
    break;
  }
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if (!Counts(it->kind)) continue;
    if (Dated(it->year))
      *latest = *shown = {it->year, it->month};
    else
      *shown = {2038, 1};
    return;
  }
}

bool ParseDateText(const char* text, int* year, int* month, int* day) {
  if (!text) return false;
  int y, m, d;
  char tail;
  if (std::sscanf(text, "%4d/%2d/%2d%c", &y, &m, &d, &tail) != 3) return false;
  if (d == 0) d = 1;  // a month's text may leave the day open
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > MaxDay(m, y)) return false;
  *year = y, *month = m, *day = d;
  return true;
}

}  // namespace calmonth
