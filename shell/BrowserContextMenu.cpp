#include "BrowserContextMenu.h"

#include <VxDocument.h>
#include <VxResourceIds.h>

#include "FView_Export.h"
#include "MainFrame.h"
#include "ToolList.h"

namespace {

// Menu 130, loaded on the first call and kept until the process ends.
struct ContextMenu {
  CMenu menu;
  ~ContextMenu() {
    if (menu.m_hMenu) menu.DestroyMenu();
  }
};
ContextMenu g_context;

void LoadContextMenu() {
  if (!g_context.menu.LoadMenu(IDR_BROWSER_CONTEXT)) return;
  CMenu* pPopup = g_context.menu.GetSubMenu(0);
  if (!pPopup) return;
  if (IsEnableReportMode()) {
    pPopup->DeleteMenu(ID_VIEWMODE_FILE_INFO, MF_BYCOMMAND);
    pPopup->DeleteMenu(ID_VIEWMODE_CAMERA_INFO, MF_BYCOMMAND);
  }
  // The export pane's entries take the place of the placeholder item.
  int nPlace = -1;
  for (int i = 0, n = pPopup->GetMenuItemCount(); i < n && nPlace < 0; ++i)
    if (pPopup->GetMenuItemID(i) == ID_EXPORT_FIRST) nPlace = i;
  if (nPlace < 0) return;
  CMenu entries;
  entries.CreatePopupMenu();
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  HWND hExport = pFrame ? pFrame->GetToolWindow(TOOL_EXPORT_PANE) : NULL;
  if (CFView_Export* pExport = dynamic_cast<CFView_Export*>(CWnd::FromHandlePermanent(hExport)))
    pExport->OnInitMenuPopup(&entries, 0, FALSE);
  pPopup->DeleteMenu(nPlace, MF_BYPOSITION);
  for (int i = 0, n = entries.GetMenuItemCount(); i < n; ++i) {
    CString strText;
    entries.GetMenuString(i, strText, MF_BYPOSITION);
    pPopup->InsertMenu(nPlace + i, MF_BYPOSITION | MF_STRING, entries.GetMenuItemID(i), strText);
  }
  entries.DestroyMenu();
}

}  // namespace

CPoint ContextMenuPoint(const CRect& rcWindow, CPoint point) {
  if (point.x < 0 && point.y < 0) return rcWindow.TopLeft();
  return point;
}

void WINAPI ShowBrowserContextMenu(CWnd* pWnd, CPoint point) {
  if (!g_context.menu.m_hMenu) LoadContextMenu();
  CMenu* pPopup = g_context.menu.m_hMenu ? g_context.menu.GetSubMenu(0) : NULL;
  CWnd* pMain = AfxGetMainWnd();
  if (!pPopup || !pMain) return;
  CRect rcWindow(0, 0, 0, 0);
  if (pWnd && pWnd->m_hWnd) pWnd->GetWindowRect(&rcWindow);
  CPoint pt = ContextMenuPoint(rcWindow, point);
  pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, pMain);
}
