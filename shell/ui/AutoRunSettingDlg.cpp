// The auto-run settings page.
#include <GuiFont.h>
#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <cardwatch/AutoRunRule.h>

#include "SettingsDialogs.h"
#include "SettingsRules.h"

BEGIN_MESSAGE_MAP(CAutoRunSettingDlg, CResourceDialog)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_AUTORUN_START, IDC_AUTORUN_NONE, &CAutoRunSettingDlg::OnAutoRun)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_FIRST_CLASSIFY_OFF, IDC_FIRST_CLASSIFY_ON, &CAutoRunSettingDlg::OnFirstClassify)
END_MESSAGE_MAP()

CAutoRunSettingDlg::CAutoRunSettingDlg(CWnd* pParent)
    : CResourceDialog(IDD_AUTORUN_SETTING, pParent), m_nAutoRun(0), m_nFirstClassify(0) {}

BOOL CAutoRunSettingDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  int stored = cardwatch::ReadAutoRunMode();  // the launcher's setting
  m_nAutoRun = settings::AutoRunValueOf(settings::AutoRunRadioOf(stored));
  m_nFirstClassify = CMGetProfileInt("VxClassify", "FirstClassify", 0) == 1 ? 1 : 0;
  ShowChoice();
  return TRUE;
}

void CAutoRunSettingDlg::ShowChoice() {
  CheckRadioButton(IDC_AUTORUN_START, IDC_AUTORUN_NONE, settings::AutoRunRadioOf(m_nAutoRun));
  CheckRadioButton(IDC_FIRST_CLASSIFY_OFF, IDC_FIRST_CLASSIFY_ON, settings::FirstClassifyRadioOf(m_nFirstClassify));
}

void CAutoRunSettingDlg::OnAutoRun(UINT nID) {
  if (nID != IDC_AUTORUN_START && nID != IDC_AUTORUN_VIEWER && nID != IDC_AUTORUN_NONE) return;
  m_nAutoRun = settings::AutoRunValueOf(nID);
  ShowChoice();
}

void CAutoRunSettingDlg::OnFirstClassify(UINT nID) {
  m_nFirstClassify = nID == IDC_FIRST_CLASSIFY_ON ? 1 : 0;
  ShowChoice();
}
