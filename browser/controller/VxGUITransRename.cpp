// CVxGUITrans: renaming the file behind one thumbnail after its label was edited: on disk,
// in both databases, in the item and in the view.
#include <VxDatabase.h>
#include <VxResourceIds.h>

#include "RenameRules.h"
#include "TransInternal.h"

BOOL IsProtectedFolder(LPCSTR pszPath) {
  if (!pszPath || !*pszPath) return FALSE;
  char dir[MAX_PATH * 2] = "";
  if (::GetWindowsDirectoryA(dir, MAX_PATH) && RenameIsSameFolder(dir, pszPath)) return TRUE;
  if (::GetSystemDirectoryA(dir, MAX_PATH) && RenameIsSameFolder(dir, pszPath)) return TRUE;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0, KEY_READ,
                        &hKey) != ERROR_SUCCESS)
      continue;
    BOOL hit = FALSE;
    for (DWORD i = 0; !hit; ++i) {
      char name[256], value[MAX_PATH * 2];
      DWORD cchName = sizeof(name), cbValue = sizeof(value) - 1, type = 0;
      LONG r = ::RegEnumValueA(hKey, i, name, &cchName, NULL, &type, (BYTE*)value, &cbValue);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
      value[cbValue] = '\0';
      hit = RenameIsSameFolder(value, pszPath);
    }
    ::RegCloseKey(hKey);
    if (hit) return TRUE;
  }
  return FALSE;
}

int MoveFileWithRecord(LPCSTR pszOld, LPCSTR pszNew) {
  BOOL oldThere = IsValidPath(pszOld), newThere = IsValidPath(pszNew);
  if (oldThere || !newThere) return newThere;
  return SUCCEEDED(CThumbnail::MoveFileFromDatabase(pszOld, pszNew));
}

int CVxGUITrans::RenameThumbnail(CThumbnail* pItem, LPCSTR pszNewName) {
  if (!pItem || !pszNewName || !*pszNewName) return 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  int answer = CheckThumbnailFile(m_pView, pItem);
  if (answer == 1) {
    if (GetSafeHwnd()) ::PostMessageA(GetSafeHwnd(), WM_BROWSER_RELOAD, 0, 0);
    const BOOL bVirtual = pDoc && pDoc->GetPageList().GetCount() > 0 && pDoc->GetPageList().GetHead()->IsVirtualFolder();
    if (pItem->IsFolder() && !bVirtual && m_hManager)
      ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
    return 0;
  }
  if (answer == 2) return 0;
  char old[MAX_PATH * 2] = "";
  if (!pItem->GetFilePath(old, sizeof(old)) || !*old) {
    PostErrorMessage(IDS_BROWSER_RENAME_FAILED, MB_ICONERROR);
    return 0;
  }
  // A card scene's stream keeps its name: the card's playlists name it.
  if (pItem->IsDiscContent() || (pItem->IsFolder() && IsProtectedFolder(old))) {
    PostErrorMessage(IDS_BROWSER_RENAME_FAILED, MB_ICONERROR);
    return 0;
  }
  CString now;
  switch (RenameCheckNewPath(old, pszNewName, &now)) {
    case VXRENAME_SAME: return 0;
    case VXRENAME_REFUSED: PostErrorMessage(IDS_BROWSER_RENAME_FAILED, MB_ICONERROR); return 0;
    case VXRENAME_OK: break;
  }
  CThumbnail* pLast = pDoc ? pDoc->GetLastSelectedItem() : NULL;
  UnSelectAllThumbnail();
  SendToAllViews(VXHINT_SELECTION, NULL);
  // The decoder may hold the file open: it stops while the file is renamed, and a reader
  // that is just closing it gets a moment.
  Thread_Stop();
  BOOL bMoved = FALSE;
  DWORD err = 0;
  for (int tries = 0; tries < 20; ++tries) {
    bMoved = ::MoveFileA(old, now);
    err = bMoved ? 0 : ::GetLastError();
    if (err != ERROR_SHARING_VIOLATION) break;
    ::Sleep(50);
  }
  DecodeThread_Start(FALSE);
  if (!bMoved) {
    SystemErrorBox(GetSafeHwnd(), err);
    return 0;
  }
  MoveFileWithRecord(old, now);
  if (IVxDBFile* pFile = GetDBFileObject()) {
    pFile->RenameFile(old, now);
    pFile->Close();
    pFile->Release();
  }
  if (FAILED(pItem->SetFileName(pszNewName))) {
    PostErrorMessage(IDS_BROWSER_RENAME_FAILED, MB_ICONERROR);
    if (m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
    return 0;
  }
  if (IVxItemView* pItems = GetItemView()) {
    pItems->RedrawItem(pItem->GetUniqueID(VXID_SLOT_VIEW));
    LRESULT r = 0;
    OnBrowserSortMsg(0, GetSortType(), &r);
  }
  if (m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
  if (pLast && GetItemView()) GetItemView()->SelectItem(pLast->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  return 1;
}
