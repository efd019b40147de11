// The export pane's runs: a tile's command (checks, scope, the plug-in's window) and
// files dropped on a tile.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>
#include <float.h>
#include <shellapi.h>

#include "ExportRules.h"
#include "ExportMenuWnd.h"
#include "FView_Export.h"
#include "MainWndMessages.h"
#include "MovieHeaderReader.h"
#include "SelectionCheck.h"
#include "MainFrame.h"
#include "ui/ChoiceDialogs.h"

namespace {

bool HasExtension(const CString& strPath, LPCSTR lpszExt) {
  int nDot = strPath.ReverseFind('.');
  int nSlash = strPath.ReverseFind('\\');
  return nDot > nSlash && strPath.Mid(nDot).CompareNoCase(lpszExt) == 0;
}

}  // namespace

BOOL CFView_Export::IsMovieTooLong(LPCSTR lpszPath) {
  WIN32_FILE_ATTRIBUTE_DATA fad;
  uint64_t size = 0;
  if (lpszPath && ::GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &fad))
    size = ((uint64_t)fad.nFileSizeHigh << 32) | fad.nFileSizeLow;
  UINT nNumerator = 0, nDenominator = 0;
  ReadMovieInfo(lpszPath, &nNumerator, &nDenominator);
  UINT nFlag = nNumerator ? ReadMovieFlag(lpszPath) : 0;
  return exportpane::MovieTooLong(nNumerator, nDenominator, nFlag, size);
}

BOOL CFView_Export::CloseToolbarDialogs() {
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  CWnd* pToolbar = pFrame ? (CWnd*)pFrame->GetToolbarPane() : NULL;
  if (!pToolbar || !pToolbar->GetSafeHwnd()) return TRUE;
  pToolbar->SendMessage(WM_TOOLBAR_SLIDE_COLLECT, 0, SLIDE_COLLECT_CLOSE);
  return pToolbar->SendMessage(WM_TOOLBAR_CLOSE_EDITOR, 0x10000, 1111) != IDNO;
}

BOOL CFView_Export::FilterFiles(CGFileInfoList* pFiles, int nFilter, int* pnRemoved, BOOL* pbTooLong) {
  *pnRemoved = 0;
  *pbTooLong = FALSE;
  if (nFilter == 0) return TRUE;
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) {
    POSITION at = pos;
    CString strPath = pFiles->GetNext(pos).path;
    DWORD dwInfo = 0;
    if (!CMTLxIsSupport(strPath, &dwInfo, (DWORD)nFilter)) {
      pFiles->RemoveAt(at);
      ++*pnRemoved;
    } else if (HasExtension(strPath, ".mov") && IsMovieTooLong(strPath)) {
      *pbTooLong = TRUE;
      break;
    }
    if (exportpane::FilterNeedsFixedDrive(nFilter) && !IsOnFixedOrRemoteDrive(strPath)) {
      MessageBoxId(IDS_EXPORT_DRIVE_REFUSED, MB_OK | MB_ICONEXCLAMATION, strPath);
      return FALSE;
    }
  }
  return TRUE;
}

BOOL CFView_Export::ActOnCheckCode(int nCode, int nEntry, int nFilter) {
  CString strName = TileName(nEntry);
  switch (nCode) {
    case exportpane::CHECK_EMPTY: {
      CString strMail;
      strMail.LoadString(IDS_EXPORT_MAIL_NAME);
      if (strName == strMail)
        MessageBoxId(IDS_EXPORT_MAIL_EMPTY, MB_OK | MB_ICONEXCLAMATION);
      else
        MessageBoxId(IDS_EXPORT_EMPTY_LIST, MB_OK | MB_ICONEXCLAMATION, strName);
      CString strKinds = CMTLxGetSupportString((DWORD)nFilter);
      if (!strKinds.IsEmpty()) MessageBoxId(IDS_EXPORT_SUPPORTED_KINDS, MB_OK | MB_ICONEXCLAMATION, strName, strKinds);
      return FALSE;
    }
    case exportpane::CHECK_SOME_REMOVED:
      MessageBoxId(IDS_EXPORT_SOME_REMOVED, MB_OK | MB_ICONEXCLAMATION, strName);
      return TRUE;
    case exportpane::CHECK_UPLOAD_REFUSED:
      MessageBoxId(IDS_EXPORT_UPLOAD_REFUSED, MB_OK | MB_ICONEXCLAMATION);
      return FALSE;
    case exportpane::CHECK_UPLOAD_TOO_MANY:
      MessageBoxId(IDS_EXPORT_UPLOAD_TOO_MANY, MB_OK | MB_ICONEXCLAMATION);
      return FALSE;
    default: return TRUE;
  }
}

BOOL CFView_Export::AcceptFiles(const CGFileInfoList& files, int nRemoved, BOOL bTooLong, int nEntry, int nFilter) {
  int nCode = exportpane::ChooseCheckCode((size_t)files.GetCount(), (size_t)nRemoved, nFilter, bTooLong != FALSE);
  return ActOnCheckCode(nCode, nEntry, nFilter);
}

void CFView_Export::RunExport(int nEntry, CGFileInfoList* pFiles, int nScope, ICGBrowser* pBrowser, BOOL bPrintMode) {
  if (bPrintMode && m_pPrintSettings) m_manager.SetPrintMode(nEntry, m_pPrintSettings);
  m_manager.SetCGBrowser(nEntry, pBrowser);
  CWnd* pMain = AfxGetMainWnd();
  HWND hMain = pMain && pMain->GetSafeHwnd() ? pMain->GetSafeHwnd() : GetSafeHwnd();
  CMWriteProfileInt("Common", "AutoRunCheckDisable", 1);
  // The host catches what the plug-in throws and reports it as a failure (1624 without
  // bit 31), which enables the pane again.
  long lResult = m_manager.OpenWindow(nEntry, GetSafeHwnd(), hMain, pFiles, nScope);
  CMWriteProfileInt("Common", "AutoRunCheckDisable", 0);
  _fpreset();
  // The call never reached the plug-in: no report and no window will come.
  if (lResult == E_INVALIDARG || lResult == EXPORTPLUGIN_E_NOT_SUPPORTED) EnableWindow(TRUE);
}

void CFView_Export::OnTileCommand(UINT nID) {
  int nEntry = FindEntryById((int)nID);
  if (nEntry < 0) return;
  if (RefuseInBrowserMode()) return;
  if (!CloseToolbarDialogs()) return;
  int nFilter = m_manager.GetFilterType(nEntry);
  int nMode = 0;
  m_manager.GetFileMode(nEntry, &nMode);
  ICGBrowser* pBrowser = GetCGBrowser();
  // Without a browser there is nothing to check: the empty folder speaks below.
  if (nMode >= -1 && pBrowser) {
    int nReported = 0;
    if (!CheckSelectedFiles(pBrowser, nFilter, &nReported)) {
      if (!nReported) {
        CString strCaption, strText;
        strCaption.LoadString(IDS_EXPORT_CAPTION);
        strText.LoadString(IDS_EXPORT_NOT_SELECTED);
        ::MessageBoxA(GetSafeHwnd(), strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
      }
      return;
    }
  }
  EnableWindow(FALSE);
  unsigned nMarks = 0;
  CGFileInfoList files;
  if (pBrowser) {
    pBrowser->QueryMarkCount(QUERYMARK_0, &nMarks);
    pBrowser->GetFileData(&files, 0);
  }
  if (!(nMode < -1 || !files.IsEmpty() || nMarks > 0)) {
    MessageBoxId(IDS_EXPORT_NO_FILES, MB_OK | MB_ICONEXCLAMATION);
    EnableWindow(TRUE);
    return;
  }
  if (m_manager.GetFileMode(nEntry, &nMode) < 0) {
    EnableWindow(TRUE);
    return;
  }
  int nChoice = 5;
  if (nID != TILE_COMMAND_MARKED) {
    // Owned by the top window: the dialog's end must not enable the pane again.
    CTargetChoiceDlg dlg(GetTopLevelParent());
    dlg.SetMode(nMode, 0);
    INT_PTR nResult = dlg.DoModal();
    nChoice = dlg.GetChoice();
    m_nLastScope = nChoice;
    if (!m_nFirstId) m_nFirstId = (int)nID;
    if (nChoice == -2) {
      ActOnCheckCode(exportpane::CHECK_EMPTY, nEntry, nFilter);
      EnableWindow(TRUE);
      return;
    }
    if (nResult != IDOK) {
      EnableWindow(TRUE);
      return;
    }
  } else {
    m_nLastScope = nChoice;
  }
  if (nMode >= 0) {
    files.RemoveAll();
    long lFlags = 0;
    if (pBrowser && exportpane::ScopeFlags(nChoice, &lFlags)) pBrowser->GetFileData(&files, lFlags);
    int nRemoved = 0;
    BOOL bTooLong = FALSE;
    if (!FilterFiles(&files, nFilter, &nRemoved, &bTooLong)) {
      EnableWindow(TRUE);
      return;
    }
    if (!AcceptFiles(files, nRemoved, bTooLong, nEntry, nFilter)) {
      EnableWindow(TRUE);
      return;
    }
  }
  RunExport(nEntry, &files, m_nLastScope, pBrowser, nMode >= 0);
}

void CFView_Export::OnDropFiles(HDROP hDropInfo) {
  // lParam of the pane's own relay: the tile under the drop.
  const MSG* pMsg = GetCurrentMessage();
  HWND hTile = pMsg ? (HWND)pMsg->lParam : NULL;
  int nEntry = -1;
  for (const Tile& t : m_tiles)
    if (t.pWnd->GetSafeHwnd() == hTile) nEntry = t.nEntry;
  if (nEntry < 0 || RefuseInBrowserMode() || !CloseToolbarDialogs()) {
    ::DragFinish(hDropInfo);
    return;
  }
  EnableWindow(FALSE);
  int nFilter = m_manager.GetFilterType(nEntry);
  CGFileInfoList files;
  int nRemoved = 0;
  BOOL bTooLong = FALSE;
  UINT nCount = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, NULL, 0);
  for (UINT i = 0; i < nCount; ++i) {
    char szPath[520 + 1];
    if (!::DragQueryFileA(hDropInfo, i, szPath, sizeof(szPath))) continue;
    if (exportpane::IsIgnoredDropFile(szPath)) continue;
    DWORD dwInfo = 0;
    if (nFilter == 0 || CMTLxIsSupport(szPath, &dwInfo, (DWORD)nFilter)) {
      if (HasExtension(szPath, ".mov") && IsMovieTooLong(szPath)) {
        bTooLong = TRUE;
        break;
      }
      CGFILEINFO info;
      info.path = szPath;
      files.AddTail(info);
    } else {
      ++nRemoved;
    }
    if (exportpane::FilterNeedsFixedDrive(nFilter) && !IsOnFixedOrRemoteDrive(szPath)) {
      ::DragFinish(hDropInfo);
      MessageBoxId(IDS_EXPORT_DRIVE_REFUSED, MB_OK | MB_ICONEXCLAMATION, szPath);
      EnableWindow(TRUE);
      return;
    }
  }
  ::DragFinish(hDropInfo);
  if (!AcceptFiles(files, nRemoved, bTooLong, nEntry, nFilter)) {
    EnableWindow(TRUE);
    return;
  }
  RunExport(nEntry, &files, m_nLastScope, NULL, TRUE);
}
