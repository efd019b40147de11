// The strip's thumbnail-size slider: five positions on a bitmap track, 167 x 26, that
// posts each new position to its parent (message 1034, wParam = position).
#pragma once
#include <fw/fw.h>

#include "ThumbSliderRules.h"
#include "VxGUITransApi.h"

#define WM_THUMBSLIDER_POSITION 1034

class VXGUITRANS_API CThumbSlider : public CWnd {
  DECLARE_DYNAMIC(CThumbSlider)
 public:
  enum ThumbState { kHot = 1, kNormal = 2, kPressed = 3 };

  CThumbSlider();
  ~CThumbSlider() override;

  BOOL Create(CWnd* pParent, const POINT& pt, UINT nID);
  // FALSE outside 0 to 4; otherwise moves the thumb and repaints at once.
  BOOL SetPosition(int position);
  int GetPosition() const { return m_nPosition; }
  int GetThumbState() const { return m_nThumbState; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void MoveTo(int position, bool notify);
  void SetThumbState(int state);
  void Repaint();
  bool InThumbColumn(int x) const { return x >= m_rcThumb.left && x <= m_rcThumb.right; }

  CBrush m_brTrack;
  CBrush m_brThumb[4];  // disabled, hot, normal, pressed
  int m_nPosition;
  BOOL m_bCaptured;
  BOOL m_bDragging;
  int m_nThumbState;
  CRect m_rcThumb;
  BOOL m_bTracking;
};
