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
const std::vector<UINT> kModes = {29541, 29543, 29544, 29545, 29546, 29547};
const std::vector<UINT> kModesNoDetail = {29541, 29545, 29546, 29547};
const std::vector<UINT> kModesDetail = {29543, 29544};
const std::vector<UINT> kSorts = IdRange(29562, 29567) + std::vector<UINT>{29710, 29711};
const std::vector<UINT> kFilters = IdRange(29591, 29594);
const std::vector<UINT> kAudioSorts = IdRange(29572, 29580);
const std::vector<UINT> kVoiceSorts = IdRange(29581, 29587);

// The prompt of a popup, by its first item.
UINT PopupPrompt(UINT nFirstItem) {
  static const UINT kPrompts[][2] = {{29241, 29240}, {29301, 29300}, {29501, 29500}, {29531, 29530},
                                     {29541, 29540}, {29562, 29560}, {29591, 29590}, {29601, 29600},
                                     {29621, 29620}, {29651, 29650}, {57635, 29510}};
  for (const auto& p : kPrompts)
    if (p[0] == nFirstItem) return p[1];
  return 0;
}

}  // namespace

// ---- Popups ---------------------------------------------------------------------------------

void CMainFrame::GreyItems(CMenu* pPopup, const UINT* pIDs, int nCount) {
  for (int i = 0; i < nCount; ++i) pPopup->EnableMenuItem(pIDs[i], MF_BYCOMMAND | MF_GRAYED);
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
  BOOL bMusic = pBrowser && pBrowser->GetBrowserStatus().IsMusicMode();
  BOOL bChanging = pBrowser && pBrowser->GetBrowserStatus().IsChgFolder();
  BOOL bSlideShow = m_toolManager.GetState() == TOOLSTATE_SLIDESHOW;
  UINT nFirst = pPopup->GetMenuItemCount() > 0 ? pPopup->GetMenuItemID(0) : 0;
  if (nFirst == (UINT)-1) {
    CMenu* pSub = pPopup->GetSubMenu(0);
    nFirst = pSub && pSub->GetMenuItemCount() > 0 ? pSub->GetMenuItemID(0) : 0;
  }

  if (nIndex == 0 && nFirst == 29501) {
    if (pToolbar) pToolbar->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
    if (pFolder && bFolderActive) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
    static const UINT kPrint[] = {29503, 29700, 29701, 29702, 57606};
    static const UINT kFileOps[] = {29502, 29505, 29506};
    if (bSlideShow) GreyItems(pPopup, kPrint, 5);
    if (bMusic) GreyItems(pPopup, kFileOps, 3);
    if (bChanging) {
      static const UINT kAll[] = {29503, 29700, 29701, 29702, 57606, 29502, 29505, 29506, 29507};
      GreyItems(pPopup, kAll, 9);
    }
  } else if (nIndex == 1 && nFirst == 57635) {
    if (pFolder && bFolderActive) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
    static const UINT kFolderCopy[] = {29703, 29704};
    if (bSlideShow) GreyItems(pPopup, kFolderCopy, 2);
    if (bMusic || bChanging) {
      static const UINT kEdit[] = {57635, 57634, 57637, 29511, 29512, 29513, 29515, 29514, 29516, 29517, 29518};
      GreyItems(pPopup, kEdit, 11);
    }
  } else if (nIndex == 2 && nFirst == 29531) {
    AdaptViewMenuToFolder(pPopup);
    if (pFolder) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
    pPopup->CheckMenuItem(ID_VIEW_STATUS_BAR,
                          MF_BYCOMMAND | (m_wndStatusBar.m_hWnd && (m_wndStatusBar.GetStyle() & WS_VISIBLE) ? MF_CHECKED : MF_UNCHECKED));
    int nCur, nMin;
    m_wndRowSplitter.GetRowInfo(0, nCur, nMin);
    pPopup->CheckMenuItem(29531, MF_BYCOMMAND | (nCur > 0 ? MF_CHECKED : MF_UNCHECKED));
    m_wndFolderSplitter.GetColumnInfo(0, nCur, nMin);
    pPopup->CheckMenuItem(29532, MF_BYCOMMAND | (nCur > 0 ? MF_CHECKED : MF_UNCHECKED));
    m_wndExportSplitter.GetColumnInfo(1, nCur, nMin);
    pPopup->CheckMenuItem(29533, MF_BYCOMMAND | (nCur > 0 ? MF_CHECKED : MF_UNCHECKED));
    pPopup->EnableMenuItem(29531, MF_BYCOMMAND | MF_ENABLED);
    pPopup->EnableMenuItem(29533, MF_BYCOMMAND | MF_ENABLED);
    // The mode, sort and filter items follow the strip.
    CWnd* pStrip = GetSubView();
    BOOL bStripEnabled = pStrip && pStrip->m_hWnd && pStrip->IsWindowEnabled();
    std::vector<UINT> ids = std::vector<UINT>{29541, 29545, 29546, 29547, 29543, 29544} + IdRange(29561, 29578) +
                            IdRange(29581, 29587) + IdRange(29591, 29595);
    for (UINT nID : ids) pPopup->EnableMenuItem(nID, MF_BYCOMMAND | (bStripEnabled && !bMusic ? MF_ENABLED : MF_GRAYED));
    if (bMusic) pPopup->EnableMenuItem(29534, MF_BYCOMMAND | MF_GRAYED);
    if (pToolbar) pToolbar->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
  } else if (nIndex == 3 && nFirst == 29621) {
    if (pToolbar) pToolbar->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
    AssignMenuAccessKeys(pPopup, ACCESSKEYS_LETTERS);
    if (::GetFileAttributesA(ProgramFolderPath("VxDBSearch.DLL")) == INVALID_FILE_ATTRIBUTES &&
        HasItem(pPopup->m_hMenu, 29632)) {
      // The search item, its entry of the same text and the separator after that go.
      CString strItem;
      pPopup->GetMenuString(29632, strItem, MF_BYCOMMAND);
      int nEntry = -1;
      for (int i = 0, n = pPopup->GetMenuItemCount(); i < n && nEntry < 0; ++i) {
        CString strText;
        pPopup->GetMenuString(i, strText, MF_BYPOSITION);
        if (!strText.IsEmpty() && strText.CompareNoCase(strItem) == 0) nEntry = i;
      }
      pPopup->DeleteMenu(29632, MF_BYCOMMAND);
      if (nEntry >= 0) {
        pPopup->DeleteMenu(nEntry, MF_BYPOSITION);
        if (nEntry < pPopup->GetMenuItemCount() && (pPopup->GetMenuState(nEntry, MF_BYPOSITION) & MF_SEPARATOR))
          pPopup->DeleteMenu(nEntry, MF_BYPOSITION);
      }
    }
    if (CMGetProfileInt("dotSeek", "Flag", 0) == 0) {
      for (UINT nID : {29725u, 29726u, 29727u}) pPopup->DeleteMenu(nID, MF_BYCOMMAND);
    }
  } else if (nIndex == 4 && nFirst == 29301) {
    if (CFView_Export* pExport = GetExportPane()) pExport->OnInitMenuPopup(pPopup, 0, FALSE);
  } else if ((nIndex == 12 || nIndex == 13) && nFirst == 29601) {
    if (pFolder) pFolder->OnInitMenuPopup(pPopup, nIndex, bSysMenu);
  }
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
    reinsert({29561});
  else
    ::DeleteMenu(hLive, 29561, MF_BYCOMMAND);

  if (status.IsSDAudioVoiceFolder() && !bReport) {
    DeleteIds(hLive, kModes + kSorts + kFilters);
    if (status.IsSDAudioFolder()) DeleteIds(hLive, kVoiceSorts);
    if (status.IsSDVoiceFolder()) DeleteIds(hLive, kAudioSorts);
    reinsert({29595});
    reinsert(status.IsSDAudioFolder() ? kAudioSorts : kVoiceSorts);
  } else {
    ::DeleteMenu(hLive, 29595, MF_BYCOMMAND);
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
    SetMessageText(strPrompt);
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
  if (nID >= 29241 && nID <= 29250) {
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
    if (pExport) pExport->GetEntryDescription(pExport->FindEntryById((int)nID - 28177), &rMessage);
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
  CFrameWnd::GetMessageString(nID, rMessage);
}
