#include "CueEdit.h"

BOOL CCueEdit::Attach(HWND hCombo, const CString& strCue) {
  m_strCue = strCue;
  HWND hEdit = hCombo;
  COMBOBOXINFO info = {sizeof info};
  if (::GetComboBoxInfo(hCombo, &info) && info.hwndItem) hEdit = info.hwndItem;
  if (!SubclassWindow(hEdit)) return FALSE;
  m_bWasEmpty = GetWindowTextLength() == 0;
  Invalidate();
  return TRUE;
}

LRESULT CCueEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (GetWindowTextLength() == 0) DrawCue();
      break;
    // What may empty the edit or fill it: the edit repaints only what changed, so the hint
    // needs a whole repaint when the edit turns empty or stops being so.
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_SETTEXT: {
      const bool empty = GetWindowTextLength() == 0;
      if (empty != m_bWasEmpty) Invalidate();
      m_bWasEmpty = empty;
      break;
    }
  }
  return result;
}

void CCueEdit::DrawCue() {
  if (m_strCue.IsEmpty()) return;
  RECT rc = {};
  SendMessage(EM_GETRECT, 0, (LPARAM)&rc);
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return;
  const bool focused = ::GetFocus() == m_hWnd;
  if (focused) ::HideCaret(m_hWnd);
  HGDIOBJ font = ::SelectObject(dc, (HFONT)SendMessage(WM_GETFONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
  ::DrawTextA(dc, m_strCue, m_strCue.GetLength(), &rc, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);
  ::SelectObject(dc, font);
  ::ReleaseDC(m_hWnd, dc);
  if (focused) ::ShowCaret(m_hWnd);
}
