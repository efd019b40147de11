#include "RowListWnd.h"

#include <VxResourceIds.h>

#include <stdlib.h>

#include <algorithm>

namespace {
const UINT_PTR kLeaveTimer = 100;
const UINT_PTR kDragTimer = 101;
const COLORREF kShadow = RGB(79, 109, 146);
}  // namespace

BEGIN_MESSAGE_MAP(CRowListWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_LBUTTONDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

CRowListWnd::CRowListWnd()
    : m_nAlignment(0),
      m_nBorderMode(0),
      m_pos{0, 0},
      m_size{0, 0},
      m_pParent(NULL),
      m_nOwnerCode(0),
      m_hResources(NULL),
      m_clrText(RGB(0, 0, 0)),
      m_clrLine(RGB(0, 0, 0)) {}

CRowListWnd::~CRowListWnd() {
  if (m_hWnd) DestroyWindow();
}

BOOL CRowListWnd::Create(POINT pos, SIZE rowSize, CWnd* pParent, int nBorderMode, int nOwnerCode) {
  m_pos = pos;
  m_size = rowSize;
  m_pParent = pParent;
  m_nBorderMode = nBorderMode;
  m_nOwnerCode = nOwnerCode;
  LPCSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW));
  int nRows = (int)m_rows.size();
  return CreateEx(WS_EX_WINDOWEDGE | WS_EX_ACCEPTFILES, lpszClass, "", WS_POPUP, pos.x, pos.y, rowSize.cx + 2,
                  nRows * rowSize.cy + 2, pParent ? pParent->m_hWnd : NULL, NULL);
}

int CRowListWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  m_hResources = AfxGetResourceHandle();
  return 0;
}

void CRowListWnd::AppendRow(UINT nNormal, UINT nPressed, UINT nHover, UINT nOther, int nKey) {
  Row row;
  row.key = nKey;
  row.current = row.normal = nNormal;
  row.pressed = nPressed;
  row.hover = nHover;
  row.other = nOther;
  m_rows.push_back(row);
}

int CRowListWnd::FindRow(int nKey) const {
  for (size_t i = 0; i < m_rows.size(); ++i)
    if (m_rows[i].key == nKey) return (int)i;
  return -1;
}

int CRowListWnd::RowAt(CPoint pt, int dy) const {
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    CRect rc = RowRect(i);
    rc.OffsetRect(0, dy);
    if (rc.PtInRect(pt)) return i;
  }
  return -1;
}

BOOL CRowListWnd::SetFace(int i, UINT nFace) {
  if (i < 0 || i >= (int)m_rows.size() || m_rows[i].current == nFace) return FALSE;
  m_rows[i].current = nFace;
  return TRUE;
}

void CRowListWnd::MoveToPosition() {
  CPoint pt(m_pos);
  if (m_pParent && m_pParent->m_hWnd) m_pParent->ClientToScreen(&pt);
  SetWindowPos(NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CRowListWnd::IsCursorInside() const {
  CPoint pt;
  ::GetCursorPos(&pt);
  CRect rc;
  GetClientRect(&rc);
  ClientToScreen(&rc);
  return rc.PtInRect(pt) && ::WindowFromPoint(pt) == m_hWnd;
}

void CRowListWnd::OnLButtonDown(UINT, CPoint point) {
  BOOL bHit = FALSE;
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    if (!m_rows[i].enabled) continue;
    CRect rc = RowRect(i);
    rc.OffsetRect(0, 1);
    BOOL bIn = rc.PtInRect(point);
    bHit |= bIn;
    SetFace(i, bIn ? m_rows[i].pressed : m_rows[i].normal);
  }
  if (bHit) Invalidate(FALSE);
}

void CRowListWnd::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  SetTimer(kLeaveTimer, 100, NULL);
  SetTimer(kDragTimer, 100, NULL);
}

void CRowListWnd::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  KillTimer(kLeaveTimer);
  ShowWindow(SW_HIDE);
}

void CRowListWnd::OnClose() {}

void CRowListWnd::OnFaceTimer(UINT_PTR nIDEvent, BOOL bSkipDisabled) {
  if (nIDEvent == kLeaveTimer) {
    if (IsCursorInside()) return;
    BOOL bChanged = FALSE;
    for (int i = 0; i < (int)m_rows.size(); ++i)
      if (m_rows[i].enabled) bChanged |= SetFace(i, m_rows[i].normal);
    if (bChanged) Invalidate(FALSE);
    return;
  }
  if (nIDEvent != kDragTimer) return;
  int nButton = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  if (!(::GetAsyncKeyState(nButton) & 0x8000) && !(::GetAsyncKeyState(VK_APPS) & 0x8000)) return;
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  BOOL bLit = FALSE;
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    Row& row = m_rows[i];
    if (RowRect(i).PtInRect(pt)) {
      if (bSkipDisabled && (row.current == row.hover || row.current == row.pressed || !row.enabled)) continue;
      bLit |= SetFace(i, row.hover);
    } else {
      SetFace(i, row.normal);
    }
  }
  if (bLit) Invalidate(TRUE);
}

void CRowListWnd::PaintRows(CDC& dc, BOOL bStretch) {
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  if (bStretch) dc.SetStretchBltMode(COLORONCOLOR);
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    HBITMAP hBitmap = ::LoadBitmapA(m_hResources, MAKEINTRESOURCEA(m_rows[i].current));
    CRect rc = RowRect(i);
    if (!hBitmap) {
      dc.FillSolidRect(&rc, RGB(236, 242, 246));
      continue;
    }
    HGDIOBJ hOld = ::SelectObject(mem.GetSafeHdc(), hBitmap);
    if (bStretch) {
      BITMAP bm = {};
      ::GetObject(hBitmap, sizeof bm, &bm);
      dc.StretchBlt(rc.left, rc.top, rc.Width(), rc.Height(), &mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    } else {
      dc.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    }
    ::SelectObject(mem.GetSafeHdc(), hOld);
    ::DeleteObject(hBitmap);
  }
}

void CRowListWnd::PaintLines(CDC& dc) {
  if (m_nBorderMode != 1) return;
  int nRows = (int)m_rows.size();
  for (int i = 0; i < nRows; ++i) {
    CRect rc(0, (i + 1) * m_size.cy - 1, m_size.cx, (i + 1) * m_size.cy);
    dc.FillSolidRect(&rc, m_clrLine);
  }
  CRect rcFrame(0, 0, m_size.cx, nRows * m_size.cy);
  CBrush brush(m_clrLine);
  dc.FrameRect(&rcFrame, &brush);
}

SIZE CRowListWnd::MeasureLabels() {
  SIZE widest = {0, 0};
  CClientDC dc(this);
  HFONT hFont = CreateLabelFont();
  HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hFont);
  for (const Row& row : m_rows) {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc.GetSafeHdc(), row.label, row.label.GetLength(), &size);
    widest.cx = std::max(widest.cx, size.cx);
    widest.cy = std::max(widest.cy, size.cy);
  }
  ::SelectObject(dc.GetSafeHdc(), hOld);
  ::DeleteObject(hFont);
  return widest;
}

HFONT CRowListWnd::CreateLabelFont() {
  LOGFONTA lf = {};
  ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  switch (lf.lfCharSet) {
    case ANSI_CHARSET:
    case SHIFTJIS_CHARSET:
    case HANGUL_CHARSET:
    case JOHAB_CHARSET:
    case GB2312_CHARSET:
    case CHINESEBIG5_CHARSET: {
      HFONT hParent = m_pParent && m_pParent->m_hWnd ? (HFONT)m_pParent->SendMessage(WM_GETFONT) : NULL;
      if (hParent) ::GetObject(hParent, sizeof lf, &lf);
      CString strHeight;
      strHeight.LoadString(IDS_UI_FONT_HEIGHT);
      lf.lfHeight = atoi(strHeight);
      break;
    }
  }
  return ::CreateFontIndirectA(&lf);
}

void CRowListWnd::PaintShadow(CDC& dc) {
  int nBottom = (int)m_rows.size() * m_size.cy + 1;
  CPen pen(PS_SOLID, 2, kShadow);
  CPen* pOld = dc.SelectObject(&pen);
  dc.MoveTo(2, nBottom);
  dc.LineTo(m_size.cx + 1, nBottom);
  dc.LineTo(m_size.cx + 1, 2);
  dc.SelectObject(pOld);
}

UINT CRowListWnd::LabelFormat() const {
  UINT nAlign = m_nAlignment == 20 ? DT_CENTER : m_nAlignment == 21 ? DT_RIGHT : DT_LEFT;
  return DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | nAlign;
}
