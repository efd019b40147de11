// CVxGUITrans: cut, copy and paste through the document's clipboard object; the files
// are copied or moved by the shared verified file operation of the folder trees.
#include <VxResourceIds.h>
#include <dropop/CardFileOperation.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "ClipboardRules.h"
#include "TransInternal.h"

namespace {

BOOL QueryDiskSpace(LPCSTR pszRoot, UINT* pnType, ULONGLONG* pullFree) {
  *pnType = ::GetDriveTypeA(pszRoot);
  ULARGE_INTEGER freeToUser = {}, total = {}, freeAll = {};
  if (!::GetDiskFreeSpaceExA(pszRoot, &freeToUser, &total, &freeAll)) return FALSE;
  *pullFree = freeToUser.QuadPart;
  return TRUE;
}
PFNTRANSDISKQUERY s_pfnDiskQuery = QueryDiskSpace;

// The message of a clipboard file list that is refused.
UINT PasteFaultMessage(dropop::DropListFault fault) {
  switch (fault) {
    case dropop::DropListFault::NotRepresentable: return IDS_TREE_DROP_NOT_REPRESENTABLE;
    case dropop::DropListFault::PathTooLong: return IDS_TREE_PATH_TOO_LONG;
    default: return IDS_BROWSER_PASTE_BAD_LIST;
  }
}

BOOL KeyDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

void CVxGUITrans::SetDiskQuery(PFNTRANSDISKQUERY pfn) { s_pfnDiskQuery = pfn ? pfn : QueryDiskSpace; }

BOOL CVxGUITrans::IsClipboardRefused() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc && ClipIsRefusedFolder((UINT)pDoc->GetFolderType().GetCode(), IsEnableReportMode());
}

int CVxGUITrans::CopySelectFilesToClipBoard() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !pDoc->GetClipboardObject() || IsClipboardRefused()) return 1;
  UnCutAll();
  RepaintShownNow();
  return WriteSelectionToClipBoard(DROPEFFECT_COPY);
}

int CVxGUITrans::WriteSelectionToClipBoard(UINT nEffect) {
  CWaitCursor wait;
  CBrowserDocument* pDoc = GetBrowserDocument();
  CExploreClipboardObject* pClip = pDoc ? pDoc->GetClipboardObject() : NULL;
  if (!pClip) return 1;
  CStringList paths;
  pDoc->GetSelectFilePath(paths);
  if (paths.IsEmpty()) return 1;
  if (FAILED(pClip->Write(GetSafeHwnd(), nEffect, paths))) return 0;
  pClip->SetViewer(GetSafeHwnd());
  return 1;
}

long CVxGUITrans::CutSelectFiles() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc || !pDoc->GetClipboardObject() || IsClipboardRefused()) return 0;
  ::InterlockedIncrement(&m_pBusy->lCount);
  UnCutAll();
  if (IVxItemView* pItems = GetItemView()) {
    CList<CThumbnail*, CThumbnail*> selected;
    pItems->CollectThumbnail(selected, 2);
    for (POSITION pos = selected.GetHeadPosition(); pos;)
      pItems->SetCut(selected.GetNext(pos)->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  }
  RepaintShownNow();
  ::InterlockedDecrement(&m_pBusy->lCount);
  CutSelectFilesToClipBoard();
  return 0;
}

int CVxGUITrans::CutSelectFilesToClipBoard() {
  if (IsClipboardRefused()) return 1;
  return WriteSelectionToClipBoard(DROPEFFECT_MOVE);
}

CThumbnailPage* CVxGUITrans::PasteFileFromClipBoard_GetPasteFolder() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return NULL;
  IVxItemView* pItems = GetItemView();
  const BOOL bKeyboard = KeyDown(VK_RETURN) || (KeyDown(VK_CONTROL) && (KeyDown('V') || KeyDown(VK_F7)));
  const int nFolders = (int)pDoc->GetPageList().GetCount();
  CThumbnailPage* pPage = NULL;
  switch (ClipPasteLook(bKeyboard, pDoc->GetContextMenuPosition(), nFolders)) {
    case VXPASTE_NOWHERE: return NULL;
    case VXPASTE_AT_ORIGIN:
      if (pItems) pPage = pItems->GroupPageAt(CPoint(0, 0));
      break;
    case VXPASTE_AT_MENU: {
      CPoint pt = pDoc->GetContextMenuPosition();
      if (GetSafeHwnd()) ::ScreenToClient(GetSafeHwnd(), &pt);
      if (pItems) pPage = pItems->GroupPageAt(pt + pItems->GetItemScroll());
      break;
    }
  }
  if (pPage) return pPage;
  if (CThumbnail* pLast = pDoc->GetLastSelectedItem())
    if (CThumbnailPage* p = pLast->GetPage()) return p;
  return nFolders > 0 ? pDoc->GetPageList().GetPageAt(0) : NULL;
}

int CVxGUITrans::PasteFileFromClipBoard() {
  CWaitCursor wait;
  if (IsClipboardRefused()) return 1;
  CBrowserDocument* pDoc = GetBrowserDocument();
  CExploreClipboardObject* pClip = pDoc ? pDoc->GetClipboardObject() : NULL;
  if (!pClip || !pClip->CanRead()) return 0;
  CThumbnailPage* pPage = PasteFileFromClipBoard_GetPasteFolder();
  if (!pPage) return 0;
  DWORD dwEffect = DROPEFFECT_COPY;
  HGLOBAL hDrop = pClip->Read(GetSafeHwnd(), &dwEffect);
  if (!hDrop) {
    // A file list is there, but not one that reads whole: another program's damaged data.
    GuardedMessageBoxId(GetSafeHwnd(), IDS_BROWSER_PASTE_BAD_LIST, MB_ICONERROR);
    return 0;
  }
  CStringList pasted;
  const int result = PasteFiles(dwEffect, hDrop, pPage, pasted);
  ::GlobalFree(hDrop);
  // A failed move leaves the clipboard as it was: its files are still where it says.
  if (dwEffect == DROPEFFECT_MOVE && result) PasteFileFromClipBoard_MoveToCopy(pClip, pasted);
  if (!pasted.IsEmpty()) {
    PasteFileFromClipBoard_CreateThumbnails(pPage, pasted);
    ReloadAllGroups();
  }
  return result;
}

int CVxGUITrans::PasteFiles(DWORD dwEffect, HGLOBAL hDrop, CThumbnailPage* pPage, CStringList& pasted) {
  pasted.RemoveAll();
  CString folder;
  if (pPage) folder = pPage->GetGroupInfo().GetText();
  if (folder.IsEmpty()) {
    GuardedMessageBoxId(GetSafeHwnd(), IDS_BROWSER_PASTE_NO_FOLDER, MB_ICONERROR);
    return 0;
  }
  folder = TransWithBackslash(folder);
  char root[MAX_PATH] = "";
  lstrcpynA(root, folder, MAX_PATH);
  ::PathStripToRootA(root);
  if (root[0] && root[lstrlenA(root) - 1] != '\\') lstrcatA(root, "\\");
  UINT nType = DRIVE_UNKNOWN;
  ULONGLONG ullFree = 0;
  const BOOL bRead = s_pfnDiskQuery(root, &nType, &ullFree);
  const DWORD err = bRead ? 0 : ::GetLastError();
  switch (ClipPasteSpace(nType, bRead, ullFree)) {
    case VXSPACE_OK: break;
    case VXSPACE_UNREADABLE: SystemErrorBox(GetSafeHwnd(), err); return 0;
    case VXSPACE_LOW: GuardedMessageBoxId(GetSafeHwnd(), IDS_BROWSER_PASTE_LOW_SPACE, MB_ICONERROR); return 0;
  }
  // The clipboard's block is other programs' data too: read whole or refused.
  const size_t cb = ::GlobalSize(hDrop);
  const void* p = ::GlobalLock(hDrop);
  std::vector<std::string> paths;
  const dropop::DropListFault fault = dropop::ReadDropBlock(p, p ? cb : 0, &paths);
  if (p) ::GlobalUnlock(hDrop);
  if (fault == dropop::DropListFault::Empty) return 1;
  if (fault != dropop::DropListFault::None) {
    GuardedMessageBoxId(GetSafeHwnd(), PasteFaultMessage(fault), MB_ICONERROR);
    return 0;
  }
  std::vector<std::string> written;
  CCardFileOperation op;
  const int ok = op.DropPaths(folder, paths, dwEffect, &written, GetSafeHwnd());
  for (const std::string& w : written) pasted.AddTail(w.c_str());
  return ok && !written.empty() ? 1 : 0;
}

void CVxGUITrans::PasteFileFromClipBoard_MoveToCopy(CExploreClipboardObject* pClip, const CStringList& pasted) {
  if (!pClip) return;
  CExploreClipboardObject::Clear();
  if (pasted.IsEmpty()) return;
  if (SUCCEEDED(pClip->Write(GetSafeHwnd(), DROPEFFECT_COPY, pasted))) pClip->SetViewer(GetSafeHwnd());
}

void CVxGUITrans::PasteFileFromClipBoard_CreateThumbnails(CThumbnailPage*, const CStringList& pasted) {
  BOOL bFolder = FALSE;
  for (POSITION pos = pasted.GetHeadPosition(); pos && !bFolder;) {
    DWORD a = ::GetFileAttributesA(pasted.GetNext(pos));
    bFolder = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) &&
              !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  }
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (pDoc && pDoc->GetFolderType().IsSDCardFolder() && !bFolder) return;
  if (m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
}

int CVxGUITrans::PasteFileFromClipBoard_ResetView() {
  if (!ResetView()) {
    CBusyScope busy(this);
    RecountFiles();
  }
  FocusMode_RefreshSelectItem();
  return 1;
}

void CVxGUITrans::ClearClipBoard(BOOL bClipboard, BOOL bCutMarks) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  CExploreClipboardObject* pClip = pDoc->GetClipboardObject();
  if (bClipboard && pClip && pClip->IsViewer(GetSafeHwnd()) && pClip->CanRead()) {
    pClip->ResetViewer();
    CExploreClipboardObject::Clear();
  }
  if (bCutMarks) {
    UnCutAll();
    ForEachPageItem(pDoc, true, [](CThumbnail* p) {
      p->Cut(false);
      return true;
    });
  }
}
