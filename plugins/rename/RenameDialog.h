// CRenameDialog: the rename tool's dialog over the host's file list. The user picks a
// base name and a number pattern; the preview list shows each file's new name 800 ms
// after the last change; OK runs the rename (RenameEngine.h).
//
// Sources by concern:
//   RenameDialog.cpp         opening, fields, details, settings
//   RenameDialogPreview.cpp  the preview and the rename run
#pragma once
#include <fw/fw.h>
#include <ui/ResourceDialog.h>

#include <ICGBrowser.h>

#include <string>

#include "RenameRules.h"

class CRenameDialog : public CResourceDialog {
 public:
  CRenameDialog();
  void SetFileList(CGFileInfoList* pList) { m_pFiles = pList; }

  // The new name of row j as the preview shows it (tests read the list through it).
  CString GetPreviewName(int j);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnByName();
  afx_msg void OnOwnName();
  afx_msg void OnBaseNameChange();
  afx_msg void OnBaseNameKillFocus();
  afx_msg void OnNumberAfter();
  afx_msg void OnNumberBefore();
  afx_msg void OnStartChange();
  afx_msg void OnLengthChange();
  afx_msg void OnStepChange();
  afx_msg void OnDecorationChange();
  afx_msg void OnDetails();
  DECLARE_MESSAGE_MAP()

 private:
  // Stop the preview timer, grey OK, and preview 800 ms after the last change.
  void CreateNumberFields();
  void Settle();
  BOOL UpdatePreview();
  // The preview at once (a base name it refuses is emptied).
  void PreviewNow();
  // The typed base name without the characters Windows refuses in names: TRUE when some
  // were taken out, and the user was told once.
  BOOL CleanBaseName();
  void ShowDetails(BOOL bShow);
  void LoadSettings();
  void SaveSettings();
  void CheckNameMode(int mode);
  void SetNumberField(UINT nID, int nValue);
  void TakeField(UINT nID, renamerules::FieldValue (*clamp)(const std::string&), int* pValue);
  std::string FileBase(int j);
  void Message(UINT nID, UINT nIcon);

  int m_nFiles;
  CGFileInfoList* m_pFiles;
  CComboBox m_wndDecoration;
  CEdit m_wndBaseName;
  CButton m_wndDetails;
  CListCtrl m_wndPreview;
  renamerules::NumberPattern m_pattern;
  BOOL m_bDetails;
  CSpinButtonCtrl m_wndStartSpin, m_wndLengthSpin, m_wndStepSpin;
  CEdit m_wndStep, m_wndLength, m_wndStart;
  int m_nNameLimit;
  BOOL m_bSetting;  // fields being filled by the program, not typed
};
