// Navigation of the folder pane: up, go-to-folder, a tree made current by its title (the
// browser's own folder changes arrive that way), re-sending the current selection, the
// classification tree's first groups, and the frame's back, forward and up buttons.
#include <Kitlib2/Kitlib2.h>
#include <shlobj.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include <textkit/path.h>
#include <textkit/text.h>

#include "FView_Folder.h"
#include "FolderTextRules.h"
#include "ImageCheckButton.h"
#include "MainFrame.h"
#include "PluginTreeCtrl.h"
#include "ToolList.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ResourceDialog.h"

namespace {

const char kFolderInfo[] = "VxFolder\\FolderInfo";

const PluginItemRecord* RecordOf(CTreeCtrl* pTree, HTREEITEM h) {
  return h ? reinterpret_cast<const PluginItemRecord*>(pTree->GetItemData(h)) : NULL;
}

std::string NoTrailing(std::string path) {
  textkit::TrimTrailingSeparators(path);
  return path;
}

}  // namespace

void CFView_Folder::SendAsTree(CPluginTreeCtrl* pTree, const std::string& request) {
  std::vector<char> block = foldertext::PaddedBlock(request);
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), block.data()};
  SendMessage(WM_COPYDATA, (WPARAM)pTree->GetSafeHwnd(), (LPARAM)&cds);
}

HWND CFView_Folder::BrowserView() const {
  if (s_hBrowserView) return s_hBrowserView;
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  return pFrame ? pFrame->GetToolWindow(TOOL_BROWSER) : NULL;
}

void CFView_Folder::OpenSection(CTreePluginEntry* p) {
  if (!m_manager.IsShown(p) || !m_manager.IsActive(p)) {
    m_manager.SetShown(p, TRUE);
    m_manager.SetActive(p, TRUE);
    SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(TITLEBUTTON_NOTIFY_CHOSEN, 0), (LPARAM)p);
  }
  if (!p->m_bCreated) m_manager.SetCurrent(p, this);
  if (!p->m_pTreeWnd) return;
  p->m_pTreeWnd->EnableWindow(TRUE);
  p->m_pTreeWnd->ShowWindow(SW_SHOWNA);
  for (INT_PTR b = 0; b < m_buttons.GetSize(); ++b)
    if (m_buttons[b]->GetEntry() == p) {
      m_buttons[b]->EnableWindow(TRUE);
      m_buttons[b]->ShowWindow(SW_SHOWNA);
    }
  Relayout();
  UpdateWindow();
}

void CFView_Folder::GetDesktopFolderPath(char* pszPath) {
  pszPath[0] = 0;
  LPITEMIDLIST pidl = NULL;
  if (FAILED(::SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, &pidl)) || !pidl) return;
  if (!::SHGetPathFromIDListA(pidl, pszPath)) pszPath[0] = 0;
  ::CoTaskMemFree(pidl);
}

// ---- Up ---------------------------------------------------------------------------------

BOOL CFView_Folder::GoUp() {
  CTreePluginEntry* p = CurrentEntry();
  CPluginTreeCtrl* pTree = p ? p->m_pTreeWnd : NULL;
  HTREEITEM hCaret = pTree ? pTree->GetSelectedItem() : NULL;
  if (!hCaret) return TRUE;
  HTREEITEM hParent = pTree->GetParentItem(hCaret);
  if (!hParent) {
    pTree->SendFolderChange();
    return TRUE;
  }
  pTree->SelectAllExcept(FALSE, hParent);
  pTree->SetPendingResend(TRUE);  // the program's move is announced
  pTree->SetItemState(hParent, TVIS_SELECTED, TVIS_SELECTED);
  pTree->SelectItem(hParent);
  return TRUE;
}

BOOL CFView_Folder::CanGoUp() const {
  CTreePluginEntry* p = CurrentEntry();
  CPluginTreeCtrl* pTree = p ? p->m_pTreeWnd : NULL;
  HTREEITEM hCaret = pTree ? pTree->GetSelectedItem() : NULL;
  if (!hCaret || BrowserShowsCalendar()) return FALSE;
  if (pTree->GetParentItem(hCaret)) return TRUE;
  CTreePluginManager& m = const_cast<CTreePluginManager&>(m_manager);
  if (m.GetTitle(p, m.GetKind(p)) != LoadResourceText(IDS_TREE_TITLE_FAVOURITES)) return FALSE;
  // A favourite shows its folder; up leaves it once the browser went elsewhere.
  const PluginItemRecord* r = RecordOf(pTree, hCaret);
  std::string caret = NoTrailing(r && r->path ? r->path : "");
  return !textkit::EqualNoCase(caret, NoTrailing((LPCSTR)m_manager.GetCurrentFolder()));
}

// ---- Go to a typed folder -------------------------------------------------------------------

BOOL CFView_Folder::OpenFolderByPath() {
  CTreePluginEntry* pDisk = EntryByTitle(LoadResourceText(IDS_TREE_TITLE_DISK));
  if (!pDisk || !pDisk->m_pTreeWnd) return FALSE;
  CPathInputDlg dlg(this);
  if (dlg.DoModal() == IDOK) OpenFolderPath(dlg.m_strPath);
  return TRUE;
}

BOOL CFView_Folder::OpenFolderPath(LPCSTR lpszPath) {
  CTreePluginEntry* pDisk = EntryByTitle(LoadResourceText(IDS_TREE_TITLE_DISK));
  if (!pDisk || !pDisk->m_pTreeWnd) return FALSE;
  OpenSection(pDisk);
  std::string path = foldertext::WithOneBackslash(lpszPath ? lpszPath : "");
  SendAsTree(pDisk->m_pTreeWnd, "|1|" + path + "||");
  m_manager.SelectFolder(pDisk, path.c_str());
  pDisk->m_pTreeWnd->SetFocus();
  return TRUE;
}

// ---- A tree by its title --------------------------------------------------------------------

BOOL CFView_Folder::SelectTreeByTitle(LPCSTR lpszTitle, LPCSTR lpszPath, BOOL bFocus) {
  CTreePluginEntry* p = EntryByTitle(lpszTitle);
  if (!p || !p->m_pTreeWnd) return TRUE;
  OpenSection(p);
  CPluginTreeCtrl* pTree = p->m_pTreeWnd;
  m_manager.SelectFolder(p, lpszPath);
  if (bFocus) pTree->SetFocus();
  m_hCurrentTree = pTree->m_hWnd;
  m_nCurrentTree = TreeNumberOf(m_hCurrentTree, NULL);
  m_strCurrentTitle = m_manager.GetTitle(p, m_manager.GetKind(p));
  std::string path = lpszPath ? lpszPath : "";
  if (m_strCurrentTitle == LoadResourceText(IDS_TREE_TITLE_FAVOURITES)) {
    m_manager.SetCurrentFolder(path.c_str());
    m_history.Truncate();
    m_history.SetPosition(m_history.Count());
  } else if (m_strCurrentTitle == LoadResourceText(IDS_TREE_TITLE_CARD)) {
    m_history.Truncate();
    if (textkit::EqualNoCase((LPCSTR)m_manager.GetCurrentFolder(), path)) {
      m_history.Push(HistoryEntryOf(p));
    } else {
      m_manager.SetCurrentFolder(path.c_str());
      m_history.SetPosition(m_history.Count());
    }
  }
  int nClassify = -1;
  if (m_strCurrentTitle == LoadResourceText(IDS_TREE_TITLE_CLASSIFY)) {
    HTREEITEM hTop = pTree->GetSelectedItem();
    while (hTop && pTree->GetParentItem(hTop)) hTop = pTree->GetParentItem(hTop);
    CString strTop = hTop ? pTree->GetItemText(hTop) : CString();
    for (int k = 0; hTop; ++k) {
      CString strGroup = LoadResourceText(IDS_CLASSIFY_GROUP_FIRST + k);
      if (strGroup.IsEmpty()) break;
      if (strGroup == strTop) {
        nClassify = k;
        break;
      }
    }
  }
  CMWriteProfileInt(kFolderInfo, "Classify", nClassify);
  return TRUE;
}

BOOL CFView_Folder::SelectQueryByTitle(LPCSTR lpszTitle, LPCSTR lpszQuery, BOOL bFocus) {
  CTreePluginEntry* p = EntryByTitle(lpszTitle);
  if (!p || !p->m_pTreeWnd) return FALSE;
  OpenSection(p);
  m_manager.SelectQuery(p, lpszQuery);
  if (bFocus) p->m_pTreeWnd->SetFocus();
  m_hCurrentTree = p->m_pTreeWnd->m_hWnd;
  p->m_pTreeWnd->SendFolderChange();
  return TRUE;
}

BOOL CFView_Folder::OpenTreeItemByName(LPCSTR lpszName) {
  for (int i = 0; i < m_manager.GetEntryCount(); ++i) {
    CTreePluginEntry* p = m_manager.GetEntry(i);
    if (!p || !p->m_pTreeWnd) continue;
    HTREEITEM hItem = NULL;
    if (FAILED(m_manager.SearchTreeItem(p, lpszName, &hItem)) || !hItem) continue;
    CPluginTreeCtrl* pTree = p->m_pTreeWnd;
    OpenSection(p);
    pTree->SelectItem(hItem);
    pTree->SetFocus();
    pTree->Expand(hItem, TVE_EXPAND);
    m_hCurrentTree = pTree->m_hWnd;
    SendAsTree(pTree, pTree->BuildRequest(NULL));
    return TRUE;
  }
  return FALSE;
}

void CFView_Folder::ReopenSelection(BOOL bReset) {
  if (bReset) m_manager.SetCurrentFolder(" ");
  CTreePluginEntry* p = EntryByTitle(m_strCurrentTitle);
  if (p && p->m_pTreeWnd && p->m_pTreeWnd->IsWindowEnabled()) {
    CPluginTreeCtrl* pTree = p->m_pTreeWnd;
    SendAsTree(pTree, pTree->BuildRequest(NULL));
    m_manager.SelectTreeItem(p, pTree->GetSelectedItem());
    pTree->SetFocus();
  }
  SetButtonImages();
}

// ---- Messages -----------------------------------------------------------------------------------

LRESULT CFView_Folder::OnSelectClassifyRoots(WPARAM, LPARAM) {
  CTreePluginEntry* p = EntryByTitle(LoadResourceText(IDS_TREE_TITLE_CLASSIFY));
  if (!p || !p->m_pTreeWnd) return 0;
  CPluginTreeCtrl* pTree = p->m_pTreeWnd;
  CString strFirst = LoadResourceText(IDS_CLASSIFY_GROUP_FIRST);
  for (HTREEITEM h = pTree->GetRootItem(); h; h = pTree->GetNextSiblingItem(h)) {
    if (pTree->GetItemText(h) != strFirst) continue;
    pTree->SelectAllExcept(FALSE, h);
    pTree->SetItemState(h, TVIS_SELECTED, TVIS_SELECTED);
    pTree->SelectItem(h);
    SendAsTree(pTree, pTree->BuildRequest(NULL));
  }
  return 0;
}

LRESULT CFView_Folder::OnStoreHistoryBack(WPARAM, LPARAM) {
  CMWriteProfileInt(kFolderInfo, "HistoryFolderBack", m_history.Position() > 0 ? m_history.Position() : 0);
  return 0;
}

LRESULT CFView_Folder::OnStoreHistoryForward(WPARAM, LPARAM) {
  int nAhead = m_history.Position() >= 0 ? m_history.Count() - 1 - m_history.Position() : 0;
  CMWriteProfileInt(kFolderInfo, "HistoryFolderForward", nAhead > 0 ? nAhead : 0);
  return 0;
}

LRESULT CFView_Folder::OnGoBack(WPARAM, LPARAM) { return GoBack() ? 0 : E_FAIL; }
LRESULT CFView_Folder::OnGoForward(WPARAM, LPARAM) { return GoForward() ? 0 : E_FAIL; }
LRESULT CFView_Folder::OnGoUp(WPARAM, LPARAM) { return GoUp(); }

// A tree walked to its saved selection (its plug-in's worker did it, so the caret moves
// were not announced): the selection is opened unless it is what the plug-in last stored
// as opened. The stored text is used up either way.
LRESULT CFView_Folder::OnOpenFolder(WPARAM wParam, LPARAM) {
  CTreePluginEntry* pEntry = NULL;
  if (!TreeNumberOf(reinterpret_cast<HWND>(wParam), &pEntry) || !pEntry || !pEntry->m_pTreeWnd) return 0;
  CPluginTreeCtrl* pTree = pEntry->m_pTreeWnd;
  std::string selected;
  for (HTREEITEM h = pTree->GetFirstSelectedItem(); h; h = pTree->GetNextSelectedItem(h)) {
    const PluginItemRecord* r = RecordOf(pTree, h);
    if (!r || !r->path || !*r->path) continue;
    if (!selected.empty()) selected += "|";
    selected += textkit::WithTrailingSeparator(NoTrailing(r->path));
  }
  std::string stored = (LPCSTR)CMGetProfileString("VxFolder\\FolderInfo", "OpenFolder", "");
  CMWriteProfileString("VxFolder\\FolderInfo", "OpenFolder", "");
  size_t bar = stored.find('|');
  std::string storedPaths;
  if (bar != std::string::npos) {
    for (const std::string& part : textkit::Split(stored.substr(bar + 1), '|')) {
      if (part.empty()) continue;
      if (!storedPaths.empty()) storedPaths += "|";
      storedPaths += textkit::WithTrailingSeparator(NoTrailing(part));
    }
  }
  if (selected.empty() || textkit::EqualNoCase(selected, storedPaths)) return 0;
  SendAsTree(pTree, pTree->BuildRequest(NULL));
  m_manager.SelectTreeItem(pEntry, NULL);
  return 0;
}

LRESULT CFView_Folder::OnNavigationButtons(WPARAM, LPARAM) {
  SetNavigationButtons();
  return 0;
}

void CFView_Folder::SetNavigationButtons() {
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  if (!pFrame) return;
  pFrame->EnableFolderForwardButton(CanGoForward());
  pFrame->EnableFolderBackButton(CanGoBack());
  pFrame->EnableFolderUpButton(CanGoUp());
}
