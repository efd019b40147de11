// The image list: a scrolling grid of picture files, each shown as a thumbnail with its
// name and its picture size below. Items are selected with the mouse (Ctrl and Shift add)
// and the arrow keys, and can be dragged to another place in the list or into another
// image list.
//
// Notices to the parent (WM_NOTIFY; the header is an NMIMAGELIST, iItem -1 unless said):
//   NM_CLICK (-2)            a click on the list
//   IMLN_DROPBEGIN (-100)    items dragged out of another image list are about to arrive
//   IMLN_DROPEND (-101)      all of them have arrived
//   IMLN_ITEMSMOVED (-102)   items were dragged to another place inside this list
//   IMLN_ITEMDROPPED (-103)  one of them arrived; iItem is its index here
//   IMLN_SELCHANGED (-104)   the selection changed
// A drop from another list sends -100, then -103 for each item, then -101.
#pragma once
#include <fw/fw.h>

#include <string>
#include <vector>

#include <Widgetkit/WidgetkitApi.h>

#define IMLN_DROPBEGIN (-100)
#define IMLN_DROPEND (-101)
#define IMLN_ITEMSMOVED (-102)
#define IMLN_ITEMDROPPED (-103)
#define IMLN_SELCHANGED (-104)

struct NMIMAGELIST {
  NMHDR hdr;
  int iItem;
};

class WIDGETKIT_API CImageListCtrl : public CWnd {
  DECLARE_DYNAMIC(CImageListCtrl)
 public:
  enum {
    kCellWidth = 112,
    kCellHeight = 118,
    kThumbWidth = 96,
    kThumbHeight = 72,
    kMaxItems = 10000,  // AddItem refuses more
  };

  CImageListCtrl();
  ~CImageListCtrl() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
  // bMultiSelect: Ctrl and Shift select several items; bDragDrop: items can be dragged.
  void Init(BOOL bMultiSelect, BOOL bDragDrop);

  // The new item's index; -1 when the list is full or the path is empty.
  int AddItem(LPCSTR lpszPath, SIZE size);
  int InsertItem(int nIndex, LPCSTR lpszPath, SIZE size);
  BOOL DeleteItem(int nIndex);
  void DeleteAllItems();
  int GetItemCount() const { return (int)m_items.size(); }
  CString GetItemText(int nIndex) const;
  SIZE GetItemSize(int nIndex) const;
  // The first item whose text equals the text without regard to case, or -1.
  int FindItem(LPCSTR lpszText) const;

  BOOL IsSelected(int nIndex) const;
  // Changes one item's selection (no notice).
  BOOL SetSelected(int nIndex, BOOL bSelected);
  int GetSelectedCount() const;

  // The item under a client point, or -1; an item's rectangle in client coordinates.
  int HitTest(CPoint pt) const;
  CRect GetItemRect(int nIndex) const;
  // Moves the selected items, in their order, before the item nBefore (the count: to the
  // end); TRUE when the order changed.
  BOOL MoveSelected(int nBefore);
  // Where a drop at the client point goes: before the item under it, after the last
  // item when below all of them.
  int InsertionIndex(CPoint pt) const;
  // Copies the selected items, in their order, into another image list before its item
  // nAt, with that list's notices (a drag that ends over it does this).
  void DropSelectedInto(CImageListCtrl* pTarget, int nAt);

 protected:
  struct Item {
    std::string path;
    SIZE size;
    BOOL selected;
    HBITMAP thumb;  // made when first shown; null until then
    BOOL tried;     // a thumbnail was tried (a file that won't load shows a frame)
  };

  int Columns() const;
  int ContentHeight() const;
  void UpdateScrollRange();
  void LayoutChanged();
  void ScrollTo(int y);
  void EnsureVisible(int nIndex);
  void DrawItem(CDC* pDC, int nIndex, const CRect& rc);
  HBITMAP Thumbnail(Item& item, HDC hdc);
  void Notify(int nCode, int iItem = -1);
  void SelectOnly(int nIndex);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()

  std::vector<Item> m_items;
  BOOL m_bMultiSelect;
  BOOL m_bDragDrop;
  int m_nScroll;  // pixels scrolled down
  int m_nFocus;   // the caret item, -1 for none
  int m_nAnchor;  // where Shift selection starts
  BOOL m_bPressed;
  BOOL m_bDragging;
  CPoint m_ptPress;
  BOOL m_bLayoutPending;  // the scroll range waits for the next paint
};
