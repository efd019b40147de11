// The modeless please-wait window: one text, centred, redrawn as soon as it is set.
#pragma once
#include <fw/fw.h>

class CWaitDlg : public CDialog {
 public:
  explicit CWaitDlg(CWnd* pParent = NULL);
  BOOL Create(CWnd* pParent = NULL);
  void SetText(LPCSTR lpszText);
  CString m_strText;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
