#include "StatusTexts.h"

int StatusPaneWidth(int nTextWidth, int nIconWidth) {
  return std::max((int)STATUS_PANE_MIN_WIDTH, nTextWidth + nIconWidth + 10);
}

int ClampProgress(int nValue) { return std::max((int)STATUS_PROGRESS_NONE, std::min(nValue, 100)); }

CString ProgressCaption(LPCSTR lpszPaneText, long nFileCount) {
  CString strCaption = lpszPaneText ? lpszPaneText : "";
  strCaption.TrimRight();
  if (nFileCount != 0) {
    CString strCount;
    strCount.Format(" [ %ld ]", nFileCount);
    strCaption += strCount;
  }
  return strCaption;
}

int ProgressFillWidth(int nWidth, int nPercent) {
  if (nWidth <= 0 || nPercent <= 0) return 0;
  return MulDiv(nWidth, std::min(nPercent, 100), 100);
}
