// CVxGUITrans: the property reader's dialog for one item.
#include <VxProperty.h>

#include "TransInternal.h"

HRESULT CVxGUITrans::ShowPropertyDialog(CThumbnail* pItem) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pItem) {
    if (!pDoc || pDoc->GetSelectList().GetCount() != 1) return E_INVALIDARG;
    pItem = pDoc->GetSelectList().GetHead();
  }
  char path[MAX_PATH * 2] = "";
  if (!pItem || !pItem->GetFilePath(path, sizeof(path)) || !*path) return E_INVALIDARG;
  if (pItem->IsValidPathWithoutBDCore()) {
    DWORD params[4] = {};
    pItem->GetPropertyParams(params);
    int r = PrOpenProperty(path, GetSafeHwnd(), IsFocusMode() ? PR_DLG_FOCUSMODE : 0, (int)params[0], (int)params[1], (int)params[2],
                           (int)params[3]);
    return r == PR_DLG_NOTSHOWN ? HRESULT_FROM_WIN32(ERROR_OPERATION_ABORTED) : S_OK;
  }
  if (CheckThumbnailFile(m_pView, pItem) == IDOK && m_hManager) {
    ::PostMessageA(m_hManager, WM_BROWSER_RELOAD, (WPARAM)GetSafeHwnd(), 0);
    CThumbnailPage* pFirst = pDoc && !pDoc->GetPageList().IsEmpty() ? pDoc->GetPageList().GetHead() : NULL;
    if (pItem->IsFolder() && !(pFirst && pFirst->IsVirtualFolder()))
      ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
  }
  return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}
