// CIconView: the browser's thumbnail view and the host of the browser controller. Its
// constructor makes the one CVxGUITrans of the view; every window message and document
// hint goes to that controller first. It lays the items out in groups under header bars
// and, on every paint, tells the thumbnail library which items are visible (the decode
// window), so that those are decoded first.
//
//   IconView.cpp        life, controller hand-over, drawing, context menu, input hooks
//   IconViewLayout.cpp  grouped layout, scroll sizes, sorting, scrolling into view
#pragma once
#include <fw/fw.h>

#include "IconGroupHeaders.h"
#include "VxGUIIconView.h"

class CVxGUITrans;
class CThumbToolTip;

class VXGUITRANS_API CIconView : public CVxGUIIconView {
  DECLARE_DYNCREATE(CIconView)
 public:
  CIconView();
  ~CIconView() override;

  CVxGUITrans* GetController() const { return m_pTrans; }
  CVxDocument* GetDocument() const;
  CPoint GetScrollPosition() const;

  // ---- Layout and ordering ----
  DWORD GetTopIndex();
  DWORD FindFirstImageItem() const;
  void SetItemPos(int column, int row, DWORD id);
  void SetItemPosition(CRect* pNext);
  void Arrange(BOOL bForce) override;
  virtual void AdjustScrollSizes(int totalHeight);
  // The vertical bar shows these sizes already: shown with them, or hidden with nothing to
  // scroll.
  bool BarShows(int total, int clientHeight) const;
  // Appends to pOut the ids of the page's items that pass the filter, sorted; FALSE when
  // memory runs out.
  BOOL Sort(CThumbnailPage* pPage, PFNVXITEMCOMPARE pfnCompare, LPARAM data, std::vector<DWORD>* pOut);
  void SortItems(PFNVXITEMCOMPARE pfnCompare, LPARAM data) override;
  const CIconGroupHeaders& GetGroupHeaders() const { return m_headers; }
  // A group's area runs from its header bar to the next group's header bar.
  CThumbnailPage* GroupPageAt(CPoint docPoint) override;
  CPoint GetItemScroll() const override { return GetScrollPositionRaw(); }
  BOOL GetItemIconRect(DWORD id, CRect& rc) override { return GetItemRect(id, rc, 1); }

  // ---- Items ----
  CThumbnailItem* AllockItem(CThumbnail* pThumbnail) override;
  void Select(DWORD id, BOOL bSelect, BOOL bRedraw) override;
  void SelectItems_End() override;
  void SetItemCheck(DWORD id, BOOL bCheck) override;
  void CheckItems(DWORD id) override;
  void RemoveItem(CThumbnail* pThumbnail) override;
  void DeleteAllItems() override;
  void OnAutoScrollEnd(CPoint point) override;
  void RedrawPicture(DWORD id) override;

  // The decode window of the last paint: items before the first visible one, and the
  // number visible.
  int GetDecodeStart() const { return m_nDecodeStart; }
  int GetDecodeCount() const { return m_nDecodeCount; }

  // The view's drawing flags for an item (badges by folder kind and profile).
  UINT ItemDrawFlags(DWORD id, BOOL bFocus) const;

  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  // The thumbnails' tooltips (null before the initial update).
  CThumbToolTip* GetToolTip() const { return m_pTip; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  void OnDraw(CDC* pDC) override;
  void InvalidateSelection(DWORD id) override;
  void NoticeVisibleRange();
  struct SightRows {
    int top, bottom;
  };
  SightRows RowsInSight() const;

  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  CVxGUITrans* m_pTrans = NULL;
  BOOL m_bTransReady = FALSE;
  CThumbToolTip* m_pTip = NULL;  // the thumbnails' tooltips, from the initial update
  CBitmap m_gdiObject;
  CIconGroupHeaders m_headers;
  struct HeaderRecord {
    CRect rect;
    CThumbnailPage* group;
  };
  std::vector<HeaderRecord> m_headerRecords;
  int m_nDecodeStart = 0, m_nDecodeCount = 0;
  int m_nTotalHeight = 0;  // document height of the last arrangement
  unsigned m_nLayouts = 0;  // arrangements so far: tells a layout that a nested one ran
};
