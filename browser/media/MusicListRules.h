// The music list's decisions without windows: a row's cells in header order and the cell
// under a point, the row a navigation key goes to, and the music view's column table,
// sort order, row colours and playing mark.
#pragma once
#include <fw/fw.h>

#include <vector>

// One cell of a list row.
struct CListRowCell {
  int columnId;
  CString text;
  int width;      // from the column once the list arranges the cells
  UINT format;    // DT_LEFT, DT_CENTER or DT_RIGHT
  int spare;
  int measured;   // room the content needed when last drawn
  int icon;       // image of the row icon list drawn in the cell, -1 none
};

namespace musiclist {

// A column as the row arrangement needs it.
struct ColumnShape {
  int id, width;
  UINT format;
};
// For each column in order, every cell with its id, taking the column's width and format.
std::vector<CListRowCell> ArrangeCells(const std::vector<CListRowCell>& cells, const std::vector<ColumnShape>& columns);
// For each id of the order, the first cell with that id; ids without a cell are skipped.
std::vector<CListRowCell> CellsInOrder(const std::vector<CListRowCell>& cells, const std::vector<int>& order);
// The cell under a point of a row laid from x = -originX; 0 everywhere without per-cell
// hit testing, -1 outside every cell.
int HitTestCell(const std::vector<int>& widths, int originX, int height, POINT pt, bool perCell);

// A notice of a row window: its row, -1 when the window is not a visible row.
inline int AbsoluteRow(int position, int first) { return position < 0 || first < 0 ? -1 : first + position; }

// What the navigation keys see of the list.
struct KeyState {
  int count;          // rows
  int focus;          // focus row, -1 none
  int firstSelected;  // -1 none
  int current;        // current row, -1 none
  int first, last;    // visible rows
  int slots;          // rows the layout holds
};
// The row a key makes the only selected one; -1 when the key does nothing (another key,
// or an empty list).
int KeyTargetRow(UINT vk, const KeyState& s);

// Whether a right press on a row selects it alone.
inline bool RightPressSelects(bool alreadySelected, bool ctrlOrShift) { return !alreadySelected && !ctrlOrShift; }

}  // namespace musiclist

namespace musicview {

enum { kColumns = 4, kTitleColumnId = 1, kSizeColumnId = 4 };
struct ColumnDef {
  int id;
  UINT titleId;      // string of the header
  LPCSTR widthKey;   // in section "ListInfo"
  int defaultWidth;
  UINT format;
};
extern const ColumnDef kColumnDefs[kColumns];
extern const char kSection[];  // "ListInfo"

// A stored width of 0 or less gives the column's default.
int ColumnWidth(int column, int stored);
// A click on a column header showing `mark` sorts it in this order (1 ascending, 2 descending).
inline int OrderForClick(int mark) { return mark == 1 ? 2 : 1; }
// The sort key of a column: the thumbnail library's size key for the size column, else
// the original sort source.
LPCSTR SortKey(int columnId);
COLORREF RowBackground(int row);
// The row shows its stop button: its file is the player's and the player plays.
bool ShowsStop(LPCSTR rowPath, LPCSTR playerPath, bool playing);
// Rows are the first page's items: a row past the page has none.
inline bool RowHasItem(int row, int pageCount) { return row >= 0 && row < pageCount; }

}  // namespace musicview
