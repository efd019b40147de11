// The tray icon's pop-up menu.
#include "MainFrame.h"

#include "LauncherIds.h"
#include "TrayMenu.h"

#include <VxResourceIds.h>

BOOL CMainFrame::BuildTrayMenu(CMenu& menu) {
  if (!menu.CreatePopupMenu()) return FALSE;
  const BOOL bMain = m_pEnv->IsMainProgramRunning();
  const BOOL bViewer = m_pEnv->IsCardViewerRunning();
  const BOOL bViewerOffered = !m_pEnv->FindCardViewerPath().IsEmpty();
  for (const autorun::TrayMenuItem& item : autorun::PlanTrayMenu(bMain, bViewer, bViewerOffered)) {
    CString text;
    switch (item.subject) {
      case autorun::TRAY_SUBJECT_PROGRAM:
        text.Format(item.nTextID, (LPCSTR)m_strProgramTitle);
        break;
      case autorun::TRAY_SUBJECT_CARD_VIEWER:
        text.Format(item.nTextID, (LPCSTR)m_strViewerName);
        break;
      default:
        text.LoadString(item.nTextID);
        break;
    }
    menu.AppendMenu(MF_STRING, item.nID, text);
  }
  return TRUE;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam) {
  if (lParam != WM_RBUTTONDOWN || !IsWindowEnabled()) return 0;
  CMenu menu;
  if (!BuildTrayMenu(menu)) return 0;
  // A program started from the menu imports nothing.
  m_dwDriveMask = 0;
  SetForegroundWindow();
  POINT pt;
  GetCursorPos(&pt);
  menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
  // The menu closes properly when the user clicks elsewhere only after the frame got a
  // message of its own.
  PostMessage(WM_NULL);
  menu.DestroyMenu();
  return 0;
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (bSysMenu) return;
  // A program whose window is disabled shows a modal dialog: leave it alone.
  HWND hMain = m_pEnv->FindMainProgramWindow();
  if (hMain && !::IsWindowEnabled(hMain)) {
    pPopupMenu->EnableMenuItem(ID_AUTORUN_START_MAIN, MF_BYCOMMAND | MF_GRAYED);
    pPopupMenu->EnableMenuItem(ID_AUTORUN_CLOSE_MAIN, MF_BYCOMMAND | MF_GRAYED);
  }
  HWND hViewer = m_pEnv->FindCardViewerWindow();
  if (hViewer && !::IsWindowEnabled(hViewer)) {
    pPopupMenu->EnableMenuItem(ID_AUTORUN_START_VIEWER, MF_BYCOMMAND | MF_GRAYED);
    pPopupMenu->EnableMenuItem(ID_AUTORUN_CLOSE_VIEWER, MF_BYCOMMAND | MF_GRAYED);
  }
}
