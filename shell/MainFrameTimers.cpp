// The main frame's timers (start-up completion, slide-show placement, device follow-up,
// card watch, automatic import), device changes, the card check, the keep-awake worker
// and the slide show's start.
#include <Kitlib2/Kitlib2.h>
#include <TickCache.h>
#include <VxDocument.h>
#include <VxResourceIds.h>
#include <dbt.h>

#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainApp.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "SplashWnd.h"
#include "ui/SettingsDialogs.h"

namespace {
const DWORD kKeepAwakeRefreshMs = 30001;
// A close seen waiting that is not taken before the step comes back (a loop of another
// that leaves it queued) does not hold start-up for ever.
const int kMaxStartupPutOffs = 20;
}  // namespace

// ---- Timers -------------------------------------------------------------------------------

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case MAINFRAME_TIMER_STARTUP:
      OnStartupTimer();
      break;
    case MAINFRAME_TIMER_SLIDE_PLACEMENT:
      KillTimer(MAINFRAME_TIMER_SLIDE_PLACEMENT);
      if (CMGetProfileInt("ExeState", "SlideShow_Created", 0) == 1) {
        SaveSplitterSizes();
        m_toolManager.SaveMainPlacement();
      } else {
        SetTimer(MAINFRAME_TIMER_SLIDE_PLACEMENT, 500, NULL);
      }
      break;
    case MAINFRAME_TIMER_DEVICE:
      OnDeviceTimer();
      break;
    case MAINFRAME_TIMER_CARD:
      OnCardTimer();
      break;
    case MAINFRAME_TIMER_CLOSE:
      KillTimer(MAINFRAME_TIMER_CLOSE);
      PostMessage(WM_CLOSE);
      break;
    case MAINFRAME_TIMER_AUTO_IMPORT:
      PostMessage(WM_SHOW_EXPLORER_FOLDER, 0, 0);
      KillTimer(MAINFRAME_TIMER_AUTO_IMPORT);
      SetForegroundWindow();
      break;
    default:
      break;
  }
  m_toolManager.OnTimer(m_hWnd, nIDEvent);
  CFrameWnd::OnTimer(nIDEvent);
}

void CMainFrame::StartStartupWait() {
  // The panes' flags are heard as they are written; the timer stays as the fallback.
  m_startupWatch.Start(m_hWnd, CMGetKeyPosition() + "\\" + EXESTATE_SECTION, WM_TIMER, MAINFRAME_TIMER_STARTUP);
  SetTimer(MAINFRAME_TIMER_STARTUP, 500, NULL);
  // The panes wrote theirs while they were made, before the watch: looked at right away.
  PostMessage(WM_TIMER, MAINFRAME_TIMER_STARTUP);
}

void CMainFrame::OnStartupTimer() {
  if (m_bStartupDone) return;  // a notice that came after the step was taken
  if (PutOffStartupForClose()) return;
  if (m_nStartupPart == STARTUP_WAIT_PANES) {
    KillTimer(MAINFRAME_TIMER_STARTUP);
    m_startupWatch.Arm();  // before the flags are read: no write goes unheard
    BOOL bReady = CMGetProfileInt(EXESTATE_SECTION, EXESTATE_FOLDER_CREATED, 0) == 1 &&
                  CMGetProfileInt(EXESTATE_SECTION, EXESTATE_BROWSER_CREATED, 0) == 1 &&
                  CMGetProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 0) == 1;
    if (!bReady) {
      SetTimer(MAINFRAME_TIMER_STARTUP, 500, NULL);
      return;
    }
    m_startupWatch.Stop();
    CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_FOLDER_CREATED, 0);
    CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_BROWSER_CREATED, 0);
    CMWriteProfileInt(EXESTATE_SECTION, EXESTATE_EXPORT_CREATED, 0);
    LoadSplitterSizes();
    m_nStartupPart = STARTUP_FOLDER_TREES;
    if (PutOffStartupForClose()) return;
  }
  if (m_nStartupPart == STARTUP_FOLDER_TREES) {
    RefreshFolderPane();
    m_nStartupPart = STARTUP_FINISH;
    if (PutOffStartupForClose()) return;
  }
  CSplashWnd::HideSplashScreen();
  CMainApp* pApp = dynamic_cast<CMainApp*>(AfxGetApp());
  if (pApp && !pApp->m_strAutoPlayDrive.IsEmpty()) {
    CMWriteProfileString("CardTree", "CardDrive", pApp->m_strAutoPlayDrive);
    SendToolbarCommand(ID_TB_FOLDER_TREE, TRUE);
  }
  CMWriteProfileInt("ExeState0007", "Enable", 1);
  ::SetCursor(::LoadCursorA(NULL, IDC_ARROW));
  m_toolManager.StartTimers();
  m_bStartupDone = TRUE;
  PromptFirstClassify();
}

// Start-up's step is taken in parts (the folder trees take longer than the whole end): a
// close that came meanwhile goes first, and the step goes on after it when it is refused.
BOOL CMainFrame::PutOffStartupForClose() {
  if (m_nStartupPutOffs >= kMaxStartupPutOffs || !IsClosePending()) return FALSE;
  ++m_nStartupPutOffs;
  PostMessage(WM_TIMER, MAINFRAME_TIMER_STARTUP);
  return TRUE;
}

// A close waiting in this thread's queue for the frame, from the window's menu or another
// program; sent messages that come meanwhile are taken.
BOOL CMainFrame::IsClosePending() {
  MSG msg;
  if (::PeekMessageA(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE | PM_NOYIELD)) return TRUE;
  return ::PeekMessageA(&msg, m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE | PM_NOYIELD) &&
         (msg.wParam & 0xFFF0) == SC_CLOSE;
}

void CMainFrame::PromptFirstClassify() {
  if (!m_bNormalStart) return;
  // The value itself, not its default: its absence means the question was never asked.
  CString strKey = CMGetKeyPosition() + "\\VxClassify";
  DWORD dwValue = 0, cb = sizeof(dwValue);
  BOOL bExists = ::RegGetValueA(HKEY_CURRENT_USER, strKey, "FirstClassify", RRF_RT_DWORD, NULL, &dwValue, &cb) ==
                 ERROR_SUCCESS;
  if (bExists && dwValue != 0) return;
  CClassifyFolderDlg dlg(this);
  if (dlg.DoModal() == IDOK) PostMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
  if (!bExists) CMWriteProfileInt("VxClassify", "FirstClassify", 1);
}

void CMainFrame::OnDeviceTimer() {
  KillTimer(MAINFRAME_TIMER_DEVICE);
  CBrowserDocument* pBrowser = GetBrowserDocument();
  CFView_Export* pExport = GetExportPane();
  if (!pBrowser || pBrowser->GetBrowserStatus().IsSDCardFolder() || !pExport || !pExport->IsWindowEnabled()) return;
  RefreshFolderPane();
  if (!m_bDeviceFollowUp) {
    m_bDeviceFollowUp = TRUE;
    SetTimer(MAINFRAME_TIMER_DEVICE, 1000, NULL);
  } else if (!m_bCalendarFold) {
    SendMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
  }
}

void CMainFrame::OnCardTimer() {
  if (CMainApp* pApp = dynamic_cast<CMainApp*>(AfxGetApp())) pApp->ShowLaterDatabaseNotice();
  CFView_Export* pExport = GetExportPane();
  if (m_bCalendarFold || !pExport || !pExport->IsWindowEnabled()) return;  // keeps running meanwhile
  KillTimer(MAINFRAME_TIMER_CARD);
  DWORD dwMask = 0;
  if (CheckCardDrive(&dwMask) == CARDCHECK_CAME) PostMessage(WM_SHOW_EXPLORER_FOLDER, 0, 0);
  SetTimer(MAINFRAME_TIMER_CARD, 1000, NULL);
}

int CMainFrame::CheckCardDrive(DWORD* pdwMask) {
  cardwatch::CSystemCardScanEnv env;
  DWORD dwMask = 0;
  UINT nOldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
  int nResult = m_cardScanner.ScanCardDrives(env, dwMask);
  ::SetErrorMode(nOldMode);
  if (pdwMask) *pdwMask = dwMask;
  if (nResult == cardwatch::CARDSCAN_INSERTED) return CARDCHECK_CAME;
  if (nResult == cardwatch::CARDSCAN_REMOVED) return CARDCHECK_WENT;
  return CARDCHECK_NONE;
}

BOOL CMainFrame::ShowsCardFolder(void* pFrame) {
  CBrowserDocument* pBrowser = static_cast<CMainFrame*>(pFrame)->GetBrowserDocument();
  return pBrowser && pBrowser->GetBrowserStatus().IsSDCardFolder();
}

// ---- Devices ------------------------------------------------------------------------------

BOOL CMainFrame::OnDeviceChange(UINT nEventType, DWORD_PTR dwData) {
  BOOL bResult = CFrameWnd::OnDeviceChange(nEventType, dwData);
  const DEV_BROADCAST_HDR* pHeader = reinterpret_cast<const DEV_BROADCAST_HDR*>(dwData);
  if (!pHeader || pHeader->dbch_devicetype != DBT_DEVTYP_VOLUME) return bResult;
  const DEV_BROADCAST_VOLUME* pVolume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(pHeader);
  if (pVolume->dbcv_flags & DBTF_NET) return bResult;
  if (nEventType == DBT_DEVICEARRIVAL) {
    m_bDeviceFollowUp = FALSE;
    SetTimer(MAINFRAME_TIMER_DEVICE, 5000, NULL);
  } else if (nEventType == DBT_DEVICEREMOVECOMPLETE) {
    for (int n = 0; n < 26; ++n)
      if (pVolume->dbcv_unitmask & (1u << n)) Mark_DelAllCheckInDrive('A' + n);
    m_bDeviceFollowUp = TRUE;
    SetTimer(MAINFRAME_TIMER_DEVICE, 500, NULL);
  }
  return bResult;
}

// ---- Keep-awake worker --------------------------------------------------------------------

void CMainFrame::StartKeepAwake() {
  if (m_pKeepAwakeThread) return;
  ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
  m_hStopKeepAwake = ::CreateEventA(NULL, TRUE, FALSE, NULL);
  if (!m_hStopKeepAwake) return;
  m_pKeepAwakeThread = AfxBeginThread(&CMainFrame::KeepAwakeProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (!m_pKeepAwakeThread) {
    ::CloseHandle(m_hStopKeepAwake);
    m_hStopKeepAwake = NULL;
    return;
  }
  m_pKeepAwakeThread->m_bAutoDelete = FALSE;
  m_pKeepAwakeThread->ResumeThread();
}

void CMainFrame::StopKeepAwake() {
  if (!m_pKeepAwakeThread) return;
  // The worker waits on the event: it ends at once, not at its next look.
  ::SetEvent(m_hStopKeepAwake);
  ::WaitForSingleObject(m_pKeepAwakeThread->m_hThread, INFINITE);
  delete m_pKeepAwakeThread;
  m_pKeepAwakeThread = NULL;
  ::CloseHandle(m_hStopKeepAwake);
  m_hStopKeepAwake = NULL;
}

UINT AFX_CDECL CMainFrame::KeepAwakeProc(LPVOID pParam) {
  CMainFrame* pFrame = static_cast<CMainFrame*>(pParam);
  while (::WaitForSingleObject(pFrame->m_hStopKeepAwake, kKeepAwakeRefreshMs) == WAIT_TIMEOUT) {
    // Writing the screen saver's timeout back restarts the system's idle count.
    BOOL bSaver = FALSE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &bSaver, 0);
    if (bSaver) {
      UINT nTimeout = 0;
      ::SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &nTimeout, 0);
      ::SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, nTimeout, NULL, 0);
    }
  }
  return 0;
}

// ---- Slide show ---------------------------------------------------------------------------

HRESULT CMainFrame::StartSlideShow(int nKind) {
  ICGBrowser* pBrowser = GetCGBrowser();
  CFView_Toolbar* pToolbar = GetToolbarPane();
  if (!pBrowser || !pToolbar) return E_FAIL;
  m_nSlideShowMode = nKind == 1 ? 2 : 1;
  SLD_TYPE type = SLD_TYPE_0;
  SLD_QUALITY quality = SLD_QUALITY_0;
  std::vector<tagSLD_V_TYPE> slides;
  std::vector<tagSLD_A_TYPE> sounds;
  int nRepeat = 1, nCleanUp = 0, nInterval = 0;
  pBrowser->GetSlideShow(&type, &slides, &sounds, &quality, &nRepeat, &nCleanUp);
  slides.clear();
  sounds.clear();
  // Kind 1 plays the collection being authored, kind 0 the browser's files with the
  // profile's settings.
  long hr = pToolbar->BuildSlideShowItems(nKind == 1, &quality, &type, &slides, &sounds, &nInterval, &nRepeat);
  if (hr < 0) return hr;
  // The field after the two paths: the toolbar's value (the interval) for plain slides.
  int nValue = type == SLD_TYPE_0 ? nInterval : 0;
  for (tagSLD_V_TYPE& slide : slides) memcpy(slide.tail, &nValue, sizeof(nValue));
  if (slides.empty()) {
    AfxMessageBox(IDS_SHELL_SLIDESHOW_EMPTY, MB_OK | MB_ICONEXCLAMATION);
    return E_FAIL;
  }
  // Pictures prepared for the browser's files go with the show; the collection's belong
  // to its dialog.
  nCleanUp = nKind == 1 ? 0 : 1;
  pBrowser->SetSlideShow(type, &slides, &sounds, quality, nRepeat, nCleanUp);
  return S_OK;
}
