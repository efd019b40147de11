#include "dropop/WaitDlg.h"

#include <VxResourceIds.h>
#include <textpaint/PaintedText.h>


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

// One line, centred.
void CWaitDlg::OnPaint() { textpaint::PaintCentredLine(this, m_strText); }
