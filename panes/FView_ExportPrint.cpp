// The export pane's printer settings, handed to the export plug-ins; the print set-up
// dialog (its device mode kept in a file of the temporary folder) and printing through
// the printing plug-in.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>
#include <winspool.h>

#include <vector>

#include "ExportRules.h"
#include "ExportMenuWnd.h"
#include "FView_Export.h"
#include "SelectionCheck.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ProgramFolder.h"

namespace {

const char kDevModeFile[] = "~vxprintdevmode";
const DWORD kMaxDevModeFile = 0x10000 + sizeof(DEVMODEA);

CString DevModePath() {
  char szTemp[MAX_PATH];
  DWORD n = ::GetTempPathA(MAX_PATH, szTemp);
  if (n == 0 || n >= MAX_PATH) return CString();
  return CString(szTemp) + kDevModeFile;
}

// The saved device mode as a movable block; NULL when the file is missing or not a
// whole device mode.
HGLOBAL ReadSavedDevMode() {
  CString strPath = DevModePath();
  if (strPath.IsEmpty()) return NULL;
  HANDLE hFile = ::CreateFileA(strPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (hFile == INVALID_HANDLE_VALUE) return NULL;
  DWORD dwHigh = 0, dwSize = ::GetFileSize(hFile, &dwHigh);
  std::vector<char> bytes;
  if (dwHigh == 0 && dwSize != INVALID_FILE_SIZE && dwSize <= kMaxDevModeFile) {
    bytes.resize(dwSize);
    DWORD dwRead = 0;
    if (!::ReadFile(hFile, bytes.data(), dwSize, &dwRead, NULL) || dwRead != dwSize) bytes.clear();
  }
  ::CloseHandle(hFile);
  if (!exportpane::IsUsableDevModeFile(bytes.data(), bytes.size())) return NULL;
  HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!hMem) return NULL;
  memcpy(::GlobalLock(hMem), bytes.data(), bytes.size());
  ::GlobalUnlock(hMem);
  return hMem;
}

void WriteSavedDevMode(const DEVMODEA* pdm) {
  CString strPath = DevModePath();
  if (strPath.IsEmpty() || !pdm) return;
  ::SetFileAttributesA(strPath, FILE_ATTRIBUTE_NORMAL);
  HANDLE hFile = ::CreateFileA(strPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, NULL);
  if (hFile == INVALID_HANDLE_VALUE) return;
  DWORD dwWritten = 0;
  ::WriteFile(hFile, pdm, (DWORD)pdm->dmSize + pdm->dmDriverExtra, &dwWritten, NULL);
  ::CloseHandle(hFile);
}

void ShowSystemError(DWORD dwError) {
  char* pszText = NULL;
  ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                   dwError, 0, reinterpret_cast<LPSTR>(&pszText), 0, NULL);
  CWnd* pMain = AfxGetMainWnd();
  ::MessageBoxA(pMain ? pMain->GetSafeHwnd() : NULL, pszText ? pszText : "", CMTLGetAppName(),
                MB_OK | MB_ICONEXCLAMATION);
  if (pszText) ::LocalFree(pszText);
}

}  // namespace

void CFView_Export::LoadPrinterSettings() {
  delete m_pPrintSettings;
  m_pPrintSettings = new CPrintDialog(TRUE);
  if (!m_pPrintSettings->GetDefaults()) return;
  // The default printer's pages turn to landscape where the printer has the field.
  LPDEVMODEA pdm = m_pPrintSettings->GetDevMode();
  if (!pdm) return;
  if (pdm->dmFields & DM_ORIENTATION) {
    HANDLE hPrinter = NULL;
    CString strDevice = m_pPrintSettings->GetDeviceName();
    pdm->dmOrientation = DMORIENT_LANDSCAPE;
    if (::OpenPrinterA(const_cast<LPSTR>((LPCSTR)strDevice), &hPrinter, NULL)) {
      ::DocumentPropertiesA(GetSafeHwnd(), hPrinter, const_cast<LPSTR>((LPCSTR)strDevice), pdm, pdm,
                            DM_IN_BUFFER | DM_OUT_BUFFER);
      ::ClosePrinter(hPrinter);
    }
  }
  ::GlobalUnlock(m_pPrintSettings->m_pd.hDevMode);
}

void CFView_Export::OnPrintSetup() {
  if (!m_pPrintSettings) m_pPrintSettings = new CPrintDialog(TRUE);
  if (HGLOBAL hSaved = ReadSavedDevMode()) {
    if (m_pPrintSettings->m_pd.hDevMode) ::GlobalFree(m_pPrintSettings->m_pd.hDevMode);
    if (m_pPrintSettings->m_pd.hDevNames) ::GlobalFree(m_pPrintSettings->m_pd.hDevNames);
    m_pPrintSettings->m_pd.hDevMode = hSaved;
    m_pPrintSettings->m_pd.hDevNames = NULL;
  }
  m_pPrintSettings->m_pd.hwndOwner = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : GetSafeHwnd();
  INT_PTR nResult = m_pPrintSettings->DoModal();
  if (nResult == IDOK) {
    CMWriteProfileString("VxExport\\ExpPaperUI", "Printer", m_pPrintSettings->GetDeviceName());
    CMWriteProfileString("VxExport\\ExpPaperUI", "Alert", "");
    if (LPDEVMODEA pdm = m_pPrintSettings->GetDevMode()) {
      WriteSavedDevMode(pdm);
      ::GlobalUnlock(m_pPrintSettings->m_pd.hDevMode);
    }
  } else if (::CommDlgExtendedError() != 0) {
    MessageBoxId(IDS_EXPORT_PRINT_SETUP_FAILED, MB_OK | MB_ICONEXCLAMATION);
  }
}

long CFView_Export::OnPrint(int nKind) {
  if (RefuseInBrowserMode()) return E_FAIL;
  ICGBrowser* pBrowser = GetCGBrowser();
  int nReported = 0;
  if (pBrowser && !CheckSelectedFiles(pBrowser, 10, &nReported)) {
    if (!nReported) MessageBoxId(IDS_EXPORT_NOT_SELECTED, MB_OK | MB_ICONEXCLAMATION);
    return E_FAIL;
  }
  HMODULE hPrint = LoadProgramLibrary("ExpPaperUI.peu");
  PFN_EXPORT_OPENWINDOW pfnOpen = hPrint ? (PFN_EXPORT_OPENWINDOW)::GetProcAddress(hPrint, "OpenWindow") : NULL;
  PFN_EXPORT_SETPRINTMODE pfnMode = hPrint ? (PFN_EXPORT_SETPRINTMODE)::GetProcAddress(hPrint, "SetPrintMode") : NULL;
  if (!pfnOpen || !pfnMode) {
    DWORD dwError = ::GetLastError();
    if (hPrint) ::FreeLibrary(hPrint);
    ShowSystemError(dwError);
    return E_FAIL;
  }
  // Owned by the top window: the dialog's end must not enable the pane again.
  CTargetChoiceDlg dlg(GetTopLevelParent());
  dlg.SetMode(0, 0);
  if (dlg.DoModal() != IDOK) {
    ::FreeLibrary(hPrint);
    return 0;
  }
  CGFileInfoList files;
  long lFlags = 0;
  if (pBrowser && exportpane::ScopeFlags(dlg.GetChoice(), &lFlags)) pBrowser->GetFileData(&files, lFlags);
  int nRemoved = 0;
  BOOL bTooLong = FALSE;
  if (!FilterFiles(&files, 10, &nRemoved, &bTooLong)) {
    ::FreeLibrary(hPrint);
    return E_FAIL;
  }
  // The printing tile's name speaks for the messages: the export with order 3.
  int nPrintEntry = -1;
  for (const Tile& t : m_tiles)
    if (t.nOrder == 3) nPrintEntry = t.nEntry;
  if (!AcceptFiles(files, nRemoved, FALSE, nPrintEntry, 10)) {
    ::FreeLibrary(hPrint);
    return E_FAIL;
  }
  long lResult = E_FAIL;
  try {
    if (m_pPrintSettings) pfnMode(0, m_pPrintSettings);
    CWnd* pMain = AfxGetMainWnd();
    lResult = pfnOpen(nKind, GetSafeHwnd(), pMain ? pMain->GetSafeHwnd() : GetSafeHwnd(), &files, 0);
  } catch (...) {
    lResult = E_FAIL;
  }
  ::FreeLibrary(hPrint);
  return lResult;
}
