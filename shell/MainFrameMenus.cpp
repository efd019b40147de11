// The main frame's menus: popups prepared to the state of the browser, access keys, and
// the prompts of the status bar's message pane.
#include <BrowserSubView.h>
#include <Kitlib2/Kitlib2.h>
#include <VxDocument.h>
#include <VxResourceIds.h>

#include <vector>

#include "FView_Export.h"
#include "FView_Folder.h"
#include "FView_Toolbar.h"
#include "MainFrame.h"
#include "MenuAccessKeys.h"
#include "ui/ProgramFolder.h"

namespace {

// A menu item's place: the positions from the given menu down to the item.
BOOL FindItemPath(HMENU hMenu, UINT nID, std::vector<int>& path) {
  for (int i = 0, n = ::GetMenuItemCount(hMenu); i < n; ++i) {
    HMENU hSub = ::GetSubMenu(hMenu, i);
    if (!hSub) {
      if (::GetMenuItemID(hMenu, i) == nID) {
        path.push_back(i);
        return TRUE;
      }
      continue;
    }
    path.push_back(i);
    if (FindItemPath(hSub, nID, path)) return TRUE;
    path.pop_back();
  }
  return FALSE;
}

BOOL HasItem(HMENU hMenu, UINT nID) {
  std::vector<int> path;
  return FindItemPath(hMenu, nID, path);
}

// Puts a missing item back where the master menu has it, with the master's text.
void ReinsertFromMaster(HMENU hLive, HMENU hMaster, UINT nID) {
  if (HasItem(hLive, nID)) return;
  std::vector<int> path;
  if (!FindItemPath(hMaster, nID, path)) return;
  HMENU hTarget = hLive, hSource = hMaster;
  for (size_t k = 0; k + 1 < path.size(); ++k) {
    hTarget = ::GetSubMenu(hTarget, path[k]);
    hSource = ::GetSubMenu(hSource, path[k]);
    if (!hTarget || !hSource) return;
  }
  char szText[256] = "";
  ::GetMenuStringA(hSource, nID, szText, sizeof(szText), MF_BYCOMMAND);
  int nPos = std::min(path.back(), ::GetMenuItemCount(hTarget));
  ::InsertMenuA(hTarget, (UINT)nPos, MF_BYPOSITION | MF_STRING, nID, szText);
}

void DeleteIds(HMENU hMenu, const std::vector<UINT>& ids) {
  for (UINT nID : ids) ::DeleteMenu(hMenu, nID, MF_BYCOMMAND);
}

std::vector<UINT> IdRange(UINT nFirst, UINT nLast) {
  std::vector<UINT> ids;
  for (UINT n = nFirst; n <= nLast; ++n) ids.push_back(n);
  return ids;
}

std::vector<UINT> operator+(std::vector<UINT> a, const std::vector<UINT>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Item groups of the view popup.
const std::vector<UINT> kModesNoDetail = {ID_VIEWMODE_LARGE_ICONS, ID_VIEWMODE_FOCUS, ID_VIEWMODE_ZOOM,
                                          ID_VIEWMODE_MONTH};
const std::vector<UINT> kModesDetail = {ID_VIEWMODE_FILE_INFO, ID_VIEWMODE_CAMERA_INFO};
// In the menu's order: re-inserted items find their places one after the other.
const std::vector<UINT> kModes = {ID_VIEWMODE_LARGE_ICONS, ID_VIEWMODE_FILE_INFO, ID_VIEWMODE_CAMERA_INFO,
                                  ID_VIEWMODE_FOCUS,       ID_VIEWMODE_ZOOM,      ID_VIEWMODE_MONTH};
const std::vector<UINT> kSorts =
    IdRange(ID_SORT_SHOT_ASC, ID_SORT_SIZE_DESC) + std::vector<UINT>{ID_SORT_TYPE_ASC, ID_SORT_TYPE_DESC};
const std::vector<UINT> kFilters = IdRange(ID_FILTER_PHOTOS, ID_FILTER_ALL);
const std::vector<UINT> kAudioSorts = IdRange(ID_SORT_AUDIO_DATE_ASC, ID_SORT_AUDIO_TRACK);
const std::vector<UINT> kVoiceSorts = IdRange(ID_SORT_VOICE_DATE_ASC, ID_SORT_VOICE_NUMBER);

// The prompt of a popup, by its first item.
UINT PopupPrompt(UINT nFirstItem) {
  static const UINT kPrompts[][2] = {{ID_VIEW_TREE_FIRST, IDS_POPUP_TREES},
                                     {ID_EXPORT_FIRST, IDS_POPUP_EXPORT},
                                     {ID_FILE_IMPORT, IDS_POPUP_FILE},
                                     {ID_VIEW_TOOLBAR_PANE, IDS_POPUP_VIEW},
                                     {ID_VIEWMODE_FIRST, IDS_POPUP_VIEWMODE},
                                     {ID_SORT_SHOT_ASC, IDS_POPUP_SORT},
                                     {ID_FILTER_FIRST, IDS_POPUP_FILTER},
                                     {ID_GO_UP, IDS_POPUP_GO},
                                     {ID_TOOLS_PLUGIN, IDS_POPUP_TOOLS},
                                     {ID_HELP_MANUAL, IDS_POPUP_HELP},
                                     {ID_EDIT_CUT, IDS_POPUP_EDIT}};
  for (const auto& p : kPrompts)
    if (p[0] == nFirstItem) return p[1];
  return 0;
}

}  // namespace

// ---- Popups ---------------------------------------------------------------------------------

namespace {

// Removes an item, the first entry of the same text (ignoring case) and a separator right
// after that entry.
void RemoveWithEntry(CMenu* pPopup, UINT nID) {
  if (!HasItem(pPopup->m_hMenu, nID)) return;
  CString strItem;
  pPopup->GetMenuString(nID, strItem, MF_BYCOMMAND);
  int nEntry = -1;
  for (int i = 0, n = pPopup->GetMenuItemCount(); i < n && nEntry < 0; ++i) {
    CString strText;
    pPopup->GetMenuString(i, strText, MF_BYPOSITION);
    if (!strText.IsEmpty() && strText.CompareNoCase(strItem) == 0) nEntry = i;
  }
  pPopup->DeleteMenu(nID, MF_BYCOMMAND);
  if (nEntry < 0) return;
  pPopup->DeleteMenu(nEntry, MF_BYPOSITION);
  if (nEntry < pPopup->GetMenuItemCount() && (pPopup->GetMenuState(nEntry, MF_BYPOSITION) & MF_SEPARATOR))
    pPopup->DeleteMenu(nEntry, MF_BYPOSITION);
}

void ApplyMenuActions(CMenu* pPopup, const std::vector<menurules::ItemAction>& actions) {
  for (const menurules::ItemAction& a : actions) {
    switch (a.action) {
      case menurules::ITEM_GREY: pPopup->EnableMenuItem(a.nID, MF_BYCOMMAND | MF_GRAYED); break;
      case menurules::ITEM_ENABLE: pPopup->EnableMenuItem(a.nID, MF_BYCOMMAND | MF_ENABLED); break;
      case menurules::ITEM_CHECK: pPopup->CheckMenuItem(a.nID, MF_BYCOMMAND | MF_CHECKED); break;
      case menurules::ITEM_UNCHECK: pPopup->CheckMenuItem(a.nID, MF_BYCOMMAND | MF_UNCHECKED); break;
      case menurules::ITEM_REMOVE: pPopup->DeleteMenu(a.nID, MF_BYCOMMAND); break;
      case menurules::ITEM_REMOVE_WITH_ENTRY: RemoveWithEntry(pPopup, a.nID); break;
    }
  }
}

// The first command of a popup, looking into its first sub-menu when it starts with one.
UINT FirstItemOf(CMenu* pPopup) {
  UINT nFirst = pPopup->GetMenuItemCount() > 0 ? pPopup->GetMenuItemID(0) : 0;
  if (nFirst == (UINT)-1) {
    CMenu* pSub = pPopup->GetSubMenu(0);
    nFirst = pSub && pSub->GetMenuItemCount() > 0 ? pSub->GetMenuItemID(0) : 0;
  }
  return nFirst;
}

}  // namespace

menurules::MenuState CMainFrame::CurrentMenuState() {
  menurules::MenuState s;
  if (CBrowserDocument* pBrowser = GetBrowserDocument()) {
    s.music = pBrowser->GetBrowserStatus().IsMusicMode();
    s.changingFolder = pBrowser->GetBrowserStatus().IsChgFolder();
  }
  s.slideShow = m_toolManager.GetState() == TOOLSTATE_SLIDESHOW;
  s.statusBarShown = m_wndStatusBar.m_hWnd && (m_wndStatusBar.GetStyle() & WS_VISIBLE);
  int nCur, nMin;
  if (m_wndRowSplitter.m_hWnd) {
    m_wndRowSplitter.GetRowInfo(0, nCur, nMin);
    s.toolbarShown = nCur > 0;
  }
  if (m_wndFolderSplitter.m_hWnd) {
    m_wndFolderSplitter.GetColumnInfo(0, nCur, nMin);
    s.folderShown = nCur > 0;
  }
  if (m_wndExportSplitter.m_hWnd) {
    m_wndExportSplitter.GetColumnInfo(1, nCur, nMin);
    s.exportShown = nCur > 0;
  }
  CWnd* pStrip = GetSubView();
  s.stripEnabled = pStrip && pStrip->m_hWnd && pStrip->IsWindowEnabled();
  s.searchLibrary = ProgramFileExists("VxDBSearch.DLL") != FALSE;
  s.similarSearch = CMGetProfileInt("dotSeek", "Flag", 0) != 0;
  return s;
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) {
  CBrowserDocument* pBrowser = GetBrowserDocument();
  if (pBrowser && nIndex == 1) pBrowser->EmptyContextMenuPosition();
  CFrameWnd::OnInitMenuPopup(pPopup, nIndex, bSysMenu);
  if (bSysMenu || !pPopup) return;
  if (m_nSavedPaneWidth == -1) SaveMessagePaneLayout();

  CFView_Toolbar* pToolbar = GetToolbarPane();
  CFView_Folder* pFolder = GetFolderPane();
  BOOL bFolderActive = IsFolderPaneActive();
  menurules::Popup popup = menurules::PopupOf(nIndex, FirstItemOf(pPopup));
  // The panes prepare their items first; the frame's rules have the last word.
  switch (popup) {
    case menurules::POPUP_FILE:
      if (pToolbar) pToolbar->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
      if (pFolder && bFolderActive) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
      break;
    case menurules::POPUP_EDIT:
      if (pFolder && bFolderActive) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
      break;
    case menurules::POPUP_VIEW:
      AdaptViewMenuToFolder(pPopup);
      if (pFolder) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
      break;
    case menurules::POPUP_TOOLS:
      if (pToolbar) pToolbar->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
      AssignMenuAccessKeys(pPopup, ACCESSKEYS_LETTERS);
      break;
    case menurules::POPUP_EXPORT:
      if (CFView_Export* pExport = GetExportPane()) pExport->OnInitMenuPopup(pPopup, 0, FALSE);
      break;
    case menurules::POPUP_GO:
      if (pFolder) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
      break;
    default: return;
  }
  ApplyMenuActions(pPopup, menurules::RulesFor(popup, CurrentMenuState()));
  // The toolbar decides last about the view popup's items it knows.
  if (popup == menurules::POPUP_VIEW && pToolbar) pToolbar->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
}

void CMainFrame::AdaptViewMenuToFolder(CMenu* pPopup) {
  CBrowserDocument* pBrowser = GetBrowserDocument();
  if (!pPopup || !pBrowser) return;
  if (!m_hMasterViewMenu) {
    CMenu master;
    if (master.LoadMenu(IDR_MAINFRAME)) m_hMasterViewMenu = master.Detach();
  }
  HMENU hMaster = m_hMasterViewMenu ? ::GetSubMenu(m_hMasterViewMenu, 2) : NULL;
  HMENU hLive = pPopup->m_hMenu;
  const CBrowserStatus& status = pBrowser->GetBrowserStatus();
  BOOL bReport = IsEnableReportMode();
  auto reinsert = [&](const std::vector<UINT>& ids) {
    if (hMaster)
      for (UINT nID : ids) ReinsertFromMaster(hLive, hMaster, nID);
  };

  if (status.IsFindResult_SimilarImageFolder())
    reinsert({ID_SORT_SIMILARITY});
  else
    ::DeleteMenu(hLive, ID_SORT_SIMILARITY, MF_BYCOMMAND);

  if (status.IsSDAudioVoiceFolder() && !bReport) {
    DeleteIds(hLive, kModes + kSorts + kFilters);
    if (status.IsSDAudioFolder()) DeleteIds(hLive, kVoiceSorts);
    if (status.IsSDVoiceFolder()) DeleteIds(hLive, kAudioSorts);
    reinsert({ID_FILTER_AUDIO_ALL});
    reinsert(status.IsSDAudioFolder() ? kAudioSorts : kVoiceSorts);
  } else {
    ::DeleteMenu(hLive, ID_FILTER_AUDIO_ALL, MF_BYCOMMAND);
    if (bReport) DeleteIds(hLive, kModesDetail);
    if (!(status.IsSDAudioFolder() && !bReport)) DeleteIds(hLive, kAudioSorts);
    if (!(status.IsSDVoiceFolder() && !bReport)) DeleteIds(hLive, kVoiceSorts);
    reinsert(kSorts);
    reinsert(kFilters);
    reinsert(bReport ? kModesNoDetail : kModes);
  }
}

void CMainFrame::AssignMenuAccessKeys(CMenu* pPopup, int nKind) {
  if (!pPopup) return;
  int nCount = pPopup->GetMenuItemCount();
  std::vector<CString> texts(nCount);
  for (int i = 0; i < nCount; ++i)
    if (!(pPopup->GetMenuState(i, MF_BYPOSITION) & MF_SEPARATOR)) pPopup->GetMenuString(i, texts[i], MF_BYPOSITION);
  std::vector<CString> keyed = texts;
  AssignAccessKeys(keyed, nKind);
  for (int i = 0; i < nCount; ++i) {
    if (keyed[i] == texts[i]) continue;
    UINT nState = pPopup->GetMenuState(i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    if (HMENU hSub = ::GetSubMenu(pPopup->m_hMenu, i))
      pPopup->ModifyMenu(i, MF_BYPOSITION | MF_POPUP | MF_STRING | nState, (UINT_PTR)hSub, keyed[i]);
    else
      pPopup->ModifyMenu(i, MF_BYPOSITION | MF_STRING | nState, pPopup->GetMenuItemID(i), keyed[i]);
  }
}

// ---- The message pane while a menu is open -------------------------------------------------

void CMainFrame::SaveMessagePaneLayout() {
  if (!m_wndStatusBar.m_hWnd || m_wndStatusBar.GetCount() == 0) return;
  m_wndStatusBar.GetPaneInfo(0, m_nSavedPaneId, m_nSavedPaneStyle, m_nSavedPaneWidth);
  m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneId, SBPS_STRETCH | SBPS_NOBORDERS, 16383);
}

void CMainFrame::RestoreMessagePaneLayout() {
  if (m_nSavedPaneWidth == -1) return;
  if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneId, m_nSavedPaneStyle, m_nSavedPaneWidth);
  m_nSavedPaneWidth = -1;
}

void CMainFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  if (nFlags == 0xFFFF && hSysMenu == NULL) {
    m_bMenuTracking = FALSE;
    RestoreMessagePaneLayout();
    CFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
    return;
  }
  m_bMenuTracking = TRUE;
  if (nFlags & MF_POPUP) {
    HMENU hSub = ::GetSubMenu(hSysMenu, (int)nItemID);
    UINT nFirst = hSub && ::GetMenuItemCount(hSub) > 0 ? ::GetMenuItemID(hSub, 0) : 0;
    UINT nPrompt = PopupPrompt(nFirst);
    CString strPrompt;
    if (nPrompt) strPrompt.LoadString(nPrompt);
    CMTLSendOwnMessage(m_hWnd, WM_SETMESSAGESTRING, 0, (LPARAM)(LPCSTR)strPrompt);
    return;
  }
  CFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
}

LRESULT CMainFrame::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  BOOL bIdle = (wParam == 0 && lParam == 0) || wParam == AFX_IDS_IDLEMESSAGE;
  if (bIdle && m_bMenuTracking) {
    m_nIDLastMessage = m_nIDTracking = 0;
    return 0;
  }
  return CFrameWnd::OnSetMessageString(wParam, lParam);
}

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const {
  CMenu* pMenu = const_cast<CMainFrame*>(this)->GetMenu();
  if (nID >= ID_VIEW_TREE_FIRST && nID <= ID_VIEW_TREE_LAST) {
    CString strItem;
    if (pMenu) pMenu->GetMenuString(nID, strItem, MF_BYCOMMAND);
    rMessage.Format(IDS_SHELL_TREE_PROMPT_FORMAT, (LPCSTR)strItem.Mid(3));
    return;
  }
  if (nID >= ID_PPC_PLUGIN_FIRST && nID <= ID_PPC_PLUGIN_LAST) {
    CString strItem;
    if (pMenu) pMenu->GetMenuString(nID, strItem, MF_BYCOMMAND);
    strItem = strItem.Left(std::max(0, strItem.GetLength() - 7));
    int nBlank = strItem.Find(' ');
    if (nBlank >= 0) strItem = strItem.Mid(nBlank + 1);
    rMessage.Format(IDS_SHELL_PPC_PROMPT_FORMAT, (LPCSTR)strItem);
    return;
  }
  if (nID >= ID_EXPORT_FIRST && nID <= ID_EXPORT_LAST) {
    rMessage.Empty();
    CFView_Export* pExport = GetExportPane();
    if (pExport)
      pExport->GetEntryDescription(
          pExport->FindEntryById((int)(nID - ID_EXPORT_FIRST + CFView_Export::TILE_COMMAND_FIRST)), &rMessage);
    return;
  }
  if (nID == AFX_IDS_IDLEMESSAGE) {
    CBrowserDocument* pBrowser = GetBrowserDocument();
    if (const_cast<CMainFrame*>(this)->m_toolManager.GetState() == TOOLSTATE_SLIDESHOW) {
      rMessage.LoadString(IDS_SHELL_IDLE_SLIDESHOW);
      return;
    }
    if (pBrowser && pBrowser->GetBrowserStatus().IsFindResult_MarkFolder()) {
      rMessage.LoadString(IDS_SHELL_IDLE_MARK_RESULT);
      return;
    }
  }
  CFrameWnd::GetMessageString(menurules::PromptOf(nID), rMessage);
}
