// Folder changes through the folder pane: a tree's request goes out to the main window
// framed with the tree's number and title; a change the browser reports selects its tree.
// Texts from other processes arrive here through the frame's relay: every read is
// bounded by the block's length, and a text that is no folder change is ignored.
#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxBDCore.h>

#include <vector>

#include "FView_Folder.h"
#include "FolderTextRules.h"
#include "ImageCheckButton.h"
#include "PluginTreeCtrl.h"

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
  if (hSender == m_hWnd && m_manager.GetEntryCount()) pEntry = m_manager.GetEntry(0);
  const char* data = static_cast<const char*>(pCopyData->lpData);
  size_t cb = pCopyData->lpData ? pCopyData->cbData : 0;
  if (nTree > 0 && pEntry) {
    // From one of our trees: the request, bounded by its block.
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
      case foldertext::CardTreeSwitch::None:
        break;
    }
    m_nCurrentTree = nTree;
    m_strCurrentTitle = m_manager.GetTitle(pEntry, m_manager.GetKind(pEntry));
    if (pEntry->m_pTreeWnd) m_hCurrentTree = pEntry->m_pTreeWnd->m_hWnd;
    if (!cb || !memchr(data, 0, cb)) {
      m_manager.SetCurrentFolder("");
      return TRUE;
    }
    std::string request(data);
    if (request == (LPCSTR)m_manager.GetCurrentFolder()) return TRUE;  // the same folder again
    if (!m_bNavigating) m_history.Push(HistoryEntryOf(pEntry));
    int nNumber = m_manager.IndexOf(pEntry) + 1;
    std::string text = foldertext::FrameChange(nNumber, (LPCSTR)m_strCurrentTitle, request);
    ForwardChange(text);
    m_manager.SetCurrentFolder(request.c_str());
    SetButtonImages();
    return TRUE;
  }
  if (pCopyData->dwData == CDID_CHANGE_FOLDER) {
    foldertext::ReceivedChange r = foldertext::ReadChange(data, cb);
    if (!r.ok) return TRUE;  // no folder change: ignored
    CTreePluginEntry* p = EntryByTitle(r.title.c_str());
    if (p) {
      m_manager.SelectFolder(p, r.payload.c_str());
      m_strCurrentTitle = r.title.c_str();
      if (p->m_pTreeWnd) m_hCurrentTree = p->m_pTreeWnd->m_hWnd;
    }
    SetButtonImages();
  }
  return TRUE;
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
