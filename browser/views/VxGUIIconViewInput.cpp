// CVxGUIIconView: mouse, keys, the rubber band and the owner's notifications.
#include "VxGUIIconView.h"

#include <algorithm>

using iconview::kNoItem;

namespace {
bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }
}  // namespace

void CVxGUIIconView::ResetClickTracking() { m_click = Click(); }

// ---- Mouse --------------------------------------------------------------------------------------
// A press of either button on the items: the click tracking, the check box (left only), the
// selection rules, the band, and automatic scrolling when the press is beside the items.
void CVxGUIIconView::Press(UINT nFlags, CPoint point, bool bLeft) {
  SetCapture();
  ResetClickTracking();
  SetFocus();
  m_model.EnsureFocus();
  int part = 0;
  DWORD id = ItemAtPoint(point, &part);
  m_click.pt = point;
  m_click.part = part;
  m_click.id = id;
  bool ctrl = bLeft && (nFlags & MK_CONTROL) != 0, shift = bLeft && (nFlags & MK_SHIFT) != 0;
  if (id == kNoItem) BandErase();
  if (bLeft && id != kNoItem && part == iconview::kPartCheck) {
    CheckItems(id);
    m_click.dragStarted = TRUE;
    m_bIgnoreNextRelease = TRUE;
    return;
  }
  if (m_model.Press(id, part, ctrl, shift)) BandBegin(point, ctrl);
  if (bLeft)
    CAutoScrollView::OnLButtonDown(nFlags, point);
  else
    CAutoScrollView::OnRButtonDown(nFlags, point);
  if (::IsWindow(GetSafeHwnd()) && (id == kNoItem || part == iconview::kPartItem))
    TrackDrag(bLeft ? WM_LBUTTONUP : WM_RBUTTONUP);
}

void CVxGUIIconView::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!m_bItemsShown || m_items.empty()) {
    SetCapture();
    CAutoScrollView::OnLButtonDown(nFlags, point);
    return;
  }
  Press(nFlags, point, true);
}

void CVxGUIIconView::OnRButtonDown(UINT nFlags, CPoint point) {
  if ((nFlags & (MK_CONTROL | MK_SHIFT)) || !m_bItemsShown || m_items.empty()) {
    ResetClickTracking();
    CAutoScrollView::OnRButtonDown(nFlags, point);
    return;
  }
  Press(nFlags, point, false);
}

void CVxGUIIconView::ReleaseRule(UINT nFlags, CPoint point, BOOL bRight) {
  int pressPart = m_click.part;
  ResetClickTracking();
  if (!m_bItemsShown) return;
  bool ctrl = (nFlags & MK_CONTROL) != 0, shift = (nFlags & MK_SHIFT) != 0;
  bool bandActive = m_band.active;
  BandEnd();
  int part = 0;
  DWORD id = ItemAtPoint(point, &part);
  if (id == kNoItem) {
    // The release rule also counts a press inside an item but on none of its parts.
    CPoint doc = DocPoint(point);
    for (DWORD each : m_model.Order()) {
      CThumbnailItem* item = FindItem(each);
      if (item && item->HitTest(doc) == iconview::kPartItem) {
        id = each;
        part = iconview::kPartItem;
        break;
      }
    }
  }
  DWORD rename = m_model.Release(id, part, pressPart, ctrl, shift, bandActive);
  if (rename != kNoItem && !bRight) EditLabel(rename);
}

void CVxGUIIconView::OnLButtonUp(UINT nFlags, CPoint point) {
  if (GetCapture() == this) ::ReleaseCapture();
  if (!m_bIgnoreNextRelease) ReleaseRule(nFlags, point, FALSE);
  m_bIgnoreNextRelease = FALSE;
  CAutoScrollView::OnLButtonUp(nFlags, point);
}

void CVxGUIIconView::OnRButtonUp(UINT nFlags, CPoint point) {
  if (GetCapture() == this) ::ReleaseCapture();
  if (nFlags & (MK_CONTROL | MK_SHIFT))
    ResetClickTracking();
  else
    ReleaseRule(nFlags, point, TRUE);
  CAutoScrollView::OnRButtonUp(nFlags, point);
}

void CVxGUIIconView::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bItemsShown || m_bIgnoreNextRelease) return;
  if (!m_click.Active()) {
    if ((nFlags & (MK_LBUTTON | MK_RBUTTON)) && m_band.exists) BandMove(point);
    return;
  }
  if (m_click.dragStarted) return;
  if (abs(point.x - m_click.pt.x) < 6 && abs(point.y - m_click.pt.y) < 6) return;
  if (FindItem(m_click.id)) {
    CPoint screen = m_click.pt;
    ClientToScreen(&screen);
    m_model.CancelCollapse();  // a drag keeps the selection it started with
    Notify(LVN_BEGINDRAG, m_click.id, screen);
  }
  m_click.dragStarted = TRUE;
}

void CVxGUIIconView::OnLButtonDblClk(UINT nFlags, CPoint point) {
  int part = 0;
  DWORD id = kNoItem;
  CPoint doc = DocPoint(point);
  for (DWORD each : m_model.Order()) {
    CThumbnailItem* item = FindItem(each);
    int p = item ? item->HitTest(doc) : -1;
    if (p != iconview::kPartNone) {
      id = each;
      part = p;
      break;
    }
  }
  if (id == kNoItem || !(part & 1)) return;
  m_bIgnoreNextRelease = TRUE;
  m_click.dragStarted = TRUE;
  CPoint screen = point;
  ClientToScreen(&screen);
  Notify(NM_DBLCLK, id, screen);
  if (::IsWindow(GetSafeHwnd())) PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void CVxGUIIconView::OnContextMenu(CWnd*, CPoint) {
  BandEnd();
  ResetClickTracking();
}

// ---- Rubber band --------------------------------------------------------------------------------
void CVxGUIIconView::BandBegin(CPoint client, BOOL bCtrl) {
  m_band.exists = true;
  m_band.active = false;
  m_band.ctrl = bCtrl != FALSE;
  m_band.anchor = DocPoint(client);
  m_band.rect = CRect(client, client);
  m_model.BandStart(bCtrl != FALSE);
  SetCapture();
}

void CVxGUIIconView::BandMove(CPoint client) {
  if (!m_band.exists) return;
  CRect cr;
  GetClientRect(&cr);
  client.x = std::max(cr.left, std::min(client.x, cr.right - 1));
  client.y = std::max(cr.top, std::min(client.y, cr.bottom - 1));
  CPoint anchor = m_band.anchor - GetScrollPositionRaw();
  CRect band(client, anchor);
  band.NormalizeRect();
  BandErase();
  m_band.rect = band;
  if (!m_band.active && band.Width() >= 3 && band.Height() >= 3) m_band.active = true;
  if (m_band.active) {
    // Items are compared in view coordinates: the band may reach above the window.
    CRect docBand(client + GetScrollPositionRaw(), m_band.anchor);
    docBand.NormalizeRect();
    std::unordered_set<DWORD> inside;
    for (DWORD id : m_model.Order()) {
      CThumbnailItem* item = FindItem(id);
      CRect pic;
      item->GetIconRect(pic);
      if (iconview::BandCovers(docBand, pic)) inside.insert(id);
    }
    m_model.BandUpdate(inside, KeyDown(VK_CONTROL) || m_band.ctrl, KeyDown(VK_SHIFT));
    UpdateWindow();
  }
  BandDraw();
}

void CVxGUIIconView::BandEnd() {
  if (!m_band.exists) return;
  BandErase();
  m_band = Band();
  if (GetCapture() == this) ::ReleaseCapture();
}

void CVxGUIIconView::BandErase() {
  if (!m_band.drawnShown || !GetSafeHwnd()) return;
  CClientDC dc(this);
  dc.DrawFocusRect(&m_band.drawn);
  m_band.drawnShown = false;
}

void CVxGUIIconView::BandDraw() {
  if (!m_band.exists || m_band.drawnShown || !GetSafeHwnd() || m_band.rect.IsRectEmpty()) return;
  CClientDC dc(this);
  dc.DrawFocusRect(&m_band.rect);
  m_band.drawn = m_band.rect;
  m_band.drawnShown = true;
}

void CVxGUIIconView::OnDragSelect(int x, int y, BOOL bBeforeScroll) {
  if (bBeforeScroll) {
    BandErase();
  } else {
    BandMove(CPoint(x, y));
    if (m_dVertScale > 0) {
      Invalidate();
      UpdateWindow();
    }
  }
}

// ---- Keys ----------------------------------------------------------------------------------------
void CVxGUIIconView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_bAutoScrolling || m_band.active || !m_bItemsShown || m_items.empty()) {
    CAutoScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  m_model.EnsureFocus();
  bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
  iconview::KeyMove move;
  bool isMove = true;
  switch (nChar) {
    case VK_LEFT: move = iconview::kKeyLeft; break;
    case VK_RIGHT: move = iconview::kKeyRight; break;
    case VK_UP: move = iconview::kKeyUp; break;
    case VK_DOWN: move = iconview::kKeyDown; break;
    case VK_HOME: move = iconview::kKeyHome; break;
    case VK_END: move = iconview::kKeyEnd; break;
    case VK_PRIOR: move = iconview::kKeyPageUp; break;
    case VK_NEXT: move = iconview::kKeyPageDown; break;
    default: isMove = false; move = iconview::kKeyHome; break;
  }
  if (isMove) {
    if ((move == iconview::kKeyPageUp || move == iconview::kKeyPageDown) && !m_model.Contains(m_model.Focus())) {
      SendMessage(WM_VSCROLL, move == iconview::kKeyPageUp ? SB_PAGEUP : SB_PAGEDOWN, 0);
      return;
    }
    CRect client;
    GetClientRect(&client);
    int rowsPerPage = 0;
    CThumbnailItem* top = ItemAtCell(0, 0);
    for (int row = 0; top && row < m_model.Rows(); ++row) {
      CThumbnailItem* first = ItemAtCell(0, row);
      if (first && first->m_y - top->m_y < client.Height()) ++rowsPerPage;
    }
    DWORD target = m_model.Key(move, ctrl, shift, rowsPerPage);
    if (target != kNoItem) {
      Invalidate();
      if (move == iconview::kKeyHome) SendMessage(WM_VSCROLL, SB_TOP, 0);
      if (move == iconview::kKeyEnd) SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
      EnsureVisible(target, FALSE);
    }
    return;
  }
  if (nChar == VK_SPACE && ctrl) {
    m_model.ToggleFocusSelection();
    return;
  }
  if (nChar == 'X' && ctrl) {
    DWORD f = m_model.Focus();
    if (CThumbnailItem* item = FindItem(f)) SetCut(f, !item->IsCut());
    return;
  }
  if (nChar == VK_F2 && !shift) {
    EditLabel(m_model.Focus());
    return;
  }
  char ch = 0;
  if ((nChar >= '0' && nChar <= '9') || (nChar >= 'A' && nChar <= 'Z')) ch = char(nChar);
  if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9) ch = char('0' + nChar - VK_NUMPAD0);
  if (ch && !ctrl) {
    m_model.TypeAhead(ch);
    return;
  }
  CAutoScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}
