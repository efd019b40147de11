// The main frame's closing: the checks before it, the close warning, what is kept before
// the end (placement and sizes written, outside programs closed, workers stopped), and
// the program's quick end or the frame's destruction.
#include <Kitlib2/Kitlib2.h>
#include <VxDatabase.h>
#include <VxDocument/BrowserDocument.h>
#include <VxResourceIds.h>
#include <shellapi.h>

#include "ICGBrowser.h"
#include "MainApp.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"
#include "ui/ChoiceDialogs.h"

namespace {
// How often a close is put off for an outside program's dialog before it is given up.
const int kMaxCloseRetries = 50;
const UINT kCloseChildId = 7;
const UINT kCloseRetryMs = 50;

// The dialog of this thread that takes input over the frame: the innermost of the modal
// dialogs open over it (the outer ones are disabled), or NULL.
HWND OwnDialogOver(HWND hFrame) {
  struct Search {
    HWND frame, found;
  } search = {hFrame, NULL};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        Search* s = reinterpret_cast<Search*>(lp);
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") != 0 || !::IsWindowEnabled(h)) return TRUE;
        for (HWND owner = ::GetWindow(h, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER)) {
          if (owner == s->frame) {
            s->found = h;
            return FALSE;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}
}  // namespace

void CMainFrame::OnClose() {
  // A close during start-up is taken as any other: the panes exist once the window shows,
  // and the steps start-up has left die with the window.
  if (CMGetProfileInt("VxClassify", "Wait", 0) == 1) return;
  if (AfxGetModalLoopDepth() > 0 || (!IsWindowEnabled() && OwnDialogOver(m_hWnd))) {
    // A dialog or message box of ours runs its loop beneath this call (whether or not the
    // frame is still disabled: another program can enable it): destroying the frame now
    // would free the panes and plug-ins that code stands on.
    PutOffClose();
    return;
  }
  if (CMGetProfileInt("ExeState", "SlideShow_Created", 0) == 1) {
    if (CMGetProfileInt("ExeState", "SlideShowNotClose", 0) == 1) {
      AfxMessageBox(IDS_SHELL_SLIDESHOW_OPEN, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    if (CMGetProfileInt("SlideShow", "NowSaving", 0) == 1) {
      AfxMessageBox(IDS_SHELL_SLIDESHOW_SAVING, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    HWND hPlayer = m_toolManager.GetToolWindow(TOOL_SLIDESHOW);
    DWORD_PTR dwResult;
    if (hPlayer && ::IsWindow(hPlayer))
      ::SendMessageTimeoutA(hPlayer, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, &dwResult);
  }
  if (HWND hBlocking = m_toolManager.FindBlockingWindow()) {
    // An outside program's dialog is asked to close first; the close comes back later.
    // When it stays, the user learns whose window holds the close, and a later close
    // starts over.
    if (++m_nCloseRetries > kMaxCloseRetries) {
      m_nCloseRetries = 0;
      CString strText;
      strText.Format(IDS_SHELL_CLOSE_HELD, (LPCSTR)m_toolManager.ProgramNameOfWindow(hBlocking));
      AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    DWORD_PTR dwResult;
    if (HWND hChild = ::GetDlgItem(hBlocking, kCloseChildId))
      ::SendMessageTimeoutA(hBlocking, WM_COMMAND, kCloseChildId, (LPARAM)hChild, SMTO_ABORTIFHUNG, 1000, &dwResult);
    else
      ::SendMessageTimeoutA(hBlocking, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &dwResult);
    PostMessage(WM_CLOSE);
    return;
  }
  m_nCloseRetries = 0;
  if (ShowCloseWarning() != IDYES) return;
  // The program's own frame ends its process here; a frame built elsewhere (a test's)
  // is torn down in full.
  CMainApp* pApp = dynamic_cast<CMainApp*>(AfxGetApp());
  if (pApp && pApp->m_pMainWnd == this) {
    CDocument* pDocument = GetActiveDocument();
    if (pDocument ? !pDocument->CanCloseFrame(this) : !pApp->SaveAllModified()) return;
    // Not hidden here: that alone takes about as long as the rest of the end, which
    // takes the window with it; outside programs to wait for hide it first.
    KeepBeforeExit();
    KeepPanesBeforeExit();
    // The document's deletion keeps the browser's choices (mode, sort, filter).
    if (CBrowserDocument* pBrowserDocument = GetBrowserDocument()) pBrowserDocument->SaveSettings();
    pApp->EndWithoutTeardown();
    return;
  }
  CFrameWnd::OnClose();
}

// Hiding and destroying the many windows of the frame one by one, and detaching every
// library, takes a multiple of what is kept: what the frame keeps, and then each window
// with something to keep, are asked for it; the rest goes with the process.
void CMainFrame::KeepPanesBeforeExit() {
  ::EnumChildWindows(
      m_hWnd,
      [](HWND h, LPARAM) -> BOOL {
        // Another thread's window could be busy: what it keeps it keeps at its own end.
        if (::GetWindowThreadProcessId(h, NULL) == ::GetCurrentThreadId()) CMTLSendOwnMessage(h, WM_KEEP_BEFORE_EXIT, 0, 0);
        return TRUE;
      },
      0);
}

// The dialog over the frame is asked to close, and the close comes back a moment later,
// once the loops beneath it may have returned; one at a time, so that a loop that holds
// closes back (a copy) gathers only one.
void CMainFrame::PutOffClose() {
  if (HWND hDialog = OwnDialogOver(m_hWnd)) {
    if (++m_nCloseRetries > kMaxCloseRetries) {
      m_nCloseRetries = 0;  // the dialog stays (a question); a later close starts over
      return;
    }
    ::PostMessageA(hDialog, WM_CLOSE, 0, 0);
  }
  SetTimer(MAINFRAME_TIMER_CLOSE, kCloseRetryMs, NULL);
}

void CMainFrame::OnDestroy() {
  CFrameWnd::OnDestroy();
  KeepBeforeExit();
  // Workers that keep nothing: the quick end does not wait for them.
  m_startupWatch.Stop();
  StopKeepAwake();
  if (m_hWtsLibrary && m_bSessionNotify) {
    typedef BOOL(WINAPI * UnregisterFn)(HWND);
    if (UnregisterFn pfn = reinterpret_cast<UnregisterFn>(::GetProcAddress(m_hWtsLibrary, "WTSUnRegisterSessionNotification")))
      pfn(m_hWnd);
    m_bSessionNotify = FALSE;
  }
  if (m_hWtsLibrary) {
    ::FreeLibrary(m_hWtsLibrary);
    m_hWtsLibrary = NULL;
  }
  if (CMainApp* pApp = dynamic_cast<CMainApp*>(AfxGetApp())) pApp->OnMainWindowGone();
}

void CMainFrame::KeepBeforeExit() {
  if (m_bKeptBeforeExit) return;
  m_bKeptBeforeExit = TRUE;
  if (m_pDbFileObject) {
    m_pDbFileObject->Close();
    m_pDbFileObject->Release();
    m_pDbFileObject = NULL;
  }

  WINDOWPLACEMENT wp = {};
  wp.length = sizeof(wp);
  if (!m_toolManager.GetSlidePlacement(&wp)) GetWindowPlacement(&wp);
  CMWriteProfileInt("", "WindowShowState", (int)wp.showCmd);
  CMWriteProfileInt("", "WindowNormalPosTop", wp.rcNormalPosition.top);
  CMWriteProfileInt("", "WindowNormalPosLeft", wp.rcNormalPosition.left);
  CMWriteProfileInt("", "WindowNormalPosBottom", wp.rcNormalPosition.bottom);
  CMWriteProfileInt("", "WindowNormalPosRight", wp.rcNormalPosition.right);
  SaveSplitterSizes();
  // The bar's own style: the frame is already hidden while it is destroyed.
  CMWriteProfileInt("", "StatusBarVisible", m_wndStatusBar.m_hWnd && (m_wndStatusBar.GetStyle() & WS_VISIBLE) ? 1 : 0);

  CString strRenew = ProgramFolderPath("OrderSlideRenew.exe");
  if (::GetFileAttributesA(strRenew) != INVALID_FILE_ATTRIBUTES)
    ::ShellExecuteA(NULL, "open", strRenew, NULL, CMTLGetExeDir(), SW_HIDE);

  m_toolManager.CloseAll();
}

void CMainFrame::OnEnable(BOOL bEnable) {
  CFrameWnd::OnEnable(bEnable);
  if (!bEnable) {
    if (ICGBrowser* pBrowser = GetCGBrowser()) pBrowser->PauseMovie();
  }
}

int CMainFrame::ShowCloseWarning() {
  if (m_toolManager.IsForcedClose()) return IDYES;
  SendMessage(WM_BROWSER_PUBLISH_COUNTS, (WPARAM)m_hWnd, 0);
  if (CMGetProfileInt("DepthViewer", "AllMarkFileCount", 0) == 0 || CMGetProfileInt("", "CloseWarningMark", 0) != 0)
    return IDYES;
  CYesNoDlg dlg(this);
  dlg.m_strText.LoadString(IDS_SHELL_CLOSE_WITH_MARKS);
  int nAnswer = (int)dlg.DoModal();
  if (nAnswer != IDYES) return nAnswer;
  CMWriteProfileInt("", "CloseWarningMark", dlg.m_bDontAsk ? 1 : 0);
  return IDYES;
}
