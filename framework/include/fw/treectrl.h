// The tree view (CTreeCtrl).
//
// The folder pane hands its tree control to plug-ins as a CTreeCtrl*, and they call it
// (and the virtual operations a derived class adds) through this declaration: keep it a
// plain exported class with no virtual operations or data of its own, so a derived
// class's virtual slots follow CWnd's directly in every module.
//
// Item states: TVIS_SELECTED, TVIS_FOCUSED, TVIS_CUT, TVIS_DROPHILITED, TVIS_BOLD,
// TVIS_EXPANDED, TVIS_EXPANDEDONCE, the overlay number in TVIS_OVERLAYMASK
// (INDEXTOOVERLAYMASK(n)) and the state image in TVIS_STATEIMAGEMASK.
#pragma once
#include <fw/ctrl.h>
#include <fw/imagelist.h>

// The focus bit of an item's state (the caret's look), missing from some headers.
#ifndef TVIS_FOCUSED
#define TVIS_FOCUSED 0x0001
#endif

class FW_API CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)
 public:
  CTreeCtrl() {}

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // --- Look
  // nImageList: TVSIL_NORMAL or TVSIL_STATE; returns the previous list.
  CImageList* GetImageList(int nImageList) const {
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_GETIMAGELIST, (WPARAM)nImageList));
  }
  CImageList* SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)nImageListType, (LPARAM)pImageList->GetSafeHandle()));
  }
  UINT GetIndent() const { return (UINT)SendMessage(TVM_GETINDENT); }
  void SetIndent(UINT nIndent) { SendMessage(TVM_SETINDENT, nIndent); }
  COLORREF GetBkColor() const { return (COLORREF)SendMessage(TVM_GETBKCOLOR); }
  COLORREF SetBkColor(COLORREF clr) { return (COLORREF)SendMessage(TVM_SETBKCOLOR, 0, (LPARAM)clr); }
  COLORREF GetTextColor() const { return (COLORREF)SendMessage(TVM_GETTEXTCOLOR); }
  COLORREF SetTextColor(COLORREF clr) { return (COLORREF)SendMessage(TVM_SETTEXTCOLOR, 0, (LPARAM)clr); }
  COLORREF GetLineColor() const { return (COLORREF)SendMessage(TVM_GETLINECOLOR); }
  COLORREF SetLineColor(COLORREF clrNew = CLR_DEFAULT) { return (COLORREF)SendMessage(TVM_SETLINECOLOR, 0, (LPARAM)clrNew); }
  COLORREF GetInsertMarkColor() const { return (COLORREF)SendMessage(TVM_GETINSERTMARKCOLOR); }
  COLORREF SetInsertMarkColor(COLORREF clrNew) { return (COLORREF)SendMessage(TVM_SETINSERTMARKCOLOR, 0, (LPARAM)clrNew); }
  BOOL SetInsertMark(HTREEITEM hItem, BOOL fAfter = TRUE) {
    return (BOOL)SendMessage(TVM_SETINSERTMARK, (WPARAM)fAfter, (LPARAM)hItem);
  }
  SHORT GetItemHeight() const { return (SHORT)SendMessage(TVM_GETITEMHEIGHT); }
  SHORT SetItemHeight(SHORT cyHeight) { return (SHORT)SendMessage(TVM_SETITEMHEIGHT, (WPARAM)cyHeight); }
  UINT GetScrollTime() const { return (UINT)SendMessage(TVM_GETSCROLLTIME); }
  UINT SetScrollTime(UINT uScrollTime) { return (UINT)SendMessage(TVM_SETSCROLLTIME, uScrollTime); }
  CWnd* GetToolTips() const { return CWnd::FromHandle((HWND)SendMessage(TVM_GETTOOLTIPS)); }
  CWnd* SetToolTips(CWnd* pWndTip) {
    return CWnd::FromHandle((HWND)SendMessage(TVM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd()));
  }

  // --- Walking the tree (nCode: any TVGN_*; NULL when there is no such item)
  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const {
    return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, nCode, (LPARAM)hItem);
  }
  HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(NULL, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
  HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); }
  HTREEITEM GetLastVisibleItem() const { return GetNextItem(NULL, TVGN_LASTVISIBLE); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(NULL, TVGN_CARET); }
  HTREEITEM GetDropHilightItem() const { return GetNextItem(NULL, TVGN_DROPHILITE); }
  HTREEITEM GetRootItem() const { return GetNextItem(NULL, TVGN_ROOT); }
  UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
  UINT GetVisibleCount() const { return (UINT)SendMessage(TVM_GETVISIBLECOUNT); }

  // --- Items
  BOOL GetItem(TVITEMA* pItem) const { return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)pItem); }
  BOOL SetItem(TVITEMA* pItem) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)pItem); }
  BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
               UINT nStateMask, LPARAM lParam);
  CString GetItemText(HTREEITEM hItem) const;  // any length; empty for a bad item
  BOOL SetItemText(HTREEITEM hItem, LPCSTR lpszItem);
  BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
  BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const {
    return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)hItem, (LPARAM)nStateMask) & nStateMask;
  }
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  // The item's cChildren: nonzero when it has (or says it has) children.
  BOOL ItemHasChildren(HTREEITEM hItem) const;
  // Check boxes (TVS_CHECKBOXES): state image 2 is checked.
  BOOL GetCheck(HTREEITEM hItem) const { return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2; }
  BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE) {
    return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
  }
  // bTextOnly: the label only, else the whole line.
  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;

  // --- Inserting and deleting (hInsertAfter: TVI_FIRST, TVI_LAST, TVI_SORT or an item)
  HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsertStruct) {
    return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)lpInsertStruct);
  }
  HTREEITEM InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                       LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
  BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }

  // --- Operations
  // nCode: TVE_EXPAND, TVE_COLLAPSE, TVE_COLLAPSE | TVE_COLLAPSERESET, TVE_TOGGLE.
  BOOL Expand(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem); }
  // nCode: TVGN_CARET, TVGN_DROPHILITE, TVGN_FIRSTVISIBLE; a NULL item clears it.
  BOOL Select(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_SELECTITEM, nCode, (LPARAM)hItem); }
  BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
  BOOL SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
  BOOL SelectSetFirstVisible(HTREEITEM hItem) { return Select(hItem, TVGN_FIRSTVISIBLE); }
  BOOL EnsureVisible(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem); }
  // The label editor (a temporary CEdit wrapper), null when editing didn't start.
  CEdit* EditLabel(HTREEITEM hItem);
  CEdit* GetEditControl() const;
  BOOL EndEditLabelNow(BOOL fCancelWithoutSave) { return (BOOL)SendMessage(TVM_ENDEDITLABELNOW, (WPARAM)fCancelWithoutSave); }
  // The item under pt (client coordinates), NULL when none; pFlags receives TVHT_*.
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = NULL) const;
  HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const {
    return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)pHitTestInfo);
  }
  // Sorts the children of hItem by label (TVI_ROOT: the top level).
  BOOL SortChildren(HTREEITEM hItem, BOOL fRecurse = FALSE) {
    return (BOOL)SendMessage(TVM_SORTCHILDREN, (WPARAM)fRecurse, (LPARAM)hItem);
  }
  // Sorts by pSort->lpfnCompare (item data, item data, lParam) <0/0/>0.
  BOOL SortChildrenCB(LPTVSORTCB pSort, BOOL fRecurse = FALSE) {
    return (BOOL)SendMessage(TVM_SORTCHILDRENCB, (WPARAM)fRecurse, (LPARAM)pSort);
  }
  // A new image list the caller deletes; null on failure.
  CImageList* CreateDragImage(HTREEITEM hItem);

  // --- Something dragged over the tree
  // The width of the bands along the client area's edges that scroll.
  enum { DRAG_SCROLL_BAND = 15 };
  // One step of scrolling when pt (client coordinates) lies in a band along an edge: at
  // the top the row before the first shown one comes into view, at the bottom the row
  // after the last whole one, at the left and right one line sideways; so that rows out
  // of sight can be reached as drop targets. TRUE when the tree moved. bHideDragImage:
  // the drag image (CImageList::DragEnter) is hidden while the rows move, so that none of
  // it is left behind.
  BOOL DragScroll(CPoint pt, BOOL bHideDragImage = FALSE, int nBand = DRAG_SCROLL_BAND);
};
