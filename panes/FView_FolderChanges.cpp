// Folder changes through the folder pane: a tree's request goes out to the main window
// framed with the tree's number and title; a change the browser reports selects its tree.
// Texts from other processes arrive here through the frame's relay: every read is
// bounded by the block's length, and a text that is no folder change is ignored.
#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxBDCore.h>

#include <vector>

#include <textkit/records.h>
#include <textkit/text.h>
#include <VxResourceIds.h>

#include "FView_Folder.h"
#include "FolderTextRules.h"
#include "ImageCheckButton.h"
#include "PluginTreeCtrl.h"
#include "ui/ResourceDialog.h"

namespace {
const char kFolderInfo[] = "VxFolder\\FolderInfo";
// The browser's own text goes back to it once the database trees answered its move.
const UINT kPendingDelayMs = 250;
}  // namespace

void CFView_Folder::ForwardChange(const std::string& text) {
  CWnd* pMain = AfxGetMainWnd();
  if (!pMain || !pMain->GetSafeHwnd() || pMain == this) return;
  std::vector<char> block = foldertext::PaddedBlock(text);
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), block.data()};
  pMain->SendMessage(WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
}

BOOL CFView_Folder::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyData) {
  if (!pCopyData) return TRUE;
  if (CMGetProfileInt("VxExport", "ShowPreview", 0) == 1) return TRUE;
  HWND hSender = pWnd ? pWnd->GetSafeHwnd() : NULL;
  CTreePluginEntry* pEntry = NULL;
  int nTree = hSender == m_hWnd ? 1 : TreeNumberOf(hSender, &pEntry);
  if (hSender == m_hWnd) TreeNumberOf(TreeWindowAt(1), &pEntry);
  const char* data = static_cast<const char*>(pCopyData->lpData);
  size_t cb = pCopyData->lpData ? pCopyData->cbData : 0;
  if (nTree > 0 && pEntry) {
    OnTreeRequest(nTree, pEntry, data, cb);
  } else if (pCopyData->dwData == CDID_CHANGE_FOLDER || pCopyData->dwData == CDID_SELECT_QUERY) {
    // The browser moved by itself (or asks for a query): its tree follows.
    foldertext::ReceivedChange r = foldertext::ReadChange(data, cb);
    if (!r.ok) return TRUE;  // no folder change: ignored
    if (CTreePluginEntry* pNumbered = m_manager.GetEntry(r.treeNumber - 1))
      r.title = (LPCSTR)m_manager.GetTitle(pNumbered, m_manager.GetKind(pNumbered));
    CFrameWnd* pFrame = GetParentFrame();
    BOOL bFocus = pFrame && pFrame->GetActiveView() == this;
    if (pCopyData->dwData == CDID_SELECT_QUERY) {
      SelectQueryByTitle(r.title.c_str(), r.payload.c_str(), bFocus);
    } else {
      SelectTreeByTitle(r.title.c_str(), r.payload.c_str(), bFocus);
      CMWriteProfileInt(kFolderInfo, "MemoryCard", r.title == (LPCSTR)LoadResourceText(IDS_TREE_TITLE_CARD) ? 1 : 0);
      CString strCategory = CMGetProfileString("ImportPlugin\\Category", "Display", "");
      CString strSearch = CMGetProfileString("ImportPlugin\\Search", "Display", "");
      bool dbTree = (!strCategory.IsEmpty() && m_strCurrentTitle == strCategory) ||
                    (!strSearch.IsEmpty() && m_strCurrentTitle == strSearch);
      if (hSender && hSender == BrowserView() && dbTree) {
        // The database trees answer the browser's move with a list of their own; the
        // browser gets its own text back once they are done.
        m_strPendingText = textkit::TakeText(data, cb);
        SetTimer(kPendingTimer, kPendingDelayMs, NULL);
      }
    }
  }
  SetButtonImages();
  return TRUE;
}

void CFView_Folder::OnTreeRequest(int nTree, CTreePluginEntry* pEntry, const char* data, size_t cb) {
  switch (foldertext::CardTreeSwitchOf(m_nCurrentTree, nTree)) {
    case foldertext::CardTreeSwitch::Leave:
      if (IVxBDCoreObject* pCore = GetVxBDCoreObject()) {
        pCore->ClearDriveSelection();
        pCore->Release();
      }
      break;
    case foldertext::CardTreeSwitch::Enter:
      if (CWnd* pMain = AfxGetMainWnd())
        if (pMain->GetSafeHwnd()) pMain->PostMessage(WM_REFRESH_FOLDERS, (WPARAM)pMain->m_hWnd, 0);
      break;
    case foldertext::CardTreeSwitch::None: break;
  }
  bool sameTree = m_nCurrentTree == nTree;
  m_nCurrentTree = nTree;
  m_strCurrentTitle = m_manager.GetTitle(pEntry, m_manager.GetKind(pEntry));
  if (pEntry->m_pTreeWnd) m_hCurrentTree = pEntry->m_pTreeWnd->m_hWnd;
  if (!cb || !memchr(data, 0, cb)) {
    m_manager.SetCurrentFolder("");
  } else {
    std::string request(data);
    std::string comparable = foldertext::ComparableSelection(request);
    std::string current = (LPCSTR)m_manager.GetCurrentFolder();
    std::string text = foldertext::FrameChange(m_manager.IndexOf(pEntry) + 1, (LPCSTR)m_strCurrentTitle, request);
    foldertext::ReceivedChange framed = foldertext::ReadChange(text.c_str(), text.size() + 1);
    bool classify = m_strCurrentTitle == LoadResourceText(IDS_TREE_TITLE_CLASSIFY);
    if (sameTree && classify && comparable == current) {
      if (!m_bNavigating) m_history.Push(HistoryEntryOf(pEntry));  // the same groups again
    } else if (sameTree && !classify && textkit::EqualNoCase(comparable, current)) {
      // The same folder again; a group list or print order may still have changed.
      if ((framed.kind == 2 || framed.kind == 3) &&
          !textkit::EqualNoCase(framed.payload, (LPCSTR)m_manager.GetQueryText())) {
        ForwardChange(text);
        m_manager.SetQueryText(framed.payload.c_str());
      }
    } else {
      if (!m_bNavigating) m_history.Push(HistoryEntryOf(pEntry));
      SetNavigationButtons();
      ForwardChange(text);
      m_manager.SetCurrentFolder(comparable.c_str());
      m_manager.SetQueryText(framed.kind == 2 ? framed.payload.c_str() : "");
    }
  }
  CString strSearch = CMGetProfileString("ImportPlugin\\Search", "Display", "");
  int nType = m_manager.GetFolderTypeNum(pEntry);
  CMWriteProfileInt(kFolderInfo, "MemoryCard", m_strCurrentTitle == LoadResourceText(IDS_TREE_TITLE_CARD) ? nType : 0);
  CMWriteProfileInt(kFolderInfo, "Classify",
                    m_strCurrentTitle == LoadResourceText(IDS_TREE_TITLE_CLASSIFY) ? nType : -1);
  CMWriteProfileInt(kFolderInfo, "SearchResult", !strSearch.IsEmpty() && m_strCurrentTitle == strSearch ? nType : -1);
}

// ---- History ------------------------------------------------------------------------------

namespace {

folderhistory::Item ItemOf(CTreeCtrl* pTree, HTREEITEM h) {
  folderhistory::Item item;
  item.handle = h;
  if (const PluginItemRecord* r = reinterpret_cast<const PluginItemRecord*>(pTree->GetItemData(h))) {
    item.path = r->path ? r->path : "";
    item.kind = (int)r->kind;
  }
  return item;
}

void CollectItems(CTreeCtrl* pTree, HTREEITEM hFirst, std::vector<folderhistory::Item>* pItems) {
  for (HTREEITEM h = hFirst; h; h = pTree->GetNextSiblingItem(h)) {
    pItems->push_back(ItemOf(pTree, h));
    CollectItems(pTree, pTree->GetChildItem(h), pItems);
  }
}

}  // namespace

folderhistory::Entry CFView_Folder::HistoryEntryOf(CTreePluginEntry* pEntry) {
  folderhistory::Entry e;
  e.title = (LPCSTR)m_manager.GetTitle(pEntry, m_manager.GetKind(pEntry));
  if (m_manager.IsDoThread(pEntry) || !pEntry->m_pTreeWnd) return e;  // the worker may still move things
  CPluginTreeCtrl* pTree = pEntry->m_pTreeWnd;
  for (HTREEITEM h = pTree->GetFirstSelectedItem(); h; h = pTree->GetNextSelectedItem(h))
    if (pTree->GetItemData(h)) e.items.push_back(ItemOf(pTree, h));
  return e;
}

BOOL CFView_Folder::OpenHistoryEntry(const folderhistory::Entry& entry) {
  if (entry.items.empty()) return FALSE;
  CTreePluginEntry* p = EntryByTitle(entry.title.c_str());
  if (!p || !p->m_pTreeWnd || !p->m_pTreeWnd->IsWindowEnabled()) return FALSE;
  CPluginTreeCtrl* pTree = p->m_pTreeWnd;
  // Handles are compared, never used, until the tree has shown it still has them.
  std::vector<folderhistory::Item> now;
  CollectItems(pTree, pTree->GetRootItem(), &now);
  std::vector<HTREEITEM> found;
  for (const folderhistory::Item& stored : entry.items)
    if (const void* h = folderhistory::Resolve(stored, now)) found.push_back((HTREEITEM)h);
  if (found.empty()) return FALSE;
  if (!m_manager.IsActive(p)) {
    m_manager.SetActive(p, TRUE);
    SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(TITLEBUTTON_NOTIFY_CHOSEN, 0), (LPARAM)p);
  }
  m_bNavigating = TRUE;
  pTree->SelectAllExcept(FALSE, found[0]);
  pTree->SelectItem(found[0]);
  for (size_t i = 1; i < found.size(); ++i) pTree->SetItemState(found[i], TVIS_SELECTED, TVIS_SELECTED);
  pTree->SendFolderChange();
  m_bNavigating = FALSE;
  SetButtonImages();
  return TRUE;
}

BOOL CFView_Folder::StepHistory(int nStep) {
  int nStart = m_history.Position();
  for (int pos = nStart + nStep; pos >= 0 && pos < m_history.Count(); pos += nStep) {
    m_history.SetPosition(pos);
    if (OpenHistoryEntry(m_history.At(pos))) return TRUE;
  }
  m_history.SetPosition(nStart);
  return FALSE;
}
