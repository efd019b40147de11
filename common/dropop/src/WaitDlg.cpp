#include "dropop/WaitDlg.h"

#include <VxResourceIds.h>

#include <algorithm>

BEGIN_MESSAGE_MAP(CWaitDlg, CDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CWaitDlg::CWaitDlg(CWnd* pParent) : CDialog(IDD_NOTICE, pParent) {}

BOOL CWaitDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_NOTICE, pParent); }

BOOL CWaitDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterWindow();
  return TRUE;
}

void CWaitDlg::SetText(LPCSTR lpszText) {
  m_strText = lpszText ? lpszText : "";
  if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Centred between 5 pixels from each side, vertically in the middle.
void CWaitDlg::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CFont* pOld = dc.SelectObject(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  dc.SetBkMode(TRANSPARENT);
  CRect measure(0, 0, 0, 0);
  dc.DrawText(m_strText, measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  int top = std::max<int>(0, (rc.Height() - measure.Height()) / 2);
  CRect draw(5, top, std::max<int>(5, rc.right - 5), top + measure.Height());
  dc.DrawText(m_strText, draw, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (pOld) dc.SelectObject(pOld);
}
