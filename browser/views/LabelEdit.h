// The day calendar's in-place name box: opened with the text, the limit and the place,
// fitted to its text, filtering what a file name refuses, and reporting the result to its
// parent (WM_LABEL_EDIT_END: wParam the text, or 0 when cancelled; lParam the box).
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

#define WM_LABEL_EDIT_END 32868

class VXGUITRANS_API CLabelEdit : public CEdit {
 public:
  CLabelEdit();
  ~CLabelEdit() override;

  BOOL Create(CWnd* pParent, LPCSTR lpszText, int nLimit, const RECT& rc);
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnKillFocus(CWnd* pNew);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

 private:
  void Fit();
  // Sends the result once and closes the box.
  void Finish();

  BOOL m_bCancelled;
  BOOL m_bFinished;
  BYTE m_chPrevious;
  CRect m_rcGiven;
  CFont m_font;
};
