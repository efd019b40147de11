// The settings dialogs: auto-run behaviour, the classify destination (with its scan and
// registration), and the music folder.
#pragma once
#include <fw/fw.h>

#include "ResourceDialog.h"

// What happens when a card is inserted and whether imports are classified at once. The
// dialog writes nothing: the caller stores the choice after OK.
class CAutoRunSettingDlg : public CResourceDialog {
 public:
  explicit CAutoRunSettingDlg(CWnd* pParent = NULL);
  int m_nAutoRun;       // 0, 1, 2
  int m_nFirstClassify;  // 0, 1

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnAutoRun(UINT nID);
  afx_msg void OnFirstClassify(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowChoice();
};

// The folder whose pictures are classified. OK checks the folder before anything is
// written, stores it, scans it for pictures under a progress bar and registers them.
class CClassifyFolderDlg : public CResourceDialog {
 public:
  explicit CClassifyFolderDlg(CWnd* pParent = NULL);
  CString m_strFolder;
  int m_nSubFolder;  // radio index of the group at 1012 (0: search sub-folders)
  int m_nDesktop;    // radio index of the group at 1014 (0: search the desktop too)
  int m_nFound;      // files gone through by the last scan

  // Scans and registers; answers the number of files found. Runs under the progress bar.
  static int ScanAndRegister(const CString& folder, bool subFolders, bool desktop);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  afx_msg void OnBrowse();
  DECLARE_MESSAGE_MAP()

 private:
  void Refuse(UINT nStringID);
};

// The folder the music tree shows.
class CMusicFolderDlg : public CResourceDialog {
 public:
  explicit CMusicFolderDlg(CWnd* pParent = NULL);
  CString m_strFolder;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnBrowse();
  DECLARE_MESSAGE_MAP()
};
