// The browser area's splitter: a static splitter made in one call, with nested
// sub-divisions, views swapped in by run-time class, one row and one column that can be
// hidden without destroying their panes, inert bars, drag limits and a settable bar size.
//
// A hidden pane stays a child of the splitter, parked under the id of the first position
// past the current grid: a hidden column's panes under (row, column count), a hidden
// row's panes under (row count, column). Row and column sizes travel with their panes.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CDynamicSplitterWnd : public CSplitterWnd {
  DECLARE_DYNAMIC(CDynamicSplitterWnd)
 public:
  enum { kSides = 4 };

  explicit CDynamicSplitterWnd(int level = 0);
  ~CDynamicSplitterWnd() override;

  // Two panes: 1 x 2 when sideBySide, else 2 x 1. A null size means 100 x 100. False when
  // the splitter or one of the given views could not be made (nothing is left behind).
  bool Create(CWnd* parent, CRuntimeClass* view1, CSize* size1, CRuntimeClass* view2, CSize* size2,
              CCreateContext* context, bool sideBySide, int id);
  // A nested splitter in the pane of a side, or at (row, col) (slot col). Null on failure.
  CDynamicSplitterWnd* AddSubDivision(int side, CRuntimeClass* view1, CSize* size1, CRuntimeClass* view2,
                                      CSize* size2, CCreateContext* context, bool sideBySide);
  CDynamicSplitterWnd* AddSubDivision(int row, int col, CRuntimeClass* view1, CSize* size1,
                                      CRuntimeClass* view2, CSize* size2, CCreateContext* context,
                                      bool sideBySide);
  // Replaces the side's pane by a new view of viewClass; the old pane is kept hidden with
  // id 0. Returns the new view's index in the side's list, or -1 (the old pane stays).
  int AddView(int side, CRuntimeClass* viewClass, CCreateContext* context);
  bool HideView(int row, int col);
  bool ShowView(int row, int col, CWnd* view);
  void SideToRowCol(int side, int* row, int* col);

  void HideColumn(int col);
  void ShowColumn();
  void HideRow(CWnd* pane);  // the row of a pane of column 0
  void HideRow(int row);
  void ShowRow();

  void SetResizeEnable(bool enable) { m_bResizeEnable = enable; }
  bool IsResizeEnable() const { return m_bResizeEnable; }
  // Drag limits of a horizontal bar from the client's top and bottom; 0 = none.
  void SplitterWndSize(int top, int bottom);
  // Bar and gap sizes; 0 counts as 1, a negative value leaves that axis alone.
  void SetSplitterBarSize(int cx, int cy);

  CWnd* GetActivePane(int* pRow = NULL, int* pCol = NULL) override;
  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;

  int GetHiddenColumn() const { return m_nHiddenCol; }
  int GetHiddenRow() const { return m_nHiddenRow; }
  bool IsSideBySide() const { return m_bSideBySide; }
  int GetLevel() const { return m_nLevel; }
  CDynamicSplitterWnd* GetSubDivision(int slot) const;
  int GetViewCount(int side) const;
  CWnd* GetView(int side, int index) const;
  int GetLastViewIndex(int side) const;

 protected:
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CDynamicSplitterWnd* MakeSubDivision(int slot, int row, int col, CRuntimeClass* view1, CSize* size1,
                                       CRuntimeClass* view2, CSize* size2, CCreateContext* context,
                                       bool sideBySide);
  void HideRowAt(int row, bool saveHeight);
  // The pane that takes over when the active pane's row or column goes away.
  CWnd* SuccessorOfActive(int row, int col, bool byRow);

  int m_nSavedRowHeight;
  int m_nHiddenCol;
  int m_nHiddenRow;
  bool m_bSideBySide;
  CDynamicSplitterWnd* m_pSubDivisions[kSides];
  int m_nLevel;
  CPtrArray m_views[kSides];
  int m_nLastView[kSides];
  bool m_bResizeEnable;
  int m_nTopLimit;
  int m_nBottomLimit;
  // Sizes of the hidden row and column, given back when they show again.
  CRowColInfo m_hiddenRowInfo;
  CRowColInfo m_hiddenColInfo;
  // Every sub-division this splitter made; deleted with it.
  CPtrArray m_ownedSubDivisions;
};
