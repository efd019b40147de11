// CFView_Toolbar: the tool libraries and what follows a tool's run.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxDocument.h>
#include <VxResourceIds.h>
#include <picturetool/Tool.h>

#include "ui/ChoiceDialogs.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"
#include "SelectionCheck.h"
#include "ToolLibraries.h"
#include "ToolList.h"

#include <textkit/path.h>

#include <set>
#include <vector>
#include <string>

int ShowToolBox(CWnd* pOwner, int nTextId, int nCaptionId, UINT nType, LPCSTR lpszArg) {
  CString strCaption, strText;
  strCaption.LoadString(nCaptionId);
  if (lpszArg)
    strText.Format(nTextId, lpszArg);
  else
    strText.LoadString(nTextId);
  return ::MessageBoxA(pOwner ? pOwner->GetSafeHwnd() : NULL, strText, strCaption, nType);
}

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
  std::string output = lpszOutput ? lpszOutput : picturetool::FirstPath();
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
  picturetool::ClearFirstPath();
}

// ---- Rename -------------------------------------------------------------------------------

void CFView_Toolbar::OnRename() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  if (RefusedByViewMode(IDS_TB_MONTH_RENAME, IDS_TB_MUSIC_RENAME, MB_ICONSTOP)) return;
  ICGBrowser* pBrowser = GetCGBrowser();
  if (!PassesTargetGate(0, IDS_RENAME_CAPTION)) return;
  CString strLibrary = ProgramFolderPath(toolbarrules::ToolLibraryFile(ID_TB_RENAME));
  CGFileInfoList* pFiles = TakeToolFiles(IDS_RENAME_CAPTION);
  if (!pFiles) return;
  // Files the rename cannot take leave the list.
  int nRemoved = RemoveUnsupportedFiles(pFiles, 0);
  if (pFiles->IsEmpty()) {
    delete pFiles;
    ShowToolBox(this, IDS_RENAME_NO_FILE, IDS_RENAME_CAPTION, MB_ICONEXCLAMATION);
    return;
  }
  if (nRemoved) {
    CString strCaption;
    strCaption.LoadString(IDS_RENAME_CAPTION);
    ShowToolBox(this, IDS_EXPORT_SOME_REMOVED, IDS_RENAME_CAPTION, MB_ICONEXCLAMATION, strCaption);
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

// ---- Outside programs ---------------------------------------------------------------------

namespace {
// The files of the source's folder with the source's extension.
std::set<std::string> FilesLikeSource(const std::string& source) {
  std::set<std::string> paths;
  std::string pattern = textkit::FolderPartOf(source) + "*" + textkit::ExtensionOf(source);
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(pattern.c_str(), &fd);
  if (hFind == INVALID_HANDLE_VALUE) return paths;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) paths.insert(textkit::FolderPartOf(source) + fd.cFileName);
  } while (::FindNextFileA(hFind, &fd));
  ::FindClose(hFind);
  return paths;
}

const DWORD kStartPolls = 2000;  // of 10 ms: how long a starting program may take to say it is up
const DWORD kHideWaitMs = 1000;  // for the main window to be hidden
}  // namespace

BOOL CFView_Toolbar::StartToolAndWait(LPCSTR lpszProgram, LPCSTR lpszArguments, LPCSTR lpszSource) {
  CString strPath = ProgramFolderPath(lpszProgram);
  if (::GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES) {
    ShowToolBox(this, IDS_TB_PROGRAM_MISSING, IDS_TB_LABEL_MOVIE, MB_ICONSTOP);
    return FALSE;
  }
  std::set<std::string> before;
  if (lpszSource) before = FilesLikeSource(lpszSource);
  StartKeepAwake(TRUE);
  CString strCommand = "\"" + strPath + "\" " + lpszArguments;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi = {};
  std::string command = (LPCSTR)strCommand;
  if (!::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
    StartKeepAwake(FALSE);
    return FALSE;
  }
  ::CloseHandle(pi.hThread);

  CWnd* pMain = AfxGetMainWnd();
  if (pMain) {
    CNoticeDlg* pNotice = new CNoticeDlg(pMain);
    if (pNotice->Create(pMain)) {
      CString strText;
      strText.LoadString(IDS_PROGRAM_STARTING);
      pNotice->SetText(strText);
      pNotice->CenterWindow();
      pNotice->ShowWindow(SW_SHOWNA);
      pNotice->UpdateWindow();
    }
    MSG msg;
    // Until the program says it is up, or it is gone, or the time is over.
    for (DWORD i = 0; i < kStartPolls; ++i) {
      if (::PeekMessageA(&msg, NULL, WM_TOOL_STARTED, WM_TOOL_STARTED, PM_REMOVE)) break;
      if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
      ::Sleep(10);
    }
    pNotice->DestroyWindow();
    delete pNotice;
    pMain->EnableWindow(FALSE);
    pMain->ShowWindow(SW_HIDE);
    // Only sent messages are answered meanwhile: a queued click or command would run in the
    // middle of this one.
    for (DWORD waited = 0; pMain->IsWindowVisible() && waited < kHideWaitMs; waited += 10)
      FwWaitAnsweringSent(NULL, 10);
  }
  // Messages the program sends the main window (a file-list request, WM_COPYDATA) are
  // answered while it runs: a plain wait would hold both processes for ever.
  FwWaitAnsweringSent(pi.hProcess);
  ::CloseHandle(pi.hProcess);
  StartKeepAwake(FALSE);

  std::string firstNew;
  if (lpszSource) {
    for (const std::string& path : FilesLikeSource(lpszSource)) {
      if (before.count(path)) continue;
      if (firstNew.empty()) firstNew = path;
      UpdateDatabaseForToolOutput(lpszSource, path.c_str());
    }
  }
  if (pMain) {
    pMain->EnableWindow(TRUE);
    pMain->ShowWindow(SW_SHOW);
    pMain->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pMain->SetFocus();
  }
  if (!firstNew.empty()) {
    CMWriteProfileInt("DepthViewer", "SelectFlag", 1);
    CMWriteProfileString("DepthViewer", "SelectFilePath", firstNew.c_str());
    // The reload selects the new file alone.
    CMainFrame* pFrame = GetMainFrame();
    if (CBrowserDocument* pBrowser = pFrame ? pFrame->GetBrowserDocument() : NULL) pBrowser->SelectAll(0, NULL);
  }
  SendFirstPathToMainWnd(lpszSource, firstNew.empty() ? NULL : firstNew.c_str());
  return TRUE;
}

UINT CFView_Toolbar::KeepAwakeThreadProc(LPVOID pParam) {
  CFView_Toolbar* pPane = static_cast<CFView_Toolbar*>(pParam);
  DWORD dwLast = ::GetTickCount();
  while (!pPane->m_nKeepAwakeStop) {
    if (::GetTickCount() - dwLast > 30000) {
      dwLast = ::GetTickCount();
      BOOL bActive = FALSE;
      ::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &bActive, 0);
      if (bActive) {
        UINT nTimeout = 0;
        ::SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &nTimeout, 0);
        ::SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, nTimeout, NULL, SPIF_UPDATEINIFILE);
      }
    }
    if (pPane->m_hKeepAwakeStop)
      ::WaitForSingleObject(pPane->m_hKeepAwakeStop, 20000);
    else
      ::Sleep(500);
  }
  return 0;
}

int CFView_Toolbar::StartKeepAwake(BOOL bOn) {
  if (bOn) {
    if (m_pKeepAwake) return 1;
    ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
    m_nKeepAwakeStop = 0;
    m_hKeepAwakeStop = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    m_pKeepAwake = AfxBeginThread(&CFView_Toolbar::KeepAwakeThreadProc, this, THREAD_PRIORITY_NORMAL, 0,
                                  CREATE_SUSPENDED);
    if (m_pKeepAwake) {
      m_pKeepAwake->m_bAutoDelete = FALSE;
      m_pKeepAwake->ResumeThread();
    }
    return 1;
  }
  if (m_pKeepAwake) {
    if (::WaitForSingleObject(m_pKeepAwake->m_hThread, 0) == WAIT_TIMEOUT) {
      m_nKeepAwakeStop = 1;
      if (m_hKeepAwakeStop) ::SetEvent(m_hKeepAwakeStop);
      ::WaitForSingleObject(m_pKeepAwake->m_hThread, INFINITE);
    }
    delete m_pKeepAwake;
    m_pKeepAwake = NULL;
  }
  if (m_hKeepAwakeStop) ::CloseHandle(m_hKeepAwakeStop);
  m_hKeepAwakeStop = NULL;
  return 1;
}

// ---- Movie programs -----------------------------------------------------------------------

BOOL CFView_Toolbar::PickFirstMovie(CString* pPath) {
  pPath->Empty();
  std::vector<CString> paths;
  std::vector<bool> accepted;
  if (ICGBrowser* pBrowser = GetCGBrowser()) {
    CGFileInfoList files(10);
    pBrowser->GetFileData(&files, (long)0x80000001L);
    for (POSITION pos = files.GetHeadPosition(); pos;) {
      const CGFILEINFO& info = files.GetNext(pos);
      DWORD dwFlags = 0;
      paths.push_back(info.path);
      accepted.push_back(CMTLxIsSupport(info.path, &dwFlags, 16) != 0);
    }
  }
  toolbarrules::MoviePick pick = toolbarrules::PickFirstMovie(accepted);
  if (pick.index < 0) {
    ShowToolBox(this, IDS_TB_NO_MOVIE, IDS_TB_LABEL_MOVIE, MB_ICONEXCLAMATION);
    return FALSE;
  }
  *pPath = paths[pick.index];
  if (pick.ask) {
    CString strCaption, strText;
    strCaption.LoadString(IDS_TB_LABEL_MOVIE);
    strText.LoadString(IDS_TB_FIRST_MOVIE_ONLY);
    if (::MessageBoxA(GetSafeHwnd(), strText, strCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
  }
  return TRUE;
}

void CFView_Toolbar::OnMovieProgram() {
  UINT nCommand = m_nCurrentCommand;
  if (!CloseEntryEditor()) return;
  if (nCommand == ID_TB_MOVIE_CUT) CloseSlideCollectDlg();
  CString strMovie;
  if (!PickFirstMovie(&strMovie)) return;
  std::string program, arguments;
  CWnd* pMain = AfxGetMainWnd();
  unsigned long long hMain = pMain ? (unsigned long long)(UINT_PTR)pMain->m_hWnd : 0;
  if (!toolbarrules::OutsideProgramCall((int)nCommand, (LPCSTR)strMovie, hMain, &program, &arguments)) return;
  StartToolAndWait(program.c_str(), arguments.c_str(), strMovie);
}

LRESULT CFView_Toolbar::OnPageToolCheck(WPARAM, LPARAM) {
  const std::string name = toolbarrules::PageToolMutexName(CMTLIsWin98(-1, -1, -1) != FALSE);
  HANDLE hMutex = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str());
  if (hMutex) {
    ::CloseHandle(hMutex);
    return 0;
  }
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->GetExternalToolManager().Launch(TOOL_PAGE_TOOL, NULL);
  return 0;
}
