#include "TrayIconWnd.h"

#include "LauncherIds.h"
#include "TrayMenu.h"

namespace {

// Sent to every top-level window when the task bar is made again (the shell restarted).
const UINT WM_TASKBAR_CREATED = RegisterWindowMessageA("TaskbarCreated");

}  // namespace

BEGIN_MESSAGE_MAP(CTrayIconWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_TRAY_CALLBACK, &CTrayIconWnd::OnTrayCallback)
  ON_REGISTERED_MESSAGE(WM_TASKBAR_CREATED, &CTrayIconWnd::OnTaskbarCreated)
END_MESSAGE_MAP()

CTrayIconWnd::CTrayIconWnd() : m_nNotifyMsg(0), m_nIconID(0) {}

CTrayIconWnd::~CTrayIconWnd() { DestroyWindow(); }

BOOL CTrayIconWnd::Create(CWnd* pParent, UINT nID) {
  return CWnd::Create("STATIC", "", WS_CHILD | SS_BLACKFRAME, CRect(0, 0, 10, 10), pParent, nID);
}

BOOL CTrayIconWnd::LoadMenu(UINT nMenuID) {
  m_menu.DestroyMenu();
  return m_menu.LoadMenu(nMenuID);
}

// The icon is loaded for each call and destroyed after it: the shell keeps its own copy.
BOOL CTrayIconWnd::NotifyIcon(DWORD dwMessage, LPCSTR lpszTip) {
  HICON hIcon = NULL;
  if (dwMessage != NIM_DELETE)
    hIcon = (HICON)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIconID), IMAGE_ICON, 16, 16, 0);
  NOTIFYICONDATAA nid;
  autorun::FillTrayIconData(nid, m_hWnd, hIcon, lpszTip);
  BOOL bDone = Shell_NotifyIconA(dwMessage, &nid);
  if (hIcon) DestroyIcon(hIcon);
  return bDone;
}

BOOL CTrayIconWnd::AddIcon() { return NotifyIcon(NIM_ADD, m_strTip); }

BOOL CTrayIconWnd::DeleteIcon() { return NotifyIcon(NIM_DELETE, ""); }

int CTrayIconWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  ShowWindow(SW_HIDE);
  AddIcon();
  return 0;
}

void CTrayIconWnd::OnDestroy() {
  DeleteIcon();
  CWnd::OnDestroy();
}

LRESULT CTrayIconWnd::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
  if (m_nNotifyMsg) GetParent()->PostMessage(m_nNotifyMsg, wParam, lParam);
  return 0;
}

LRESULT CTrayIconWnd::OnTaskbarCreated(WPARAM, LPARAM) {
  CString tip = m_strTip;
  if (tip.IsEmpty()) tip = AfxGetAppName();
  NotifyIcon(NIM_ADD, tip);
  return 0;
}

// Menu commands go to the frame, which handles them.
BOOL CTrayIconWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) {
    GetParent()->SendMessage(WM_COMMAND, wParam, 0);
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}
