// The day calendar's decisions without a window: the grid of 180-pixel cells and its
// rows, the scroll steps, the keyboard selection ranges, the rubber band's selection, the
// date bar's characters, the buttons' states, the cells' badges, and the rename box's text
// limit.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "CalendarMonthRules.h"

namespace calday {

enum { kCell = 180, kColumnPitch = 200, kRowPitch = 220, kPicture = 160, kPictureInset = 8 };

struct Grid {
  int rows, columns;
  bool partialRow;  // the last row is cut off at the area's bottom
  int FullRows() const { return rows - (partialRow ? 1 : 0); }
};
Grid GridOf(int width, int height);
// Rows the whole day needs at that many columns (0 without columns).
int VirtualRows(int count, int columns);

// The first visible row after a scroll code (SB_LINEUP .. SB_THUMBPOSITION); -1 for a code
// that does not scroll (thumb tracking included).
int ScrollTo(int code, int thumbPos, int first, int fullRows, int maxRow);
// The first visible row that shows the item at index.
int FirstRowShowing(int index, int columns, int first, int fullRows);

// The selection after an arrow key: the items to select, in the order they are selected;
// *anchor and *current follow. lastSelected is the list position of the document's last
// selected item (-1 for none).
std::vector<int> KeySelect(int delta, bool shift, int count, int lastSelected, int* anchor, int* current);
// The selection of a Shift click from the anchor to the item, the clicked one last.
std::vector<int> RangeSelect(int anchor, int to);

// A thumbnail's state under the rubber band: with Ctrl the snapshot inverted where the band
// meets the cell, with Shift the snapshot plus what the band meets, else what it meets.
bool BandState(bool snapshot, bool intersects, UINT keyFlags);

// The bitmap of each character of the date bar: digits 9..18, "/" "." "-" 19, anything
// else (and every digit of a date the calendar cannot hold) the blank 28.
std::vector<int> DateBitmaps(const char* text, bool dated);
// Where the date bar's first character goes: centred between the back and forward buttons
// (client rectangles) and on their middle line, characters of cx x cy at a pitch; from the
// back button's edge on when the space between them is too narrow.
POINT DateOrigin(const RECT& back, const RECT& forward, int count, SIZE character, int pitch);

struct Day {
  int year, month, day;  // year 0: no date
  bool Valid() const { return year != 0; }
  bool operator<(const Day& o) const {
    return year != o.year ? year < o.year : month != o.month ? month < o.month : day < o.day;
  }
  bool operator==(const Day& o) const { return year == o.year && month == o.month && day == o.day; }
};
struct Buttons {
  bool back, forward;
};
Buttons ButtonStates(Day current, Day earliest, Day latest);
// The earliest and latest recording day of the calendar page, in page order: the first
// picture, movie or companion dated 1971 or later gives the earliest (when before 2038);
// the latest is the undated pseudo-day 2038/01/01 when undated ones came before it, else
// the last picture or movie's day (the page's first item's when there is none), when
// that day is dated.
void FindDays(const std::vector<calmonth::DatedItem>& items, Day* earliest, Day* latest);
// The day a day-mode hint names: "yyyy/mm/dd", a day of 00 counting as the 1st; no date
// for anything else.
Day ParseDayText(const char* text);

// A cell's badges, drawn from its bottom-right corner leftwards: the bitmap and the gap
// left after it. A movie first (an AVCHD scene 30 when edited, else 29, with a gap; any
// other movie 0 without one), then RAW 3, favourite 2 and the Exif text 1.
struct Badge {
  int bitmap, gap;
  bool operator==(const Badge& o) const { return bitmap == o.bitmap && gap == o.gap; }
};
std::vector<Badge> CellBadges(UINT kind, bool edited, bool favourite, bool exifText);

// The rename box's limit: what the path leaves of 256 characters for the name. 0 (refuse
// to open the box) when nothing is left, as a limit of 0 would mean no limit at all.
int RenameTextLimit(int pathLength, int textLength);
// The name box shows a file's name without its extension: the new name is the text with the
// old name's extension (none when the old name has none).
std::string RenamedName(const char* text, const char* oldName);

}  // namespace calday
