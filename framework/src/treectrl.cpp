// CTreeCtrl: the members that fill structures or read texts of any length, and the
// scrolling of a drag over the tree.
#include <fw/treectrl.h>

#include <vector>

#include "ctrlutil.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_TREEVIEW_CLASSES, WC_TREEVIEWA, NULL, dwExStyle, dwStyle, rect, pParentWnd,
                              nID);
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
  TVITEMA item = {};
  item.hItem = hItem;
  item.mask = nMask;
  item.pszText = (LPSTR)lpszItem;
  item.iImage = nImage;
  item.iSelectedImage = nSelectedImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  // Grow the buffer until the text no longer fills it.
  std::vector<char> buffer(256);
  for (;;) {
    TVITEMA item = {};
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    item.pszText = buffer.data();
    item.cchTextMax = (int)buffer.size();
    buffer[0] = 0;
    if (!GetItem(&item)) return CString();
    int n = lstrlenA(item.pszText);
    if (n < (int)buffer.size() - 1 || buffer.size() >= 0x100000) return CString(item.pszText, n);
    buffer.resize(buffer.size() * 4);
  }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem) {
  return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
  TVITEMA item = {};
  item.hItem = hItem;
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  if (!GetItem(&item)) return FALSE;
  nImage = item.iImage;
  nSelectedImage = item.iSelectedImage;
  return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
  return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, NULL, nImage, nSelectedImage, 0, 0, 0);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  return SetItem(hItem, TVIF_STATE, NULL, 0, 0, nState, nStateMask, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEMA item = {};
  item.hItem = hItem;
  item.mask = TVIF_PARAM;
  return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  return SetItem(hItem, TVIF_PARAM, NULL, 0, 0, 0, 0, (LPARAM)dwData);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
  TVITEMA item = {};
  item.hItem = hItem;
  item.mask = TVIF_CHILDREN;
  return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  *(HTREEITEM*)lpRect = hItem;  // TVM_GETITEMRECT takes the item in the rectangle
  return (BOOL)SendMessage(TVM_GETITEMRECT, (WPARAM)bTextOnly, (LPARAM)lpRect);
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  TVINSERTSTRUCTA tvis = {};
  tvis.hParent = hParent;
  tvis.hInsertAfter = hInsertAfter;
  tvis.item.mask = nMask;
  tvis.item.pszText = (LPSTR)lpszItem;
  tvis.item.iImage = nImage;
  tvis.item.iSelectedImage = nSelectedImage;
  tvis.item.state = nState;
  tvis.item.stateMask = nStateMask;
  tvis.item.lParam = lParam;
  return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent,
                    hInsertAfter);
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
  return fwctl::Wrap<CEdit>((HWND)SendMessage(TVM_EDITLABELA, 0, (LPARAM)hItem));
}

CEdit* CTreeCtrl::GetEditControl() const { return fwctl::Wrap<CEdit>((HWND)SendMessage(TVM_GETEDITCONTROL)); }

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO info = {};
  info.pt = pt;
  HTREEITEM h = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return h;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
  return AfxNewImageList((HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)hItem));
}

BOOL CTreeCtrl::DragScroll(CPoint pt, BOOL bHideDragImage, int nBand) {
  CRect rc;
  GetClientRect(&rc);
  if (!rc.PtInRect(pt)) return FALSE;
  HTREEITEM hFirst = GetFirstVisibleItem();
  int nRow = -1;
  if (hFirst && pt.y < rc.top + nBand) {
    if (GetPrevVisibleItem(hFirst)) nRow = SB_LINEUP;
  } else if (hFirst && pt.y >= rc.bottom - nBand) {
    // Only while a row follows the last whole one: the second row becomes the first.
    HTREEITEM hLast = hFirst;
    for (UINT n = GetVisibleCount(); n > 1 && hLast; --n) hLast = GetNextVisibleItem(hLast);
    if (hLast && GetNextVisibleItem(hLast)) nRow = SB_LINEDOWN;
  }
  int nLine = pt.x < rc.left + nBand ? SB_LINELEFT : pt.x >= rc.right - nBand ? SB_LINERIGHT : -1;
  const int nOldPos = GetScrollPos(SB_HORZ);
  if (nRow < 0 && (nLine < 0 || !(GetStyle() & WS_HSCROLL))) return FALSE;
  if (bHideDragImage) CImageList::DragShowNolock(FALSE);
  if (nRow >= 0) SendMessage(WM_VSCROLL, MAKEWPARAM(nRow, 0), 0);
  if (nLine >= 0) SendMessage(WM_HSCROLL, MAKEWPARAM(nLine, 0), 0);
  UpdateWindow();
  if (bHideDragImage) CImageList::DragShowNolock(TRUE);
  return GetFirstVisibleItem() != hFirst || GetScrollPos(SB_HORZ) != nOldPos;
}
