#include "PluginTreeCtrl.h"

#include <MainWndMessages.h>

#include <vector>

#include <textkit/path.h>
#include <textkit/text.h>

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
    if (item.kind >= 1 && item.kind <= 6) item.kindText = KindText(h, *pRecord);
    items.push_back(item);
    hLast = h;
  }
  if (phLast) *phLast = hLast;
  return foldertext::BuildRequest(items);
}

namespace {

// The plain files of a folder (not hidden, not system, not "title.txt").
std::vector<std::string> PlainFiles(const std::string& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (lstrcmpiA(fd.cFileName, "title.txt") == 0) continue;
    files.push_back(folder + "\\" + fd.cFileName);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return files;
}

// The audio files under a folder and all its sub-folders.
void AudioFiles(const std::string& folder, std::vector<std::string>* pFiles) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..") || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
      continue;
    std::string path = folder + "\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AudioFiles(path, pFiles);
      continue;
    }
    std::string ext = textkit::LowerAscii(textkit::ExtensionOf(path));
    if (ext == ".m4a" || ext == ".mp3" || ext == ".wav" || ext == ".wma") pFiles->push_back(path);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
}

}  // namespace

std::string CPluginTreeCtrl::KindText(HTREEITEM hItem, const PluginItemRecord& record) {
  std::string path = record.path ? record.path : "";
  textkit::TrimTrailingSeparators(path);
  switch (record.kind) {
    case PLUGIN_ITEM_GROUP: {
      std::vector<foldertext::Group> groups;
      for (HTREEITEM h = GetChildItem(hItem); h; h = GetNextSiblingItem(h)) {
        const PluginItemRecord* r = reinterpret_cast<const PluginItemRecord*>(GetItemData(h));
        std::string child = r && r->path ? r->path : "";
        textkit::TrimTrailingSeparators(child);
        groups.push_back({(LPCSTR)GetItemText(h), PlainFiles(child)});
      }
      std::vector<std::string> own = PlainFiles(path);
      return foldertext::GroupText((LPCSTR)GetItemText(hItem), groups, false, &own);
    }
    case PLUGIN_ITEM_MUSIC: {
      std::vector<std::string> files;
      AudioFiles(path, &files);
      return foldertext::MusicText((int)record.extra, files);
    }
    case PLUGIN_ITEM_DISC_DATE: return "|3|" + std::string(record.path ? record.path : "") + "||";
    default:
      // Saved searches, print orders and classifications ask the photo database: not here yet.
      return "";
  }
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
