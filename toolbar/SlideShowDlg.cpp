#include "SlideShowDlg.h"

#include <OptionsRules.h>
#include <VxResourceIds.h>

#include "SlideShowScenario.h"

namespace slideshow {

Settings SettingsFromShow(const Settings& profile, int kind, int intervalMs, int repeat, int audioKind,
                          const std::vector<std::string>& audio) {
  Settings s = profile;
  if (kind == 0) {
    s.effect = 0;
  } else if (kind >= 1 && kind <= 4) {
    s.effect = 1;
    s.effectMode = kind - 1;
  }
  s.seconds = intervalMs / 1000;
  if (audioKind == 0) {
    s.audio = 0;
  } else if (audioKind == 1 || audioKind == 2) {
    s.audio = 1;
    s.audioMode = audioKind - 1;
  }
  s.repeat = repeat;
  if (!audio.empty() && audioKind == 2) s.audioPath = audio.front();
  return s;
}

Show ShowFromSettings(const Settings& s, const std::string& musicFolder) {
  Show show;
  if (s.audio == 1)
    show.audio.push_back(s.audioMode == 1 ? s.audioPath : musicFolder + EffectMusicFile(s.effect, s.effectMode));
  show.kind = s.effect == 1 ? s.effectMode + 1 : 0;
  show.intervalMs = s.seconds * 1000;
  show.repeat = s.repeat;
  show.audioKind = s.audio == 1 ? s.audioMode + 1 : 0;
  return show;
}

}  // namespace slideshow

BEGIN_MESSAGE_MAP(CSlideShowDlg, CSlideShowSettingsPage)
  ON_BN_CLICKED(IDC_SLIDE_SETTINGS_OK, &CSlideShowDlg::OnSettingsOk)
  ON_BN_CLICKED(IDC_SLIDE_SETTINGS_CANCEL, &CSlideShowDlg::OnSettingsCancel)
END_MESSAGE_MAP()

CSlideShowDlg::CSlideShowDlg() : CSlideShowSettingsPage(IDD_SLIDESHOW_SETTINGS, NULL), m_pScenario(NULL), m_bToProfile(1) {}

slideshow::Settings CSlideShowDlg::Values() const {
  return slideshow::Settings{m_nEffect, m_nEffectMode, m_nAuto, m_nAudio, m_nAudioMode, m_nRepeat, m_nSlideQuality,
                             (LPCSTR)m_strAudioPath};
}

void CSlideShowDlg::SetValues(const slideshow::Settings& s) {
  m_nEffect = s.effect;
  m_nEffectMode = s.effectMode;
  m_nAuto = s.seconds;
  m_nAudio = s.audio;
  m_nAudioMode = s.audioMode;
  m_nRepeat = s.repeat;
  m_nSlideQuality = s.quality;
  m_strAudioPath = s.audioPath.c_str();
}

void CSlideShowDlg::LoadValues() {
  LoadFromProfile();
  if (m_bToProfile || !m_pScenario || m_pScenario->IsPristine()) return;
  // The model's show over the profile's values; the audio controls always show here.
  m_nAudioSetting = 1;
  int kind = 0, interval = 0, repeat = 1, audioKind = -1;
  m_pScenario->GetShowInfo(&kind, &interval, &repeat, &audioKind);
  std::vector<std::string> audio;
  m_pScenario->GetAudio(&audio);
  slideshow::Settings s = slideshow::SettingsFromShow(Values(), kind, interval, repeat, audioKind, audio);
  m_pScenario->GetQuality(&s.quality);
  SetValues(s);
}

BOOL CSlideShowDlg::OnInitDialog() {
  CSlideShowSettingsPage::OnInitDialog();
  SetWindowPos(NULL, 0, 0, 432, 520, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_SETTINGS_OK)) p->SetWindowPos(NULL, 200, 460, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_SETTINGS_CANCEL)) p->SetWindowPos(NULL, 324, 460, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  for (int id : {IDC_SLIDE_DETAIL_GROUP, IDC_SLIDE_DETAIL_1, IDC_SLIDE_DETAIL_2})
    if (CWnd* p = GetDlgItem(id)) p->EnableWindow(FALSE);
  return TRUE;
}

void CSlideShowDlg::OnOK() {
  ReadControls();
  int nSel = (int)SendDlgItemMessage(IDC_SLIDE_EFFECT_MODE, CB_GETCURSEL, 0, 0);
  if (nSel >= 0) m_nEffectMode = nSel;
  CString strInterval;
  GetDlgItemText(IDC_SLIDE_INTERVAL, strInterval);
  m_nAuto = options::IntervalFromText(strInterval);
  if (m_nAudioSetting) GetDlgItemText(IDC_SLIDE_AUDIO_PATH, m_strAudioPath);
  if (m_bToProfile)
    SaveToProfile();
  else
    ApplyToScenario();
  EndDialog(IDOK);
}

void CSlideShowDlg::OnCancel() { EndDialog(IDCANCEL); }

void CSlideShowDlg::ApplyToScenario() {
  if (!m_pScenario) return;
  slideshow::Show show = slideshow::ShowFromSettings(Values(), m_pScenario->GetMusicFolder());
  m_pScenario->SetAudio(&show.audio);
  m_pScenario->SetShowInfo(show.kind, show.intervalMs, show.repeat, show.audioKind);
  m_pScenario->SetQuality(m_nSlideQuality);
}
