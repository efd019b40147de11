#include "ToolItemListWnd.h"

#include <VxResourceIds.h>

#include "MainWndMessages.h"

namespace {
const size_t kMaxRows = 26;
}

BEGIN_MESSAGE_MAP(CToolItemListWnd, CRowListWnd)
  ON_WM_CREATE()
  ON_WM_SETCURSOR()
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_DROPFILES()
END_MESSAGE_MAP()

CToolItemListWnd::CToolItemListWnd() : m_nCheckMargin(0), m_clrCheck(RGB(0, 0, 0)) {}

BOOL CToolItemListWnd::Create(POINT pos, SIZE rowSize, CWnd* pParent, int nBorderMode, int nOwnerCode) {
  return CRowListWnd::Create(pos, rowSize, pParent, nBorderMode, nOwnerCode);
}

int CToolItemListWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CRowListWnd::OnCreate(lpcs) == -1) return -1;
  ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
  return 0;
}

void CToolItemListWnd::AddItem(UINT nNormal, UINT nPressed, UINT nHover, UINT nDisabled, int nKey) {
  if (m_rows.size() < kMaxRows) AppendRow(nNormal, nPressed, nHover, nDisabled, nKey);
}

void CToolItemListWnd::SetItemLabel(int nKey, LPCSTR lpszText, int nMode) {
  int i = FindRow(nKey);
  if (i < 0) return;
  if (lpszText) {
    CString strText = lpszText;
    m_rows[i].label = strText.Left(63);
  }
  if (nMode == 1) {
    m_rows[i].checkable = TRUE;
    m_rows[i].checked = FALSE;
    m_nCheckMargin = kCheckMargin;
  }
}

void CToolItemListWnd::SetItemState(int nKey, int nCode) {
  int i = FindRow(nKey);
  if (i < 0) return;
  Row& row = m_rows[i];
  switch (nCode) {
    case TOOLLIST_ITEM_NORMAL: row.enabled = TRUE; row.current = row.normal; break;
    case TOOLLIST_ITEM_DISABLED: row.enabled = FALSE; row.current = row.other; break;
    case TOOLLIST_ITEM_ENABLE_ONLY: row.enabled = TRUE; break;
    case TOOLLIST_ITEM_DISABLE_ONLY: row.enabled = FALSE; break;
    default: return;
  }
  if (m_hWnd) Invalidate(FALSE);
}

int CToolItemListWnd::IsItemEnabled(int nKey) const {
  int i = FindRow(nKey);
  return i >= 0 && m_rows[i].enabled ? 1 : 2;
}

void CToolItemListWnd::CheckOnly(int nKey) {
  for (Row& row : m_rows) row.checked = row.key == nKey;
  if (m_hWnd) Invalidate(FALSE);
}

void CToolItemListWnd::ShowAt(POINT ptClient, BOOL bFocus) {
  m_pos = ptClient;
  int nRows = m_rows.empty() ? 1 : (int)m_rows.size();
  SetWindowPos(&wndTopMost, 0, 0, m_size.cx + 2, nRows * m_size.cy + 2, SWP_NOMOVE | SWP_NOACTIVATE);
  ShowWindow(bFocus ? SW_SHOW : SW_SHOWNA);
  if (bFocus) SetFocus();
}

void CToolItemListWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  CRowListWnd::OnShowWindow(bShow, nStatus);
  if (bShow) MoveToPosition();
}

BOOL CToolItemListWnd::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
  return TRUE;
}

void CToolItemListWnd::OnPaint() {
  CPaintDC dc(this);
  PaintRows(dc, TRUE);
  PaintLines(dc);
  HFONT hFont = CreateLabelFont();
  HGDIOBJ hOldFont = ::SelectObject(dc.GetSafeHdc(), hFont);
  dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    const Row& row = m_rows[i];
    BOOL bHot = row.enabled && (row.current == row.hover || row.current == row.pressed);
    CRect rc = RowRect(i);
    if (row.checkable && row.checked && row.enabled) {
      CPen pen(PS_SOLID, 2, bHot ? kHotText : m_clrCheck);
      CPen* pOld = dc.SelectObject(&pen);
      dc.MoveTo(6, rc.top + 14);
      dc.LineTo(9, rc.top + 17);
      dc.LineTo(15, rc.top + 11);
      dc.SelectObject(pOld);
    }
    if (row.label.IsEmpty()) continue;
    dc.SetTextColor(!row.enabled ? kDisabledText : bHot ? kHotText : m_clrText);
    if (row.checkable) rc.left = m_nCheckMargin;
    dc.DrawText(row.label, &rc, LabelFormat());
  }
  ::SelectObject(dc.GetSafeHdc(), hOldFont);
  ::DeleteObject(hFont);
  PaintShadow(dc);
}

void CToolItemListWnd::OnMouseMove(UINT, CPoint point) {
  BOOL bChanged = FALSE;
  for (int i = 0; i < (int)m_rows.size(); ++i) {
    Row& row = m_rows[i];
    if (!row.enabled) continue;
    if (!RowRect(i).PtInRect(point))
      bChanged |= SetFace(i, row.normal);
    else if (row.current != row.pressed && row.current != row.hover)
      bChanged |= SetFace(i, row.hover);
  }
  if (bChanged) Invalidate(FALSE);
}

void CToolItemListWnd::Report(int i) {
  Row& row = m_rows[i];
  if (row.checkable) row.checked = !row.checked;
  int nKey = row.key;
  if (!m_pParent || !m_pParent->m_hWnd) return;
  m_pParent->SendMessage(WM_COMMAND, (WPARAM)nKey, (LPARAM)m_hWnd);
  m_pParent->SendMessage(WM_TOOL_LIST_SELECT, (WPARAM)m_nOwnerCode, (LPARAM)nKey);
}

void CToolItemListWnd::OnLButtonUp(UINT, CPoint point) {
  int i = RowAt(point);
  if (i < 0 || !m_rows[i].enabled) return;
  SetFace(i, m_rows[i].pressed);
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  SetFace(i, m_rows[i].normal);
  Invalidate(FALSE);
  ShowWindow(SW_HIDE);
  Report(i);
}

void CToolItemListWnd::OnTimer(UINT_PTR nIDEvent) { OnFaceTimer(nIDEvent, TRUE); }

void CToolItemListWnd::OnDropFiles(HDROP hDrop) {
  CPoint pt;
  ::GetCursorPos(&pt);
  ScreenToClient(&pt);
  ShowWindow(SW_HIDE);
  int i = RowAt(pt);
  if (i >= 0 && m_rows[i].enabled && m_pParent && m_pParent->m_hWnd) {
    Invalidate(FALSE);
    // The parent keeps the files and releases the drop; the row's command takes them.
    m_pParent->SendMessage(WM_DROPFILES, (WPARAM)hDrop, 0);
    m_pParent->ShowWindow(SW_RESTORE);
    m_pParent->SetFocus();
    Report(i);
    return;
  }
  ::DragFinish(hDrop);
}
