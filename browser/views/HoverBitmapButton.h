// The button of the zoom and slide-show control panels: hover look, cursor, tooltip and
// a posted message like the image button, drawn over a captured piece of its panel's
// background with an opacity so that the panel can fade its buttons.
#pragma once
#include <fw/fw.h>

#include "HoverButtonBase.h"
#include "ImgButtonRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CHoverBitmapButton : public CHoverButtonBase {
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
  void ActivateToolTip(BOOL bActivate);
  HCURSOR SetCursor(HCURSOR hCursor);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnEnable(BOOL bEnable);
  DECLARE_MESSAGE_MAP()

 private:
  void CloseTip() override;

  CWnd* m_pBackground;
  BYTE m_nAlpha;
  CBitmap* m_pCaptured;
  LPARAM m_lParam;
  WPARAM m_wParam;
  UINT m_nMessage;
  CWnd* m_pTarget;
};
