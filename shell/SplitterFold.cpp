#include "SplitterFold.h"

#include <climits>

BOOL ToggleLeftColumn(CSplitterWnd::CRowColInfo& col0, const CSplitterWnd::CRowColInfo& col1, FoldMemory& mem) {
  if (!IsColumnFolded(col0)) {
    mem.nSavedWidth = col0.nCurSize;
    mem.nSavedMin = col0.nMinSize;
    col0.nIdealSize = 0;
    return FALSE;
  }
  int nWidth = mem.nSavedWidth;
  if (col1.nCurSize - mem.nSavedWidth < FOLD_BROWSER_MIN) nWidth = std::max(0, col1.nCurSize - FOLD_BROWSER_REST);
  col0.nIdealSize = nWidth;
  col0.nMinSize = mem.nSavedMin;
  return TRUE;
}

BOOL ToggleRightColumn(CSplitterWnd::CRowColInfo& col1, FoldMemory& mem) {
  if (!IsColumnFolded(col1)) {
    mem.nSavedWidth = col1.nCurSize;
    mem.nSavedMin = col1.nMinSize;
    col1.nIdealSize = 0;
    col1.nMinSize = INT_MAX;
    return FALSE;
  }
  col1.nIdealSize = mem.nSavedWidth;
  col1.nMinSize = mem.nSavedMin;
  return TRUE;
}

int KeepBrowserColumn(int nCol0Width, int nCol1Width) {
  if (nCol1Width >= FOLD_BROWSER_MIN) return -1;
  return std::max(0, nCol0Width + nCol1Width - FOLD_BROWSER_REST);
}
