// The music list: notices, commands, mouse and keys.
#include "MusicListWnd.h"

#include <algorithm>

namespace {
bool KeyHeld(int vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }
bool IsNavigationKey(UINT vk) {
  return vk == VK_PRIOR || vk == VK_NEXT || vk == VK_END || vk == VK_HOME || vk == VK_UP || vk == VK_DOWN;
}
}  // namespace

LRESULT CMusicListWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message > WM_USER) {
    LRESULT result = 0;
    if (OnListNotice(message, wParam, lParam, &result)) return result;
    if (m_hListOwner && m_hListOwner != m_hWnd) ::SendNotifyMessage(m_hListOwner, message, wParam, lParam);
    // The panel passes a row's drag on to its owner, which is this window: it went already.
    if (message == UWM_SKIN_STARTDRAG) return 0;
    result = CScrollPanelWnd::WindowProc(message, wParam, lParam);
    if (message == UWM_LIST_LBUTTONUP) {
      int row = musiclist::AbsoluteRow(PositionOf((HWND)lParam), m_nFirst);
      m_nFocusRow = m_selection.empty() ? -1 : row;
    }
    return result;
  }
  return CScrollPanelWnd::WindowProc(message, wParam, lParam);
}

BOOL CMusicListWnd::OnListNotice(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  switch (message) {
    case UWM_SKIN_RCLICK: *pResult = 1; return TRUE;
    case UWM_ROW_CHECKCLICK: {
      // A notice of a window that is no visible row names no row.
      int row = musiclist::AbsoluteRow(PositionOf((HWND)lParam), m_nFirst);
      if (row >= 0) SendMessage(UWM_LIST_ITEMCHECK, wParam, row);
      return TRUE;
    }
    case UWM_LIST_HSCROLL:
      if (m_pHeader && m_pHeader->GetSafeHwnd()) m_pHeader->SetOrigin((int)wParam, 0);
      return FALSE;
    case UWM_HDR_RESIZED:
      m_nHeaderWidth = (int)wParam;
      SetHorzExtent(m_nHeaderWidth, FALSE);
      return FALSE;
    case UWM_HDR_COLWIDTH: RecalcLayout(); return FALSE;
    case UWM_HDR_AUTOFIT:
      if (m_pHeader) m_pHeader->AutoFitColumn((int)wParam, GetColumnTextWidth((int)wParam));
      return FALSE;
    case UWM_ROW_CELLDOWN: {
      int row = musiclist::AbsoluteRow(PositionOf((HWND)lParam), m_nFirst);
      m_nFocusRow = m_nAnchorRow = m_selection.empty() ? -1 : row;
      return FALSE;
    }
    case UWM_ROW_CELLRDOWN: OnRowRightPress((HWND)lParam); return FALSE;
  }
  return FALSE;
}

void CMusicListWnd::OnRowRightPress(HWND hRow) {
  int position = PositionOf(hRow);
  int row = musiclist::AbsoluteRow(position, m_nFirst);
  if (row < 0 || !m_bSelectable) return;
  bool ctrlOrShift = KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT);
  if (!musiclist::RightPressSelects(scrollpanel::Contains(m_selection, row), ctrlOrShift)) return;
  ClearSelection(FALSE, FALSE, FALSE);
  m_nAnchor = m_nAnchorRow = row;
  SelectIndex(row, FALSE);
  CScrollPanelWnd::RecalcLayout(TRUE, FALSE);
  Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
}

BOOL CMusicListWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (m_pHeader && (HWND)lParam == m_pHeader->GetSafeHwnd()) return CScrollPanelWnd::OnCommand(wParam, lParam);
  UINT code = HIWORD(wParam);
  if (code == BN_HILITE || code == BN_DOUBLECLICKED) {
    int row = musiclist::AbsoluteRow(PositionOf((HWND)lParam), m_nFirst);
    if (row >= 0) SendMessage(code == BN_HILITE ? UWM_LIST_ITEMPRESS : UWM_LIST_ITEMDBLCLK, row, lParam);
  }
  return CScrollPanelWnd::OnCommand(wParam, lParam);
}

void CMusicListWnd::OnLButtonDown(UINT nFlags, CPoint pt) {
  SetFocus();
  CScrollPanelWnd::OnLButtonDown(nFlags, pt);
}

void CMusicListWnd::OnRButtonDown(UINT, CPoint) {
  if (KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT)) return;
  ClearSelection(TRUE, FALSE, FALSE);
  Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
}

BOOL CMusicListWnd::HandleKey(UINT vk) {
  musiclist::KeyState s;
  s.count = GetTotalCount();
  s.focus = m_nFocusRow;
  s.firstSelected = m_selection.empty() ? -1 : *std::min_element(m_selection.begin(), m_selection.end());
  s.current = GetCurrentRow();
  s.first = m_nFirst;
  s.last = m_nLast;
  s.slots = GetCapacity();
  int row = musiclist::KeyTargetRow(vk, s);
  // An empty list has no row to go to.
  if (row < 0) return IsNavigationKey(vk);
  ClearSelection(FALSE, FALSE, FALSE);
  SelectIndex(row, FALSE);
  m_nAnchor = m_nFocusRow = row;
  EnsureRowVisible(row);
  CScrollPanelWnd::RecalcLayout(TRUE, FALSE);
  SendMessage(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection, (LPARAM)this);
  return TRUE;
}

void CMusicListWnd::OnKeyDown(UINT nChar, UINT, UINT) { HandleKey(nChar); }

BOOL CMusicListWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYUP && (pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT)) return TRUE;
  // Keys reach the canvas or a row when one of them has the focus.
  if (pMsg->message == WM_KEYDOWN && pMsg->hwnd != m_hWnd && ::IsChild(m_hWnd, pMsg->hwnd) &&
      IsNavigationKey((UINT)pMsg->wParam))
    return HandleKey((UINT)pMsg->wParam);
  return CScrollPanelWnd::PreTranslateMessage(pMsg);
}
