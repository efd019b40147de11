#include "RenameProgressDialog.h"

#include <GuiFont.h>

BOOL CRenameProgressDialog::OnInitDialog() {
  CProgressDlg::OnInitDialog();
  if (CWnd* pCancel = GetDlgItem(IDCANCEL)) pCancel->ShowWindow(SW_HIDE);
  return TRUE;
}

BEGIN_MESSAGE_MAP(CRenameWaitDlg, CProgressMessageDlg)
  ON_WM_CTLCOLOR()
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

HBRUSH CRenameWaitDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CRenameWaitDlg::OnActivate(UINT, CWnd*, BOOL) {}

// The children exist only now (a dialog's WM_CREATE comes before them).
BOOL CRenameWaitDlg::OnInitDialog() {
  CProgressMessageDlg::OnInitDialog();
  VxApplyGuiFontRule(this);
  return TRUE;
}
