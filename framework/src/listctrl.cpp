// CListCtrl and CHeaderCtrl: the members that fill structures or read texts of any length.
#include <fw/listctrl.h>

#include <vector>

#include "ctrlutil.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

// ===== CHeaderCtrl =====

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_LISTVIEW_CLASSES, WC_HEADERA, NULL, 0, dwStyle, rect, pParentWnd, nID);
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) ||
         CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ===== CListCtrl =====

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return fwctl::CreateControl(this, ICC_LISTVIEW_CLASSES, WC_LISTVIEWA, NULL, dwExStyle, dwStyle, rect, pParentWnd,
                              nID);
}

CSize CListCtrl::SetIconSpacing(int cx, int cy) {
  DWORD r = (DWORD)SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy));
  return CSize(LOWORD(r), HIWORD(r));
}

CSize CListCtrl::GetItemSpacing(BOOL bSmallIcon) const {
  DWORD r = (DWORD)SendMessage(LVM_GETITEMSPACING, (WPARAM)bSmallIcon);
  return CSize(LOWORD(r), HIWORD(r));
}

// An item record with the fields the mask names.
static LVITEMA MakeItem(UINT nMask, int nItem, int nSubItem, LPCSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam, int nIndent) {
  LVITEMA item = {};
  item.mask = nMask;
  item.iItem = nItem;
  item.iSubItem = nSubItem;
  item.pszText = (LPSTR)lpszItem;
  item.iImage = nImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  item.iIndent = nIndent;
  return item;
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam, int nIndent) {
  LVITEMA item = MakeItem(nMask, nItem, nSubItem, lpszItem, nImage, nState, nStateMask, lParam, nIndent);
  return SetItem(&item);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEMA item = MakeItem(nMask, nItem, 0, lpszItem, nImage, nState, nStateMask, lParam, 0);
  return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEMA item = {};
  item.state = nState;
  item.stateMask = nMask;
  return SetItemState(nItem, &item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // The control copies what fits and says how much it copied: grow until there is room.
  std::vector<char> buffer(256);
  for (;;) {
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = buffer.data();
    item.cchTextMax = (int)buffer.size();
    buffer[0] = 0;
    int n = (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
    if (n < (int)buffer.size() - 1 || buffer.size() >= 0x100000) return CString(item.pszText, std::max(n, 0));
    buffer.resize(buffer.size() * 4);
  }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const {
  LVITEMA item = {};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText) {
  LVITEMA item = {};
  item.iSubItem = nSubItem;
  item.pszText = (LPSTR)lpszText;
  return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  return SetItem(nItem, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  return (POSITION)(INT_PTR)(GetNextItem(-1, LVNI_SELECTED) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int nItem = (int)(INT_PTR)pos - 1;
  pos = (POSITION)(INT_PTR)(GetNextItem(nItem, LVNI_SELECTED) + 1);
  return nItem;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  lpRect->left = (LONG)nCode;
  return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
  RECT rc;
  rc.top = iSubItem;
  rc.left = nArea;
  BOOL b = (BOOL)SendMessage(LVM_GETSUBITEMRECT, (WPARAM)iItem, (LPARAM)&rc);
  if (b) ref = rc;
  return b;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO info = {};
  info.pt = pt;
  int n = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return n;
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = (LPSTR)lpszColumnHeading;
  column.fmt = nFormat;
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  return fwctl::Wrap<CHeaderCtrl>((HWND)SendMessage(LVM_GETHEADER));
}

CEdit* CListCtrl::EditLabel(int nItem) {
  return fwctl::Wrap<CEdit>((HWND)SendMessage(LVM_EDITLABELA, (WPARAM)nItem));
}

CEdit* CListCtrl::GetEditControl() const {
  return fwctl::Wrap<CEdit>((HWND)SendMessage(LVM_GETEDITCONTROL));
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint) {
  return AfxNewImageList((HIMAGELIST)SendMessage(LVM_CREATEDRAGIMAGE, (WPARAM)nItem, (LPARAM)lpPoint));
}

BOOL CListCtrl::ApproximateViewRect(CSize* pSize, int iCount) const {
  DWORD r = (DWORD)SendMessage(LVM_APPROXIMATEVIEWRECT, (WPARAM)iCount, MAKELPARAM(pSize->cx, pSize->cy));
  pSize->cx = LOWORD(r);
  pSize->cy = HIWORD(r);
  return TRUE;
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return AfxReflectDrawItem(this, message, lParam, pResult) ||
         CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
