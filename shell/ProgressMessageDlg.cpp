#include "ProgressMessageDlg.h"

#include <VxResourceIds.h>

namespace {

const COLORREF kBackground = RGB(254, 254, 254);
const COLORREF kBarFrame = RGB(44, 87, 103);
const COLORREF kBarEmpty = RGB(236, 236, 236);
const COLORREF kBarFill = RGB(0, 54, 99);

// One brush for every such window, made on first use and freed at exit.
struct SharedBrush {
  HBRUSH hBrush = NULL;
  HBRUSH Get() {
    if (!hBrush) hBrush = ::CreateSolidBrush(kBackground);
    return hBrush;
  }
  ~SharedBrush() {
    if (hBrush) ::DeleteObject(hBrush);
  }
};
SharedBrush g_brush;

}  // namespace

BEGIN_MESSAGE_MAP(CProgressMessageDlg, CResourceDialog)
  ON_WM_CTLCOLOR()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CProgressMessageDlg::CProgressMessageDlg(CWnd* pParentWnd)
    : CResourceDialog(IDD_PROGRESS_MESSAGE, pParentWnd), m_nTotal(-1), m_nPosition(0) {}

CProgressMessageDlg::~CProgressMessageDlg() {
  if (m_hWnd) DestroyWindow();
}

BOOL CProgressMessageDlg::CreateModeless(CWnd* pParentWnd) {
  m_nTotal = -1;
  m_nPosition = 0;
  return CDialog::Create(IDD_PROGRESS_MESSAGE, pParentWnd);
}

void CProgressMessageDlg::SetText(LPCSTR lpszText) {
  if (m_hWnd) SetDlgItemText(IDC_PROGRESS_MESSAGE_TEXT, lpszText);
}

void CProgressMessageDlg::SetRange(int nTotal) {
  m_nTotal = nTotal;
  if (!m_hWnd) return;
  CRect rc;
  GetWindowRect(&rc);
  SetWindowPos(NULL, 0, 0, rc.Width(), rc.Height() + 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (CWnd* pText = GetDlgItem(IDC_PROGRESS_MESSAGE_TEXT)) pText->ShowWindow(SW_HIDE);
}

void CProgressMessageDlg::Step(int n) {
  m_nPosition += n;
  if (m_nTotal >= 0 && m_nPosition > m_nTotal) m_nPosition = m_nTotal;
  if (m_nPosition < 0) m_nPosition = 0;
  if (!m_hWnd) return;
  InvalidateRect(NULL, FALSE);
  UpdateWindow();
}

int CProgressMessageDlg::FillWidth(int nBarWidth, int nTotal, int nPosition) {
  if (nTotal <= 0 || nBarWidth <= 0 || nPosition <= 0) return 0;
  LONGLONG fill = (LONGLONG)nBarWidth * std::min(nPosition, nTotal) / nTotal;
  return (int)std::min<LONGLONG>(fill, nBarWidth);
}

HBRUSH CProgressMessageDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  CResourceDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  pDC->SetBkColor(kBackground);
  return g_brush.Get();
}

void CProgressMessageDlg::OnPaint() {
  CPaintDC dc(this);
  if (m_nTotal == -1) return;
  CString strText;
  GetDlgItemText(IDC_PROGRESS_MESSAGE_TEXT, strText);
  CRect rcClient;
  GetClientRect(&rcClient);
  CRect rcWindow;
  GetWindowRect(&rcWindow);

  CFont* pOldFont = dc.SelectObject(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
  int nOldMode = dc.SetBkMode(TRANSPARENT);
  CRect rcMeasure(0, 0, 100, 100);
  dc.DrawText(strText, &rcMeasure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
  CRect rcText(CPoint((rcClient.Width() - rcMeasure.Width()) / 2, 15), rcMeasure.Size());
  dc.DrawText(strText, &rcText, DT_CENTER | DT_NOPREFIX);
  dc.SetBkMode(nOldMode);
  dc.SelectObject(pOldFont);

  int nBarWidth = rcWindow.Width() - 42;
  CRect rcBar(CPoint(20, std::max(50, (int)rcMeasure.Height() + 25)), CSize(nBarWidth, 8));
  dc.FillSolidRect(&rcBar, kBarFrame);
  rcBar.DeflateRect(1, 1);
  dc.FillSolidRect(&rcBar, kBarEmpty);
  CRect rcFill = rcBar;
  rcFill.right = rcBar.left + std::min((int)rcBar.Width(), FillWidth(nBarWidth, m_nTotal, m_nPosition));
  dc.FillSolidRect(&rcFill, kBarFill);
}
