// CAutoScrollView: a scrolling view that scrolls by itself while the mouse, with a button
// held, is outside its client area (the rubber band of the icon view), with hooks around
// each step and at the end, 32-bit scroll positions and a vertical scale factor for
// documents taller than a 16-bit scroll range.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class VXGUITRANS_API CAutoScrollView : public CScrollView {
  DECLARE_DYNAMIC(CAutoScrollView)
 protected:
  CAutoScrollView();

 public:
  ~CAutoScrollView() override;

  // The modal loop; nEndMessage WM_LBUTTONUP or WM_RBUTTONUP.
  void TrackDrag(UINT nEndMessage);
  BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
  void ScrollToPositionRaw(int x, int y);
  CPoint GetScrollPositionRaw() const;

  virtual void OnDragSelect(int x, int y, BOOL bBeforeScroll) {}
  virtual void OnAutoScrollEnd(CPoint point) {}

  BOOL IsAutoScrolling() const { return m_bAutoScrolling; }
  void EnableAutoScroll(BOOL bEnable) { m_bAutoScrollEnabled = bEnable; }
  double GetVertScale() const { return m_dVertScale; }

 protected:
  BOOL m_bAutoScrollEnabled = TRUE;
  BOOL m_bAutoScrolling = FALSE;
  CScrollBar m_wndScrollBar;
  double m_dVertScale = 0.0;
};
