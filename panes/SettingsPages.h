// The options dialog's own pages: rotation (template 7053) and slide show (template 236).
// Modeless children that load their values when they initialise and keep them in
// members; the options dialog writes them on OK.
#pragma once
#include <fw/fw.h>

#include "ui/ResourceDialog.h"

class CRotationSettingsPage : public CResourceDialog {
 public:
  explicit CRotationSettingsPage(CWnd* pParent = NULL);
  BOOL Create(CWnd* pParent);
  int m_nPanel;     // PanelON/OFF: 1 or 0
  int m_nExif;      // 0 or 1
  int m_nRotation;  // 90 or 270
  int m_nSaveMode;  // 0, 1, 2
  void Load();
  void Store() const;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnRadio(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowValues();
};

class CSlideShowSettingsPage : public CResourceDialog {
 public:
  explicit CSlideShowSettingsPage(CWnd* pParent = NULL);
  BOOL Create(CWnd* pParent);
  int m_nEffect, m_nEffectMode, m_nAuto, m_nAudio, m_nAudioMode, m_nRepeat, m_nSlideQuality, m_nAudioSetting;
  CString m_strAudioPath;
  void Load();
  void Store() const;

 protected:
  // The same controls in another template (the toolbar's slide-show settings dialog).
  CSlideShowSettingsPage(UINT nIDTemplate, CWnd* pParent);
  // Where the values come from when the page opens.
  virtual void LoadValues() { Load(); }
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnEffect();
  afx_msg void OnAudio();
  afx_msg void OnQualityOrRepeat();
  afx_msg void OnQuality2();
  afx_msg void OnEffectMode();
  afx_msg void OnIntervalKillFocus();
  afx_msg void OnIntervalSpin(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnBrowse();
  DECLARE_MESSAGE_MAP()

  void ReadControls();
  void ShowValues();
  void ApplyEffectRule();
  void ApplyAudioRule();
};
