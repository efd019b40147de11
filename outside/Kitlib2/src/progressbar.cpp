// Exported progress bar over progress_core.
#include <Kitlib2/ProgressBar.h>

#include "ownmessage_core.h"
#include "progress_core.h"

#include <cstring>

int CMTLProgressBar(CMTL_PGBAR_WORKER pWorker, LPCSTR lpszCaption, int nFlags, CPgBarData* pData) {
  if (!pWorker) return -1;
  CPgBarData local;
  CPgBarData* data = pData ? pData : &local;
  return kitlib::RunProgressBar([pWorker, data] { return pWorker(data); }, &data->m_bCancel, &data->m_hWnd,
                                lpszCaption, nFlags);
}

BOOL CMTLPostProgress(HWND hWnd, LPCSTR lpszText, int nPercent) {
  return kitlib::PostProgress(hWnd, lpszText, nPercent) ? TRUE : FALSE;
}

BOOL CMTLTakeProgressText(HWND hWnd, WPARAM wParam, LPSTR lpszText, int nSize) {
  char* text = static_cast<char*>(kitlib::TakeRecord(hWnd, WM_CMTL_PROGRESS, wParam));
  if (!text) return FALSE;
  if (lpszText && nSize > 0) lstrcpynA(lpszText, text, nSize);
  delete[] text;
  return TRUE;
}
