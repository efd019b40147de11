// The music list's decisions.
#include "MusicListRules.h"

#include <VxResourceIds.h>

#include "MusicListHeaderRules.h"

#include <algorithm>

#include <textkit/text.h>

namespace musiclist {

std::vector<CListRowCell> ArrangeCells(const std::vector<CListRowCell>& cells, const std::vector<ColumnShape>& columns) {
  std::vector<CListRowCell> out;
  for (const ColumnShape& c : columns)
    for (const CListRowCell& cell : cells)
      if (cell.columnId == c.id) {
        out.push_back(cell);
        out.back().width = c.width;
        out.back().format = c.format;
      }
  return out;
}

std::vector<CListRowCell> CellsInOrder(const std::vector<CListRowCell>& cells, const std::vector<int>& order) {
  std::vector<CListRowCell> out;
  for (int id : order)
    for (const CListRowCell& cell : cells)
      if (cell.columnId == id) {
        out.push_back(cell);
        break;
      }
  return out;
}

int HitTestCell(const std::vector<int>& widths, int originX, int height, POINT pt, bool perCell) {
  return perCell ? listheader::IndexAt(widths, originX, height, pt) : 0;
}

int KeyTargetRow(UINT vk, const KeyState& s) {
  if (s.count <= 0) return -1;
  int lastRow = s.count - 1;
  int step = std::max(s.slots - 2, 1);
  int row;
  switch (vk) {
    case VK_HOME: row = 0; break;
    case VK_END: row = lastRow; break;
    case VK_PRIOR:
      // At the top of the page (or above it) a page further up, else the page's top.
      row = s.firstSelected >= 0 && s.firstSelected <= s.first ? s.firstSelected - step : s.first;
      break;
    case VK_NEXT:
      row = s.firstSelected < 0 || s.firstSelected < s.last - 1 ? s.first + step : s.firstSelected + step;
      break;
    case VK_DOWN: {
      if (s.focus >= 0 && s.focus + 1 >= s.count) return s.focus;
      int from = s.focus >= 0 ? s.focus : s.firstSelected >= 0 ? s.firstSelected : s.current >= 0 ? s.current : -1;
      row = from + 1;
      break;
    }
    case VK_UP:
      if (s.focus >= 1)
        row = s.focus - 1;
      else if (s.focus == 0)
        row = 0;
      else
        row = s.firstSelected >= 1 ? s.firstSelected - 1 : s.current >= 1 ? s.current - 1 : 0;
      break;
    default: return -1;
  }
  return std::min(std::max(row, 0), lastRow);
}

}  // namespace musiclist

namespace musicview {

const ColumnDef kColumnDefs[kColumns] = {
    {1, IDS_MUSIC_COLUMN_TITLE, "title", 300, DT_LEFT},
    {2, IDS_MUSIC_COLUMN_TIME, "time", 50, DT_RIGHT},
    {3, IDS_MUSIC_COLUMN_FORMAT, "format", 50, DT_LEFT},
    {4, IDS_MUSIC_COLUMN_SIZE, "size", 150, DT_RIGHT},
};
const char kSection[] = "ListInfo";

int ColumnWidth(int column, int stored) {
  if (column < 0 || column >= kColumns) return 0;
  return stored > 0 ? stored : kColumnDefs[column].defaultWidth;
}

LPCSTR SortKey(int columnId) { return columnId == kSizeColumnId ? "z" : "o"; }

COLORREF RowBackground(int row) { return row % 2 == 0 ? RGB(241, 240, 236) : RGB(255, 255, 255); }

bool ShowsStop(LPCSTR rowPath, LPCSTR playerPath, bool playing) {
  return playing && rowPath && playerPath && *rowPath && textkit::EqualNoCase(rowPath, playerPath);
}

}  // namespace musicview
