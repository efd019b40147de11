// The length-limited edit box.
#include "LimitEdit.h"

#include <textkit/text.h>

#include <vector>

int LimitEditKeepLength(LPCSTR lpszText, int nLimit) {
  return nLimit <= 0 ? 0 : textkit::WholeCharPrefix(lpszText, nLimit);
}

IMPLEMENT_DYNAMIC(CLimitEdit, CEdit)

BEGIN_MESSAGE_MAP(CLimitEdit, CEdit)
  ON_CONTROL_REFLECT_EX(EN_CHANGE, &CLimitEdit::OnChange)
END_MESSAGE_MAP()

CLimitEdit::CLimitEdit() {}

BOOL CLimitEdit::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszName) {
    char text[261];
    lstrcpynA(text, cs.lpszName, sizeof(text));
    m_strInitial = text;
  }
  return CEdit::PreCreateWindow(cs);
}

// The parent hears of the change too (reflected with _EX, answering FALSE).
BOOL CLimitEdit::OnChange() {
  int limit = (int)SendMessage(EM_GETLIMITTEXT);
  int length = GetWindowTextLength();
  if (limit <= 0 || length <= limit) return FALSE;
  // Read all of it: a buffer of the limit's size would cut it blindly.
  std::vector<char> text((size_t)length + 1);
  ::GetWindowTextA(m_hWnd, text.data(), length + 1);
  text[(size_t)LimitEditKeepLength(text.data(), limit)] = '\0';
  SetWindowText(text.data());
  int end = (int)lstrlenA(text.data());
  SetSel(end, end);
  return FALSE;
}
