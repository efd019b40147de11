// An edit box that keeps its text within its text limit however the text changes
// (typing, pasting, a program's SetWindowText), cutting it where the limit falls but
// never inside a double-byte character.
#pragma once
#include <fw/fw.h>

// How many bytes of text stay under a limit of nLimit bytes: at most nLimit, and never
// half of a double-byte character (code page 932).
int LimitEditKeepLength(LPCSTR lpszText, int nLimit);

class CLimitEdit : public CEdit {
  DECLARE_DYNAMIC(CLimitEdit)
 public:
  CLimitEdit();
  const CString& GetInitialText() const { return m_strInitial; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  afx_msg BOOL OnChange();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strInitial;  // the text the window was to be created with, at most 260 characters
};
