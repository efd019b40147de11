// CVxGUIIconView: painting through a back buffer, the focus rectangle and scrolling.
#include "VxGUIIconView.h"

#include <algorithm>

using iconview::kNoItem;

namespace {
// The view's background where no brush is set.
const COLORREF kBackColour = RGB(122, 142, 156);
}  // namespace

BEGIN_MESSAGE_MAP(CVxGUIIconView, CAutoScrollView)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_MOUSEMOVE()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_CONTEXTMENU()
  ON_WM_SIZE()
  ON_WM_MOUSEWHEEL()
  ON_WM_PAINT()
  ON_WM_KILLFOCUS()
  ON_WM_VSCROLL()
  ON_MESSAGE(LVM_REDRAWITEMS, &CVxGUIIconView::OnRedrawItemRange)
END_MESSAGE_MAP()

void CVxGUIIconView::OnDraw(CDC* pDC) {
  if (!m_bItemsShown && !m_bDrawEnabled) return;
  HGDIOBJ old = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
  CRect visible;
  GetClientRect(&visible);
  visible.OffsetRect(GetScrollPositionRaw());
  std::vector<CThumbnailItem*> drawn;
  for (DWORD id : m_model.Order()) {
    CThumbnailItem* item = FindItem(id);
    CRect rc;
    item->GetBoundsRect(rc);
    if (rc.top >= visible.bottom) break;
    CRect both;
    if (!both.IntersectRect(&rc, &visible)) continue;
    item->Draw(pDC, kDrawThumbnail | kDrawEdge | kDrawCheck);
    drawn.push_back(item);
  }
  for (CThumbnailItem* item : drawn) item->Draw(pDC, kDrawLabel);
  ::SelectObject(pDC->GetSafeHdc(), old);
}

void CVxGUIIconView::OnPaint() {
  if (!IsWindowVisible() || (!m_bItemsShown && !m_bDrawEnabled)) {
    Default();
    return;
  }
  CPaintDC dc(this);
  BandErase();
  CRect client;
  GetClientRect(&client);
  CPoint scroll = GetScrollPositionRaw();
  bool buffered = m_backBuffer.GetSafeHandle() && iconview::BackBufferServes(m_backSize, client.Size(), BarWidth());
  const COLORREF back = kBackColour;
  if (buffered) {
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* oldBmp = mem.SelectObject(&m_backBuffer);
    if (m_brBack.GetSafeHandle())
      mem.FillRect(&client, &m_brBack);
    else
      mem.FillSolidRect(&client, back);
    mem.SetViewportOrg(-scroll.x, -scroll.y);
    OnDraw(&mem);
    mem.SetViewportOrg(0, 0);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBmp);
  } else {
    // No buffer of this size (the client changed since the last WM_SIZE): the background
    // is not erased either, so it is filled here.
    if (m_brBack.GetSafeHandle())
      dc.FillRect(&client, &m_brBack);
    else
      dc.FillSolidRect(&client, back);
    dc.SetViewportOrg(-scroll.x, -scroll.y);
    OnDraw(&dc);
    dc.SetViewportOrg(0, 0);
  }
  m_rcFocus.SetRectEmpty();
  BandDraw();
  if (GetFocus() == this && !m_bScrolling) DrawFocusFrame();
}

int CVxGUIIconView::BarWidth() { return std::max(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL)); }

BOOL CVxGUIIconView::OnEraseBkgnd(CDC* pDC) {
  EraseFocusRect();
  if (m_backBuffer.GetSafeHandle() && m_bItemsShown) return TRUE;
  return CAutoScrollView::OnEraseBkgnd(pDC);
}

void CVxGUIIconView::EraseFocusRect() {
  if (m_rcFocus.IsRectEmpty() || !GetSafeHwnd()) return;
  InvalidateRect(&m_rcFocus, FALSE);
  m_rcFocus.SetRectEmpty();
}

void CVxGUIIconView::DrawFocusFrame() {
  // The icon item draws its own dotted frame around the label while painting; here only
  // the area is remembered so that moving the focus repaints it.
  CThumbnailItem* item = FindItem(m_model.Focus());
  if (!item || !m_bFocusAllowed || !GetSafeHwnd()) return;
  CRect rc;
  item->GetLabelRect(rc);
  rc.InflateRect(1, 1);
  rc.OffsetRect(-GetScrollPositionRaw());
  m_rcFocus = rc;
}

void CVxGUIIconView::OnSetFocus(CWnd* pOldWnd) {
  CAutoScrollView::OnSetFocus(pOldWnd);
  CThumbnailItem::SetViewHasFocus(TRUE);
  m_model.EnsureFocus();
  Invalidate(FALSE);
}

void CVxGUIIconView::OnKillFocus(CWnd* pNewWnd) {
  CAutoScrollView::OnKillFocus(pNewWnd);
  CThumbnailItem::SetViewHasFocus(FALSE);
  m_model.EnsureFocus();
  Invalidate(FALSE);
}

void CVxGUIIconView::OnSize(UINT nType, int cx, int cy) {
  CAutoScrollView::OnSize(nType, cx, cy);
  Arrange(FALSE);
  if (m_model.Contains(m_model.Focus())) EnsureVisible(m_model.Focus(), FALSE);
  // The bar of a folder that needs one narrows the client: the buffer made for the wider one
  // still serves (a new one's first fill costs the first paint a good part of its time).
  if (m_backBuffer.GetSafeHandle() && iconview::BackBufferServes(m_backSize, CSize(cx, cy), BarWidth())) return;
  m_backBuffer.DeleteObject();
  m_backSize = CSize(0, 0);
  if (cx > 0 && cy > 0) {
    CClientDC dc(this);
    if (m_backBuffer.CreateCompatibleBitmap(&dc, cx, cy)) {
      m_backSize = CSize(cx, cy);
      // A new buffer's first fill makes its memory and costs most: done here, before the
      // decoder's threads start, it no longer delays the first paint beside them.
      CDC mem;
      mem.CreateCompatibleDC(&dc);
      CBitmap* oldBmp = mem.SelectObject(&m_backBuffer);
      CRect all(0, 0, cx, cy);
      if (m_brBack.GetSafeHandle())
        mem.FillRect(&all, &m_brBack);
      else
        mem.FillSolidRect(&all, kBackColour);
      mem.SelectObject(oldBmp);
    }
  }
}

BOOL CVxGUIIconView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  CPoint pos = GetScrollPositionRaw();
  int limit = std::max(0, int(m_totalDev.cy - m_pageDev.cy));
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE};
  if (::GetScrollInfo(GetSafeHwnd(), SB_VERT, &si)) limit = std::max(0, si.nMax - int(si.nPage ? si.nPage - 1 : 0));
  if ((zDelta > 0 && pos.y <= 0) || (zDelta < 0 && pos.y >= limit) || (nFlags & (MK_CONTROL | MK_SHIFT)) ||
      m_band.active)
    return FALSE;
  m_bScrolling = TRUE;
  BandErase();
  EraseFocusRect();
  BOOL r = DoMouseWheel(nFlags, zDelta, pt);
  m_bScrolling = FALSE;
  if (m_model.Contains(m_model.Focus())) UpdateWindow();
  return r;
}

void CVxGUIIconView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  m_bScrolling = TRUE;
  BandErase();
  EraseFocusRect();
  CAutoScrollView::OnVScroll(nSBCode, nPos, pScrollBar);
  m_bScrolling = FALSE;
  if (m_model.Contains(m_model.Focus())) UpdateWindow();
}

BOOL CVxGUIIconView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll) {
  // Thumb tracking past 65535 pixels: the bar's own 32-bit position.
  if (LOBYTE(nScrollCode) == SB_THUMBTRACK || HIBYTE(nScrollCode) == SB_THUMBTRACK) {
    SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
    int bar = HIBYTE(nScrollCode) == SB_THUMBTRACK ? SB_VERT : SB_HORZ;
    if (::GetScrollInfo(GetSafeHwnd(), bar, &si)) nPos = UINT(si.nTrackPos);
  }
  return CAutoScrollView::OnScroll(nScrollCode, nPos, bDoScroll);
}

LRESULT CVxGUIIconView::OnRedrawItemRange(WPARAM wParam, LPARAM lParam) {
  DWORD first = DWORD(wParam), last = DWORD(lParam);
  for (auto& e : m_items)
    if (e.first >= first && e.first <= last) InvalidateItem(e.first);
  return TRUE;
}
