// What moves between a plug-in tree and the rest of the desktop: folders dragged out as
// files (and as the browser's folder format), files dropped in for the plug-in, the
// clipboard-viewer chain that tells the plug-in of clipboard changes, and the system's
// small icons the tree shows.
#include <MainWndMessages.h>
#include <VxDocument/Clipboard.h>
#include <shlobj.h>

#include <textkit/path.h>
#include <textkit/text.h>

#include "FView_Folder.h"
#include "PluginTreeCtrl.h"
#include "TreePluginManager.h"

namespace {

// The registered format the browser reads dragged folders from.
CLIPFORMAT BrowserFolderFormat() {
  static CLIPFORMAT cf = (CLIPFORMAT)::RegisterClipboardFormatA("CFSTR_BROWSER_FOLDERPATH");
  return cf;
}

HGLOBAL BlockOf(const void* data, size_t cb, size_t offset) {
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, offset + cb);
  if (!h) return NULL;
  char* p = static_cast<char*>(::GlobalLock(h));
  memcpy(p + offset, data, cb);
  if (offset >= sizeof(DROPFILES)) {
    DROPFILES* df = reinterpret_cast<DROPFILES*>(p);
    df->pFiles = (DWORD)offset;
    df->fWide = FALSE;
  }
  ::GlobalUnlock(h);
  return h;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

// ---- The system's small icons --------------------------------------------------------------

void CPluginTreeCtrl::TakeSystemIcons() {
  char szWindows[MAX_PATH] = "";
  ::GetWindowsDirectoryA(szWindows, MAX_PATH);
  std::string root = std::string(szWindows).substr(0, 3);
  SHFILEINFOA sfi = {};
  HIMAGELIST hSystem =
      (HIMAGELIST)::SHGetFileInfoA(root.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  // The system's list is shared: the tree owns a copy.
  if (!hSystem || !m_icons.Create(CImageList::FromHandle(hSystem))) return;
  m_icons.SetBkColor(CLR_NONE);
  SetImageList(&m_icons, TVSIL_NORMAL);
}

// ---- The clipboard-viewer chain -------------------------------------------------------------

void CPluginTreeCtrl::OnDrawClipboard() {
  Default();
  if (m_pManager && m_pEntry) m_pManager->DrawClipboard(m_pEntry);
  VxPassClipboardNotice(m_hNextViewer, WM_DRAWCLIPBOARD, 0, 0);
}

void CPluginTreeCtrl::OnChangeCbChain(HWND hRemoved, HWND hAfter) {
  Default();
  if (hRemoved == m_hNextViewer) {
    m_hNextViewer = hAfter;
  } else {
    VxPassClipboardNotice(m_hNextViewer, WM_CHANGECBCHAIN, (WPARAM)hRemoved, (LPARAM)hAfter);
  }
}

void CPluginTreeCtrl::OnDestroy() {
  m_dropTarget.Revoke();
  CCheckTreeCtrl::OnDestroy();
  ::ChangeClipboardChain(m_hWnd, m_hNextViewer);
  m_hNextViewer = NULL;
}

// ---- Dropping in -----------------------------------------------------------------------------

DROPEFFECT CTreeDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  m_remembered.clear();
  for (HTREEITEM h = m_pTree->GetFirstSelectedItem(); h; h = m_pTree->GetNextSelectedItem(h)) m_remembered.push_back(h);
  return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CTreeDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!pDataObject || !pDataObject->IsDataAvailable(CF_HDROP)) return DROPEFFECT_NONE;
  for (HTREEITEM h : m_remembered) m_pTree->SetItemState(h, 0, TVIS_SELECTED);
  CTreePluginManager* pManager = m_pTree->GetManager();
  if (!pManager) return DROPEFFECT_NONE;
  DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  int nImage = 0;
  pManager->DragOver(m_pTree->GetEntry(), pDataObject, dwKeyState, point.x, point.y, &dwEffect, &nImage);
  return dwEffect;
}

void CTreeDropTarget::OnDragLeave(CWnd*) {
  CImageList::DragShowNolock(FALSE);
  m_pTree->SelectDropTarget(NULL);
  for (HTREEITEM h : m_remembered) m_pTree->SetItemState(h, TVIS_SELECTED, TVIS_SELECTED);
  m_remembered.clear();
}

BOOL CTreeDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
  CImageList::DragShowNolock(FALSE);
  HGLOBAL hFiles = pDataObject ? pDataObject->GetGlobalData(CF_HDROP) : NULL;
  if (hFiles) m_pTree->TakeDrop(hFiles, dropEffect, point);
  m_pTree->SelectDropTarget(NULL);
  m_remembered.clear();
  return hFiles != NULL;
}

void CPluginTreeCtrl::TakeDrop(HGLOBAL hFiles, DWORD dwEffect, CPoint point) {
  if (m_hPendingDrop) ::GlobalFree(m_hPendingDrop);  // a drop not yet handed over is replaced
  m_hPendingDrop = hFiles;
  m_dwDropEffect = dwEffect;
  m_ptDrop = point;
  // The plug-in works on it once OLE's drop is over (it may show dialogs).
  PostMessage(WM_REFRESH_TREES, 0, 1);
}

LRESULT CPluginTreeCtrl::OnRefreshTrees(WPARAM, LPARAM lParam) {
  if (lParam == 0) {
    SendFolderChange();
  } else if (lParam == 1 && m_hPendingDrop) {
    HGLOBAL hFiles = m_hPendingDrop;
    m_hPendingDrop = NULL;
    HandDrop(hFiles, m_dwDropEffect, m_ptDrop);
    ::GlobalFree(hFiles);
  }
  return 0;
}

LRESULT CPluginTreeCtrl::OnOpenFolder(WPARAM, LPARAM lParam) {
  if (CWnd* pOwner = GetParent()) pOwner->SendMessage(WM_OPEN_FOLDER, (WPARAM)m_hWnd, lParam);
  return 0;
}

// ---- Dragging out ---------------------------------------------------------------------------

SCODE CTreeDragSource::GiveFeedback(DROPEFFECT dropEffect) {
  POINT pt;
  ::GetCursorPos(&pt);
  CImageList::DragMove(pt);
  return COleDropSource::GiveFeedback(dropEffect);
}

void CPluginTreeCtrl::OnBeginDrag(NMHDR* pNotify, LRESULT* pResult) {
  *pResult = 0;
  DragOut(reinterpret_cast<NMTREEVIEWA*>(pNotify)->itemNew.hItem);
}

DROPEFFECT CPluginTreeCtrl::DragOut(HTREEITEM hItem, COleDropSource* pSource) {
  // In focus mode the browser shows one picture: nothing is dragged out of the trees.
  const int kFocusMode = 5;
  if (!m_pManager || !hItem || !m_pManager->IsDragAndDrop(m_pEntry) || CFView_Folder::BrowserViewCode() == kFocusMode)
    return DROPEFFECT_NONE;
  HTREEITEM hOldCaret = GetSelectedItem();
  if (!IsSelected(hItem)) {
    ++m_nSilent;
    SelectAllExcept(FALSE, hItem);
    SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
    SelectItem(hItem);
    --m_nSilent;
  }
  char szDesktop[MAX_PATH] = "";
  CFView_Folder::GetDesktopFolderPath(szDesktop);
  std::string desktop = szDesktop;
  std::string desktopName = textkit::FileNameOf(textkit::WithoutTrailingSeparator(desktop));
  auto restore = [&] {
    if (hOldCaret && hOldCaret != GetSelectedItem()) {
      ++m_nSilent;
      SelectAllExcept(FALSE, hOldCaret);
      SetItemState(hOldCaret, TVIS_SELECTED, TVIS_SELECTED);
      SelectItem(hOldCaret);
      --m_nSilent;
    }
    SelectDropTarget(NULL);
  };
  std::vector<std::string> paths;
  for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h)) {
    const PluginItemRecord* r = reinterpret_cast<const PluginItemRecord*>(GetItemData(h));
    if (!r) continue;
    const PluginDragRecord* d = reinterpret_cast<const PluginDragRecord*>(r->extra);
    if (!d || !(d->attributes & (PLUGIN_DRAG_CAN_COPY | PLUGIN_DRAG_CAN_MOVE))) {
      restore();
      return DROPEFFECT_NONE;
    }
    std::string path = r->path ? r->path : "";
    textkit::TrimTrailingSeparators(path);
    if (!desktopName.empty() && path == desktopName) path = desktop;
    paths.push_back(path);
  }
  if (paths.empty()) {
    restore();
    return DROPEFFECT_NONE;
  }
  std::string list;
  for (const std::string& p : paths) list += p + '\0';
  list += '\0';
  COleDataSource* pData = new COleDataSource;
  pData->CacheGlobalData(CF_HDROP, BlockOf(list.data(), list.size(), sizeof(DROPFILES)));
  pData->CacheGlobalData(BrowserFolderFormat(), BlockOf(list.data(), list.size(), 0));
  // The caret's drag image at the cursor.
  CImageList image;
  if (HIMAGELIST hImage = TreeView_CreateDragImage(m_hWnd, GetSelectedItem())) {
    image.Attach(hImage);
    CRect rcItem;
    GetItemRect(GetSelectedItem(), &rcItem, TRUE);
    POINT pt;
    ::GetCursorPos(&pt);
    CPoint ptClient = pt;
    ScreenToClient(&ptClient);
    image.BeginDrag(0, CPoint(std::max(0L, ptClient.x - rcItem.left), std::max(0L, ptClient.y - rcItem.top)));
    CImageList::DragEnter(NULL, pt);
  }
  CTreeDragSource ownSource;
  DROPEFFECT effect = pData->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, NULL, pSource ? pSource : &ownSource);
  pData->InternalRelease();
  if (image.GetSafeHandle()) {
    CImageList::DragLeave(NULL);
    CImageList::EndDrag();
  }
  if (effect == DROPEFFECT_NONE) {
    bool allThere = true;
    for (const std::string& p : paths) allThere = allThere && Exists(p);
    if (allThere) {
      restore();
    } else {
      m_pManager->Refresh(TRUE);
    }
  }
  SelectDropTarget(NULL);
  Invalidate();
  return effect;
}
