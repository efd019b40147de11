// The month calendar's decisions without a window: the 4:3 cells and where they lie, the
// cell under a point, which cells carry day numbers and recordings, the selection's
// corrections and key steps, the month steps over empty months, the buttons' states, and
// when a view-mode hint shows the month anew.
#pragma once
#include <fw/fw.h>

#include <array>
#include <functional>
#include <vector>

namespace calmonth {

enum { kCells = 37, kColumnGap = 13, kRowGap = 7, kUndatedCell = 17, kViewMode = 10 };

struct Month {
  int year, month;
  bool operator==(const Month& o) const { return year == o.year && month == o.month; }
};

// Days of a month by the Gregorian rule.
int MaxDay(int month, int year);
// 0 = Sunday .. 6 = Saturday; -1 for a date the calendar cannot hold.
int WeekdayOf(int year, int month, int day);

struct Geometry {
  int cx, cy;            // cell size
  int originX, originY;  // grid origin
  RECT grid;
};
Geometry LayOut(int clientWidth, int clientHeight);
RECT CellRect(const Geometry& g, int i);
// -1 in the gaps and outside.
int HitIndex(const Geometry& g, POINT pt);

struct Cell {
  bool hasData;
  int day;   // 0 outside the month
  int item;  // index into the month's list, -1 for none
};
typedef std::array<Cell, kCells> Cells;
// The cells of a month from the recording day of each listed item (one per day). The
// undated pseudo-months put the first item in cell 17 and number no day.
Cells FillCells(int year, int month, const std::vector<int>& itemDays, int* firstWeekday);

// The selection a target comes to: the cell when it has data, else the last one with data.
int CorrectSelect(int target, int year, const Cells& cells);
// From the selection by step (1, -1, 7, -7) to the first cell with data; -1 for none.
int StepSelect(int from, int step, const Cells& cells);

// The month before (or after) the shown one that has recordings: months of the same year,
// then whole years to 1971 (to 2037) and their months; 1970/12 (2038/01) when none has.
// count(year, month) answers for a month, count(year, -1) for a whole year.
Month StepMonth(Month shown, bool forward, const std::function<int(int, int)>& count, int* lastCount);

struct Buttons {
  bool previous, next, day;
};
Buttons ButtonStates(Month shown, Month earliest, Month latest, const Cells& cells);

// A view-mode hint shows the month anew only for the month's value, and not twice in a row.
bool ModeHintShows(int value, int* lastSeen);

}  // namespace calmonth

namespace calmonth {

// What the month finding reads of an item of the calendar page, in page order.
struct DatedItem {
  UINT kind;             // the kind word
  int year, month, day;  // recording date (year 0 for none)
};
// The months a page spans: the first dated picture or movie gives the earliest month, the
// last one the latest and shown month; an undated one before the first dated one shows
// the undated pseudo-month (2038/01). Companion files do not count. Without a picture or
// movie only the defaults are set: shown (0, 0), earliest (-1, -1), latest (2038, 1).
void FindMonths(const std::vector<DatedItem>& items, Month* shown, Month* earliest, Month* latest);

// A "yyyy/mm/dd" date text of a mode hint, a day of 00 counting as the 1st; false (nothing
// set) for anything else.
bool ParseDateText(const char* text, int* year, int* month, int* day);

}  // namespace calmonth
