// The options dialog with its pages and real option panels: tabs, what OK writes and
// when, a panel that refuses, Cancel, and the slide-show page's rules; the rules alone.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "OptionsDlg.h"
#include "OptionsRules.h"
#include "profileroot.h"
#include "tempfolder.h"
#include "uikit.h"

namespace {
using namespace testsupport;

struct PanelFolder {
  std::string path;
  explicit PanelFolder(std::initializer_list<const char*> names, int copies = 1) {
    path = NewTempFolder("panels");
    for (const char* n : names)
      for (int i = 0; i < copies; ++i) {
        std::string to = path + "\\" + (copies == 1 ? std::string(n) : std::to_string(100 + i) + n);
        EXPECT_TRUE(::CopyFileA((ProgramFolder() + "\\testplugins\\" + n).c_str(), to.c_str(), FALSE)) << n;
      }
  }
  ~PanelFolder() { RemoveTree(path); }
};

std::vector<std::string> TabTexts(HWND hDlg) {
  HWND hTabs = ::GetDlgItem(hDlg, IDC_OPTIONS_TABS);
  std::vector<std::string> texts;
  int n = (int)::SendMessageA(hTabs, TCM_GETITEMCOUNT, 0, 0);
  for (int i = 0; i < n; ++i) {
    char buf[512] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof(buf);
    ::SendMessageA(hTabs, TCM_GETITEMA, i, (LPARAM)&item);
    texts.push_back(buf);
  }
  return texts;
}

std::string Text(UINT id) {
  CString s;
  s.LoadString(id);
  return (LPCSTR)s;
}

// Runs the dialog with the panels of the folder; step sees it open.
INT_PTR RunOptions(COptionsDlg& dlg, const std::string& folder, std::function<void(HWND)> step) {
  dlg.SetPanelFolder(folder.c_str());
  uikit::DialogDriver driver(step);
  return dlg.DoModal();
}

void SelectTab(HWND hDlg, int tab) {
  HWND hTabs = ::GetDlgItem(hDlg, IDC_OPTIONS_TABS);
  ::SendMessageA(hTabs, TCM_SETCURSEL, tab, 0);
  NMHDR nm = {hTabs, IDC_OPTIONS_TABS, TCN_SELCHANGE};
  ::SendMessageA(hDlg, WM_NOTIFY, IDC_OPTIONS_TABS, (LPARAM)&nm);
}

TEST(OptionsDialog, TabsWithoutAndWithPanels) {
  ScopedProfileRoot profile("options");
  {
    PanelFolder none({"pse_null.pse", "pse_throw.pse"});
    COptionsDlg dlg;
    std::vector<std::string> tabs;
    bool musicShown = false;
    RunOptions(dlg, none.path, [&](HWND h) {
      tabs = TabTexts(h);
      SelectTab(h, 4);
      musicShown = dlg.m_musicPage.IsWindowVisible() && !dlg.m_autoRunPage.IsWindowVisible();
      uikit::Press(h, IDCANCEL);
    });
    EXPECT_EQ((std::vector<std::string>{Text(530), Text(531), Text(50004), Text(50011), Text(533)}), tabs);
    EXPECT_TRUE(musicShown);
  }
  {
    PanelFolder two({"pse_accept.pse", "pse_long.pse"});
    COptionsDlg dlg;
    std::vector<std::string> tabs;
    bool musicSeventh = false;
    RunOptions(dlg, two.path, [&](HWND h) {
      tabs = TabTexts(h);
      SelectTab(h, 6);
      musicSeventh = dlg.m_musicPage.IsWindowVisible() && dlg.GetPanelCount() == 2;
      uikit::Press(h, IDCANCEL);
    });
    ASSERT_EQ(7u, tabs.size());
    EXPECT_EQ(Text(533), tabs[6]);
    EXPECT_TRUE(musicSeventh);
    for (int i = 4; i < 6; ++i) EXPECT_TRUE(tabs[i] == "Accept" || tabs[i] == std::string(259, 'T')) << tabs[i];
    // Cancel reaches every panel.
    EXPECT_EQ(IDCANCEL, CMGetProfileInt("TestPanel\\Accept", "Command", 0));
    EXPECT_EQ(IDCANCEL, CMGetProfileInt("TestPanel\\Long", "Command", 0));
  }
}

TEST(OptionsDialog, OkWritesEveryPageAfterThePanelAgrees) {
  ScopedProfileRoot profile("options");
  CMWriteProfileInt("Tool1\\TurnPicture", "Rotation", 180);
  PanelFolder dir({"pse_accept.pse"});
  COptionsDlg dlg;
  bool shows270 = false;
  INT_PTR r = RunOptions(dlg, dir.path, [&](HWND h) {
    shows270 = dlg.m_rotationPage.IsDlgButtonChecked(IDC_ROTATION_270) == BST_CHECKED;
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(IDOK, r);
  EXPECT_TRUE(shows270);
  EXPECT_EQ(270, CMGetProfileInt("Tool1\\TurnPicture", "Rotation", 0));
  EXPECT_EQ(1, CMGetProfileInt("Tool1\\TurnPicture", "PanelON/OFF", -1));
  EXPECT_EQ(3, CMGetProfileInt("DepthViewer\\FullScreen", "Auto", -1));
  EXPECT_EQ(1, CMGetProfileInt("DepthViewer\\FullScreen", "SlideQuality", -1));
  EXPECT_NE(-1, CMGetProfileInt("Settings", "AutoRun", -1, CMPROFILE_COMMON));
  EXPECT_EQ(IDOK, CMGetProfileInt("TestPanel\\Accept", "Command", 0));
}

// The first panel refuses OK: the dialog stays on its tab and nothing is written.
TEST(OptionsDialog, RefusingPanelKeepsTheDialogAndWritesNothing) {
  ScopedProfileRoot profile("options");
  PanelFolder dir({"pse_refuse.pse"});
  COptionsDlg dlg;
  int tabAfter = -1;
  bool panelShown = false;
  INT_PTR r = RunOptions(dlg, dir.path, [&](HWND h) {
    uikit::Press(h, IDOK);
    tabAfter = (int)::SendDlgItemMessageA(h, IDC_OPTIONS_TABS, TCM_GETCURSEL, 0, 0);
    panelShown = dlg.GetPanel(0)->IsWindowVisible() != FALSE;
    uikit::Press(h, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, r);
  EXPECT_EQ(4, tabAfter);
  EXPECT_TRUE(panelShown);
  EXPECT_EQ(-1, CMGetProfileInt("Tool1\\TurnPicture", "Rotation", -1));
  EXPECT_EQ(-1, CMGetProfileInt("DepthViewer\\FullScreen", "Auto", -1));
  EXPECT_EQ(IDCANCEL, CMGetProfileInt("TestPanel\\Refuse", "Command", 0));
}

TEST(OptionsDialog, NinetyNinePanelsAtMost) {
  ScopedProfileRoot profile("options");
  PanelFolder many({"pse_accept.pse"}, 100);
  COptionsDlg dlg;
  int panels = 0;
  RunOptions(dlg, many.path, [&](HWND h) {
    panels = dlg.GetPanelCount();
    uikit::Press(h, IDCANCEL);
  });
  EXPECT_EQ(99, panels);
}

TEST(SlideShowPage, QualityIntervalAndHiddenAudio) {
  ScopedProfileRoot profile("options");
  CMWriteProfileInt("DepthViewer\\FullScreen", "Audio", 0);
  CMWriteProfileString("DepthViewer\\FullScreen", "AudioPath", "C:\\music\\a.mp3");
  CMWriteProfileInt("DepthViewer\\FullScreen", "AudioSetting", 0, 0, CMPROFILE_COMMON);
  PanelFolder none({});
  COptionsDlg dlg;
  bool effectOffAfterQuality2 = false, listDisabled = false, audioHidden = false;
  std::vector<std::string> intervals;
  RunOptions(dlg, none.path, [&](HWND h) {
    SelectTab(h, 1);
    CSlideShowSettingsPage& page = dlg.m_slideShowPage;
    audioHidden = !::IsWindowVisible(page.GetDlgItem(IDC_SLIDE_AUDIO)->m_hWnd) &&
                  !::IsWindowVisible(page.GetDlgItem(IDC_SLIDE_AUDIO_BROWSE)->m_hWnd);
    uikit::Press(page.m_hWnd, IDC_SLIDE_QUALITY_2);
    effectOffAfterQuality2 = page.IsDlgButtonChecked(IDC_SLIDE_EFFECT_OFF) == BST_CHECKED && page.m_nEffect == 0;
    listDisabled = !page.GetDlgItem(IDC_SLIDE_EFFECT_MODE)->IsWindowEnabled();
    for (const char* typed : {"0", "99", "", "ab", "7"}) {
      page.SetDlgItemText(IDC_SLIDE_INTERVAL, typed);
      page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SLIDE_INTERVAL, EN_KILLFOCUS),
                       (LPARAM)page.GetDlgItem(IDC_SLIDE_INTERVAL)->m_hWnd);
      CString s;
      page.GetDlgItemText(IDC_SLIDE_INTERVAL, s);
      intervals.push_back((LPCSTR)s);
    }
    uikit::Press(h, IDOK);
  });
  EXPECT_TRUE(audioHidden);
  EXPECT_TRUE(effectOffAfterQuality2);
  EXPECT_TRUE(listDisabled);
  EXPECT_EQ((std::vector<std::string>{"1", "99", "1", "1", "7"}), intervals);
  EXPECT_EQ(2, CMGetProfileInt("DepthViewer\\FullScreen", "SlideQuality", -1));
  EXPECT_EQ(0, CMGetProfileInt("DepthViewer\\FullScreen", "Effect", -1));
  EXPECT_EQ(7, CMGetProfileInt("DepthViewer\\FullScreen", "Auto", -1));
  // The hidden audio settings pass through as they were.
  EXPECT_EQ(0, CMGetProfileInt("DepthViewer\\FullScreen", "Audio", -1));
  EXPECT_EQ("C:\\music\\a.mp3", std::string(CMGetProfileString("DepthViewer\\FullScreen", "AudioPath", "")));
}

// The music browse button with the system's open dialog: a music file of a Japanese folder
// is taken whatever the case of its extension; another type shows 798 and keeps the path;
// Cancel keeps it too.
TEST(SlideShowPage, BrowseForMusic) {
  ScopedProfileRoot profile("options-browse");
  const std::string root = NewTempFolder("music");
  const std::string folder = root + "\\ソ曲";  // ソ's trail byte is 0x5C
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), NULL));
  for (const char* name : {"曲.MP3", "a.wav.txt", "noext"}) {
    HANDLE h = ::CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
    ::CloseHandle(h);
  }
  const std::string old = folder + "\\old.wav";
  CMWriteProfileInt("DepthViewer\\FullScreen", "Audio", 1);
  CMWriteProfileInt("DepthViewer\\FullScreen", "AudioMode", 1);
  struct Case {
    const char* typed;  // nullptr: Cancel
    bool refused;
    std::string expected;
  } cases[] = {
      {"曲.MP3", false, folder + "\\曲.MP3"},
      {"a.wav.txt", true, old},
      {"noext", true, old},
      {nullptr, false, old},
  };
  PanelFolder none({});
  for (const Case& c : cases) {
    CMWriteProfileString("DepthViewer\\FullScreen", "AudioPath", old.c_str());
    COptionsDlg dlg;
    dlg.SetPanelFolder(none.path.c_str());
    std::string shown, message, offered;
    std::vector<uikit::DialogDriver::Step> steps;
    steps.push_back([&](HWND h) {
      SelectTab(h, 1);
      CSlideShowSettingsPage& page = dlg.m_slideShowPage;
      HWND browse = page.GetDlgItem(IDC_SLIDE_AUDIO_BROWSE)->m_hWnd;
      ::SendMessageA(page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SLIDE_AUDIO_BROWSE, BN_CLICKED), (LPARAM)browse);
      CString s;
      page.GetDlgItemText(IDC_SLIDE_AUDIO_PATH, s);
      shown = (LPCSTR)s;
      uikit::Press(h, IDOK);
    });
    steps.push_back([&](HWND box) {
      // The file name box: edt1, or cmb13 of the explorer-style dialog.
      char name[MAX_PATH] = "";
      if (!::GetDlgItemTextA(box, 0x480, name, MAX_PATH)) ::GetDlgItemTextA(box, 0x47c, name, MAX_PATH);
      offered = name;
      if (!c.typed) {
        ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        return;
      }
      const std::string typed = folder + "\\" + c.typed;
      if (!::SetDlgItemTextA(box, 0x480, typed.c_str())) ::SetDlgItemTextA(box, 0x47c, typed.c_str());
      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    if (c.refused)
      steps.push_back([&](HWND box) {
        message = uikit::StaticTexts(box);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
    uikit::DialogDriver driver(steps, 15000);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(driver.Ran(), (int)steps.size()) << (c.typed ? c.typed : "cancel");
    EXPECT_EQ(offered, "old.wav") << "the dialog starts with the old file's name";
    EXPECT_EQ(shown, c.expected) << (c.typed ? c.typed : "cancel");
    if (c.refused) {
      EXPECT_NE(message.find(Text(IDS_SLIDE_WRONG_MUSIC)), std::string::npos) << message;
    }
    EXPECT_EQ(c.expected, std::string(CMGetProfileString("DepthViewer\\FullScreen", "AudioPath", "")));
  }
  RemoveTree(root);
}

TEST(OptionsRules, ValuesAndPages) {
  EXPECT_EQ(270, options::ReadRotation(180));
  EXPECT_EQ(90, options::ReadRotation(90));
  EXPECT_EQ(0, options::ReadPanel(7));
  EXPECT_EQ(1, options::ReadExif(-3));
  EXPECT_EQ(0, options::ReadSaveMode(3));
  EXPECT_EQ(2, options::ReadSaveMode(2));
  EXPECT_EQ(99, options::StepInterval(99, 1));
  EXPECT_EQ(1, options::StepInterval(1, -1));
  EXPECT_EQ(5, options::StepInterval(4, 1));
  EXPECT_EQ(99, options::IntervalFromText("150"));
  struct {
    const char* path;
    bool music;
  } files[] = {{"C:\\a\\b.MP3", true},  {"C:\\a\\b.wav.txt", false}, {"C:\\a\\b", false},
               {"C:\\a.mp3\\b", false}, {"C:\\音楽\\ソ.wma", true},  {"C:\\a\\b.M4a", true}};
  for (auto& f : files) EXPECT_EQ(f.music, options::IsMusicFile(f.path)) << f.path;
  std::string folder, name;
  // "ソ" ends in the byte of "\": the split still finds the real separator.
  options::SplitMusicPath("C:\\ソ\\曲.mp3", &folder, &name);
  EXPECT_EQ("C:\\ソ", folder);
  EXPECT_EQ("曲.mp3", name);
  options::SplitMusicPath("C:\\a.mp3", &folder, &name);
  EXPECT_EQ("C:\\", folder);
  EXPECT_EQ(options::PAGE_PANEL, options::PageOfTab(5, 2).kind);
  EXPECT_EQ(1, options::PageOfTab(5, 2).panel);
  EXPECT_EQ(options::PAGE_MUSIC, options::PageOfTab(6, 2).kind);
  EXPECT_EQ(options::PAGE_MUSIC, options::PageOfTab(4, 0).kind);
  EXPECT_EQ(options::PAGE_LAUNCHER, options::PageOfTab(3, 2).kind);
}

}  // namespace

namespace {
// A picture of every page, for a look by eye: the shown page fills the tab's area and
// the others stay hidden.
TEST(OptionsDialog, PagesPictured) {
  testsupport::ScopedProfileRoot profile("options");
  PanelFolder dir({"pse_accept.pse"});
  COptionsDlg dlg;
  std::vector<bool> onlyOne;
  RunOptions(dlg, dir.path, [&](HWND h) {
    for (int tab = 0; tab < 6; ++tab) {
      SelectTab(h, tab);
      uikit::PumpPending();
      int visible = 0;
      for (CWnd* p : {(CWnd*)&dlg.m_autoRunPage, (CWnd*)&dlg.m_slideShowPage, (CWnd*)&dlg.m_rotationPage,
                      (CWnd*)&dlg.m_launcherPage, (CWnd*)&dlg.m_musicPage, dlg.GetPanel(0)})
        visible += p->IsWindowVisible() ? 1 : 0;
      onlyOne.push_back(visible == 1 && dlg.GetTabPage(tab)->IsWindowVisible());
      uikit::Picture shot(h);
      shot.Save("options_tab_" + std::to_string(tab));
    }
    uikit::Press(h, IDCANCEL);
  });
  EXPECT_EQ(std::vector<bool>(6, true), onlyOne);
}
}  // namespace
