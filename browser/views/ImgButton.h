// The bitmap button of the calendar views, the enlarged view and the movie controls: hover
// images (through the focus bitmap), check and radio behaviour, a drawn caption, a
// tooltip, its own cursor and a message posted when clicked, optionally repeated while
// held (never more than one repeat waiting).
#pragma once
#include <fw/fw.h>

#include "HoverButtonBase.h"
#include "ImgButtonRules.h"
#include "VxGUITransApi.h"

class VXGUITRANS_API CImgButton : public CHoverButtonBase {
  DECLARE_DYNAMIC(CImgButton)
 public:
  CImgButton();
  ~CImgButton() override;

  void SetDrawText(BOOL bDraw, CSize margins, CSize pressedOffset, CSize hoverOffset);
  void SetDrawText(BOOL bDraw, CRect rect, CSize pressedOffset, CSize hoverOffset);
  // The caption's colour (black until set).
  void SetCaptionColor(COLORREF color) { m_crCaption = color; }
  void SetCheckButton(BOOL bCheck);
  void SetRadioButton(BOOL bRadio);
  BOOL GetCheck();
  void SetBtnMessage(HWND hTarget, UINT message, WPARAM wParam, LPARAM lParam);
  void SetTimerPostMessage(BOOL bRepeat);
  void ActivateTooltip(BOOL bActivate);
  HICON SetCursor(HICON hCursor);
  BOOL IsPressed() const { return m_bPressed; }

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg LRESULT OnBmSetCheck(WPARAM wParam, LPARAM);
  afx_msg LRESULT OnBmGetCheck(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  void PostBtnMessage();
  void StopRepeat();
  void OnLeaving() override { StopRepeat(); }

  BOOL m_bAutoRepeat;
  LPARAM m_lParam;
  WPARAM m_wParam;
  UINT m_nMessage;
  HWND m_hTarget;
  BOOL m_bChecked;
  BOOL m_bRadio;
  BOOL m_bCheck;
  CSize m_szHoverOffset;
  CSize m_szPressedOffset;
  CRect m_rcText;
  CSize m_szMargins;
  BOOL m_bDrawText;
  COLORREF m_crCaption;
};
