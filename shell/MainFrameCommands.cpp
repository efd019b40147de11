// The main frame's command routing: menu commands that a pane carries out are routed to
// that pane by hand; the browser's commands go on to the active view and the document.
#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "ui/ProgramFolder.h"
#include "ShellActions.h"

namespace {

BOOL InRange(UINT nID, UINT nFirst, UINT nLast) { return nID >= nFirst && nID <= nLast; }

// After the frame's own action these go on to the active view and the document.
BOOL IsRoutedOnward(UINT nID) {
  return InRange(nID, 29511, 29517) || nID == 29535 || InRange(nID, 29541, 29599);
}

// Tools popup commands that the toolbar carries out: {menu command, toolbar command, with the frame}.
const struct {
  UINT nMenu;
  UINT nToolbar;
  BOOL bWithFrame;
} kToolCommands[] = {
    {29621, 27504, TRUE},  {29626, 27503, TRUE},  {29629, 27502, TRUE},  {29633, 27510, TRUE},
    {29634, 27535, TRUE},  {29622, 27842, FALSE}, {29623, 27843, FALSE}, {29624, 27844, FALSE},
    {29625, 27846, FALSE}, {29627, 27891, FALSE}, {29630, 27847, FALSE}, {29631, 27849, FALSE},
    {29636, 27901, FALSE}, {29637, 27902, FALSE}, {29638, 27903, FALSE}, {40006, 27536, TRUE},
    {40009, 27537, TRUE},  {40010, 27544, TRUE},  {40016, 27540, TRUE},  {40017, 27541, TRUE},
    {40018, 27542, TRUE},  {40011, 27901, FALSE}, {29501, 27500, TRUE},  {29655, 27518, TRUE},
};

const char kDefaultInfoMapUrl[] = "https://www.glimora.example/map/";
const char kDefaultSupportUrl[] = "https://www.glimora.example/support/";

}  // namespace

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

BOOL CMainFrame::RouteToFolderPane(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  CFView_Folder* pFolder = GetFolderPane();
  if (pFolder) pFolder->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  return TRUE;
}

void CMainFrame::CloseSlideCollection() {
  if (CFView_Toolbar* pToolbar = GetToolbarPane()) pToolbar->SendMessage(WM_TOOLBAR_SLIDE_COLLECT, 0, 19009);
}

void CMainFrame::SendToolbarCommand(UINT nID, BOOL bWithFrame) {
  if (CFView_Toolbar* pToolbar = GetToolbarPane())
    pToolbar->SendMessage(WM_COMMAND, nID, bWithFrame ? (LPARAM)m_hWnd : 0);
}

void CMainFrame::DiscardPendingF5() {
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) && msg.wParam == VK_F5)
    ::PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
}

void CMainFrame::RunDatabaseSearch() {
  HMODULE hSearch = LoadProgramLibrary("VxDBSearch.DLL");
  if (!hSearch) return;
  typedef long(WINAPI * OpenSearchFn)(int, HWND, int);
  OpenSearchFn pfn = reinterpret_cast<OpenSearchFn>(::GetProcAddress(hSearch, "OpenVxDBSearch"));
  if (pfn) pfn(0, m_hWnd, 0);
  ::FreeLibrary(hSearch);
  if (pfn) RefreshFolderPane();
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!m_bStartupDone || pHandlerInfo || nCode != CN_COMMAND)
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (IsEnableReportMode() && (nID == 29543 || nID == 29544)) return TRUE;
  if (!IsHandRoutedCommand(nID)) return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);

  BOOL bHandled = FALSE;
  for (const auto& c : kToolCommands) {
    if (c.nMenu != nID) continue;
    SendToolbarCommand(c.nToolbar, c.bWithFrame);
    bHandled = TRUE;
  }
  CFView_Folder* pFolder = GetFolderPane();
  CFView_Export* pExport = GetExportPane();
  switch (nID) {
    case 29502:
    case 29241: case 29242: case 29243: case 29244: case 29245:
    case 29246: case 29247: case 29248: case 29249: case 29250:
      FocusFolderPane();
      bHandled = RouteToFolderPane(nID, nCode, pExtra, pHandlerInfo);
      break;
    case 29503:
      CloseSlideCollection();
      if (pExport) pExport->OnPrint(0);
      bHandled = TRUE;
      break;
    case 29504:
      SendMessage(WM_BROWSER_MUSIC_STOP, (WPARAM)m_hWnd, 0);
      CloseSlideCollection();
      if (pExport) pExport->OnPrintSetup();
      return FALSE;
    case 29505:
    case 29506:
    case 29507:
      CloseSlideCollection();
      if (IsFolderPaneActive()) bHandled = RouteToFolderPane(nID, nCode, pExtra, pHandlerInfo);
      break;
    case 57635:
      CloseSlideCollection();
      [[fallthrough]];
    case 57634:
    case 57637:
    case 29518:
      if (IsFolderPaneActive()) bHandled = RouteToFolderPane(nID, nCode, pExtra, pHandlerInfo);
      break;
    case 29516:
    case 29517:
      CloseSlideCollection();
      break;
    case 29531: {
      int nCur, nMin;
      m_wndRowSplitter.GetRowInfo(0, nCur, nMin);
      m_wndRowSplitter.SetRowInfo(0, nCur > 0 ? 0 : MAINFRAME_TOOLBAR_HEIGHT, nMin);
      m_wndRowSplitter.RecalcLayout();
      m_wndRowSplitter.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      bHandled = TRUE;
      break;
    }
    case 29532:
      m_wndFolderSplitter.ToggleCollapse();
      bHandled = TRUE;
      break;
    case 29533:
      m_wndExportSplitter.ToggleCollapse();
      bHandled = TRUE;
      break;
    case 29534:
      return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    case 29536:
      CloseSlideCollection();
      if (pFolder) pFolder->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
      DiscardPendingF5();
      if (FocusInFolderPane()) {
        if (CVxDocument* pDoc = GetVxDocument()) {
          CSendCommandObject hint(29536);
          pDoc->UpdateAllViews(GetActiveView(), 0, &hint);
        }
      }
      DiscardPendingF5();
      bHandled = TRUE;
      break;
    case 29601:
      if (pFolder) pFolder->GoUp();
      bHandled = TRUE;
      break;
    case 29602:
      if (pFolder) pFolder->GoBack();
      bHandled = TRUE;
      break;
    case 29603:
      if (pFolder) pFolder->GoForward();
      bHandled = TRUE;
      break;
    case 29610:
      if (pFolder) pFolder->OpenFolderByPath();
      bHandled = TRUE;
      break;
    case 29632:
      RunDatabaseSearch();
      bHandled = TRUE;
      break;
    case 40007:
    case 40008:
      if (SUCCEEDED(StartSlideShow(nID == 40007 ? 0 : 1)))
        CFrameWnd::OnCmdMsg(nID == 40007 ? ID_VIEWMODE_SLIDESHOW : ID_VIEWMODE_SLIDESHOW_ALL, nCode, pExtra, NULL);
      bHandled = TRUE;
      break;
    case 29651:
      OpenManual();
      bHandled = TRUE;
      break;
    case 29652:
      OpenProfileWebPage("InfoMapURL", kDefaultInfoMapUrl);
      bHandled = TRUE;
      break;
    case 29653:
      OpenProfileWebPage("SupportURL", kDefaultSupportUrl);
      bHandled = TRUE;
      break;
    case 29654:
      m_toolManager.Launch(TOOL_GUIDE, "");
      bHandled = TRUE;
      break;
    default:
      if (InRange(nID, 27611, 27620)) {
        if (CFView_Toolbar* pToolbar = GetToolbarPane())
          pToolbar->SendMessage(WM_TOOL_LIST_SELECT, ID_TB_PPC_LIST, (LPARAM)(nID + 180));
        bHandled = TRUE;
      } else if (InRange(nID, 29301, 29310)) {
        if (pExport) pExport->SendMessage(WM_COMMAND, nID - 28177, (LPARAM)m_hWnd);
        bHandled = TRUE;
      }
      break;
  }
  if (IsRoutedOnward(nID)) return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (bHandled || FocusInFolderPane()) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
