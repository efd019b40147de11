// The slide-show settings dialog: the options page's controls with OK and Cancel, editing
// either the profile's defaults or the toolbar's scenario model.
#pragma once
#include <string>
#include <vector>

#include "SettingsPages.h"

class CSlideShowScenario;

namespace slideshow {

// The dialog's values (the options page's members).
struct Settings {
  int effect, effectMode, seconds, audio, audioMode, repeat, quality;
  std::string audioPath;
};

// The values shown for a show's kind, interval, repeat and audio kind; what the show does
// not say comes from the profile's values.
Settings SettingsFromShow(const Settings& profile, int kind, int intervalMs, int repeat, int audioKind,
                          const std::vector<std::string>& audio);
// What OK gives the model: kind, interval, repeat, audio kind and the audio list.
struct Show {
  int kind, intervalMs, repeat, audioKind;
  std::vector<std::string> audio;
};
Show ShowFromSettings(const Settings& s, const std::string& musicFolder);

}  // namespace slideshow

class CSlideShowDlg : public CSlideShowSettingsPage {
 public:
  CSlideShowDlg();
  CSlideShowScenario* m_pScenario;  // set by the opener
  int m_bToProfile;                  // 1: the profile's defaults; 0: the scenario model

  void LoadFromProfile() { Load(); }
  void SaveToProfile() const { Store(); }
  void ApplyToScenario();

 protected:
  void LoadValues() override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnSettingsOk() { OnOK(); }
  afx_msg void OnSettingsCancel() { OnCancel(); }
  DECLARE_MESSAGE_MAP()

 private:
  slideshow::Settings Values() const;
  void SetValues(const slideshow::Settings& s);
};
