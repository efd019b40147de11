// The card plug-in's own message box (the notice popup), its two small dialogs, and the
// message box of the import that turns into the popup while the plug-in runs headless.
#pragma once
#include <fw/fw.h>

#include "CardButtons.h"

class CCardNoticeDlg : public CDialog {
 public:
  CCardNoticeDlg(CWnd* pParent, LPCSTR lpszText, LPCSTR lpszCaption);
  void SetStyle(UINT nStyle) { m_nStyle = nStyle; }
  BOOL Create(CWnd* pParent = NULL);
  int ButtonCount() const { return m_nButtons; }
  BOOL HasIcon() const { return m_bHasIcon; }
  const CRect& TextRect() const { return m_rcText; }

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override {}
  void OnCancel() override {}  // Esc and the system close do not end the popup
  afx_msg void OnPaint();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
  void LayOut(CDC* pDC);
  HFONT TextFont();

  CStatic m_icon;
  CCardHoverButton m_buttons[5];
  UINT m_nStyle;
  CString m_strText;
  CString m_strCaption;
  CWnd* m_pParent;
  int m_nButtons;
  BOOL m_bHasIcon;
  int m_results[5];
  BOOL m_bDragging;
  CPoint m_ptDrag;
  CRect m_rcText;
  CSize m_initial;
  CBrush m_brush;
};

class CDriveChangeDlg : public CDialog {
 public:
  explicit CDriveChangeDlg(CWnd* pParent = NULL);
  CString m_strMessage;
  int m_nNoMore;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

class CImportInfoDlg : public CDialog {
 public:
  explicit CImportInfoDlg(CWnd* pParent = NULL);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};

// Gives all children of the dialog the default GUI font unless its character set is one
// the dialog's own font serves.
void SetGuiFontUnlessAsian(CWnd* pDialog);

namespace cardtree {
// The import's message box: the system's, or the notice popup while running headless.
int CardMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle);
}  // namespace cardtree
