// The list view (CListCtrl) and its header (CHeaderCtrl).
//
// Thin wrappers: each member sends the control's message (ANSI forms). The classes add
// no data, so CListView::GetListCtrl may hand out the view itself. Notifications
// (LVN_GETDISPINFO for LPSTR_TEXTCALLBACK texts and I_IMAGECALLBACK images,
// LVN_ITEMCHANGED, NM_CLICK, ...) reach a derived control through ON_NOTIFY_REFLECT.
//
// Item states: LVIS_SELECTED, LVIS_FOCUSED, LVIS_CUT, LVIS_DROPHILITED, the overlay image
// number in LVIS_OVERLAYMASK (0x0F00, INDEXTOOVERLAYMASK(n)) and the state image number
// in LVIS_STATEIMAGEMASK (INDEXTOSTATEIMAGEMASK(n)).
#pragma once
#include <fw/ctrl.h>
#include <fw/imagelist.h>

class FW_API CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)
 public:
  CHeaderCtrl() {}

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
  BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const {
    return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
  }
  BOOL SetItem(int nPos, HDITEMA* pHeaderItem) {
    return (BOOL)SendMessage(HDM_SETITEMA, (WPARAM)nPos, (LPARAM)pHeaderItem);
  }
  int InsertItem(int nPos, HDITEMA* phdi) { return (int)SendMessage(HDM_INSERTITEMA, (WPARAM)nPos, (LPARAM)phdi); }
  BOOL DeleteItem(int nPos) { return (BOOL)SendMessage(HDM_DELETEITEM, (WPARAM)nPos); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect);
  }
  BOOL Layout(HDLAYOUT* pHeaderLayout) { return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)pHeaderLayout); }
  int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo); }
  BOOL GetOrderArray(LPINT piArray, int iCount) const {
    return (BOOL)SendMessage(HDM_GETORDERARRAY, (WPARAM)iCount, (LPARAM)piArray);
  }
  BOOL SetOrderArray(int iCount, LPINT piArray) {
    return (BOOL)SendMessage(HDM_SETORDERARRAY, (WPARAM)iCount, (LPARAM)piArray);
  }
  int OrderToIndex(int nOrder) const { return (int)SendMessage(HDM_ORDERTOINDEX, (WPARAM)nOrder); }
  CImageList* GetImageList() const { return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_GETIMAGELIST)); }
  CImageList* SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
  }

  // Items with HDF_OWNERDRAW.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class FW_API CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
 public:
  CListCtrl() {}

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // --- Colours, image lists, styles
  COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR); }
  BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)cr); }
  COLORREF GetTextColor() const { return (COLORREF)SendMessage(LVM_GETTEXTCOLOR); }
  BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, (LPARAM)cr); }
  COLORREF GetTextBkColor() const { return (COLORREF)SendMessage(LVM_GETTEXTBKCOLOR); }
  BOOL SetTextBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)cr); }
  // nImageList: LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE. Returns the previous list. The
  // control doesn't own the list unless LVS_SHAREIMAGELISTS is off (then it destroys it).
  CImageList* GetImageList(int nImageList) const {
    return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_GETIMAGELIST, (WPARAM)nImageList));
  }
  CImageList* SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)nImageListType, (LPARAM)pImageList->GetSafeHandle()));
  }
  DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
  DWORD SetExtendedStyle(DWORD dwNewStyle) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)dwNewStyle); }
  // Icon-mode cell size; returns the previous one.
  CSize SetIconSpacing(int cx, int cy);
  CSize SetIconSpacing(CSize size) { return SetIconSpacing(size.cx, size.cy); }
  CSize GetItemSpacing(BOOL bSmallIcon = FALSE) const;
  UINT GetCallbackMask() const { return (UINT)SendMessage(LVM_GETCALLBACKMASK); }
  BOOL SetCallbackMask(UINT nMask) { return (BOOL)SendMessage(LVM_SETCALLBACKMASK, nMask); }

  // --- Items
  int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
  // Room for nItems items (LVS_OWNERDATA: the number of items).
  void SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, (WPARAM)nItems); }
  BOOL SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL) {
    return (BOOL)SendMessage(LVM_SETITEMCOUNT, (WPARAM)iCount, (LPARAM)dwFlags);
  }
  BOOL GetItem(LVITEMA* pItem) const { return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)pItem); }
  BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
  // The fields nMask names (LVIF_TEXT, LVIF_IMAGE, LVIF_STATE, LVIF_PARAM, LVIF_INDENT).
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
               LPARAM lParam, int nIndent = 0);
  int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
  int InsertItem(int nItem, LPCSTR lpszItem);
  int InsertItem(int nItem, LPCSTR lpszItem, int nImage);
  int InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)nItem); }
  BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
  UINT GetItemState(int nItem, UINT nMask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask); }
  // nItem -1: every item.
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  BOOL SetItemState(int nItem, LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)pItem); }
  // Any length; empty for a bad item.
  CString GetItemText(int nItem, int nSubItem) const;
  int GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  // Check boxes (LVS_EX_CHECKBOXES): state image 2 is checked.
  BOOL GetCheck(int nItem) const { return (GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) == 2; }
  BOOL SetCheck(int nItem, BOOL fCheck = TRUE) {
    return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
  }
  // Next item after nItem (-1: from the start) with LVNI_* (LVNI_SELECTED, LVNI_FOCUSED...).
  int GetNextItem(int nItem, int nFlags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)nItem, MAKELPARAM(nFlags, 0)); }
  UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
  // Walks the selection: POSITION is the item index + 1.
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  int GetSelectionMark() const { return (int)SendMessage(LVM_GETSELECTIONMARK); }
  int SetSelectionMark(int iIndex) { return (int)SendMessage(LVM_SETSELECTIONMARK, 0, (LPARAM)iIndex); }
  int GetHotItem() const { return (int)SendMessage(LVM_GETHOTITEM); }
  int SetHotItem(int iIndex) { return (int)SendMessage(LVM_SETHOTITEM, (WPARAM)iIndex); }
  int FindItem(LVFINDINFOA* pFindInfo, int nStart = -1) const {
    return (int)SendMessage(LVM_FINDITEMA, (WPARAM)nStart, (LPARAM)pFindInfo);
  }
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
    return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)dwData, (LPARAM)pfnCompare);
  }

  // --- Positions and geometry (icon and small-icon views)
  BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const {
    return (BOOL)SendMessage(LVM_GETITEMPOSITION, (WPARAM)nItem, (LPARAM)lpPoint);
  }
  BOOL SetItemPosition(int nItem, POINT pt) {
    return (BOOL)SendMessage(LVM_SETITEMPOSITION, (WPARAM)nItem, MAKELPARAM(pt.x, pt.y));
  }
  // Full 32-bit coordinates.
  void SetItemPosition32(int nItem, POINT pt) { SendMessage(LVM_SETITEMPOSITION32, (WPARAM)nItem, (LPARAM)&pt); }
  // nCode: LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, LVIR_SELECTBOUNDS.
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
  BOOL GetViewRect(LPRECT lpRect) const { return (BOOL)SendMessage(LVM_GETVIEWRECT, 0, (LPARAM)lpRect); }
  BOOL GetOrigin(LPPOINT lpPoint) const { return (BOOL)SendMessage(LVM_GETORIGIN, 0, (LPARAM)lpPoint); }
  int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
  int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
  int GetStringWidth(LPCSTR lpsz) const { return (int)SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM)lpsz); }
  // The item under pt (-1 when none); pFlags receives LVHT_*.
  int HitTest(CPoint pt, UINT* pFlags = NULL) const;
  int HitTest(LVHITTESTINFO* pHitTestInfo) const { return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)pHitTestInfo); }
  int SubItemHitTest(LPLVHITTESTINFO pInfo) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo); }

  // --- Columns (report view)
  int InsertColumn(int nCol, const LVCOLUMNA* pColumn) {
    return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
  }
  // nWidth -1: no width given; nSubItem -1: the column's own index.
  int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
  BOOL DeleteColumn(int nCol) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)nCol); }
  BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const {
    return (BOOL)SendMessage(LVM_GETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
  }
  BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn) {
    return (BOOL)SendMessage(LVM_SETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
  }
  int GetColumnWidth(int nCol) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)nCol); }
  BOOL SetColumnWidth(int nCol, int cx) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)nCol, MAKELPARAM(cx, 0)); }
  CHeaderCtrl* GetHeaderCtrl() const;

  // --- Operations
  BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
    return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)nItem, MAKELPARAM(bPartialOK, 0));
  }
  BOOL Scroll(CSize size) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, (LPARAM)size.cy); }
  BOOL RedrawItems(int nFirst, int nLast) { return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)nFirst, (LPARAM)nLast); }
  BOOL Update(int nItem) { return (BOOL)SendMessage(LVM_UPDATE, (WPARAM)nItem); }
  // LVA_DEFAULT, LVA_ALIGNLEFT, LVA_ALIGNTOP, LVA_SNAPTOGRID.
  BOOL Arrange(UINT nCode) { return (BOOL)SendMessage(LVM_ARRANGE, (WPARAM)nCode); }
  // The label editor (a temporary CEdit wrapper), null when editing didn't start.
  CEdit* EditLabel(int nItem);
  CEdit* GetEditControl() const;
  BOOL SetHoverTime(DWORD dwHoverTime = (DWORD)-1) { return (BOOL)SendMessage(LVM_SETHOVERTIME, 0, (LPARAM)dwHoverTime); }
  // A new image list the caller deletes; null on failure.
  CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);
  BOOL ApproximateViewRect(CSize* pSize, int iCount = -1) const;

  // LVS_OWNERDRAWFIXED report views draw their rows here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
