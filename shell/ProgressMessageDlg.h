// CProgressMessageDlg: the small modeless window that shows a message while the system
// waits (outside programs closing, the slide-show player or a page tool starting) and can
// turn into a progress bar.
#pragma once
#include "ui/ResourceDialog.h"

class CProgressMessageDlg : public CResourceDialog {
 public:
  explicit CProgressMessageDlg(CWnd* pParentWnd = NULL);
  ~CProgressMessageDlg() override;

  // Creates the modeless window from the resource library's template.
  BOOL CreateModeless(CWnd* pParentWnd);

  void SetText(LPCSTR lpszText);
  // Turns the window into a progress bar of nTotal steps: 20 pixels taller, text hidden.
  void SetRange(int nTotal);
  // Advances by n steps, at most to the total, and repaints at once.
  void Step(int n);

  int GetTotal() const { return m_nTotal; }
  int GetPosition() const { return m_nPosition; }

  // The filled width of a bar nBarWidth wide (inside its one-pixel frame) after
  // nPosition of nTotal steps; 0 without a total.
  static int FillWidth(int nBarWidth, int nTotal, int nPosition);

 protected:
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnPaint();
  void OnOK() override {}
  void OnCancel() override {}
  DECLARE_MESSAGE_MAP()

 private:
  int m_nTotal;     // -1: text only
  int m_nPosition;
};
