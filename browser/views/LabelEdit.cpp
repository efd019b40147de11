// The day calendar's in-place name box: the rename box's character filter, its own result.
#include "LabelEdit.h"

#include <Kitlib2/OwnMessage.h>

#include "RenameEditRules.h"

namespace {
enum { kFirstChildId = 12288 };
}

BEGIN_MESSAGE_MAP(CLabelEdit, CEdit)
  ON_WM_CREATE()
  ON_WM_KILLFOCUS()
  ON_WM_CHAR()
END_MESSAGE_MAP()

CLabelEdit::CLabelEdit() : m_bCancelled(FALSE), m_bFinished(FALSE), m_chPrevious(0), m_rcGiven(0, 0, 0, 0) {}

CLabelEdit::~CLabelEdit() {}

BOOL CLabelEdit::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CHILD | WS_BORDER | ES_CENTER | ES_MULTILINE | ES_AUTOVSCROLL;
  return CEdit::PreCreateWindow(cs);
}

BOOL CLabelEdit::Create(CWnd* pParent, LPCSTR lpszText, int nLimit, const RECT& rc) {
  if (!pParent || !pParent->GetSafeHwnd()) return FALSE;
  UINT id = kFirstChildId;
  while (::GetDlgItem(pParent->m_hWnd, id)) id++;
  if (!CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, rc, pParent, id)) return FALSE;
  m_rcGiven = rc;
  SetWindowText(lpszText ? lpszText : "");
  SendMessage(EM_SETSEL, 0, 65535);
  SendMessage(EM_SCROLLCARET);
  Fit();
  SendMessage(EM_LIMITTEXT, nLimit);
  m_bCancelled = FALSE;
  m_bFinished = FALSE;
  return TRUE;
}

int CLabelEdit::OnCreate(LPCREATESTRUCT lpcs) {
  if (CEdit::OnCreate(lpcs) == -1) return -1;
  SetFocus();
  return 0;
}

LRESULT CLabelEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return 1;
  return CEdit::WindowProc(message, wParam, lParam);
}

BOOL CLabelEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN &&
      (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_BACK || pMsg->wParam == VK_SPACE || pMsg->wParam == VK_DELETE ||
       pMsg->wParam == VK_ESCAPE || ::GetKeyState(VK_CONTROL))) {
    ::TranslateMessage(pMsg);
    ::DispatchMessage(pMsg);
    if (pMsg->wParam == VK_DELETE && ::IsWindow(pMsg->hwnd) && pMsg->hwnd == m_hWnd) Fit();
    return TRUE;
  }
  return CEdit::PreTranslateMessage(pMsg);
}

void CLabelEdit::Fit() {
  CString text;
  GetWindowText(text);
  if (text.GetLength() < 2) text = "aa";
  CClientDC dc(this);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, ::GetStockObject(DEFAULT_GUI_FONT));
  CRect rc(0, 0, (int)(m_rcGiven.Width() * 0.9), 0);
  ::DrawTextA(dc.m_hDC, text, -1, &rc,
              DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX | DT_EDITCONTROL | DT_NOFULLWIDTHCHARBREAK);
  ::SelectObject(dc.m_hDC, old);
  rc.InflateRect(0, 0, ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
  int x = m_rcGiven.left + (m_rcGiven.Width() - rc.Width()) / 2;
  MoveWindow(x, m_rcGiven.top, rc.Width(), rc.Height());
}

void CLabelEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
    if (nChar == VK_ESCAPE) m_bCancelled = TRUE;
    Finish();
    return;
  }
  CString before;
  GetWindowText(before);
  BYTE previous = m_chPrevious;
  m_chPrevious = (BYTE)nChar;
  if (renameedit::RefusesChar(previous, (BYTE)nChar, before.IsEmpty())) return;
  CEdit::OnChar(nChar, nRepCnt, nFlags);
  CString after;
  GetWindowText(after);
  if (renameedit::RefusesText((LPCSTR)after)) {
    SetWindowText(before);
    SetFocus();
    SendMessage(EM_SETSEL, 0, 65535);
    SendMessage(EM_SCROLLCARET);
    return;
  }
  Fit();
}

void CLabelEdit::OnKillFocus(CWnd* pNew) {
  CEdit::OnKillFocus(pNew);
  Finish();
}

void CLabelEdit::Finish() {
  if (m_bFinished) return;
  m_bFinished = TRUE;
  CWnd* pParent = GetParent();
  if (pParent && pParent->GetSafeHwnd()) {
    CString text;
    GetWindowText(text);
    CMTLSendOwnMessage(pParent->GetSafeHwnd(), WM_LABEL_EDIT_END, m_bCancelled ? 0 : (WPARAM)(LPCSTR)text,
                       (LPARAM)this);
  }
  if (::IsWindow(m_hWnd)) DestroyWindow();
}
