// CMainSplitterWnd: the static splitter of the main frame's three outer splitters. It adds
// a collapse button in the middle of a vertical bar that folds the column on one side
// away and brings it back, hover feedback drawn from bitmaps, a tooltip on the button, a
// fixed mode in which bars cannot be dragged, and a rule that keeps the browser column
// about 500 pixels wide.
#pragma once
#include <fw/fw.h>

#include "SplitterFold.h"

class CMainSplitterWnd : public CSplitterWnd {
 public:
  CMainSplitterWnd();
  ~CMainSplitterWnd() override;

  void SetSplitterSize(int cx, int cy);
  void SetSplitterGap(int cx, int cy);
  void SetToolTipText(const CString& strText);

  // Folds or unfolds the column of the bar's button, as a click does, and redraws the
  // whole splitter: 5 when it unfolded, 0 when it folded, -1 without a button.
  int ToggleCollapse();

  // Which button the bar carries (the frame sets them before creation).
  void SetLeftButton(BOOL bLeft) { m_bLeftButton = bLeft; }
  void SetRightButton(BOOL bRight) { m_bRightButton = bRight; }
  BOOL HasLeftButton() const { return m_bLeftButton; }
  BOOL HasRightButton() const { return m_bRightButton; }
  void SetFixed(BOOL bFixed) { m_bFixed = bFixed; }
  BOOL IsFixed() const { return m_bFixed; }
  // What the fold keeps of the folded column (preset by the frame).
  void SetFoldMemory(int nWidth, int nMin) {
    m_fold.nSavedWidth = nWidth;
    m_fold.nSavedMin = nMin;
  }
  const FoldMemory& GetFoldMemory() const { return m_fold; }
  // The main frame folded this splitter's column for a calendar view: the button shows
  // its plain face and no tip while hovered.
  void SetCalendarFold(BOOL bFold) { m_bCalendarFold = bFold; }

  // The button zone of the vertical bar under pt (client coordinates); FALSE when pt is
  // on no vertical bar's zone.
  BOOL GetButtonZone(CPoint pt, CRect* pZone);
  // The zone of the first vertical bar, whether the mouse is there or not.
  BOOL GetBarButtonZone(CRect* pZone);

  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;
  void StartTracking(int ht) override;
  BOOL DoKeyboardSplit() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The button zone of a vertical bar (hit-test code).
  CRect ZoneOfBar(int ht);
  void TrackHover();
  void RepaintBar(BOOL bErase);
  // Relayout after a fold change, drawn at once with all children.
  void RelayoutNow();
  void FoldLeft();
  void FoldRight();

  BOOL m_bFixed;
  BOOL m_bLeftButton;
  BOOL m_bRightButton;
  BOOL m_bLeftHover;
  BOOL m_bRightHover;
  BOOL m_bPressed;
  BOOL m_bClicked;
  FoldMemory m_fold;
  CToolTipCtrl m_tooltip;
  CString m_strToolTip;
  BOOL m_bCalendarFold;
};
