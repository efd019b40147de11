// The progress bar: runs a caller's worker on its own thread under a progress window.
#pragma once
#include <Kitlib2/KitDefs.h>

// The progress window's step (CMTLPostProgress posts it): wParam = a copy of the status
// text that the window frees (NULL keeps the text), lParam = percent done (0 to 100;
// negative keeps the bar). Any other wParam is not read.
#define WM_CMTL_PROGRESS (WM_USER + 260)

// The record the worker receives; callers derive their own job records from it.
// The first word is the cancel flag, the second the progress window.
struct CPgBarData {
  volatile LONG m_bCancel;  // set to 1 when the user cancels; the worker stops at its next check
  HWND m_hWnd;              // the progress window while the bar runs (NULL before and after,
                            // or the caller's own window, which then owns the progress window)
  CPgBarData() : m_bCancel(0), m_hWnd(NULL) {}
};

typedef int (*CMTL_PGBAR_WORKER)(CPgBarData* pData);

// Tells the progress window the status text (copied now, up to 1024 bytes; NULL keeps the
// text) and the percent done. FALSE when the window is gone.
KITLIB2_API BOOL CMTLPostProgress(HWND hWnd, LPCSTR lpszText, int nPercent);
// For a window of the caller's that stands in for the progress window: the text of a
// WM_CMTL_PROGRESS that CMTLPostProgress posted to it, copied into lpszText and freed.
// FALSE for any other wParam.
KITLIB2_API BOOL CMTLTakeProgressText(HWND hWnd, WPARAM wParam, LPSTR lpszText, int nSize);

#define CMTL_PGBAR_CANCEL 0x1  // show a Cancel button

// Shows a window with the caption, a status line and a bar over the active window
// (disabled meanwhile), runs pWorker(pData) on a new thread and keeps this thread's
// messages flowing until it returns. Cancel, Esc or closing the window set
// pData->m_bCancel first; the worker ends on its own terms. Answers the worker's result,
// or -1 when no thread could be started.
KITLIB2_API int CMTLProgressBar(CMTL_PGBAR_WORKER pWorker, LPCSTR lpszCaption, int nFlags, CPgBarData* pData);
