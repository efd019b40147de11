// COptionsDlg: the program's settings dialog (template 7010), a tab control over the
// pages (auto-run, slide show, rotation, launcher, one per option-panel plug-in ".pse",
// music folder). OK asks the first panel whether its input stands, then writes every
// page and tells the main window that settings changed.
#pragma once
#include <fw/fw.h>

#include <vector>

#include "LauncherSettingDlg.h"
#include "SettingsPages.h"
#include "ui/ResourceDialog.h"
#include "ui/SettingsDialogs.h"

class COptionsDlg : public CResourceDialog {
 public:
  explicit COptionsDlg(CWnd* pParent = NULL);
  ~COptionsDlg() override;

  // Where the panels are looked for; the program folder when empty.
  void SetPanelFolder(LPCSTR lpszFolder) { m_strPanelFolder = lpszFolder; }
  int GetPanelCount() const { return (int)m_panels.size(); }
  CWnd* GetPanel(int k) const { return k >= 0 && k < GetPanelCount() ? m_panels[k] : NULL; }
  // The window a tab shows.
  CWnd* GetTabPage(int nTab) const;

  CAutoRunSettingDlg m_autoRunPage;
  CSlideShowSettingsPage m_slideShowPage;
  CRotationSettingsPage m_rotationPage;
  CLauncherSettingDlg m_launcherPage;
  CMusicFolderDlg m_musicPage;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnDestroy();
  afx_msg void OnTabChange(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  void LoadPanels(const RECT& rcPage);
  void ShowTab(int nTab);
  void StorePages();
  void SendToPanels(WPARAM wCommand);

  CString m_strPanelFolder;
  std::vector<CWnd*> m_panels;
  std::vector<HMODULE> m_libraries;
  BOOL m_bComInitialised;
};
