// The slide-show settings dialog over the profile and over a scenario: what it shows,
// what OK writes where, and that Cancel writes nothing.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>

#include <string>
#include <vector>

#include "SlideShowDlg.h"
#include "SlideShowScenario.h"
#include "picture.h"
#include "profileroot.h"
#include "uikit.h"

namespace {

const char kSection[] = "DepthViewer\\FullScreen";

struct Shown {
  bool effectOn = false, comboEnabled = false, intervalEnabled = false, repeat = false, ownMusic = false;
  int effectMode = -1;
  std::string interval, path;
};

Shown Read(HWND h) {
  Shown s;
  s.effectOn = ::IsDlgButtonChecked(h, IDC_SLIDE_EFFECT_ON) == BST_CHECKED;
  s.comboEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_SLIDE_EFFECT_MODE)) != FALSE;
  s.intervalEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDC_SLIDE_INTERVAL)) != FALSE;
  s.repeat = ::IsDlgButtonChecked(h, IDC_SLIDE_REPEAT) == BST_CHECKED;
  s.ownMusic = ::IsDlgButtonChecked(h, IDC_SLIDE_AUDIO_MODE_1) == BST_CHECKED;
  s.effectMode = (int)::SendDlgItemMessageA(h, IDC_SLIDE_EFFECT_MODE, CB_GETCURSEL, 0, 0);
  char buf[MAX_PATH] = "";
  ::GetDlgItemTextA(h, IDC_SLIDE_INTERVAL, buf, MAX_PATH);
  s.interval = buf;
  ::GetDlgItemTextA(h, IDC_SLIDE_AUDIO_PATH, buf, MAX_PATH);
  s.path = buf;
  return s;
}

}  // namespace

TEST(SlideShowSettings, ShowAndSettingsMapBothWays) {
  slideshow::Settings profile = {1, 0, 3, 1, 0, 1, 1, "C:\\p.mp3"};
  struct Case {
    int kind, interval, repeat, audioKind;
    std::vector<std::string> audio;
    int effect, effectMode, seconds, audioOn, audioMode;
    std::string path;
  } cases[] = {
      {0, 4000, 1, 0, {}, 0, 0, 4, 0, 0, "C:\\p.mp3"},              // plain slides, no music
      {3, 2000, 0, 2, {"D:\\own.wav"}, 1, 2, 2, 1, 1, "D:\\own.wav"},
      {2, 3000, 1, 1, {"C:\\Music\\SLOW.mp3"}, 1, 1, 3, 1, 0, "C:\\p.mp3"},  // the effect's music: the path stays the profile's
      {9, 3000, 1, 7, {}, 1, 0, 3, 1, 0, "C:\\p.mp3"},              // kinds it doesn't know: the profile's
  };
  for (const Case& c : cases) {
    slideshow::Settings s = slideshow::SettingsFromShow(profile, c.kind, c.interval, c.repeat, c.audioKind, c.audio);
    EXPECT_EQ(s.effect, c.effect) << c.kind;
    EXPECT_EQ(s.effectMode, c.effectMode) << c.kind;
    EXPECT_EQ(s.seconds, c.seconds) << c.kind;
    EXPECT_EQ(s.audio, c.audioOn) << c.kind;
    EXPECT_EQ(s.audioMode, c.audioMode) << c.kind;
    EXPECT_EQ(s.audioPath, c.path) << c.kind;
    EXPECT_EQ(s.repeat, c.repeat) << c.kind;
  }
  slideshow::Show show = slideshow::ShowFromSettings({1, 3, 5, 1, 0, 0, 2, "D:\\x.mp3"}, "C:\\Music\\");
  EXPECT_EQ(show.kind, 4);
  EXPECT_EQ(show.intervalMs, 5000);
  EXPECT_EQ(show.audioKind, 1);
  EXPECT_EQ(show.audio, std::vector<std::string>{"C:\\Music\\URBAN.mp3"});
  show = slideshow::ShowFromSettings({0, 3, 5, 1, 1, 1, 0, "D:\\x.mp3"}, "C:\\Music\\");
  EXPECT_EQ(show.kind, 0);
  EXPECT_EQ(show.audioKind, 2);
  EXPECT_EQ(show.audio, std::vector<std::string>{"D:\\x.mp3"});
  show = slideshow::ShowFromSettings({1, 1, 5, 0, 1, 1, 0, "D:\\x.mp3"}, "C:\\Music\\");
  EXPECT_EQ(show.audioKind, 0);
  EXPECT_TRUE(show.audio.empty());
}

TEST(SlideShowSettings, ProfileTargetAndQualityTwo) {
  testsupport::ScopedProfileRoot root("slidedlg");
  CMWriteProfileInt(kSection, "Auto", 8);
  CSlideShowScenario pristine;
  CSlideShowDlg dlg;
  dlg.m_pScenario = &pristine;
  dlg.m_bToProfile = 1;
  Shown before, afterQuality, again;
  CRect rc;
  uikit::DialogDriver driver([&](HWND h) {
    ::GetWindowRect(h, &rc);
    before = Read(h);
    EXPECT_FALSE(testsupport::Picture(h).Save("slideshow-settings").empty());
    uikit::Press(h, IDC_SLIDE_QUALITY_2);
    afterQuality = Read(h);
    uikit::Press(h, IDC_SLIDE_QUALITY_2);
    again = Read(h);
    uikit::Press(h, IDC_SLIDE_SETTINGS_OK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(rc.Width(), 432);
  EXPECT_EQ(rc.Height(), 520);
  EXPECT_TRUE(before.effectOn);
  EXPECT_TRUE(before.comboEnabled);
  EXPECT_FALSE(before.intervalEnabled);
  EXPECT_EQ(before.interval, "8");
  EXPECT_FALSE(afterQuality.effectOn);
  EXPECT_FALSE(afterQuality.comboEnabled);
  EXPECT_TRUE(afterQuality.intervalEnabled);
  EXPECT_FALSE(again.effectOn);
  EXPECT_EQ(CMGetProfileInt(kSection, "SlideQuality", -1), 2);
  EXPECT_EQ(CMGetProfileInt(kSection, "Effect", -1), 0);
  EXPECT_EQ(CMGetProfileInt(kSection, "Auto", -1), 8);
  EXPECT_EQ(pristine.IsPristine(), 1);
}

TEST(SlideShowSettings, ScenarioTargetShowsTheShowAndOkChangesOnlyIt) {
  testsupport::ScopedProfileRoot root("slidedlg");
  CMWriteProfileString(kSection, "AudioPath", "C:\\Music\\NATURAL.mp3", CMPROFILE_COMMON);
  CSlideShowScenario model;
  std::vector<std::string> audio = {"D:\\own.wav"};
  model.SetAudio(&audio);
  model.SetShowInfo(3, 5000, 0, 2);
  model.SetQuality(0);

  for (bool ok : {false, true}) {
    CSlideShowDlg dlg;
    dlg.m_pScenario = &model;
    dlg.m_bToProfile = 0;
    Shown shown;
    uikit::DialogDriver driver([&](HWND h) {
      shown = Read(h);
      ::SendDlgItemMessageA(h, IDC_SLIDE_EFFECT_MODE, CB_SETCURSEL, 3, 0);
      ::CheckRadioButton(h, IDC_SLIDE_AUDIO_MODE_0, IDC_SLIDE_AUDIO_MODE_1, IDC_SLIDE_AUDIO_MODE_0);
      uikit::Press(h, IDC_SLIDE_AUDIO_MODE_0);
      uikit::Press(h, ok ? IDC_SLIDE_SETTINGS_OK : IDC_SLIDE_SETTINGS_CANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), ok ? IDOK : IDCANCEL);
    EXPECT_TRUE(shown.effectOn);
    EXPECT_EQ(shown.effectMode, 2);
    EXPECT_FALSE(shown.repeat);
    EXPECT_TRUE(shown.ownMusic);
    EXPECT_EQ(shown.path, "D:\\own.wav");
    if (!ok) {
      // Cancel: the show and the profile as they were.
      int kind = -1, interval = -1, repeat = -1, audioKind = -1;
      model.GetShowInfo(&kind, &interval, &repeat, &audioKind);
      EXPECT_EQ(kind, 3);
      EXPECT_EQ(audioKind, 2);
    }
  }
  int kind = -1, interval = -1, repeat = -1, audioKind = -1;
  model.GetShowInfo(&kind, &interval, &repeat, &audioKind);
  EXPECT_EQ(kind, 4);
  EXPECT_EQ(interval, 5000);
  EXPECT_EQ(repeat, 0);
  EXPECT_EQ(audioKind, 1);
  std::vector<std::string> back;
  model.GetAudio(&back);
  EXPECT_EQ(back, std::vector<std::string>{"C:\\Music\\URBAN.mp3"});
  int quality = -1;
  model.GetQuality(&quality);
  EXPECT_EQ(quality, 0);
  // The profile was not written.
  EXPECT_EQ(CMGetProfileInt(kSection, "EffectMode", -1), -1);
}

// With the installation's "AudioSetting" 0 the audio controls are hidden, and OK keeps the
// audio values as they were.
TEST(SlideShowSettings, HiddenAudioLayout) {
  testsupport::ScopedProfileRoot root("slidedlg");
  CMWriteProfileInt(kSection, "AudioSetting", 0, 0, CMPROFILE_COMMON);
  CMWriteProfileInt(kSection, "AudioMode", 1);
  CMWriteProfileString(kSection, "AudioPath", "D:\\kept.mp3");
  CSlideShowDlg dlg;
  bool hidden = false;
  uikit::DialogDriver driver([&](HWND h) {
    hidden = true;
    for (int id : {IDC_SLIDE_AUDIO_GROUP, IDC_SLIDE_AUDIO, IDC_SLIDE_AUDIO_MODE_0, IDC_SLIDE_AUDIO_MODE_1,
                   IDC_SLIDE_AUDIO_PATH, IDC_SLIDE_AUDIO_BROWSE})
      hidden = hidden && !::IsWindowVisible(::GetDlgItem(h, id));
    EXPECT_FALSE(testsupport::Picture(h).Save("slideshow-settings-no-audio").empty());
    uikit::Press(h, IDC_SLIDE_SETTINGS_OK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(hidden);
  EXPECT_EQ(CMGetProfileInt(kSection, "AudioMode", -1), 1);
  EXPECT_EQ(std::string(CMGetProfileString(kSection, "AudioPath", "")), "D:\\kept.mp3");
}
