// What the two image buttons share: a bitmap button that shows its hover look while the
// mouse is over it (leave and hover tracking), its own cursor, and one tooltip tool.
#pragma once
#include <fw/fw.h>

#include "ImgButtonRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CHoverButtonBase : public CBitmapButton {
  DECLARE_DYNAMIC(CHoverButtonBase)
 public:
  CHoverButtonBase();
  ~CHoverButtonBase() override;

  void SetToolTipText(CString text, BOOL bActivate);
  BOOL IsTracking() const { return m_bTracking; }
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  // The tooltip with one tool over the client area: the tip text, else the window text.
  void CreateTip(DWORD dwStyle);
  bool PointInButton(CPoint pt) const;
  // Leaving: the tip goes (each button its own way), then whatever else the button stops.
  virtual void CloseTip();
  virtual void OnLeaving() {}

  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnMouseHover(UINT nFlags, CPoint pt);
  afx_msg void OnMouseLeave();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  HCURSOR m_hPrevCursor;
  HCURSOR m_hCursor;
  CString m_strTip;
  CToolTipCtrl m_tip;
  BOOL m_bPressed;
  BOOL m_bTracking;
  BOOL m_bHovering;
};
