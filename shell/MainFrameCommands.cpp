// The main frame's menu commands: what the frame carries out itself (message-map entries,
// each with its update handler), and the routing of the commands that a pane or the
// toolbar carries out (the tables of MainFrameRules.h), walked by OnCmdMsg.
#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include "MainFrameRules.h"
#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"
#include "ShellActions.h"

namespace {
const char kDefaultInfoMapUrl[] = "https://www.glimora.example/map/";
const char kDefaultSupportUrl[] = "https://www.glimora.example/support/";
}  // namespace

BOOL IsF5KeyDown(const MSG& msg) { return msg.message == WM_KEYDOWN && msg.wParam == VK_F5; }

void CMainFrame::RegisterRoutedCommands() {
  // What the tables route stays enabled in the menus (the browser's own update handlers
  // still decide about its commands); the frame's own commands are found in its message map.
  int nCount = 0;
  const routes::Route* pRoutes = routes::Routes(&nCount);
  for (int i = 0; i < nCount; ++i) AddHandRoutedCommands(pRoutes[i].nFirst, pRoutes[i].nLast);
  const routes::ToolCommand* pTools = routes::ToolCommands(&nCount);
  for (int i = 0; i < nCount; ++i) AddHandRoutedCommands(pTools[i].nMenu, pTools[i].nMenu);
}

BOOL CMainFrame::IsFolderPaneActive() const {
  CFView_Folder* pFolder = GetFolderPane();
  return pFolder && GetActiveView() == pFolder;
}

BOOL CMainFrame::FocusInFolderPane() const {
  CFView_Folder* pFolder = GetFolderPane();
  HWND hFocus = ::GetFocus();
  return pFolder && hFocus && (hFocus == pFolder->m_hWnd || ::IsChild(pFolder->m_hWnd, hFocus));
}

void CMainFrame::FocusFolderPane() {
  CFView_Folder* pFolder = GetFolderPane();
  if (pFolder && !FocusInFolderPane()) pFolder->SetFocus();
}

void CMainFrame::CloseSlideCollection() {
  if (CFView_Toolbar* pToolbar = GetToolbarPane())
    pToolbar->SendMessage(WM_TOOLBAR_SLIDE_COLLECT, 0, SLIDE_COLLECT_CLOSE);
}

void CMainFrame::SendToolbarCommand(UINT nID, BOOL bWithFrame) {
  if (CFView_Toolbar* pToolbar = GetToolbarPane())
    pToolbar->SendMessage(WM_COMMAND, nID, bWithFrame ? (LPARAM)m_hWnd : 0);
}

void CMainFrame::DiscardPendingF5() {
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) && IsF5KeyDown(msg))
    ::PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
}

// ---- Routing ------------------------------------------------------------------------------

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!m_bStartupDone || pHandlerInfo || nCode != CN_COMMAND)
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  // The frame's own commands come before the active view and the document.
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, NULL)) return TRUE;
  const routes::Route* pRoute = routes::FindRoute(nID);
  const routes::ToolCommand* pTool = routes::FindToolCommand(nID);
  if (!pRoute && !pTool) return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (pTool) SendToolbarCommand(pTool->nToolbar, pTool->bWithFrame);
  BOOL bHandled = pTool != NULL;
  if (pRoute) {
    if ((pRoute->nFlags & routes::NOT_IN_REPORT) && IsEnableReportMode()) return TRUE;
    bHandled = RouteToPane(*pRoute, nID, nCode, pExtra) || bHandled;
    if (pRoute->nFlags & routes::ONWARD) return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  // A command the table knows stays with the folder pane while it has the focus.
  if (bHandled || FocusInFolderPane()) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMainFrame::RouteToPane(const routes::Route& route, UINT nID, int nCode, void* pExtra) {
  if (route.nFlags & routes::CLOSE_COLLECTION) CloseSlideCollection();
  if (route.nFlags & routes::FOCUS_FOLDER) FocusFolderPane();
  UINT nPaneID = routes::PaneCommand(route, nID);
  switch (route.pane) {
    case routes::TARGET_FOLDER: {
      if ((route.nFlags & routes::WHEN_FOLDER_ACTIVE) && !IsFolderPaneActive()) return FALSE;
      if (CFView_Folder* pFolder = GetFolderPane()) pFolder->OnCmdMsg(nPaneID, nCode, pExtra, NULL);
      return TRUE;
    }
    case routes::TARGET_EXPORT:
      if (CFView_Export* pExport = GetExportPane()) pExport->SendMessage(WM_COMMAND, nPaneID, (LPARAM)m_hWnd);
      return TRUE;
    case routes::TARGET_TOOL_LIST:
      if (CFView_Toolbar* pToolbar = GetToolbarPane())
        pToolbar->SendMessage(WM_TOOL_LIST_SELECT, ID_TB_PPC_LIST, (LPARAM)nPaneID);
      return TRUE;
    default: return FALSE;
  }
}

// ---- The frame's own commands ---------------------------------------------------------------

void CMainFrame::OnUpdateFrameCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bStartupDone); }

void CMainFrame::OnFilePrintPhotos() {
  CloseSlideCollection();
  if (CFView_Export* pExport = GetExportPane()) pExport->OnPrint(0);
}

void CMainFrame::OnFilePrintSetupExport() {
  SendMessage(WM_BROWSER_MUSIC_STOP, (WPARAM)m_hWnd, 0);
  CloseSlideCollection();
  if (CFView_Export* pExport = GetExportPane()) pExport->OnPrintSetup();
}

void CMainFrame::OnViewToolbarPane() {
  int nCur, nMin;
  m_wndRowSplitter.GetRowInfo(0, nCur, nMin);
  m_wndRowSplitter.SetRowInfo(0, nCur > 0 ? 0 : MAINFRAME_TOOLBAR_HEIGHT, nMin);
  m_wndRowSplitter.RecalcLayout();
  m_wndRowSplitter.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CMainFrame::OnViewFolderPane() { m_wndFolderSplitter.ToggleCollapse(); }

void CMainFrame::OnViewExportPane() { m_wndExportSplitter.ToggleCollapse(); }

void CMainFrame::OnViewRefresh() {
  CloseSlideCollection();
  if (CFView_Folder* pFolder = GetFolderPane()) pFolder->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
  DiscardPendingF5();
  if (FocusInFolderPane()) {
    if (CVxDocument* pDoc = GetVxDocument()) {
      CSendCommandObject hint(ID_VIEW_REFRESH);
      pDoc->UpdateAllViews(GetActiveView(), 0, &hint);
    }
  }
  DiscardPendingF5();
}

void CMainFrame::OnGoUp() {
  if (CFView_Folder* pFolder = GetFolderPane()) pFolder->GoUp();
}

void CMainFrame::OnGoBack() {
  if (CFView_Folder* pFolder = GetFolderPane()) pFolder->GoBack();
}

void CMainFrame::OnGoForward() {
  if (CFView_Folder* pFolder = GetFolderPane()) pFolder->GoForward();
}

void CMainFrame::OnGoOpenPath() {
  if (CFView_Folder* pFolder = GetFolderPane()) pFolder->OpenFolderByPath();
}

void CMainFrame::OnUpdateGoUp(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bStartupDone && CanFolderGoUp()); }
void CMainFrame::OnUpdateGoBack(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bStartupDone && CanFolderGoBack()); }
void CMainFrame::OnUpdateGoForward(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bStartupDone && CanFolderGoForward()); }

void CMainFrame::OnToolsDbSearch() {
  HMODULE hSearch = LoadProgramLibrary("VxDBSearch.DLL");
  if (!hSearch) return;
  typedef long(WINAPI * OpenSearchFn)(int, HWND, int);
  OpenSearchFn pfn = reinterpret_cast<OpenSearchFn>(::GetProcAddress(hSearch, "OpenVxDBSearch"));
  if (pfn) pfn(0, m_hWnd, 0);
  ::FreeLibrary(hSearch);
  if (pfn) RefreshFolderPane();
}

void CMainFrame::OnSlideShowPlay(UINT nID) {
  BOOL bAll = nID == ID_SLIDESHOW_PLAY_ALL;
  if (SUCCEEDED(StartSlideShow(bAll ? 1 : 0)))
    CFrameWnd::OnCmdMsg(bAll ? ID_VIEWMODE_SLIDESHOW_ALL : ID_VIEWMODE_SLIDESHOW, CN_COMMAND, NULL, NULL);
}

void CMainFrame::OnHelpManual() { OpenManual(); }

void CMainFrame::OnHelpMapSite() { OpenProfileWebPage("InfoMapURL", kDefaultInfoMapUrl); }

void CMainFrame::OnHelpSupportSite() { OpenProfileWebPage("SupportURL", kDefaultSupportUrl); }

void CMainFrame::OnHelpGuide() { m_toolManager.Launch(TOOL_GUIDE, ""); }
