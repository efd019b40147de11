#include "PluginTreeCtrl.h"

#include <MainWndMessages.h>

#include <vector>

#include "FolderTextRules.h"
#include "TreePluginManager.h"

BEGIN_MESSAGE_MAP(CPluginTreeCtrl, CCheckTreeCtrl)
  ON_NOTIFY_REFLECT(TVN_SELCHANGED, &CPluginTreeCtrl::OnSelChanged)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CPluginTreeCtrl::OnItemExpanding)
END_MESSAGE_MAP()

CPluginTreeCtrl::CPluginTreeCtrl() : m_pManager(NULL), m_pEntry(NULL), m_nIndex(-1), m_bReady(FALSE) {}

BOOL CPluginTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bMultiSelect,
                             BOOL bNotify) {
  m_bMultiSelect = bMultiSelect ? 1 : 0;
  m_bNotify = bMultiSelect ? 0 : (bNotify ? 1 : 0);
  return CTreeCtrl::Create(dwStyle, rect, pParentWnd, nID);
}

void CPluginTreeCtrl::SetPlugin(CTreePluginManager* pManager, CTreePluginEntry* pEntry, int nIndex) {
  m_pManager = pManager;
  m_pEntry = pEntry;
  m_nIndex = nIndex;
}

void CPluginTreeCtrl::AfterRenewal() { Invalidate(); }

std::string CPluginTreeCtrl::BuildRequest(HTREEITEM* phLast) {
  std::vector<foldertext::SelectedItem> items;
  HTREEITEM hLast = NULL;
  for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h)) {
    foldertext::SelectedItem item;
    const PluginItemRecord* pRecord = reinterpret_cast<const PluginItemRecord*>(GetItemData(h));
    if (!pRecord) {
      item.hasRecord = false;
      items.push_back(item);
      continue;
    }
    item.kind = (int)pRecord->kind;
    item.path = pRecord->path ? pRecord->path : "";
    if (item.kind == PLUGIN_ITEM_DISC_DATE) item.kindText = "|3|" + item.path + "||";
    items.push_back(item);
    hLast = h;
  }
  if (phLast) *phLast = hLast;
  return foldertext::BuildRequest(items);
}

void CPluginTreeCtrl::SendFolderChange() {
  HTREEITEM hLast = NULL;
  std::string text = BuildRequest(&hLast);
  COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, 0, NULL};
  std::vector<char> block = foldertext::PaddedBlock(text);
  cds.cbData = (DWORD)block.size();
  cds.lpData = block.data();
  if (CWnd* pOwner = GetParent()) pOwner->SendMessage(WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
  if (m_pManager && text.size() >= 2) m_pManager->SelectTreeItem(m_pEntry, hLast);
}

void CPluginTreeCtrl::DoActions(DWORD dwFlags) {
  if (!m_pManager) return;
  if (dwFlags & PLUGIN_ACTION_REFRESH_OTHERS) m_pManager->RefreshAllExcept(m_pEntry, FALSE);
  if ((dwFlags & PLUGIN_ACTION_RELOAD) && GetParent()) GetParent()->PostMessage(WM_BROWSER_RELOAD, (WPARAM)m_hWnd, 0);
  if (dwFlags & PLUGIN_ACTION_REOPEN) SendFolderChange();
  if ((dwFlags & PLUGIN_ACTION_EDIT_LABEL) && GetSelectedItem()) {
    SetFocus();
    EditLabel(GetSelectedItem());
  }
}

HRESULT CPluginTreeCtrl::HandDrop(HGLOBAL hDropped, DWORD dwEffect, CPoint point) {
  if (!m_pManager || !hDropped) return E_INVALIDARG;
  SIZE_T cb = ::GlobalSize(hDropped);
  HGLOBAL hCopy = cb ? ::GlobalAlloc(GMEM_MOVEABLE, cb) : NULL;
  if (!hCopy) return E_OUTOFMEMORY;
  void* pFrom = ::GlobalLock(hDropped);
  void* pTo = ::GlobalLock(hCopy);
  if (pFrom && pTo) memcpy(pTo, pFrom, cb);
  if (pTo) ::GlobalUnlock(hCopy);
  if (pFrom) ::GlobalUnlock(hDropped);
  HRESULT hr = m_pManager->Drop(m_pEntry, hCopy, dwEffect, point.x, point.y);
  ::GlobalFree(hCopy);
  if (hr != S_OK) return hr;  // a failed drop changes nothing
  m_pManager->Refresh(TRUE);
  SendFolderChange();
  return S_OK;
}

void CPluginTreeCtrl::OnSelChanged(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (IsSilent()) return;  // a step inside a multi-selection change
  SendFolderChange();
}

void CPluginTreeCtrl::OnItemExpanding(NMHDR* pNotify, LRESULT* pResult) {
  NMTREEVIEWA* pnm = reinterpret_cast<NMTREEVIEWA*>(pNotify);
  *pResult = m_pManager ? (m_pManager->ExpandTree(m_pEntry, pnm->itemNew.hItem) != 0) : 0;
}
