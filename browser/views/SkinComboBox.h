// The strip's drop-down lists, drawn from bitmaps: a patterned face with white text and
// an arrow part whose picture follows the state (normal, hot, pressed, disabled).
#pragma once
#include <fw/fw.h>

#include "SkinComboBoxRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CSkinComboBox : public CComboBox {
  DECLARE_DYNAMIC(CSkinComboBox)
 public:
  CSkinComboBox();
  ~CSkinComboBox() override;

  // Child, visible, clipping, vertical scroll, drop-down list, owner-drawn with strings.
  BOOL CreateSkinned(const RECT& rect, CWnd* pParent, UINT nID);
  int GetState() const { return m_nState; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  bool OnArrow(CPoint pt) const;
  bool CursorOnArrow() const;
  void SetState(int state);
  void EnsureFont();

  int m_nState;
  CBitmap m_bmFace;
  CBitmap m_bmArrow[4];  // normal, hot, pressed, disabled
  CBrush m_brFace;
  CBrush m_brBack;
  CFont m_font;
  bool m_bFontMade;
};
