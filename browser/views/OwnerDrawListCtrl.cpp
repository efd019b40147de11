#include "OwnerDrawListCtrl.h"

#include <algorithm>

const COLORREF COwnerDrawListCtrl::kBackColor = RGB(122, 142, 156);

IMPLEMENT_DYNCREATE(COwnerDrawListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(COwnerDrawListCtrl, CListCtrl)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(LVM_SETTEXTCOLOR, &COwnerDrawListCtrl::OnSetTextColor)
  ON_MESSAGE(LVM_SETTEXTBKCOLOR, &COwnerDrawListCtrl::OnSetTextBkColor)
  ON_MESSAGE(LVM_SETBKCOLOR, &COwnerDrawListCtrl::OnSetBkColor)
END_MESSAGE_MAP()

COwnerDrawListCtrl::COwnerDrawListCtrl()
    : m_bFullRow(TRUE),
      m_bCheckBoxes(TRUE),
      m_cxClient(0),
      m_clrBack(kBackColor),
      m_clrTextBack(kBackColor),
      m_clrText(RGB(255, 255, 255)) {}
COwnerDrawListCtrl::~COwnerDrawListCtrl() {}

void COwnerDrawListCtrl::PreSubclassWindow() { CListCtrl::PreSubclassWindow(); }

int COwnerDrawListCtrl::OnCreate(LPCREATESTRUCT lpcs) {
  if (CListCtrl::OnCreate(lpcs) == -1) return -1;
  SetBkColor(kBackColor);
  SetTextBkColor(kBackColor);
  SetTextColor(RGB(255, 255, 255));
  return 0;
}

LRESULT COwnerDrawListCtrl::OnSetTextColor(WPARAM wParam, LPARAM lParam) {
  m_clrText = (COLORREF)lParam;
  return Default();
}
LRESULT COwnerDrawListCtrl::OnSetTextBkColor(WPARAM wParam, LPARAM lParam) {
  m_clrTextBack = (COLORREF)lParam;
  return Default();
}
LRESULT COwnerDrawListCtrl::OnSetBkColor(WPARAM wParam, LPARAM lParam) {
  m_clrBack = (COLORREF)lParam;
  return Default();
}

void COwnerDrawListCtrl::OnSize(UINT nType, int cx, int cy) {
  m_cxClient = cx;
  CListCtrl::OnSize(nType, cx, cy);
}

void COwnerDrawListCtrl::OnPaint() {
  // With full-row selection the highlight reaches the right edge past the last column.
  if (m_bFullRow) {
    CRect rcAll;
    GetClientRect(&rcAll);
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    int nCols = pHeader ? pHeader->GetItemCount() : 0, cxRows = 0;
    for (int i = 0; i < nCols; ++i) cxRows += GetColumnWidth(i);
    if (cxRows < m_cxClient) {
      CRect rc(cxRows, rcAll.top, m_cxClient, rcAll.bottom);
      InvalidateRect(&rc, FALSE);
    }
  }
  Default();
}

void COwnerDrawListCtrl::OnSetFocus(CWnd* pOldWnd) {
  CListCtrl::OnSetFocus(pOldWnd);
  if (pOldWnd && pOldWnd->GetParent() == this) return;  // back from the label editor
  Invalidate(FALSE);
}

void COwnerDrawListCtrl::OnKillFocus(CWnd* pNewWnd) {
  CListCtrl::OnKillFocus(pNewWnd);
  if (pNewWnd && pNewWnd->GetParent() == this) return;  // into the label editor
  Invalidate(FALSE);
}

CRect COwnerDrawListCtrl::CheckRect(const CRect& rcRow) const {
  int cy = rcRow.Height();
  return CRect(rcRow.left + 2, rcRow.top + (cy - 13) / 2, rcRow.left + 15, rcRow.top + (cy - 13) / 2 + 13);
}

void COwnerDrawListCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  int row = HitTest(&hit);
  CRect rcIcon;
  BOOL bCheck = FALSE;
  if (row >= 0 && GetItemRect(row, &rcIcon, LVIR_ICON)) bCheck = m_bCheckBoxes && point.x < rcIcon.left;
  CListCtrl::OnLButtonDown(nFlags, point);
  if (bCheck) OnCheckClicked(row);
}

CString COwnerDrawListCtrl::FitText(CDC* pDC, const CString& text, int cxMax) {
  if (pDC->GetTextExtent(text).cx <= cxMax) return text;
  CString cut = text;
  while (!cut.IsEmpty()) {
    // Cut whole characters: a lead byte takes its trail byte with it.
    int n = cut.GetLength();
    int last = 0;
    for (int i = 0; i < n; i += ::IsDBCSLeadByte((BYTE)cut[i]) && i + 1 < n ? 2 : 1) last = i;
    cut = cut.Left(last);
    if (pDC->GetTextExtent(cut + "...").cx <= cxMax) return cut + "...";
  }
  return "...";
}

BOOL COwnerDrawListCtrl::IsRowChecked(int) const { return FALSE; }
void COwnerDrawListCtrl::OnCheckClicked(int) {}
void COwnerDrawListCtrl::DrawRowPicture(CDC*, int, const CRect&) {}

void COwnerDrawListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  int row = (int)lpDIS->itemID;
  CRect rcRow(lpDIS->rcItem);
  CRect rcClient;
  GetClientRect(&rcClient);
  if (m_bFullRow) rcRow.right = std::max(rcRow.right, rcClient.right);
  BOOL bSelected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  BOOL bShow = bSelected && (::GetFocus() == m_hWnd || (GetStyle() & LVS_SHOWSELALWAYS));
  COLORREF back = bShow ? ::GetSysColor(COLOR_HIGHLIGHT) : m_clrBack;
  COLORREF fore = bShow ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : m_clrText;
  pDC->FillSolidRect(&rcRow, back);

  if (m_bCheckBoxes) {
    CRect rcCheck = CheckRect(rcRow);
    pDC->DrawFrameControl(&rcCheck, DFC_BUTTON, DFCS_BUTTONCHECK | (IsRowChecked(row) ? DFCS_CHECKED : 0));
  }
  CRect rcIcon;
  GetItemRect(row, &rcIcon, LVIR_ICON);
  DrawRowPicture(pDC, row, rcIcon);

  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(fore);
  CHeaderCtrl* pHeader = GetHeaderCtrl();
  int nCols = pHeader ? pHeader->GetItemCount() : 0;
  for (int col = 0; col < nCols; ++col) {
    CRect rcCell;
    if (col == 0) {
      GetItemRect(row, &rcCell, LVIR_LABEL);
    } else {
      GetSubItemRect(row, col, LVIR_BOUNDS, rcCell);
    }
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    GetColumn(col, &column);
    UINT align = (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? DT_RIGHT
                 : (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER
                                                                      : DT_LEFT;
    int margin = col == 0 ? 4 : 12;
    CString text = FitText(pDC, GetItemText(row, col), rcCell.Width() - margin);
    CRect rcText = rcCell;
    rcText.DeflateRect(margin / 2, 0);
    pDC->DrawText(text, &rcText, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if ((lpDIS->itemState & ODS_FOCUS) && ::GetFocus() == m_hWnd) pDC->DrawFocusRect(&rcRow);
}
