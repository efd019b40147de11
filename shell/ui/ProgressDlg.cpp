// The modeless progress window.
#include <GuiFont.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>

#include "ProgressDialogs.h"

namespace {
const UINT kRepaintTimer = 120;
}

int ProgressBarPosition(int steps, int range) {
  if (range <= 0 || steps <= 0) return 0;
  return steps > range ? range : steps;
}

int ProgressPercent(int i, int count) {
  if (count <= 0 || i <= 0) return 0;
  return i >= count ? 100 : (int)(100LL * i / count);
}

BEGIN_MESSAGE_MAP(CProgressDlg, CResourceDialog)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg() : CResourceDialog(IDD_PROGRESS, NULL), m_nSteps(0), m_nRange(0), m_pOwner(nullptr) {}

BOOL CProgressDlg::Create(CWnd* pParent) {
  m_pOwner = pParent;
  if (!CDialog::Create(IDD_PROGRESS, pParent)) return FALSE;
  if (pParent && pParent->GetSafeHwnd()) {
    CRect rcParent, rc;
    pParent->GetWindowRect(&rcParent);
    GetWindowRect(&rc);
    SetWindowPos(nullptr, rcParent.left + (rcParent.Width() - rc.Width()) / 2,
                 rcParent.top + (rcParent.Height() - rc.Height()) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  return TRUE;
}

BOOL CProgressDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  SetTimer(kRepaintTimer, 200, nullptr);
  return TRUE;
}

void CProgressDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kRepaintTimer)
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  else
    CResourceDialog::OnTimer(nIDEvent);
}

void CProgressDlg::OnDestroy() {
  KillTimer(kRepaintTimer);
  CResourceDialog::OnDestroy();
}

void CProgressDlg::SetText(LPCSTR lpszText) {
  SetDlgItemText(IDC_PROGRESS_TEXT, lpszText);
  if (CWnd* pText = GetDlgItem(IDC_PROGRESS_TEXT)) pText->UpdateWindow();
}

void CProgressDlg::SetCaption(UINT nStringID) { SetWindowText(CResourceLoader().LoadStringA(nStringID)); }

void CProgressDlg::SetRange(int n) {
  m_nRange = n > 0 ? n : 0;
  // An empty range is drawn as an empty bar rather than a full one.
  SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, m_nRange > 0 ? m_nRange : 1);
  SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, ProgressBarPosition(m_nSteps, m_nRange));
}

void CProgressDlg::StepIt() {
  m_nSteps++;
  SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, ProgressBarPosition(m_nSteps, m_nRange));
}
