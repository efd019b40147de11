// The card plug-in's bitmap buttons: one that can draw a picture file over its face and
// tells its parent about mouse moves, and one with a hover image, focus images and a
// two-colour caption.
#pragma once
#include <fw/fw.h>

// Sent to the parent on every mouse move: wParam the button, lParam the point.
#define WM_THUMBBUTTON_MOUSEMOVE 1365

class CThumbButton : public CBitmapButton {
 public:
  CThumbButton();
  int SetSpaceKey(int on);
  void SetDrawFile(LPCSTR lpszPath, BOOL bDraw);
  void SetToolTipText(LPCSTR lpszText);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  void DrawFile(HDC hdc, const RECT& rc);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  CToolTipCtrl m_tooltip;
  CString m_strFile;
  int m_bDrawFile;
  int m_nSpaceKey;
};

class CCardHoverButton : public CThumbButton {
 public:
  CCardHoverButton();
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  virtual void SetStyle(int nStyle);
  virtual void SetHoverPressed(int nFlag);
  virtual int IsHoverPressed();
  virtual int GetHoverState();

  BOOL LoadSizedBitmaps(int cx, int cy, UINT nNormal, UINT nSelected, UINT nFocus, UINT nDisabled);
  void SetCaptionStyle(double dStep, double dOffset, int nFormat);
  void SetFocusImages(UINT nNormal, UINT nFocus);

  // The caption's colours by state (0 normal, 1 selected, 2 disabled, 3 hovering).
  static void CaptionColours(int nState, COLORREF* pShadow, COLORREF* pFace);

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnMouseHover(WPARAM, LPARAM);
  afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
  void SwapNormalImage(UINT nId);

  int m_nHover;
  int m_nStyle;
  int m_nHoverPressed;
  int m_bFocusImages;
  WORD m_nNormalId;
  WORD m_nFocusId;
  double m_dOffset;
  int m_nSizeStep;
  int m_nFormat;
  int m_cxSource;
  int m_cySource;
};
