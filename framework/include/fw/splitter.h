// The static splitter: a grid of panes (rows x columns, up to 16 x 16) separated by
// bars the user drags.
//
// Geometry, per axis: the client border (m_cxBorder) on each side; pane 0 starts inside
// it; between two panes a gap of m_cxSplitterGap, in which the bar of width m_cxSplitter
// is drawn m_cxBorderShare after the first pane. Panes with a client edge and nested
// splitters are widened by the client border on every side so that their edge covers the
// pane frame the splitter draws there.
//
// Layout (RecalcLayout): every row and column but the last gets its ideal size (an ideal
// below its minimum becomes 0: folded); the last takes the rest; when the rest is below a
// later pane's minimum, that pane gets 0 and its room goes to the one before. The bar
// after a pane always keeps its room, so a bar dragged to the far edge can come back.
//
// Pane ids: AFX_IDW_PANE_FIRST + 16 * row + column. A derived class may take panes out of
// the grid (other ids, fewer m_nRows/m_nCols); RecalcLayout only places the panes of the
// current grid.
#pragma once
#include <fw/frame.h>

#define SPLS_DYNAMIC_SPLIT 0x0100L
#define SPLS_INVERT_TRACKER 0x0200L

class FW_API CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
 public:
  struct CRowColInfo {
    int nMinSize;    // below this the pane is not shown
    int nIdealSize;  // the size the user (or program) wants
    int nCurSize;    // the size it has now
  };
  enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };
  enum HitTestValue {
    noHit = 0,
    vSplitterBox = 1,
    hSplitterBox = 2,
    bothSplitterBox = 3,
    vSplitterBar1 = 101,  // bars between rows (horizontal lines): 101 + row
    vSplitterBar15 = 115,
    hSplitterBar1 = 201,  // bars between columns (vertical lines): 201 + column
    hSplitterBar15 = 215,
    splitterIntersection1 = 301,  // 301 + 15 * row + column
    splitterIntersection225 = 525
  };

  CSplitterWnd();
  ~CSplitterWnd() override;

  BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                    UINT nID = AFX_IDW_PANE_FIRST);
  // A pane of pViewClass at (row, col); sizeInit becomes the column's ideal width and the
  // row's ideal height. Without a context the active pane's document is used and the
  // view gets its initial update at once.
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  // Current size and minimum.
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);

  CWnd* GetPane(int row, int col) const;
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
  BOOL IsChildPane(CWnd* pWnd, int& row, int& col) { return IsChildPane(pWnd, &row, &col); }
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }

  virtual void RecalcLayout();
  // The pane that has the focus or is the frame's active view; null when none of ours.
  virtual CWnd* GetActivePane(int* pRow = NULL, int* pCol = NULL);
  virtual void SetActivePane(int row, int col, CWnd* pWnd = NULL);
  virtual BOOL DoKeyboardSplit();

  // Drawing; a null pDC only invalidates rect.
  virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
  virtual void OnInvertTracker(const CRect& rect);

  // Dragging a bar: StartTracking(hit-test code) captures the mouse; mouse moves move the
  // tracker inside m_rectLimit; StopTracking(TRUE) sets the new ideal size.
  int HitTest(CPoint pt) const;
  virtual void StartTracking(int ht);
  virtual void StopTracking(BOOL bAccept);
  virtual void TrackRowSize(int y, int row);
  virtual void TrackColumnSize(int x, int col);
  // The bar's rectangle for a hit-test code; also narrows m_rectLimit to where it may go.
  virtual void GetHitRect(int ht, CRect& rect);
  void GetInsideRect(CRect& rect) const;
  BOOL IsTracking() const { return m_bTracking; }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;  // unhandled: to the parent frame
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // Layout attributes a derived class sets.
  int m_cxSplitter, m_cySplitter;          // bar size
  int m_cxBorderShare, m_cyBorderShare;    // gap before the bar
  int m_cxSplitterGap, m_cySplitterGap;    // room between two panes
  int m_cxBorder, m_cyBorder;              // client border
  int m_nRows, m_nCols;
  int m_nMaxRows, m_nMaxCols;
  CRowColInfo* m_pRowInfo;
  CRowColInfo* m_pColInfo;
  // Tracking state.
  BOOL m_bTracking, m_bTracking2;
  CPoint m_ptTrackOffset;
  CRect m_rectLimit;
  CRect m_rectTracker, m_rectTracker2;
  int m_htTrack;
  BOOL m_bKeyboardTracking;
  DWORD m_dwSplitterStyle;

 protected:
  void DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside);
  void SetSplitCursor(int ht);
  // Places pWnd at (x, y, cx, cy) of the client (widened for its own edge, see above).
  void DeferClientPos(AFX_SIZEPARENTPARAMS* lpLayout, CWnd* pWnd, int x, int y, int cx, int cy);
  // The left (top) edge of pane index i along an axis.
  int PanePos(const CRowColInfo* pInfo, int i, int nBorder, int nGap) const;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCancelMode();
  afx_msg void OnCaptureChanged(CWnd* pWnd);

  DECLARE_MESSAGE_MAP()
};

// Sizes of the rows (or columns) of a splitter along one axis: pInfo[i].nCurSize from
// the ideal and minimum sizes for nSize pixels with nGap between panes (see above).
FW_API void AFXAPI AfxSplitterLayout(CSplitterWnd::CRowColInfo* pInfo, int nCount, int nSize, int nGap);
