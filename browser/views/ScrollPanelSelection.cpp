// The scroll panel: selection, item notifications, rubber band, keys and drops.
#include <algorithm>

#include "ScrollPanelWnd.h"

using namespace scrollpanel;

namespace {
bool KeyDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }
enum { kBandTimer = 1, kBandTimerMs = 100 };
}  // namespace

// ----- Selection -----

void CScrollPanelWnd::ReplaceSelection(const std::vector<int>& sel, BOOL bNotify) {
  m_selection = sel;
  if (bNotify) Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
}

void CScrollPanelWnd::SelectIndex(int index, BOOL bNotify) {
  if (index >= 0 && !Contains(m_selection, index)) m_selection.push_back(index);
  if (bNotify) Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
}

void CScrollPanelWnd::ToggleSelect(int index) {
  if (index < 0 || index > GetTotalCount() - 1) return;
  auto it = std::find(m_selection.begin(), m_selection.end(), index);
  if (it != m_selection.end())
    m_selection.erase(it);
  else
    SelectIndex(index, FALSE);
}

void CScrollPanelWnd::SelectRange(int index, BOOL bKeep) {
  m_selection = scrollpanel::SelectRange(m_selection, m_nAnchor, index, bKeep != FALSE);
}

void CScrollPanelWnd::ClearSelection(BOOL bRedrawItems, BOOL bResetAnchor, BOOL bNotify) {
  m_selection.clear();
  if (!m_items.empty()) {
    if (bRedrawItems)
      for (CSkinCtrlWnd* p : m_items) p->SetState(skinctrl::kNormal);
    if (bNotify) Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
  }
  if (bResetAnchor) m_nAnchor = -1;
}

BOOL CScrollPanelWnd::SetSelection(const std::vector<int>& indices) {
  ClearSelection(FALSE, FALSE, FALSE);
  for (int i : indices) ToggleSelect(i);
  m_nAnchor = indices.empty() ? -1 : indices.back();
  RecalcLayout(TRUE, FALSE);
  return TRUE;
}

void CScrollPanelWnd::ApplyStates() {
  if (m_bOwnStates) return;
  for (int i = 0; i < (int)m_items.size() && i < GetVisibleCount(); i++)
    m_items[i]->SetState(GetRowState(m_nFirst + i));
}

void CScrollPanelWnd::OnDeleteItem(int index) {
  if (index < 0 || index > GetTotalCount() - 1) return;
  std::vector<int> kept;
  for (int i : m_selection)
    if (i != index) kept.push_back(i > index ? i - 1 : i);
  m_selection = kept;
  AssignItems(m_nFirst, index);
  RecalcLayout(FALSE, FALSE);
}

// ----- Item notifications -----

BOOL CScrollPanelWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  int p = FindItemIndex((HWND)lParam);
  UINT code = HIWORD(wParam);
  if (!lParam || (p < 0 && code != BN_CLICKED)) return CWnd::OnCommand(wParam, lParam);
  int index = m_nFirst + p;
  bool withinPage = p < GetVisibleCount();
  bool single = m_bSingle != FALSE;
  switch (code) {
    case BN_CLICKED: {
      if (p < 0) return TRUE;
      if (!withinPage || !m_bSelectable) {
        if (withinPage) Tell(UWM_LIST_CURSEL, index);
        return TRUE;
      }
      if (m_bClickConsumed) {
        m_bClickConsumed = FALSE;
      } else {
        bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
        if (single || (!ctrl && !shift && !m_bToggle)) {
          ClearSelection(FALSE, FALSE, FALSE);
          m_nAnchor = index;
          SelectIndex(index, FALSE);
        } else if (!shift) {
          m_nAnchor = index;
          ToggleSelect(index);
        }
      }
      RecalcLayout(TRUE, FALSE);
      Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
      return TRUE;
    }
    case BN_HILITE: {
      if (m_bSelectable && p >= 0) {
        int state = GetRowState(index);
        m_bClickConsumed = FALSE;
        bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
        if (shift && !single) {
          if (m_selection.empty()) m_nAnchor = index;
          SelectRange(index, ctrl);
          RecalcLayout(TRUE, FALSE);
          m_bClickConsumed = TRUE;
        } else {
          if (!((ctrl || m_bToggle) && !single) && state != skinctrl::kHover) {
            ClearSelection(FALSE, FALSE, FALSE);
            m_nAnchor = index;
            SelectIndex(index, FALSE);
            RecalcLayout(TRUE, FALSE);
          }
          m_items[p]->SetState(skinctrl::kPressed);
        }
        Tell(UWM_LIST_BLANKCLICK, index);
      } else if (withinPage) {
        Tell(UWM_LIST_BLANKCLICK, index);
      }
      return TRUE;
    }
    case BN_DOUBLECLICKED:
      if (m_bSelectable) {
        m_nAnchor = index;
        if (!m_bToggle) {
          ClearSelection(FALSE, FALSE, FALSE);
          SelectIndex(m_nAnchor, FALSE);
        }
        RecalcLayout(TRUE, FALSE);
        Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
        Tell(UWM_LIST_DBLCLK, (WPARAM)m_items[p]);
      } else if (withinPage) {
        Tell(UWM_LIST_DBLCLK, (WPARAM)m_items[p]);
      }
      return TRUE;
    case BN_SETFOCUS: Tell(UWM_LIST_HOVER, p); return TRUE;
    case BN_KILLFOCUS: Tell(UWM_LIST_LEAVE, p); return TRUE;
  }
  return TRUE;  // other notices of item windows end here
}

// ----- Keys -----

LRESULT CScrollPanelWnd::OnKeyAction(WPARAM action, LPARAM) {
  int last = GetTotalCount() - 1;
  if (action == kActivate || action == kPress) {
    if (m_nAnchor < 0) return 1;
    if (action == kActivate) {
      int first = FirstShowing(m_nAnchor, m_nFirst, GetCapacity(), m_nColumns);
      if (first >= 0) Relayout(first, FALSE);
      ClearSelection(FALSE, FALSE, FALSE);
      SelectIndex(m_nAnchor, FALSE);
      RecalcLayout(TRUE, FALSE);
      int p = m_nAnchor - m_nFirst;
      if (p >= 0 && p < (int)m_items.size()) Tell(UWM_LIST_ACTIVATE, (WPARAM)m_items[p]);
    } else if (m_nAnchor >= m_nFirst && m_nAnchor <= m_nLast) {
      int p = m_nAnchor - m_nFirst;
      if (p < (int)m_items.size()) {
        m_items[p]->SetState(skinctrl::kPressed);
        RecalcLayout(TRUE, FALSE);
        Tell(UWM_LIST_PRESS, (WPARAM)m_items[p]);
      }
    }
    return 1;
  }
  int anchor;
  if (!MoveAnchor((int)action, m_nAnchor, m_nColumns, last, m_nLast, &anchor)) return 1;
  m_nAnchor = anchor;
  ClearSelection(FALSE, FALSE, FALSE);
  SelectIndex(m_nAnchor, FALSE);
  int first = FirstShowing(m_nAnchor, m_nFirst, GetCapacity(), m_nColumns);
  if (first >= 0)
    Relayout(first, TRUE);
  else
    RecalcLayout(TRUE, FALSE);
  Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
  return 1;
}

// ----- Blank area and rubber band -----

void CScrollPanelWnd::OnLButtonDown(UINT nFlags, CPoint pt) {
  m_vbar.Invalidate(FALSE);
  m_vbar.UpdateWindow();
  bool modifiers = (nFlags & (MK_SHIFT | MK_CONTROL)) != 0;
  if (!modifiers && m_bSelectable)
    ClearSelectionOnClick();
  else if (!m_bSelectable)
    Tell(UWM_LIST_BLANKCLICK, (WPARAM)-1);
  if (m_bMultiSelect) {
    m_savedSelection = m_selection;
    m_ptBandStart = m_ptBandNow = pt;
    m_nBandStartFirst = m_nBandNowFirst = m_nFirst;
    m_nBandFrom = m_nBandTo = -1;
    m_bBanding = TRUE;
    SetCapture();
    SetTimer(kBandTimer, kBandTimerMs, nullptr);
  }
}

void CScrollPanelWnd::OnMouseMove(UINT nFlags, CPoint pt) {
  if (!(nFlags & MK_LBUTTON) || !m_bBanding || ::GetCapture() != m_hWnd) return;
  m_ptBandNow = pt;
  m_nBandNowFirst = m_nFirst;
  UpdateRubberBand(nFlags);
  DrawRubberBand();
}

void CScrollPanelWnd::OnTimer(UINT_PTR id) {
  if (id != kBandTimer) {
    CWnd::OnTimer(id);
    return;
  }
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  CRect client;
  GetClientRect(&client);
  UINT code = pt.y < client.top ? SB_LINEUP : pt.y > client.bottom ? SB_LINEDOWN : (UINT)-1;
  if (code != (UINT)-1) {
    if (!m_rcBand.IsRectEmpty() && m_pCanvas) {
      CClientDC dc(m_pCanvas);
      dc.DrawFocusRect(&m_rcBand);
      m_rcBand.SetRectEmpty();
    }
    OnVScroll(code, 0, nullptr);
  }
  UINT keys = (KeyDown(VK_SHIFT) ? MK_SHIFT : 0) | (KeyDown(VK_CONTROL) ? MK_CONTROL : 0);
  m_nBandNowFirst = m_nFirst;
  UpdateRubberBand(keys);
}

void CScrollPanelWnd::OnLButtonUp(UINT, CPoint) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (!m_rcBand.IsRectEmpty() && m_pCanvas && m_pCanvas->GetSafeHwnd()) {
    CClientDC dc(m_pCanvas);
    dc.DrawFocusRect(&m_rcBand);
  }
  m_rcBand.SetRectEmpty();
  KillTimer(kBandTimer);
  m_bBanding = FALSE;
  m_savedSelection.clear();
  if (!m_bSelectable) Tell(UWM_LIST_CURSEL, (WPARAM)-1);
}

void CScrollPanelWnd::GetRubberBandRange(POINT* pUpper, POINT* pLower, int* pUpperFirst, int* pLowerFirst) const {
  if (!pUpper || !pLower || !pUpperFirst || !pLowerFirst) return;
  pUpper->x = std::min(m_ptBandStart.x, m_ptBandNow.x);
  pLower->x = std::max(m_ptBandStart.x, m_ptBandNow.x);
  SIZE s = {0, 0};
  if (m_pTemplate) m_pTemplate->GetClientSize(&s);
  auto height = [&](int first, int y) {
    return m_nColumns ? (long long)(first / m_nColumns) * (s.cy + m_nVGap) + y : (long long)y;
  };
  bool nowLower = m_nColumns && height(m_nBandNowFirst, m_ptBandNow.y) > height(m_nBandStartFirst, m_ptBandStart.y);
  pUpper->y = nowLower ? m_ptBandStart.y : m_ptBandNow.y;
  pLower->y = nowLower ? m_ptBandNow.y : m_ptBandStart.y;
  *pUpperFirst = nowLower ? m_nBandStartFirst : m_nBandNowFirst;
  *pLowerFirst = nowLower ? m_nBandNowFirst : m_nBandStartFirst;
}

void CScrollPanelWnd::UpdateRubberBand(UINT keys) {
  if (!m_pTemplate || m_bSingle || !m_bMultiSelect || !m_nColumns || !m_nRows) return;
  CPoint origin = CellOrigin();
  auto index = [&](int first, int x, int y) {
    int column = CellAt(x, origin.x, m_szCell.cx, m_nHGap, m_nColumns);
    int row = CellAt(y, origin.y, m_szCell.cy, m_nVGap, m_nRows);
    return first + row * m_nColumns + column;
  };
  // The start counts from the page the press was on, so scrolling keeps its item.
  int start = index(m_nBandStartFirst, m_ptBandStart.x, m_ptBandStart.y);
  int end = index(m_nFirst, m_ptBandNow.x, m_ptBandNow.y);
  if (start == m_nBandFrom && end == m_nBandTo) return;
  ApplyRubberBand(start, end, keys);
  m_nBandFrom = start, m_nBandTo = end;
}

void CScrollPanelWnd::ApplyRubberBand(int start, int end, UINT keys) {
  int last = GetTotalCount() - 1;
  std::vector<int> block = BandBlock(start, end, m_nColumns, last);
  m_nAnchor = BandAnchor(start, m_nColumns, last);
  ReplaceSelection(ApplyBand(m_savedSelection, block, (keys & (MK_CONTROL | MK_SHIFT)) != 0), FALSE);
  ApplyStates();
  Tell(UWM_LIST_ITEMCHANGE, (WPARAM)&m_selection);
}

void CScrollPanelWnd::DrawRubberBand() {
  if (!m_pCanvas || !m_pCanvas->GetSafeHwnd()) return;
  POINT upper, lower;
  int upperFirst, lowerFirst;
  GetRubberBandRange(&upper, &lower, &upperFirst, &lowerFirst);
  int scrolled = m_nColumns ? (m_nFirst - m_nBandStartFirst) / m_nColumns * (m_szCell.cy + m_nVGap) : 0;
  CPoint a = m_ptBandStart, b = m_ptBandNow;
  a.y -= scrolled;
  MapWindowPoints(m_pCanvas, &a, 1);
  MapWindowPoints(m_pCanvas, &b, 1);
  CRect band(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
  CClientDC dc(m_pCanvas);
  if (!m_rcBand.IsRectEmpty()) dc.DrawFocusRect(&m_rcBand);
  m_rcBand = band;
  if (!m_rcBand.IsRectEmpty()) dc.DrawFocusRect(&m_rcBand);
}

// ----- Drops -----

void CScrollPanelWnd::SetDragCallback(int event, ScrollPanelDragFn fn, void* pContext) {
  if (event < 0 || event >= kDragEvents) return;
  m_pfnDrag[event] = fn;
  m_pDragContext[event] = pContext;
}

namespace {
CPoint CursorIn(CWnd* pWnd) {
  CPoint pt;
  ::GetCursorPos(&pt);
  pWnd->ScreenToClient(&pt);
  return pt;
}
}  // namespace

DROPEFFECT CScrollPanelWnd::OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint pt) {
  if (m_pfnDrag[kDragEnter]) return m_pfnDrag[kDragEnter](this, pData, dwKeyState, pt, m_pDragContext[kDragEnter]);
  return DefDragEnter(pData, dwKeyState, CursorIn(this));
}

DROPEFFECT CScrollPanelWnd::OnDragOver(COleDataObject* pData, DWORD dwKeyState, CPoint pt) {
  if (m_pfnDrag[kDragOver]) return m_pfnDrag[kDragOver](this, pData, dwKeyState, pt, m_pDragContext[kDragOver]);
  return DefDragOver(pData, dwKeyState, CursorIn(this));
}

void CScrollPanelWnd::OnDragLeave() {
  if (m_pfnDrag[kDragLeave])
    m_pfnDrag[kDragLeave](this, nullptr, 0, CursorIn(this), m_pDragContext[kDragLeave]);
  else
    DefDragLeave();
}

DROPEFFECT CScrollPanelWnd::OnDragScroll(DWORD dwKeyState, CPoint pt) {
  if (m_pfnDrag[kDragScroll]) return m_pfnDrag[kDragScroll](this, nullptr, dwKeyState, pt, m_pDragContext[kDragScroll]);
  return DefDragScroll(dwKeyState, CursorIn(this));
}

BOOL CScrollPanelWnd::OnDrop(COleDataObject* pData, DROPEFFECT effect, CPoint pt) {
  if (m_pfnDrag[kDrop]) return (BOOL)m_pfnDrag[kDrop](this, pData, effect, pt, m_pDragContext[kDrop]);
  return DefDrop(pData, effect, CursorIn(this));
}
