#include "TurnDialog.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <picturetool/ToolRun.h>

CTurnDialog::CTurnDialog(const turnpicture::Settings& s)
    : CResourceDialog(IDD_TURN_PICTURE, CWnd::FromHandle(picturetool::OwnerWindow())), m_settings(s) {}

BOOL CTurnDialog::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  CheckRadioButton(IDC_TURN_90, IDC_TURN_270,
                   m_settings.rotation == 180   ? IDC_TURN_180
                   : m_settings.rotation == 270 ? IDC_TURN_270
                                                : IDC_TURN_90);
  CheckRadioButton(IDC_TURN_PIXELS, IDC_TURN_TAG, m_settings.tagOnly ? IDC_TURN_TAG : IDC_TURN_PIXELS);
  // The one chosen file is write-protected: only a copy can be written.
  if (CMGetProfileInt(turnpicture::kSection, "ReadOnly", 1) == 3) {
    m_settings.saveMode = 0;
    GetDlgItem(IDC_TURN_SAVE_OVER)->EnableWindow(FALSE);
    GetDlgItem(IDC_TURN_SAVE_ASK)->EnableWindow(FALSE);
  }
  CheckRadioButton(IDC_TURN_SAVE_COPY, IDC_TURN_SAVE_ASK, IDC_TURN_SAVE_COPY + m_settings.saveMode);
  return TRUE;
}

void CTurnDialog::OnOK() {
  int nRotation = GetCheckedRadioButton(IDC_TURN_90, IDC_TURN_270);
  m_settings.rotation = nRotation == IDC_TURN_180 ? 180 : nRotation == IDC_TURN_270 ? 270 : 90;
  m_settings.tagOnly = IsDlgButtonChecked(IDC_TURN_TAG) == BST_CHECKED;
  int nSave = GetCheckedRadioButton(IDC_TURN_SAVE_COPY, IDC_TURN_SAVE_ASK);
  m_settings.saveMode = nSave ? nSave - IDC_TURN_SAVE_COPY : 0;
  CResourceDialog::OnOK();
}
