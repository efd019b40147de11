#include "LauncherSettingDlg.h"

#include <VxResourceIds.h>

#include "GuiFont.h"

namespace {
struct SlotControls {
  UINT label, path, browse, clear;
};
const SlotControls kSlots[] = {
    {IDC_LAUNCHER_LABEL1, IDC_LAUNCHER_PATH1, IDC_LAUNCHER_BROWSE1, IDC_LAUNCHER_CLEAR1},
    {IDC_LAUNCHER_LABEL2, IDC_LAUNCHER_PATH2, IDC_LAUNCHER_BROWSE2, IDC_LAUNCHER_CLEAR2},
    {IDC_LAUNCHER_LABEL3, IDC_LAUNCHER_PATH3, IDC_LAUNCHER_BROWSE3, IDC_LAUNCHER_CLEAR3},
};
}  // namespace

BEGIN_MESSAGE_MAP(CLauncherSettingDlg, CResourceDialog)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_LAUNCHER_LABEL1, IDC_LAUNCHER_CLEAR3, &CLauncherSettingDlg::OnSlotButton)
  ON_CONTROL_RANGE(EN_CHANGE, IDC_LAUNCHER_LABEL1, IDC_LAUNCHER_CLEAR3, &CLauncherSettingDlg::OnPathChange)
END_MESSAGE_MAP()

CLauncherSettingDlg::CLauncherSettingDlg(CWnd* pParent) : CResourceDialog(IDD_OPTIONS_LAUNCHER, pParent) {
  // The page's chooser has no owner window.
  m_launcher.m_chooseProgram = [](CString* pPath) {
    CString strFilter;
    strFilter.LoadString(IDS_LAUNCHER_FILTER);
    CFileDialog dlg(TRUE, NULL, NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, strFilter, NULL);
    if (dlg.DoModal() != IDOK) return FALSE;
    *pPath = dlg.GetPathName();
    return TRUE;
  };
}

void CLauncherSettingDlg::ShowSlot(int nIndex, LPCSTR lpszPath) {
  SetDlgItemText(kSlots[nIndex].path, lpszPath);
  SetDlgItemText(kSlots[nIndex].label, *lpszPath ? (LPCSTR)CLauncherListWnd::GetExeFileDescription(lpszPath) : "");
  if (CWnd* pClear = GetDlgItem(kSlots[nIndex].clear)) pClear->EnableWindow(*lpszPath != '\0');
}

BOOL CLauncherSettingDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  for (int i = 0; i < 3; ++i) ShowSlot(i, m_launcher.GetLauncherPath(i));
  return TRUE;
}

void CLauncherSettingDlg::OnSlotButton(UINT nID) {
  for (int i = 0; i < 3; ++i) {
    if (nID == kSlots[i].browse) {
      CString strPath;
      if (!m_launcher.m_chooseProgram || !m_launcher.m_chooseProgram(&strPath)) return;
      if (m_launcher.SetLauncherEntry(i, strPath)) {
        // The page shows the file as chosen (a shortcut's own path) until it opens again.
        ShowSlot(i, strPath);
      } else {
        CString strText, strCaption;
        strText.LoadString(IDS_LAUNCHER_NOT_PROGRAM);
        strCaption.LoadString(IDS_OPTIONS_TAB_LAUNCHER);
        MessageBox(strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
      }
      return;
    }
    if (nID == kSlots[i].clear) {
      CString strText, strCaption;
      strText.LoadString(IDS_LAUNCHER_ASK_REMOVE);
      strCaption.LoadString(IDS_BROWSER_DELETE_CAPTION);
      if (MessageBox(strText, strCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
      ShowSlot(i, "");
      m_launcher.ClearLauncherEntry(i);
      return;
    }
  }
}

void CLauncherSettingDlg::OnPathChange(UINT nID) {
  for (const SlotControls& slot : kSlots) {
    if (nID != slot.path) continue;
    if (CWnd* pClear = GetDlgItem(slot.clear)) pClear->EnableWindow(GetDlgItem(slot.path)->GetWindowTextLength() > 0);
  }
}
