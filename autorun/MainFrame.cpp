#include "MainFrame.h"

#include "LauncherIds.h"

#include <VxResourceIds.h>
#include <cardwatch/Programs.h>

#include <wtsapi32.h>

const char kLauncherWindowProperty[] = " VxAutoRun:card-watch ";

namespace {

const UINT WM_TASKBAR_CREATED = RegisterWindowMessageA("TaskbarCreated");

typedef BOOL(WINAPI* PFN_WTSREGISTER)(HWND, DWORD);
typedef BOOL(WINAPI* PFN_WTSUNREGISTER)(HWND);

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  // Life
  ON_WM_CREATE()
  ON_WM_DESTROY()
  // Card watch
  ON_WM_TIMER()
  ON_WM_POWERBROADCAST()
  ON_MESSAGE(WM_WTSSESSION_CHANGE, &CMainFrame::OnSessionChange)
  // Tray icon and menu
  ON_MESSAGE(WM_TRAY_NOTIFY, &CMainFrame::OnTrayNotify)
  ON_REGISTERED_MESSAGE(WM_TASKBAR_CREATED, &CMainFrame::OnTaskbarCreated)
  ON_WM_INITMENUPOPUP()
  ON_COMMAND(ID_AUTORUN_EXIT, &CMainFrame::OnExitLauncher)
  ON_COMMAND(ID_AUTORUN_START_MAIN, &CMainFrame::OnStartMainProgram)
  ON_COMMAND(ID_AUTORUN_CLOSE_MAIN, &CMainFrame::OnCloseMainProgram)
  ON_COMMAND(ID_AUTORUN_START_VIEWER, &CMainFrame::OnStartCardViewer)
  ON_COMMAND(ID_AUTORUN_CLOSE_VIEWER, &CMainFrame::OnCloseCardViewer)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_dwDriveMask(0),
      m_systemEnv(cardwatch::GetModuleFolder()),
      m_pEnv(&m_systemEnv),
      m_pScanEnv(&m_systemScanEnv),
      m_hWtsApi(LoadLibraryExA("Wtsapi32.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32)),
      m_bSessionRegistered(FALSE) {
  m_strProgramTitle.LoadString(AFX_IDS_APP_TITLE);
  m_strViewerName.LoadString(IDS_AUTORUN_CARD_VIEWER);
}

CMainFrame::~CMainFrame() {
  if (m_hWtsApi) FreeLibrary(m_hWtsApi);
}

void CMainFrame::SetEnvironment(cardwatch::CAutoRunEnv* pEnv, cardwatch::CCardScanEnv* pScanEnv) {
  m_pEnv = pEnv ? pEnv : &m_systemEnv;
  m_pScanEnv = pScanEnv ? pScanEnv : &m_systemScanEnv;
}

// No icon, cursor or brush of its own: the frame is never shown.
BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  cs.lpszClass = AfxRegisterWndClass(0);
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  ::SetPropA(m_hWnd, kLauncherWindowProperty, (HANDLE)1);

  m_wndTray.SetNotifyMessage(WM_TRAY_NOTIFY);
  m_wndTray.SetTipText(m_strProgramTitle);
  m_wndTray.SetIconId(IDI_TRAY);
  m_wndTray.Create(this, IDC_TRAY_ICON_WND);
  m_wndTray.LoadMenu(IDR_BROWSER_CONTEXT);

  if (m_hWtsApi) {
    auto pfnRegister = (PFN_WTSREGISTER)GetProcAddress(m_hWtsApi, "WTSRegisterSessionNotification");
    if (pfnRegister) m_bSessionRegistered = pfnRegister(m_hWnd, NOTIFY_FOR_THIS_SESSION);
  }
  StartWatchTimer();
  return 0;
}

void CMainFrame::OnDestroy() {
  CFrameWnd::OnDestroy();
  KillTimer(IDT_CARD_WATCH);
  ::RemovePropA(m_hWnd, kLauncherWindowProperty);
  if (m_hWtsApi && m_bSessionRegistered) {
    auto pfnUnregister = (PFN_WTSUNREGISTER)GetProcAddress(m_hWtsApi, "WTSUnRegisterSessionNotification");
    if (pfnUnregister) pfnUnregister(m_hWnd);
    m_bSessionRegistered = FALSE;
  }
}

// ---- Commands ------------------------------------------------------------------------

void CMainFrame::OnExitLauncher() { DestroyWindow(); }

// A program that does not start (not installed) is left alone.
void CMainFrame::OnStartMainProgram() { m_pEnv->StartMainProgram(m_dwDriveMask); }
void CMainFrame::OnCloseMainProgram() { m_pEnv->CloseMainProgram(); }
void CMainFrame::OnStartCardViewer() { m_pEnv->StartCardViewer(m_dwDriveMask); }
void CMainFrame::OnCloseCardViewer() { m_pEnv->CloseCardViewer(); }

// ---- Power and session ---------------------------------------------------------------

void CMainFrame::StartWatchTimer() { SetTimer(IDT_CARD_WATCH, CARD_WATCH_INTERVAL, NULL); }

void CMainFrame::StopWatchTimer() { KillTimer(IDT_CARD_WATCH); }

void CMainFrame::ApplyTimerAction(cardwatch::WatchTimerAction action) {
  if (action == cardwatch::WATCH_TIMER_STOP) StopWatchTimer();
  if (action == cardwatch::WATCH_TIMER_START) StartWatchTimer();
}

UINT CMainFrame::OnPowerBroadcast(UINT nPowerEvent, LPARAM) {
  ApplyTimerAction(cardwatch::PowerEventTimerAction(nPowerEvent));
  return TRUE;
}

LRESULT CMainFrame::OnSessionChange(WPARAM wParam, LPARAM) {
  ApplyTimerAction(cardwatch::SessionEventTimerAction(wParam));
  return Default();
}

// Only top-level windows hear that the task bar is back; the icon's window is a child.
LRESULT CMainFrame::OnTaskbarCreated(WPARAM wParam, LPARAM lParam) {
  if (m_wndTray.GetSafeHwnd()) m_wndTray.SendMessage(WM_TASKBAR_CREATED, wParam, lParam);
  return 0;
}
