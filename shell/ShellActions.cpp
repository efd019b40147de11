#include "ShellActions.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <shellapi.h>

#include "StartupChecks.h"

void OpenManual() {
  CString strFolder = CMTLGetExeDir();
  CString strPath = strFolder + "\\Manual\\" + CMGetProfileString("Common", "Manual", "manual.pdf");
  BOOL bThere = ::GetFileAttributesA(strPath) != INVALID_FILE_ATTRIBUTES;
  if (bThere && !CMTLIsInstalledAcrobatReader(strPath)) {
    AfxMessageBox(IDS_SHELL_MANUAL_NEEDS_READER, MB_OK);
    return;
  }
  // A missing manual or a reader that refuses it: the user hears of it.
  if (!bThere || (INT_PTR)::ShellExecuteA(NULL, "open", strPath, NULL, strFolder, SW_SHOW) <= 32) {
    CString strText;
    strText.Format(IDS_SHELL_MANUAL_OPEN_FAILED, (LPCSTR)strPath);
    AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
  }
}

void OpenProfileWebPage(LPCSTR lpszKey, LPCSTR lpszDefault) {
  CString strUrl = CMGetProfileString("Common", lpszKey, lpszDefault);
  if (strUrl.IsEmpty()) return;
  ::ShellExecuteA(NULL, "open", strUrl, NULL, CMTLGetExeDir(), SW_SHOWNORMAL);
}

BOOL IsDisplayFitWhileRunning() {
  BOOL bSaver = FALSE;
  ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &bSaver, 0);
  if (bSaver) return TRUE;
  int nWidth = 0, nHeight = 0, nBits = 0;
  SystemStartupProbes().GetDisplayMode(&nWidth, &nHeight, &nBits);
  return IsDisplayModeSufficient(nWidth, nHeight, nBits);
}
