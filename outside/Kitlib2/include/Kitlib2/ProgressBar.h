// The progress bar: runs a caller's worker on its own thread under a progress window.
#pragma once
#include <Kitlib2/KitDefs.h>

// Posted by the worker to the progress window: wParam = a status text (LPCSTR, read when
// the window handles the message, so it must stay valid until the next step; NULL keeps
// the text), lParam = percent done (0 to 100; negative keeps the bar).
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

#define CMTL_PGBAR_CANCEL 0x1  // show a Cancel button

// Shows a window with the caption, a status line and a bar over the active window
// (disabled meanwhile), runs pWorker(pData) on a new thread and keeps this thread's
// messages flowing until it returns. Cancel, Esc or closing the window set
// pData->m_bCancel first; the worker ends on its own terms. Answers the worker's result,
// or -1 when no thread could be started.
KITLIB2_API int CMTLProgressBar(CMTL_PGBAR_WORKER pWorker, LPCSTR lpszCaption, int nFlags, CPgBarData* pData);
