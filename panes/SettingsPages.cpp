#include "SettingsPages.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <commctrl.h>

#include <string>

#include "GuiFont.h"
#include "OptionsRules.h"

namespace {
const char kTurnSection[] = "Tool1\\TurnPicture";
const char kSlideSection[] = "DepthViewer\\FullScreen";

}  // namespace

// ---- Rotation page ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CRotationSettingsPage, CResourceDialog)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_ROTATION_PANEL_ON, IDC_ROTATION_SAVE_1, &CRotationSettingsPage::OnRadio)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_ROTATION_SAVE_2, IDC_ROTATION_SAVE_2, &CRotationSettingsPage::OnRadio)
END_MESSAGE_MAP()

CRotationSettingsPage::CRotationSettingsPage(CWnd* pParent)
    : CResourceDialog(IDD_OPTIONS_ROTATION, pParent), m_nPanel(1), m_nExif(0), m_nRotation(90), m_nSaveMode(1) {}

BOOL CRotationSettingsPage::Create(CWnd* pParent) { return CDialog::Create(IDD_OPTIONS_ROTATION, pParent); }

void CRotationSettingsPage::Load() {
  m_nPanel = options::ReadPanel(CMGetProfileInt(kTurnSection, "PanelON/OFF", 1));
  m_nExif = options::ReadExif(CMGetProfileInt(kTurnSection, "Exif", 0));
  m_nRotation = options::ReadRotation(CMGetProfileInt(kTurnSection, "Rotation", 90));
  m_nSaveMode = options::ReadSaveMode(CMGetProfileInt(kTurnSection, "SaveMode", 1));
}

void CRotationSettingsPage::Store() const {
  CMWriteProfileInt(kTurnSection, "SaveMode", m_nSaveMode);
  CMWriteProfileInt(kTurnSection, "PanelON/OFF", m_nPanel);
  CMWriteProfileInt(kTurnSection, "Exif", m_nExif);
  CMWriteProfileInt(kTurnSection, "Rotation", m_nRotation);
}

BOOL CRotationSettingsPage::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  Load();
  ShowValues();
  return TRUE;
}

void CRotationSettingsPage::ShowValues() {
  CheckRadioButton(IDC_ROTATION_PANEL_ON, IDC_ROTATION_PANEL_OFF,
                   m_nPanel ? IDC_ROTATION_PANEL_ON : IDC_ROTATION_PANEL_OFF);
  CheckRadioButton(IDC_ROTATION_EXIF_OFF, IDC_ROTATION_EXIF_ON, m_nExif ? IDC_ROTATION_EXIF_ON : IDC_ROTATION_EXIF_OFF);
  CheckRadioButton(IDC_ROTATION_270, IDC_ROTATION_90, m_nRotation == 90 ? IDC_ROTATION_90 : IDC_ROTATION_270);
  static const int kSave[] = {IDC_ROTATION_SAVE_0, IDC_ROTATION_SAVE_1, IDC_ROTATION_SAVE_2};
  for (int i = 0; i < 3; ++i) CheckDlgButton(kSave[i], i == m_nSaveMode ? BST_CHECKED : BST_UNCHECKED);
}

void CRotationSettingsPage::OnRadio(UINT nID) {
  switch (nID) {
    case IDC_ROTATION_PANEL_ON: m_nPanel = 1; break;
    case IDC_ROTATION_PANEL_OFF: m_nPanel = 0; break;
    case IDC_ROTATION_EXIF_OFF: m_nExif = 0; break;
    case IDC_ROTATION_EXIF_ON: m_nExif = 1; break;
    case IDC_ROTATION_90: m_nRotation = 90; break;
    case IDC_ROTATION_270: m_nRotation = 270; break;
    case IDC_ROTATION_SAVE_0: m_nSaveMode = 0; break;
    case IDC_ROTATION_SAVE_1: m_nSaveMode = 1; break;
    case IDC_ROTATION_SAVE_2: m_nSaveMode = 2; break;
  }
}

// ---- Slide-show page ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSlideShowSettingsPage, CResourceDialog)
  ON_BN_CLICKED(IDC_SLIDE_EFFECT_OFF, &CSlideShowSettingsPage::OnEffect)
  ON_BN_CLICKED(IDC_SLIDE_EFFECT_ON, &CSlideShowSettingsPage::OnEffect)
  ON_BN_CLICKED(IDC_SLIDE_AUDIO, &CSlideShowSettingsPage::OnAudio)
  ON_BN_CLICKED(IDC_SLIDE_AUDIO_MODE_0, &CSlideShowSettingsPage::OnAudio)
  ON_BN_CLICKED(IDC_SLIDE_AUDIO_MODE_1, &CSlideShowSettingsPage::OnAudio)
  ON_BN_CLICKED(IDC_SLIDE_REPEAT, &CSlideShowSettingsPage::OnQualityOrRepeat)
  ON_BN_CLICKED(IDC_SLIDE_QUALITY_0, &CSlideShowSettingsPage::OnQualityOrRepeat)
  ON_BN_CLICKED(IDC_SLIDE_QUALITY_1, &CSlideShowSettingsPage::OnQualityOrRepeat)
  ON_BN_CLICKED(IDC_SLIDE_QUALITY_2, &CSlideShowSettingsPage::OnQuality2)
  ON_CBN_SELCHANGE(IDC_SLIDE_EFFECT_MODE, &CSlideShowSettingsPage::OnEffectMode)
  ON_EN_KILLFOCUS(IDC_SLIDE_INTERVAL, &CSlideShowSettingsPage::OnIntervalKillFocus)
  ON_NOTIFY(UDN_DELTAPOS, IDC_SLIDE_INTERVAL_SPIN, &CSlideShowSettingsPage::OnIntervalSpin)
  ON_BN_CLICKED(IDC_SLIDE_AUDIO_BROWSE, &CSlideShowSettingsPage::OnBrowse)
END_MESSAGE_MAP()

CSlideShowSettingsPage::CSlideShowSettingsPage(CWnd* pParent) : CSlideShowSettingsPage(IDD_OPTIONS_SLIDESHOW, pParent) {}

CSlideShowSettingsPage::CSlideShowSettingsPage(UINT nIDTemplate, CWnd* pParent)
    : CResourceDialog(nIDTemplate, pParent),
      m_nEffect(1),
      m_nEffectMode(0),
      m_nAuto(3),
      m_nAudio(1),
      m_nAudioMode(0),
      m_nRepeat(1),
      m_nSlideQuality(1),
      m_nAudioSetting(1) {}

BOOL CSlideShowSettingsPage::Create(CWnd* pParent) { return CDialog::Create(IDD_OPTIONS_SLIDESHOW, pParent); }

void CSlideShowSettingsPage::Load() {
  m_nEffect = CMGetProfileInt(kSlideSection, "Effect", 1);
  m_nEffectMode = CMGetProfileInt(kSlideSection, "EffectMode", 0);
  m_nAuto = options::ClampInterval(CMGetProfileInt(kSlideSection, "Auto", 3));
  m_nAudio = CMGetProfileInt(kSlideSection, "Audio", 1);
  m_nAudioMode = CMGetProfileInt(kSlideSection, "AudioMode", 0);
  m_strAudioPath = CMGetProfileString(kSlideSection, "AudioPath", "");
  if (m_strAudioPath.IsEmpty()) m_strAudioPath = CMGetProfileString(kSlideSection, "AudioPath", "", CMPROFILE_COMMON);
  m_nRepeat = CMGetProfileInt(kSlideSection, "Repeat", 1);
  m_nSlideQuality = CMGetProfileInt(kSlideSection, "SlideQuality", 1);
  m_nAudioSetting = CMGetProfileInt(kSlideSection, "AudioSetting", 1, CMPROFILE_COMMON);
}

void CSlideShowSettingsPage::Store() const {
  CMWriteProfileInt(kSlideSection, "Repeat", m_nRepeat);
  CMWriteProfileInt(kSlideSection, "Auto", m_nAuto);
  CMWriteProfileInt(kSlideSection, "Effect", m_nEffect);
  CMWriteProfileInt(kSlideSection, "EffectMode", m_nEffectMode);
  CMWriteProfileInt(kSlideSection, "Audio", m_nAudio);
  CMWriteProfileInt(kSlideSection, "AudioMode", m_nAudioMode);
  CMWriteProfileString(kSlideSection, "AudioPath", m_strAudioPath);
  CMWriteProfileInt(kSlideSection, "SlideQuality", m_nSlideQuality);
}

BOOL CSlideShowSettingsPage::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  VxApplyGuiFontRule(this);
  LoadValues();
  SendDlgItemMessage(IDC_SLIDE_INTERVAL, EM_LIMITTEXT, 2, 0);
  CWnd* pSpin = GetDlgItem(IDC_SLIDE_INTERVAL_SPIN);
  if (pSpin) {
    pSpin->SendMessage(UDM_SETBUDDY, (WPARAM)GetDlgItem(IDC_SLIDE_INTERVAL)->GetSafeHwnd(), 0);
    pSpin->SendMessage(UDM_SETRANGE32, 1, 99);
  }
  CComboBox* pModes = (CComboBox*)GetDlgItem(IDC_SLIDE_EFFECT_MODE);
  if (pModes) {
    for (UINT id = IDS_SLIDE_EFFECT_MODE_0; id <= IDS_SLIDE_EFFECT_MODE_3; ++id) {
      CString s;
      s.LoadString(id);
      pModes->AddString(s);
    }
  }
  if (!m_nAudioSetting) {
    for (int id : {IDC_SLIDE_AUDIO_GROUP, IDC_SLIDE_AUDIO, IDC_SLIDE_AUDIO_MODE_0, IDC_SLIDE_AUDIO_MODE_1,
                   IDC_SLIDE_AUDIO_PATH, IDC_SLIDE_AUDIO_BROWSE})
      if (CWnd* p = GetDlgItem(id)) p->ShowWindow(SW_HIDE);
  }
  ShowValues();
  ApplyEffectRule();
  if (m_nAudioSetting) ApplyAudioRule();
  return TRUE;
}

void CSlideShowSettingsPage::ShowValues() {
  CheckRadioButton(IDC_SLIDE_EFFECT_OFF, IDC_SLIDE_EFFECT_ON, m_nEffect ? IDC_SLIDE_EFFECT_ON : IDC_SLIDE_EFFECT_OFF);
  SendDlgItemMessage(IDC_SLIDE_EFFECT_MODE, CB_SETCURSEL, m_nEffectMode, 0);
  SetDlgItemInt(IDC_SLIDE_INTERVAL, m_nAuto, FALSE);
  CheckDlgButton(IDC_SLIDE_AUDIO, m_nAudio ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(IDC_SLIDE_AUDIO_MODE_0, IDC_SLIDE_AUDIO_MODE_1,
                   m_nAudioMode ? IDC_SLIDE_AUDIO_MODE_1 : IDC_SLIDE_AUDIO_MODE_0);
  SetDlgItemText(IDC_SLIDE_AUDIO_PATH, m_strAudioPath);
  CheckDlgButton(IDC_SLIDE_REPEAT, m_nRepeat ? BST_CHECKED : BST_UNCHECKED);
  static const int kQuality[] = {IDC_SLIDE_QUALITY_0, IDC_SLIDE_QUALITY_1, IDC_SLIDE_QUALITY_2};
  for (int i = 0; i < 3; ++i) CheckDlgButton(kQuality[i], i == m_nSlideQuality ? BST_CHECKED : BST_UNCHECKED);
}

void CSlideShowSettingsPage::ReadControls() {
  m_nEffect = IsDlgButtonChecked(IDC_SLIDE_EFFECT_ON) ? 1 : 0;
  m_nRepeat = IsDlgButtonChecked(IDC_SLIDE_REPEAT) ? 1 : 0;
  if (m_nAudioSetting) {
    m_nAudio = IsDlgButtonChecked(IDC_SLIDE_AUDIO) ? 1 : 0;
    m_nAudioMode = IsDlgButtonChecked(IDC_SLIDE_AUDIO_MODE_1) ? 1 : 0;
  }
  m_nSlideQuality = IsDlgButtonChecked(IDC_SLIDE_QUALITY_2) ? 2 : IsDlgButtonChecked(IDC_SLIDE_QUALITY_1) ? 1 : 0;
}

void CSlideShowSettingsPage::ApplyEffectRule() {
  BOOL bEffect = m_nEffect != 0;
  if (CWnd* p = GetDlgItem(IDC_SLIDE_EFFECT_MODE)) p->EnableWindow(bEffect);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_INTERVAL)) p->EnableWindow(!bEffect);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_INTERVAL_SPIN)) p->EnableWindow(!bEffect);
}

void CSlideShowSettingsPage::ApplyAudioRule() {
  if (!m_nAudioSetting) return;
  BOOL bAudio = m_nAudio != 0;
  for (int id : {IDC_SLIDE_AUDIO_MODE_0, IDC_SLIDE_AUDIO_MODE_1})
    if (CWnd* p = GetDlgItem(id)) p->EnableWindow(bAudio);
  for (int id : {IDC_SLIDE_AUDIO_PATH, IDC_SLIDE_AUDIO_BROWSE})
    if (CWnd* p = GetDlgItem(id)) p->EnableWindow(bAudio && m_nAudioMode != 0);
}

void CSlideShowSettingsPage::OnEffect() {
  ReadControls();
  ApplyEffectRule();
}

void CSlideShowSettingsPage::OnAudio() {
  ReadControls();
  ApplyAudioRule();
}

void CSlideShowSettingsPage::OnQualityOrRepeat() { ReadControls(); }

void CSlideShowSettingsPage::OnQuality2() {
  int nBefore = m_nSlideQuality;
  ReadControls();
  if (nBefore != 2) {
    // The fastest quality shows no effects: its interval runs alone.
    CheckRadioButton(IDC_SLIDE_EFFECT_OFF, IDC_SLIDE_EFFECT_ON, IDC_SLIDE_EFFECT_OFF);
    m_nEffect = 0;
    ApplyEffectRule();
  }
}

void CSlideShowSettingsPage::OnEffectMode() {
  int n = (int)SendDlgItemMessage(IDC_SLIDE_EFFECT_MODE, CB_GETCURSEL, 0, 0);
  if (n >= 0) m_nEffectMode = n;
}

void CSlideShowSettingsPage::OnIntervalKillFocus() {
  CString s;
  GetDlgItemText(IDC_SLIDE_INTERVAL, s);
  m_nAuto = options::IntervalFromText(s);
  SetDlgItemInt(IDC_SLIDE_INTERVAL, m_nAuto, FALSE);
}

void CSlideShowSettingsPage::OnIntervalSpin(NMHDR* pNMHDR, LRESULT* pResult) {
  NMUPDOWN* pUD = (NMUPDOWN*)pNMHDR;
  CString s;
  GetDlgItemText(IDC_SLIDE_INTERVAL, s);
  m_nAuto = options::StepInterval(options::IntervalFromText(s), pUD->iDelta);
  SetDlgItemInt(IDC_SLIDE_INTERVAL, m_nAuto, FALSE);
  *pResult = 0;
}

void CSlideShowSettingsPage::OnBrowse() {
  CString strOld;
  GetDlgItemText(IDC_SLIDE_AUDIO_PATH, strOld);
  std::string folder, name;
  options::SplitMusicPath((LPCSTR)strOld, &folder, &name);
  char szFile[MAX_PATH] = "";
  lstrcpynA(szFile, name.c_str(), MAX_PATH);
  const char kFilter[] = "MP3 file(*.mp3);WAV file(*.wav);M4A file(*.m4a);WMA file(*.wma)\0*.mp3;*.wav;*.m4a;*.wma\0\0";
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetSafeHwnd();
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = szFile;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder.empty() ? NULL : folder.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!::GetOpenFileNameA(&ofn)) return;
  CString strChosen = szFile;
  if (strChosen.IsEmpty() || strChosen == strOld) return;
  if (!options::IsMusicFile(strChosen)) {
    CString strText;
    strText.LoadString(IDS_SLIDE_WRONG_MUSIC);
    ::MessageBoxA(GetSafeHwnd(), strText, CMTLGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  SetDlgItemText(IDC_SLIDE_AUDIO_PATH, strChosen);
  m_strAudioPath = strChosen;
}
