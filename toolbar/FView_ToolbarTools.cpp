// CFView_Toolbar: the tool libraries and what follows a tool's run.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include "ui/ChoiceDialogs.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"
#include "SelectionCheck.h"
#include "ToolLibraries.h"

#include <textkit/path.h>

namespace {
void ShowBox(CWnd* pOwner, int nTextId, int nCaptionId, UINT nType, LPCSTR lpszArg = NULL) {
  CString strCaption, strText;
  strCaption.LoadString(nCaptionId);
  if (lpszArg)
    strText.Format(nTextId, lpszArg);
  else
    strText.LoadString(nTextId);
  ::MessageBoxA(pOwner ? pOwner->GetSafeHwnd() : NULL, strText, strCaption, nType);
}
}  // namespace

long CFView_Toolbar::ShowToolSettingsDialog(int nTitleId) {
  if (nTitleId == IDS_TB_LABEL_EDIT) return (long)0x80000000L;
  CTargetChoiceDlg dlg(AfxGetMainWnd());
  dlg.SetMode(0, 0);
  if (dlg.DoModal() != IDOK) return -1;
  return toolbarrules::TargetChoiceFlags(dlg.GetChoice());
}

void CFView_Toolbar::FormatLastErrorText(DWORD dwError) {
  LPSTR lpsz = NULL;
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL, dwError,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT), (LPSTR)&lpsz, 0, NULL);
  CString strText = lpsz ? lpsz : "";
  if (lpsz) ::LocalFree(lpsz);
  ::MessageBoxA(GetSafeHwnd(), strText, CMTLGetAppName(), MB_ICONEXCLAMATION);
}

int CFView_Toolbar::SendExplorerFolderChange(LPCSTR lpszFolder) {
  CWnd* pMain = AfxGetMainWnd();
  if (!pMain) return 1;
  std::string text = toolbarrules::FolderChangeText(CMGetProfileInt("ImportPlugin\\Explorer", "ID", 0), lpszFolder);
  std::string block = toolbarrules::FolderChangeBlock(text);
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), (PVOID)block.data()};
  pMain->SendMessage(WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
  return 1;
}

void CFView_Toolbar::SendFirstPathToMainWnd(LPCSTR lpszSource, LPCSTR lpszOutput) {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  CWnd* pMain = AfxGetMainWnd();
  if (!pMain) return;
  pMain->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
  if (!lpszSource) {
    pMain->SendMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
    return;
  }
  std::string output = lpszOutput ? lpszOutput : (LPCSTR)CMGetProfileString("Tool1", "FirstPath", "");
  if (!output.empty() && textkit::FolderPartOf(lpszSource) != textkit::FolderPartOf(output))
    SendExplorerFolderChange(textkit::FolderPartOf(output).c_str());
  HGLOBAL hBlock = NULL;
  // The block holds 260 bytes: a longer path is not sent rather than sent cut.
  if (!output.empty() && toolbarrules::FitsPathBlock(output)) {
    hBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, MAX_PATH);
    if (hBlock) {
      char* p = (char*)::GlobalLock(hBlock);
      memcpy(p, output.c_str(), output.size());
      ::GlobalUnlock(hBlock);
    }
  }
  pMain->SendMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, (LPARAM)hBlock);
  CMWriteProfileString("Tool1", "FirstPath", "");
}

// ---- Rename -------------------------------------------------------------------------------

void CFView_Toolbar::OnRename() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  CMainFrame* pFrame = GetMainFrame();
  CBrowserDocument* pDocument = pFrame ? pFrame->GetBrowserDocument() : NULL;
  if (pDocument && pDocument->GetBrowserStatus().IsMonthCalendarMode()) {
    AfxMessageBox(IDS_TB_MONTH_RENAME, MB_ICONSTOP);
    return;
  }
  if (pDocument && pDocument->GetBrowserStatus().IsMusicMode()) {
    AfxMessageBox(IDS_TB_MUSIC_RENAME, MB_ICONSTOP);
    return;
  }
  ICGBrowser* pBrowser = GetCGBrowser();
  CGFileInfoList* pFiles = TakePendingFiles();
  if (!pFiles) {
    int nReported = 0;
    if (!CheckSelectedFiles(0, &nReported)) {
      if (!nReported) ShowBox(this, IDS_EXPORT_NOT_SELECTED, IDS_RENAME_CAPTION, MB_ICONEXCLAMATION);
      return;
    }
  }
  CString strLibrary = ProgramFolderPath(toolbarrules::ToolLibraryFile(ID_TB_RENAME));
  if (!pFiles) {
    long lFlags = ShowToolSettingsDialog(IDS_RENAME_CAPTION);
    if (lFlags == -1) return;
    pFiles = new CGFileInfoList(10);
    if (pBrowser) pBrowser->GetFileData(pFiles, lFlags);
  }
  // Files the rename cannot take leave the list.
  int nRemoved = 0;
  for (POSITION pos = pFiles->GetHeadPosition(); pos;) {
    POSITION posThis = pos;
    const CGFILEINFO& info = pFiles->GetNext(pos);
    if (!CMTLxIsSupport(info.path, NULL, 0)) {
      pFiles->RemoveAt(posThis);
      ++nRemoved;
    }
  }
  if (pFiles->IsEmpty()) {
    delete pFiles;
    ShowBox(this, IDS_RENAME_NO_FILE, IDS_RENAME_CAPTION, MB_ICONEXCLAMATION);
    return;
  }
  if (nRemoved) {
    CString strCaption;
    strCaption.LoadString(IDS_RENAME_CAPTION);
    ShowBox(this, IDS_EXPORT_SOME_REMOVED, IDS_RENAME_CAPTION, MB_ICONEXCLAMATION, strCaption);
  }
  int nUnloaded = pBrowser ? pBrowser->UnloadMovie() : 0;
  DWORD dwError = 0;
  int nResult = CallListTool(strLibrary, "Rename", pFiles, &dwError);
  if (nResult == -1 && dwError) {
    FormatLastErrorText(dwError);
    if (pBrowser && nUnloaded) pBrowser->ReloadMovie();
    delete pFiles;
    return;
  }
  CWaitCursor wait;
  if (nResult == 1)
    SendFirstPathToMainWnd(pFiles->GetHead().path, NULL);
  else if (pBrowser && nUnloaded)
    pBrowser->ReloadMovie();
  delete pFiles;
}
