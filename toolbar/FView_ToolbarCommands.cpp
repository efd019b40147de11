// CFView_Toolbar: the command table and the commands of the plug-ins, the navigation and
// the settings.
#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxResourceIds.h>
#include <Widgetkit.h>

#include "DialogDllLoader.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "OptionsDlg.h"
#include "ui/ProgramFolder.h"
#include "ShellActions.h"
#include "ToolItemListWnd.h"

namespace {
struct ToolbarRoute {
  UINT nID;
  void (CFView_Toolbar::*pfn)();
  UINT nLast = 0;  // the last id of a range that starts at nID
};
const ToolbarRoute kRoutes[] = {
    {ID_TB_FOLDER_UP, &CFView_Toolbar::OnFolderUp},
    {ID_TB_FOLDER_BACK, &CFView_Toolbar::OnFolderBack},
    {ID_TB_FOLDER_FORWARD, &CFView_Toolbar::OnFolderForward},
    {ID_TB_REFRESH, &CFView_Toolbar::OnRefreshFolder},
    {ID_TB_OPTIONS, &CFView_Toolbar::OnOptions},
    {ID_TB_MANUAL, &CFView_Toolbar::OnOpenManual},
    {ID_TB_LOCATION_PAGE, &CFView_Toolbar::OnLocationPage},
    {ID_TB_FOLDER_TREE, &CFView_Toolbar::OnFolderTreeButton},
    {ID_TB_TOOL_PLUGIN, &CFView_Toolbar::OnToolPluginButton},
    {ID_TB_PPC_PLUGIN, &CFView_Toolbar::OnPpcPluginButton},
    {ID_TB_IMAGE_TOOLS, &CFView_Toolbar::OnListButton},
    {ID_TB_PERSON, &CFView_Toolbar::OnEntryEditorButton},
    {ID_TB_ENTRY_EDITOR, &CFView_Toolbar::OnOpenEntryEditor},
    {ID_TB_PERSON_EDITOR, &CFView_Toolbar::OnOpenEntryEditor},
    {ID_TB_FACE_CLASSIFY, &CFView_Toolbar::OnFaceClassifyView},
    {ID_TB_PERSON_CLASSIFY, &CFView_Toolbar::OnFaceClassifyView},
    {ID_TB_IMAGE_PICKER, &CFView_Toolbar::OnImagePicker},
    {ID_TB_PERSON_PICKER, &CFView_Toolbar::OnImagePicker},
    {ID_TB_SLIDESHOW, &CFView_Toolbar::OnListButton},
    {ID_TB_MOVIE, &CFView_Toolbar::OnListButton},
    {ID_TB_WRITER_SETTINGS, &CFView_Toolbar::OnWriterSettings},
    {ID_TB_RENAME, &CFView_Toolbar::OnRename},
    {ID_TB_MOVIE_CUT, &CFView_Toolbar::OnMovieProgram},
    {ID_TB_MOVIE_EDIT, &CFView_Toolbar::OnMovieProgram},
    {ID_TB_MOVIE_PLAY, &CFView_Toolbar::OnMovieProgram},
    {ID_TB_ROTATE, &CFView_Toolbar::OnPictureTool},
    {ID_TB_ROTATE_ITEM, &CFView_Toolbar::OnPictureTool},
    {ID_TB_SCALE, &CFView_Toolbar::OnPictureTool},
    {ID_TB_CONVERT, &CFView_Toolbar::OnPictureTool},
    {ID_TB_DATE_IMPRINT, &CFView_Toolbar::OnDateImprint},
    {ID_TB_FIX_SHOT_DATE, &CFView_Toolbar::OnUpdateShotDate},
    {ID_TB_GUESS_PLACE, &CFView_Toolbar::OnGuessPlace},
    {ID_TB_SPLIT_CLIP, &CFView_Toolbar::OnSplitClip},
    {ID_TB_DISC_DRIVES, &CFView_Toolbar::OnDiscDriveButton},
    {ID_TB_DISC_LIST + 1, &CFView_Toolbar::OnDiscDriveItem, ID_TB_DISC_LIST + 26},
    {ID_TB_CARD_VIEWER, &CFView_Toolbar::OnSwitchToCardViewer},
    {ID_TB_LAUNCHER, &CFView_Toolbar::OnLauncherButton},
    {ID_TB_SHOW_LAUNCHER_LIST, &CFView_Toolbar::OnShowLauncherList},
    {ID_TB_SLIDE_PLAY, &CFView_Toolbar::OnSlideShowPlay},
    {ID_SLIDE_START, &CFView_Toolbar::OnSlideShowPlayAll},
    {ID_TB_SLIDESHOW_SETTINGS, &CFView_Toolbar::OnSlideShowSettings},
    {ID_SLIDE_SETTINGS, &CFView_Toolbar::OnSlideShowSettings},
    {ID_TB_OPEN_SCENARIO, &CFView_Toolbar::OnOpenScenario},
    {ID_TB_SLIDE_OPEN_SCENARIO, &CFView_Toolbar::OnOpenScenario},
    {ID_TB_NEW_SLIDE_COLLECTION, &CFView_Toolbar::OnNewSlideCollection},
    {ID_TB_SLIDE_NEW_COLLECTION, &CFView_Toolbar::OnNewSlideCollection},
};

// The position of the last item nID of the popup (not in its sub-menus), -1 when none.
int LastPositionOf(CMenu* pPopup, UINT nID) {
  for (int i = pPopup->GetMenuItemCount() - 1; i >= 0; --i)
    if (pPopup->GetMenuItemID(i) == nID) return i;
  return -1;
}

}  // namespace

BOOL CFView_Toolbar::OnToolbarCommand(UINT nID) {
  for (const ToolbarRoute& route : kRoutes) {
    if (nID != route.nID && (nID < route.nID || nID > route.nLast)) continue;
    m_nCurrentCommand = nID;
    (this->*route.pfn)();
    m_nCurrentCommand = 0;
    return TRUE;
  }
  return FALSE;
}

void CFView_Toolbar::StopMusic() {
  if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(WM_BROWSER_MUSIC_STOP, (WPARAM)m_hWnd, 0);
}

void CFView_Toolbar::ShowButtonList(int nCommand) {
  CToolButtonInfo* pInfo = FindToolButton(nCommand, TRUE);
  if (!pInfo || !pInfo->pList) return;
  HideButtonToolTip(pInfo);
  pInfo->pList->ShowAt(toolbarrules::ListOrigin(pInfo->rcWide, pInfo->pList->GetRowSize().cx));
}

// ---- Navigation ---------------------------------------------------------------------------

void CFView_Toolbar::OnFolderUp() {
  if (CMainFrame* pFrame = GetMainFrame())
    if (CFView_Folder* pFolder = pFrame->GetFolderPane()) pFolder->GoUp();
}

void CFView_Toolbar::OnFolderBack() {
  if (CMainFrame* pFrame = GetMainFrame())
    if (CFView_Folder* pFolder = pFrame->GetFolderPane()) pFolder->GoBack();
}

void CFView_Toolbar::OnFolderForward() {
  if (CMainFrame* pFrame = GetMainFrame())
    if (CFView_Folder* pFolder = pFrame->GetFolderPane()) pFolder->GoForward();
}

void CFView_Toolbar::OnRefreshFolder() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  StopMusic();
  CMWriteProfileInt("VazODA\\FolderInfo", "OptDiscFlush", 2);
  SendFirstPathToMainWnd(NULL, NULL);
  CMWriteProfileInt("VazODA\\FolderInfo", "OptDiscFlush", 0);
  // Clicks made on the button while the refresh ran are dropped.
  if (CToolButtonInfo* pInfo = FindToolButton(ID_TB_REFRESH, TRUE)) {
    MSG msg;
    while (::PeekMessageA(&msg, pInfo->pButton->m_hWnd, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {
    }
  }
}

// ---- Settings and pages -------------------------------------------------------------------

void CFView_Toolbar::OnOptions() {
  COptionsDlg dlg(this);
  dlg.DoModal();
}

void CFView_Toolbar::OnOpenManual() { OpenManual(); }

void CFView_Toolbar::OnLocationPage() {
  if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_COMMAND, ID_VIEW_MAP, 0);
}

void CFView_Toolbar::OnWriterSettings() {
  // The video writer's own libraries: absent unless that product is installed.
  HMODULE hResources = LoadProgramLibrary("Core\\DiskScribeRes.dll");
  CDialogDllLoader loader;
  int nResult = 0;
  if (loader.Bind("Core\\DiskScribeSetDlg.dll", NULL) == 0) {
    loader.m_pfnInitialize(hResources);
    nResult = loader.m_pfnDoModal(this, 397, 0, 0);
    loader.m_pfnUninitialize();
  }
  if (hResources) ::FreeLibrary(hResources);
  ICGBrowser* pBrowser = GetCGBrowser();
  if (nResult == 1 && pBrowser) {
    pBrowser->UnloadMovie();
    pBrowser->ReloadMovie();
  }
}

BOOL CFView_Toolbar::RefusedByViewMode(int nMonthId, int nMusicId, UINT nIcon) {
  CMainFrame* pFrame = GetMainFrame();
  CBrowserDocument* pBrowser = pFrame ? pFrame->GetBrowserDocument() : NULL;
  if (!pBrowser) return FALSE;
  int nRefused = pBrowser->GetBrowserStatus().IsMonthCalendarMode() ? nMonthId
                 : pBrowser->GetBrowserStatus().IsMusicMode()       ? nMusicId
                                                                    : 0;
  if (nRefused) AfxMessageBox(nRefused, nIcon);
  return nRefused != 0;
}

BOOL CFView_Toolbar::RefusedSlideCommand(int nCommand) {
  CMainFrame* pFrame = GetMainFrame();
  CBrowserDocument* pBrowser = pFrame ? pFrame->GetBrowserDocument() : NULL;
  if (!pBrowser) return FALSE;
  const CBrowserStatus& status = pBrowser->GetBrowserStatus();
  int nRefused = toolbarrules::SlideCommandRefusal(nCommand, status.IsMonthCalendarMode() != FALSE,
                                                   status.IsCalendarMode() != FALSE);
  if (nRefused) AfxMessageBox(nRefused, MB_ICONSTOP);
  return nRefused != 0;
}

// ---- Lists and plug-ins -------------------------------------------------------------------

void CFView_Toolbar::OnListButton() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  ShowButtonList((int)m_nCurrentCommand);
}

void CFView_Toolbar::OnFolderTreeButton() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  StopMusic();
  CToolButtonInfo* pInfo = FindToolButton(ID_TB_FOLDER_TREE, TRUE);
  if (!pInfo) return;
  HideButtonToolTip(pInfo);
  if (pInfo->pList) {
    ShowButtonList(ID_TB_FOLDER_TREE);
    return;
  }
  RunTreePlugin(0, TRUE);
}

void CFView_Toolbar::RunTreePlugin(int nIndex, BOOL bCalendarTest) {
  CTreePluginEntry* pEntry = nIndex >= 0 && nIndex < 9 ? m_treeEntries[nIndex] : NULL;
  if (!pEntry) return;
  m_pTreePlugins->OpenWindow(pEntry, nIndex, this);
  CString strFolder = m_pTreePlugins->GetCurrentFolder();
  if (strFolder.IsEmpty()) return;
  CMainFrame* pFrame = GetMainFrame();
  if (!pFrame) return;
  CBrowserDocument* pBrowser = pFrame->GetBrowserDocument();
  if (bCalendarTest && pBrowser && pBrowser->GetBrowserStatus().IsCalendarMode()) {
    pBrowser->SetCalendarFolder(this);
    return;
  }
  pFrame->RefreshFolderPane();
  SendExplorerFolderChange(strFolder);
  pFrame->SendMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
}

void CFView_Toolbar::OnToolPluginButton() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  if (RefusedByViewMode(IDS_PANES_NOT_IN_MONTH_VIEW, IDS_PANES_NOT_IN_MUSIC_VIEW, MB_ICONERROR)) return;
  CMainFrame* pFrame = GetMainFrame();
  CBrowserDocument* pBrowser = pFrame ? pFrame->GetBrowserDocument() : NULL;
  CToolButtonInfo* pInfo = FindToolButton(ID_TB_TOOL_PLUGIN, TRUE);
  if (!pInfo) return;
  HideButtonToolTip(pInfo);
  if (pInfo->pList) {
    ShowButtonList(ID_TB_TOOL_PLUGIN);
    return;
  }
  CWnd* pMain = AfxGetMainWnd();
  if (pMain) pMain->EnableWindow(FALSE);
  CMWriteProfileInt("VxClassify", "Wait", 1);
  HRESULT hr;
  if (CGFileInfoList* pFiles = TakePendingFiles()) {
    hr = m_pToolPlugins->OpenDropWindow(m_toolEntries[0], 0, this, pFiles);
    delete pFiles;
  } else {
    int nMode = pBrowser && !pBrowser->GetBrowserStatus().IsCalendarMode() ? 1 : 0;
    hr = m_pToolPlugins->OpenWindow(m_toolEntries[0], nMode, this);
  }
  CMWriteProfileInt("VxClassify", "Wait", 0);
  if (pMain) {
    pMain->EnableWindow(TRUE);
    if (hr == 0) pMain->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void CFView_Toolbar::OnPpcPluginButton() {
  if (!CloseEntryEditor()) return;
  CloseSlideCollectDlg();
  CToolButtonInfo* pInfo = FindToolButton(ID_TB_PPC_PLUGIN, TRUE);
  if (!pInfo) return;
  HideButtonToolTip(pInfo);
  if (pInfo->pList) {
    ShowButtonList(ID_TB_PPC_PLUGIN);
    return;
  }
  RunPpcPlugin(0);
}

LRESULT CFView_Toolbar::OnToolListSelect(WPARAM wParam, LPARAM lParam) {
  int nBase = (int)wParam;
  int nItem = (int)lParam;
  CWnd* pMain = AfxGetMainWnd();
  if (nBase == ID_TB_TREE_LIST) {
    RunTreePlugin(nItem - ID_TB_TREE_LIST - 1, FALSE);
  } else if (nBase == ID_TB_PPC_LIST) {
    if (!CloseEntryEditor()) return 0;
    CloseSlideCollectDlg();
    RunPpcPlugin(nItem - ID_TB_PPC_LIST - 1);
  } else if (nBase == ID_TB_PLUGIN_LIST) {
    int nIndex = nItem - ID_TB_PLUGIN_LIST - 1;
    CToolPluginEntry* pEntry = nIndex >= 0 && nIndex < 9 ? m_toolEntries[nIndex] : NULL;
    if (!pEntry) return 0;
    if (CToolButtonInfo* pInfo = FindToolButton(ID_TB_TOOL_PLUGIN, TRUE)) {
      CPoint pt = toolbarrules::ListOrigin(pInfo->rcWide);
      CRect rc(pt.x, 0, pt.x + toolbarrules::kListWidth, 75);
      RedrawWindow(&rc, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    HRESULT hr;
    if (CGFileInfoList* pFiles = TakePendingFiles()) {
      hr = m_pToolPlugins->OpenDropWindow(pEntry, nIndex, this, pFiles);
      delete pFiles;
    } else {
      hr = m_pToolPlugins->OpenWindow(pEntry, nIndex, this);
    }
    if (hr == 0 && pMain) {
      pMain->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      pMain->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
    }
  }
  return 0;
}

// ---- Tools menu ---------------------------------------------------------------------------

void CFView_Toolbar::ApplyMenuActions(CMenu* pPopup, const std::vector<toolbarrules::MenuAction>& actions) {
  int nInsertAt = -1;
  for (const toolbarrules::MenuAction& a : actions) {
    const UINT nState = a.enabled ? MF_ENABLED : MF_GRAYED;
    switch (a.kind) {
      case toolbarrules::MENU_ENABLE: pPopup->EnableMenuItem(a.id, MF_BYCOMMAND | nState); break;
      case toolbarrules::MENU_REMOVE: pPopup->DeleteMenu(a.id, MF_BYCOMMAND); break;
      case toolbarrules::MENU_SUBMENU:
        for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
          CMenu* pSub = pPopup->GetSubMenu(i);
          if (pSub && pSub->GetMenuItemCount() > 0 && pSub->GetMenuItemID(0) == a.id)
            pPopup->EnableMenuItem(i, MF_BYPOSITION | nState);
        }
        break;
      case toolbarrules::MENU_PPC_PLACE:
        nInsertAt = LastPositionOf(pPopup, ID_PPC_PLUGIN_FIRST);
        for (UINT nID = ID_PPC_PLUGIN_FIRST; nID <= ID_PPC_PLUGIN_LAST; ++nID)
          while (pPopup->DeleteMenu(nID, MF_BYCOMMAND)) {
          }
        break;
      case toolbarrules::MENU_PPC_ITEM:
        if (nInsertAt < 0) break;
        pPopup->InsertMenu(nInsertAt++, MF_BYPOSITION | MF_STRING | nState, a.id, a.text.c_str());
        break;
    }
  }
}

void CFView_Toolbar::OnInitMenuPopup(CMenu* pPopup, UINT, BOOL bSysMenu) {
  if (bSysMenu || !pPopup) return;
  toolbarrules::MenuButtons in;
  for (CToolButtonInfo* p : m_buttons)
    in.buttons.push_back({p->nCommand, p->pButton && p->pButton->IsWindowEnabled() != FALSE});
  for (const toolbarrules::ListItem& item :
       toolbarrules::ToolLibraryItems([](const char* f) { return ProgramFileExists(f) != FALSE; }))
    in.toolList.push_back(item.command);
  in.imageEditor = ProgramFileExists("VxEdit.exe") != FALSE;
  for (int i = 0; m_pPpcPlugins && i < m_pPpcPlugins->GetCount(); ++i)
    in.ppcPlugins.push_back((LPCSTR)m_pPpcPlugins->GetName(i));
  in.firstItem = pPopup->GetMenuItemCount() > 0 ? pPopup->GetMenuItemID(0) : 0;
  ApplyMenuActions(pPopup, toolbarrules::MenuActions(in));
}
