// The button of the zoom and slide-show control panels: hover look, cursor, tooltip and
// a posted message like the image button, drawn over a captured piece of its panel's
// background with an opacity so that the panel can fade its buttons.
#pragma once
#include <fw/fw.h>

#include "ImgButtonRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CHoverBitmapButton : public CBitmapButton {
  DECLARE_DYNAMIC(CHoverBitmapButton)
 public:
  CHoverBitmapButton();
  ~CHoverBitmapButton() override;

  void SetCommandMessage(CWnd* pTarget, UINT message, WPARAM wParam, LPARAM lParam);
  void SetBackgroundWnd(CWnd* pWnd) { m_pBackground = pWnd; }
  void CaptureBackground();
  void ResetBackground();
  void SetAlpha(BYTE opacity);
  BYTE GetAlpha() const { return m_nAlpha; }
  BOOL IsHover() const { return m_bPressed; }
  void SetToolTipText(CString text, BOOL bActivate);
  void ActivateToolTip(BOOL bActivate);
  HCURSOR SetCursor(HCURSOR hCursor);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnMouseHover(UINT nFlags, CPoint pt);
  afx_msg void OnMouseLeave();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnEnable(BOOL bEnable);
  DECLARE_MESSAGE_MAP()

 private:
  void CloseTip();
  bool PointInButton(CPoint pt) const;

  HCURSOR m_hPrevCursor;
  HCURSOR m_hCursor;
  CString m_strTip;
  CToolTipCtrl m_tip;
  CWnd* m_pBackground;
  BYTE m_nAlpha;
  CBitmap* m_pCaptured;
  BOOL m_bPressed;
  LPARAM m_lParam;
  WPARAM m_wParam;
  UINT m_nMessage;
  CWnd* m_pTarget;
  BOOL m_bTracking;
  BOOL m_bHovering;
};
