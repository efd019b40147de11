// CLauncherSettingDlg: the options dialog's launcher page (template 7054). Each of the
// three slots shows its program's label and path, with a button that chooses a program
// and one that removes it; every change goes to the profile at once, through the
// launcher's own entry operations.
#pragma once
#include <fw/fw.h>

#include <functional>

#include "LauncherListWnd.h"
#include "ui/ResourceDialog.h"

class CLauncherSettingDlg : public CResourceDialog {
 public:
  explicit CLauncherSettingDlg(CWnd* pParent = NULL);

  // The launcher's operations (never a window); tests replace its program chooser.
  CLauncherListWnd m_launcher;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSlotButton(UINT nID);
  afx_msg void OnPathChange(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowSlot(int nIndex, LPCSTR lpszPath);
};
