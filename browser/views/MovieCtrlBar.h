// The movie position slider of the enlarged view: a trackbar that keeps the trackbar's
// range, position, page and line sizes but paints itself from bitmaps (a channel of three
// pieces and a thumb with four state pictures) and handles mouse, wheel and keys itself,
// reporting every change to its parent as WM_HSCROLL.
#pragma once
#include <fw/fw.h>

#include "FocusInfoView.h"
#include "MovieCtrlBarRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CMovieCtrlBar : public CSliderCtrl {
  DECLARE_DYNAMIC(CMovieCtrlBar)
 public:
  enum ThumbState { kDisabled = 0, kNormal = 1, kHot = 2, kPressed = 3 };

  CMovieCtrlBar();
  ~CMovieCtrlBar() override;

  BOOL SetChannelBitmaps(UINT middle, UINT left, UINT right);
  BOOL SetThumbBitmaps(UINT normal, UINT pressed, UINT hot, UINT disabled);
  BOOL SetChannelRect(RECT rc);
  void GetChannelRect(RECT* prc) const { *prc = m_rcChannel; }
  void GetThumbRect(RECT* prc) const;
  int GetThumbState() const { return m_nThumbState; }
  int GetStepWidth() const;
  double PosToOffset(int pos) const;
  int PosToCenter(int pos) const;
  int HitTestPos(int x, int y, BOOL bClamp) const;
  void SetPos(int pos);
  void SetTicFreq(int freq);
  void ActivateToolTip(BOOL bActivate);
  void SetWindowText(LPCSTR lpszText);

  virtual void OnDrawChannel(CDC*) {}
  virtual void DrawTic(CDC* pDC, int pos, int length);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnMouseHover(UINT nFlags, CPoint pt);
  afx_msg void OnMouseLeave();
  afx_msg BOOL OnMouseWheel(UINT nFlags, short delta, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  // The trackbar's own end-of-track notice on losing the capture is not ours to send.
  afx_msg void OnCaptureChanged(CWnd*) {}
  DECLARE_MESSAGE_MAP()

 private:
  moviebar::Track Track() const;
  CRect ThumbRect() const;
  bool CursorOnThumb() const;
  void SetThumbState(int state);
  void Post(UINT code, int pos = 0);
  void RepaintThumb(const CRect& before);
  void FreeBitmaps(CBitmap** pp, int n);

  CInfoToolTipCtrl m_tip;  // the pointer leaving the channel does not take it down
  BOOL m_bTracking;
  BOOL m_bHovering;
  int m_nTicFreq;
  int m_nThumbState;
  CPoint m_ptDrag;
  CSize m_szThumb;
  int m_cxDrawing, m_cyChannel;
  CRect m_rcChannel;
  int m_yThumbBand;
  CBitmap* m_pThumb[4];    // disabled, pressed, hot, normal
  CBitmap* m_pChannel[3];  // right end, left end, middle
};
