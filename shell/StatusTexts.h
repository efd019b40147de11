// The texts and sizes of the main status bar's panes, decided without windows.
#pragma once
#include <fw/fw.h>

enum {
  STATUS_PANE_MIN_WIDTH = 110,
  STATUS_PROGRESS_NONE = -1,
};

// A count pane's width: its widest text, the icon beside it, 10 pixels of room; at least 110.
int StatusPaneWidth(int nTextWidth, int nIconWidth);

// A progress value as the bar shows it: -1 (none) to 100.
int ClampProgress(int nValue);

// The caption drawn over the progress bar: the pane's text without trailing blanks and,
// for a folder with files, " [ n ]".
CString ProgressCaption(LPCSTR lpszPaneText, long nFileCount);

// The width of the filled part of a pane of nWidth pixels at nPercent (0 to 100).
int ProgressFillWidth(int nWidth, int nPercent);
