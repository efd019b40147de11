// The target-choice dialog.
#include <GuiFont.h>
#include <ICGBrowser.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>

#include "ChoiceDialogs.h"

BEGIN_MESSAGE_MAP(CTargetChoiceDlg, CResourceDialog)
  ON_BN_CLICKED(IDC_TARGET_MARKED, &CTargetChoiceDlg::OnOption)
  ON_BN_CLICKED(IDC_TARGET_SHOWN, &CTargetChoiceDlg::OnOption)
END_MESSAGE_MAP()

CTargetChoiceDlg::CTargetChoiceDlg(CWnd* pParent)
    : CResourceDialog(IDD_TARGET_CHOICE, pParent), m_nKind(0), m_nFlag(0), m_bMode5(FALSE), m_nResult(-1), m_plan() {}

int CTargetChoiceDlg::SetMode(int kind, int flag) {
  m_nKind = kind;
  m_nFlag = flag;
  int mode = CMGetProfileInt("DepthViewer", "Mode", 1);
  m_bMode5 = mode == 5;
  return mode;
}

INT_PTR CTargetChoiceDlg::DoModal() {
  unsigned selected = 0, marked = 0;
  if (ICGBrowser* pBrowser = GetCGBrowser()) {
    pBrowser->QuerySelectCount(QUERYSELECT_0, &selected);
    pBrowser->QueryMarkCount(QUERYMARK_0, &marked);
  }
  return DoModalWithCounts(selected, marked);
}

INT_PTR CTargetChoiceDlg::DoModalWithCounts(unsigned selected, unsigned marked) {
  m_plan = choice::PlanTarget(m_nKind, selected, marked);
  m_nResult = m_plan.result;
  if (!m_plan.showDialog) return IDOK;
  return CResourceDialog::DoModal();
}

BOOL CTargetChoiceDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  LayOut();
  // The two options' ids are not in order: check them one by one.
  CheckDlgButton(IDC_TARGET_MARKED, m_plan.initial == IDC_TARGET_MARKED ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_TARGET_SHOWN, m_plan.initial == IDC_TARGET_SHOWN ? BST_CHECKED : BST_UNCHECKED);
  GetDlgItem(IDC_TARGET_MARKED)->EnableWindow(!m_plan.markedDisabled);
  if (m_plan.showCheck) CheckDlgButton(IDC_TARGET_SELECTED_ONLY, BST_CHECKED);
  OnOption();
  return TRUE;
}

// Places the group, the options and the buttons for the request and sizes the dialog.
void CTargetChoiceDlg::LayOut() {
  const int left = 15, top = 15, width = 260, height = m_plan.groupHeight;
  GetDlgItem(IDC_TARGET_GROUP)->MoveWindow(left, top, width, height);
  auto place = [&](UINT id, bool show, int x, int y) {
    CWnd* pItem = GetDlgItem(id);
    CRect rc;
    pItem->GetWindowRect(&rc);
    pItem->MoveWindow(left + x, top + y, rc.Width(), rc.Height());
    pItem->ShowWindow(show ? SW_SHOW : SW_HIDE);
  };
  place(IDC_TARGET_MARKED, true, 15, 25);
  place(IDC_TARGET_SHOWN, m_plan.showShown, 15, 50);
  GetDlgItem(IDC_TARGET_SHOWN)->EnableWindow(!m_plan.shownDisabled);
  place(IDC_TARGET_SELECTED_ONLY, m_plan.showCheck, 25, 75);
  CWnd* pOK = GetDlgItem(IDOK);
  CWnd* pCancel = GetDlgItem(IDCANCEL);
  CRect rcButton;
  pOK->GetWindowRect(&rcButton);
  int y = top + height + 15;
  pOK->MoveWindow(left + 25, y, rcButton.Width(), rcButton.Height());
  pCancel->MoveWindow(left + width - 25 - rcButton.Width(), y, rcButton.Width(), rcButton.Height());
  CRect rcClient(0, 0, left + width + 15, y + rcButton.Height() + 15);
  ::AdjustWindowRectEx(&rcClient, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, rcClient.Width(), rcClient.Height(), SWP_NOMOVE | SWP_NOZORDER);
  CenterWindow();
}

// The check box serves the "files of the view" option only (so it starts disabled when
// there are marks: the marked files are the first choice then).
void CTargetChoiceDlg::OnOption() {
  if (!m_plan.showCheck) return;
  bool shown = IsDlgButtonChecked(IDC_TARGET_SHOWN) == BST_CHECKED;
  GetDlgItem(IDC_TARGET_SELECTED_ONLY)->EnableWindow(shown);
}

void CTargetChoiceDlg::OnOK() {
  choice::TargetChecks checks = {};
  checks.selected = IsDlgButtonChecked(IDC_TARGET_SELECTED) == BST_CHECKED;
  checks.marked = IsDlgButtonChecked(IDC_TARGET_MARKED) == BST_CHECKED;
  checks.shown = IsDlgButtonChecked(IDC_TARGET_SHOWN) == BST_CHECKED;
  checks.selectedOnly = IsDlgButtonChecked(IDC_TARGET_SELECTED_ONLY) == BST_CHECKED;
  checks.all = IsDlgButtonChecked(IDC_TARGET_ALL) == BST_CHECKED;
  m_nResult = choice::TargetResult(checks);
  CResourceDialog::OnOK();
}
