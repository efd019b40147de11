// The column header: columns, grab zones, the mouse and one column's picture.
#include <algorithm>

#include "MusicListHeader.h"

using namespace listheader;

void CMusicListHeader::Tell(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_hNotify) ::SendNotifyMessage(m_hNotify, message, wParam, lParam);
}

std::vector<int> CMusicListHeader::Widths() const {
  std::vector<int> out;
  for (const Column& c : m_columns) out.push_back(c.width);
  return out;
}

// ----- Columns -----

int CMusicListHeader::InsertColumn(int index, const CMusicListColumn* pColumn) {
  if (!pColumn) return -1;
  int position = InsertPosition(index, (int)m_columns.size());
  m_columns.insert(m_columns.begin() + position, *pColumn);
  if (m_columns[position].width < 0) m_columns[position].width = 0;
  Relayout();
  RecalcLayout();
  Tell(UWM_HDR_COLINSERTED, position, 0);
  return position;
}

CMusicListColumn* CMusicListHeader::GetColumn(CMusicListColumn* pOut, int index) const {
  if (!pOut || m_columns.empty()) return pOut;
  *pOut = m_columns[std::min(std::max(index, 0), (int)m_columns.size() - 1)];
  return pOut;
}

int CMusicListHeader::GetColumnId(int index) const {
  if (m_columns.empty()) return -1;
  return m_columns[std::min(std::max(index, 0), (int)m_columns.size() - 1)].id;
}

int CMusicListHeader::GetColumnWidth(int index) const {
  return index >= 0 && index < (int)m_columns.size() ? m_columns[index].width : 0;
}

void CMusicListHeader::SetColumnSortable(int index, BOOL bSortable) {
  if (index < 0 || index >= (int)m_columns.size()) return;
  m_columns[index].sortable = bSortable;
  if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CMusicListHeader::SetColumnSortDir(int index, int dir) {
  if (index < 0 || index >= (int)m_columns.size()) return;
  m_columns[index].sortDir = dir;
  if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

int CMusicListHeader::SetColumnWidth(int index, int width) {
  if (index < 0 || index >= (int)m_columns.size()) return 0;
  width = std::max(width, 0);
  if (m_columns[index].width != width) {
    m_columns[index].width = width;
    Relayout();
    if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Tell(UWM_HDR_COLWIDTH, index, width);
  }
  return width;
}

void CMusicListHeader::AutoFitColumn(int index, int width) {
  SetColumnWidth(index, width);
  RecalcLayout();
}

int CMusicListHeader::ColumnFromPoint(int x, int y) const {
  CRect rc(0, 0, 0, 0);
  if (GetSafeHwnd()) GetClientRect(&rc);
  return ColumnAt(Widths(), m_ptOrigin.x, m_nLayoutWidth > 0 ? m_nLayoutWidth : rc.Width(), rc.Height(), CPoint(x, y));
}

void CMusicListHeader::RecalcLayout() {
  m_dividers.clear();
  m_hiddenZones.clear();
  if (!m_bResizable) return;
  CRect rc(0, 0, 0, 0);
  if (GetSafeHwnd()) GetClientRect(&rc);
  GrabZones(Widths(), m_ptOrigin.x, rc.Height(), &m_dividers, &m_hiddenZones);
}

void CMusicListHeader::SetCursors(HCURSOR hArrow, HCURSOR hDivider, HCURSOR hHidden) {
  m_hCursors[0] = hArrow;
  m_hCursors[1] = hDivider;
  m_hCursors[2] = hHidden;
}

void CMusicListHeader::SetResizable(BOOL b) {
  m_bResizable = b;
  RecalcLayout();
}

// ----- Mouse -----

void CMusicListHeader::OnMouseMove(UINT nFlags, CPoint pt) {
  if (m_bDragging) {
    int width;
    CRect rc;
    GetClientRect(&rc);
    // Scrolled and exactly as wide as its content: growing leftwards would move the
    // divider under the pointer, so the layout is held at the client width while it lasts.
    if (m_ptOrigin.x > 0 && rc.Width() == m_nLayoutWidth && pt.x < m_ptPress.x) {
      if (!m_bWidthPinned) {
        m_nSavedLayoutWidth = m_nLayoutWidth;
        m_bWidthPinned = TRUE;
      }
      m_nLayoutWidth = rc.Width();
      width = m_nDragWidth + (pt.x - m_ptPress.x);
    } else {
      width = m_nDragWidth + (pt.x - m_nPrevX);
    }
    m_nDragWidth = SetColumnWidth(m_nHotColumn, width);
    m_nPrevX = pt.x;
    return;
  }
  int column;
  m_nHoverKind = HoverAt(m_dividers, m_hiddenZones, pt, &column);
  if (m_nHoverKind != kHoverNone) m_nHotColumn = column;
  CSkinCtrlWnd::OnMouseMove(nFlags, pt);
}

BOOL CMusicListHeader::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  HCURSOR h = m_nHoverKind == kHoverDivider ? m_hCursors[1] : m_nHoverKind == kHoverHidden ? m_hCursors[2] : nullptr;
  if (h) {
    ::SetCursor(h);
    return TRUE;
  }
  return CSkinCtrlWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CMusicListHeader::OnLButtonDown(UINT nFlags, CPoint pt) {
  if (m_nHoverKind != kHoverNone && m_nHotColumn >= 0) {
    m_ptPress = pt;
    m_nPrevX = pt.x;
    m_bDragging = TRUE;
    m_nDragWidth = GetColumnWidth(m_nHotColumn);
    SetCapture();
    return;
  }
  m_nPressedColumn = ColumnFromPoint(pt.x, pt.y);
  CSkinCtrlWnd::OnLButtonDown(nFlags, pt);
}

void CMusicListHeader::OnLButtonUp(UINT nFlags, CPoint pt) {
  if (m_bDragging) {
    m_bDragging = FALSE;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_bWidthPinned) {
      m_nLayoutWidth = m_nSavedLayoutWidth;
      Relayout();
      Tell(UWM_HDR_COLWIDTH, (WPARAM)-1, -1);
      m_bWidthPinned = FALSE;
    }
    RecalcLayout();
    m_bSuppressClick = FALSE;
    return;
  }
  m_nPressedColumn = -1;
  CSkinCtrlWnd::OnLButtonUp(nFlags, pt);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  int column;
  bool inZone = HoverAt(m_dividers, m_hiddenZones, pt, &column) != kHoverNone;
  if (!inZone && !m_bSuppressClick) {
    int c = ColumnFromPoint(pt.x, pt.y);
    if (c >= 0) {
      Tell(UWM_HDR_COLCLICK, c, 0);
      if (m_columns[c].sortable) Tell(UWM_HEADER_SORT, c, m_columns[c].sortDir);
    }
  }
  m_bSuppressClick = FALSE;
}

void CMusicListHeader::OnLButtonDblClk(UINT nFlags, CPoint pt) {
  for (const Zone& z : m_dividers)
    if (::PtInRect(&z.rc, pt)) {
      Tell(UWM_HDR_AUTOFIT, z.column, 0);
      m_bSuppressClick = TRUE;
      break;
    }
  // The point is the receiver's to read during the call only: sent, not posted.
  if (m_hNotify) ::SendMessage(m_hNotify, UWM_HDR_DBLCLK, nFlags, (LPARAM)&pt);
  CSkinCtrlWnd::OnLButtonDblClk(nFlags, pt);
}

void CMusicListHeader::OnRButtonUp(UINT nFlags, CPoint pt) {
  if (m_hNotify) ::SendMessage(m_hNotify, UWM_HDR_RCLICK, nFlags, (LPARAM)&pt);
  CSkinCtrlWnd::OnRButtonUp(nFlags, pt);
}

void CMusicListHeader::OnCaptureChanged(CWnd* pWnd) {
  if (m_bDragging) {
    m_bDragging = FALSE;
    m_nPressedColumn = -1;
    RecalcLayout();
  }
  CSkinCtrlWnd::OnCaptureChanged(pWnd);
}

void CMusicListHeader::OnSize(UINT nType, int cx, int cy) {
  CSkinCtrlWnd::OnSize(nType, cx, cy);
  RecalcLayout();
  Tell(UWM_HDR_RESIZED, cx, 0);
}

void CMusicListHeader::OnDestroy() {
  // Cursors loaded from the system are shared and stay.
  for (auto& h : m_hCursors) {
    if (h && h != ::LoadCursor(nullptr, IDC_ARROW) && h != ::LoadCursor(nullptr, IDC_SIZEWE)) ::DestroyCursor(h);
    h = nullptr;
  }
  CSkinCtrlWnd::OnDestroy();
}

// ----- One column's picture -----

void CMusicListHeader::DrawPackedDib(CDC* pDC, const BITMAPINFO* pbi, int x, int y, int width) {
  if (!pDC || !pbi || pbi->bmiHeader.biSize != sizeof(BITMAPINFOHEADER)) return;
  const BITMAPINFOHEADER& h = pbi->bmiHeader;
  int height = std::abs(h.biHeight);
  if (width < 1) width = h.biWidth;
  const BYTE* bits = reinterpret_cast<const BYTE*>(pbi) + BitsOffset(&h);
  ::StretchDIBits(pDC->GetSafeHdc(), x, y, width, height, 0, 0, h.biWidth, height, bits, pbi, DIB_RGB_COLORS,
                  SRCCOPY);
}

CBitmap* CMusicListHeader::RenderHeaderImage(CDC* pDC, CMusicListColumn column, int look, BOOL bNoSeparator) {
  if (!skinctrl::ValidState(GetState()) || !pDC || !m_pImages[kBody]) return nullptr;
  bool pressed = look == kLookPressed;
  auto size = [](const BITMAPINFO* p) { return p ? CSize(p->bmiHeader.biWidth, std::abs(p->bmiHeader.biHeight)) : CSize(0, 0); };
  int width = std::max(column.width, 1);
  int height = size(m_pImages[kBody]).cy;
  const BITMAPINFO* body = m_pImages[pressed ? kBodyPressed : kBody];
  const BITMAPINFO* left = m_pImages[pressed ? kLeftEdgePressed : kLeftEdge];
  const BITMAPINFO* right = look == kLookNoRightEdge ? nullptr : m_pImages[pressed ? kRightEdgePressed : kRightEdge];
  const BITMAPINFO* arrow = nullptr;
  if (column.sortable && column.sortDir == 1) arrow = m_pImages[pressed ? kArrowUpPressed : kArrowUp];
  if (column.sortable && column.sortDir == 2) arrow = m_pImages[pressed ? kArrowDownPressed : kArrowDown];

  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap* pBmp = new CBitmap;
  pBmp->CreateCompatibleBitmap(pDC, width, height);
  CBitmap* pOld = mem.SelectObject(pBmp);
  DrawPackedDib(&mem, body ? body : m_pImages[kBody], 0, 0, width);
  DrawPackedDib(&mem, left, 0, 0, 0);
  if (right) DrawPackedDib(&mem, right, width - size(right).cx, 0, 0);

  CFont* pOldFont = m_pFont ? mem.SelectObject(m_pFont) : nullptr;
  CSize text = column.title.IsEmpty() ? CSize(0, 0) : mem.GetTextExtent(column.title);
  if (text.cy == 0) text.cy = mem.GetTextExtent("A").cy;
  CellLayout cell = LayoutCell(width, height, size(left).cx, size(left).cy, size(right).cx, size(arrow).cx, text.cx,
                               text.cy, column.format, !column.title.IsEmpty());
  if (cell.room > 0) {
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(m_crText);
    CRect rc(cell.text);
    mem.DrawText(column.title, &rc, column.format | DT_SINGLELINE | DT_NOPREFIX | DT_WORD_ELLIPSIS);
  }
  if (pOldFont) mem.SelectObject(pOldFont);
  if (arrow) DrawPackedDib(&mem, arrow, cell.arrowX, 0, 0);
  if (m_bSeparator && !bNoSeparator) mem.FillSolidRect(0, 0, 1, height, m_crSeparator);
  mem.SelectObject(pOld);
  return pBmp;
}
