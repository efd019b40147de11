// The fold rules of the main splitter's collapse buttons, on a splitter's column records
// (ideal, minimum, current size). A column is folded while its ideal size is 0.
#pragma once
#include <fw/fw.h>

enum {
  FOLD_BROWSER_MIN = 500,      // the browser column keeps about this much
  FOLD_BROWSER_REST = 498,     // what an unfolded or narrowed neighbour leaves it
};

// What a fold keeps of the folded column.
struct FoldMemory {
  int nSavedWidth;
  int nSavedMin;
};

inline BOOL IsColumnFolded(const CSplitterWnd::CRowColInfo& col) { return col.nIdealSize == 0; }

// The left button: folds column 0 (keeping its width and minimum) or unfolds it to the
// kept width, narrowed so that column 1 keeps FOLD_BROWSER_REST pixels (never below 0).
// Returns TRUE when it unfolded.
BOOL ToggleLeftColumn(CSplitterWnd::CRowColInfo& col0, const CSplitterWnd::CRowColInfo& col1, FoldMemory& mem);

// The right button: folds column 1 (no room at all: minimum INT_MAX) or gives it back
// its kept width and minimum. Returns TRUE when it unfolded.
BOOL ToggleRightColumn(CSplitterWnd::CRowColInfo& col1, FoldMemory& mem);

// After a resize: the new ideal width of column 0 so that column 1 keeps
// FOLD_BROWSER_REST pixels when it got narrower than FOLD_BROWSER_MIN; -1 when column 0
// stays as it is.
int KeepBrowserColumn(int nCol0Width, int nCol1Width);
