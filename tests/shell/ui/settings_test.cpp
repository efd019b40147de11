// The settings dialogs: radio and profile values, the classify folder's checks (made
// before anything is written), the re-registration that keeps a file's entry, the music
// folder's choice, and the dialogs as they show.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <RecordGate.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <cardwatch/AutoRunRule.h>
#include <ui/SettingsDialogs.h>
#include <ui/SettingsRules.h>
#include <tempfolder.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shelltest.h"
#include "uikit.h"

namespace {

TEST(SettingsRules, AutoRunAndFirstClassifyRadios) {
  struct {
    int value;
    UINT radio;
    int back;
  } cases[] = {{0, IDC_AUTORUN_START, 0}, {1, IDC_AUTORUN_VIEWER, 1}, {2, IDC_AUTORUN_NONE, 2},
               {5, IDC_AUTORUN_NONE, 2},  {-1, IDC_AUTORUN_NONE, 2}};
  for (auto& c : cases) {
    EXPECT_EQ(settings::AutoRunRadioOf(c.value), c.radio) << c.value;
    EXPECT_EQ(settings::AutoRunValueOf(c.radio), c.back) << c.value;
  }
  EXPECT_EQ(settings::FirstClassifyRadioOf(1), (UINT)IDC_FIRST_CLASSIFY_ON);
  EXPECT_EQ(settings::FirstClassifyRadioOf(0), (UINT)IDC_FIRST_CLASSIFY_OFF);
  EXPECT_EQ(settings::FirstClassifyRadioOf(7), (UINT)IDC_FIRST_CLASSIFY_OFF);
}

TEST(SettingsRules, ClassifyFolderChecks) {
  const CString windows = "C:\\windows", programs = "C:\\Program Files";
  struct {
    const char* folder;
    UINT drive;
    bool exists;
    UINT refusal;
  } cases[] = {
      {"C:\\Photos", DRIVE_FIXED, true, 0},
      {"E:\\DCIM", DRIVE_REMOVABLE, true, IDS_CLASSIFY_NOT_FIXED_DISK},
      {"\\\\server\\share", DRIVE_REMOTE, true, IDS_CLASSIFY_NOT_FIXED_DISK},
      {"C:\\Missing", DRIVE_FIXED, false, IDS_FOLDER_NOT_FOUND},
      {"C:\\WINDOWS\\system32", DRIVE_FIXED, true, IDS_CLASSIFY_SYSTEM_FOLDER},
      {"c:\\windows", DRIVE_FIXED, true, IDS_CLASSIFY_SYSTEM_FOLDER},
      {"C:\\Program Files\\Glimora", DRIVE_FIXED, true, IDS_CLASSIFY_SYSTEM_FOLDER},
      {"C:\\WindowsPhotos", DRIVE_FIXED, true, 0},  // only shares the name's beginning
      {"C:\\Program Files (x86)", DRIVE_FIXED, true, 0},
  };
  for (auto& c : cases) {
    settings::FolderFacts facts = {c.drive, c.exists};
    EXPECT_EQ(settings::CheckClassifyFolder(c.folder, facts, windows, programs), c.refusal) << c.folder;
  }
  EXPECT_EQ(settings::TrimFolder("C:\\Photos  \t "), CString("C:\\Photos"));
  settings::FolderFacts facts = settings::FolderFactsOf("C:\\windows");
  EXPECT_EQ(facts.driveType, (UINT)DRIVE_FIXED);
  EXPECT_TRUE(facts.exists);
  EXPECT_FALSE(settings::FolderFactsOf("C:\\no such folder here").exists);
}

TEST(SettingsRules, MusicFolderAndDriveRoots) {
  auto exists = [](const CString& p) { return p == "C:\\Music" || p == "C:\\Stored"; };
  EXPECT_EQ(settings::ChooseMusicFolder("C:\\Stored", "C:\\Music", "C:\\Prog", exists), CString("C:\\Stored"));
  EXPECT_EQ(settings::ChooseMusicFolder("C:\\Gone", "C:\\Music", "C:\\Prog", exists), CString("C:\\Music"));
  EXPECT_EQ(settings::ChooseMusicFolder("", "C:\\Nope", "C:\\Prog", exists), CString("C:\\Prog"));
  for (const char* root : {"E:\\", "E:", "c:\\"}) EXPECT_TRUE(settings::IsDriveRoot(root)) << root;
  for (const char* folder : {"E:\\Music", "", "Music"}) EXPECT_FALSE(settings::IsDriveRoot(folder)) << folder;
}

// A photo database of the test's own: entries by path, and an enrolment that can fail.
// As the real one, a registration replaces a record in one step or leaves it alone.
struct FakeDatabase {
  static std::map<std::string, std::vector<std::string>> s_entries;  // path -> record names
  static int s_enrollFailures;                                       // enrolments still to fail
  static METADATA* Record(const char* name) {
    METADATA* m = (METADATA*)calloc(1, sizeof(METADATA));
    lstrcpynA(m->szName, name, sizeof(m->szName));
    return m;
  }
  static HRESULT WINAPI Register(LPCSTR path, const METADATA* list) {
    if (s_enrollFailures > 0) {
      s_enrollFailures--;
      return E_FAIL;
    }
    s_entries[path].clear();
    if (list) s_entries[path].push_back(list->szName);
    return S_OK;
  }
  static HRESULT WINAPI Update(LPCSTR path, const METADATA* list) {
    auto it = s_entries.find(path);
    if (it == s_entries.end()) return VXDB_E_NOTFOUND;
    it->second.push_back(list->szName);
    return S_OK;
  }
  static void Free(METADATA* list) { free(list); }
  static settings::DatabaseCalls Calls() { return settings::DatabaseCalls{Register, Update}; }
};
std::map<std::string, std::vector<std::string>> FakeDatabase::s_entries;
int FakeDatabase::s_enrollFailures = 0;

TEST(SettingsRules, ReregistrationKeepsTheEntryWhenEnrolmentFails) {
  METADATA* dates = FakeDatabase::Record("DateTimeInfo");
  METADATA* folder = FakeDatabase::Record("FolderInfo");
  const METADATA* lists[] = {nullptr, dates, nullptr, folder};
  struct {
    bool enrolled;
    int failures;
    HRESULT result;
    bool entryAfter;
    std::vector<std::string> records;
  } cases[] = {
      {true, 0, S_OK, true, {"DateTimeInfo", "FolderInfo"}},   // a fresh entry with the new lists
      {false, 0, S_OK, true, {"DateTimeInfo", "FolderInfo"}},  // first registration
      {true, 1, E_FAIL, true, {"KeywordsInfo"}},               // enrolment failed: the old entry stays
      {true, 5, E_FAIL, true, {"KeywordsInfo"}},               // and stays while it keeps failing
      {false, 1, E_FAIL, false, {}},
  };
  for (auto& c : cases) {
    FakeDatabase::s_entries.clear();
    if (c.enrolled) FakeDatabase::s_entries["C:\\p.jpg"] = {"KeywordsInfo"};
    FakeDatabase::s_enrollFailures = c.failures;
    EXPECT_EQ(settings::ReregisterFile("C:\\p.jpg", lists, 4, FakeDatabase::Calls()), c.result);
    auto it = FakeDatabase::s_entries.find("C:\\p.jpg");
    EXPECT_EQ(it != FakeDatabase::s_entries.end(), c.entryAfter) << c.failures;
    if (it != FakeDatabase::s_entries.end()) {
      EXPECT_EQ(it->second, c.records) << c.failures;
    }
  }
  FakeDatabase::Free(dates);
  FakeDatabase::Free(folder);
}

// The auto-run page, as the options dialog hosts it.
TEST(SettingsDialogs, AutoRunPageShowsAndTakesTheChoice) {
  shelltest::ProfileRoot root;
  // The launcher's setting, with the launcher's default; a value of the program's own
  // root is not it.
  EXPECT_EQ(cardwatch::ReadAutoRunMode(), cardwatch::AUTORUN_WATCH_ONLY);
  CMWriteProfileInt("Settings", "AutoRun", 0);
  CMWriteProfileInt("Settings", "AutoRun", 5, 0, CMPROFILE_COMMON);
  CMWriteProfileInt("VxClassify", "FirstClassify", 1);
  CWnd host;
  host.CreateEx(0, AfxRegisterWndClass(0, 0, (HBRUSH)(COLOR_BTNFACE + 1)), "options", WS_POPUP | WS_VISIBLE, 60, 60,
                420, 260, nullptr, nullptr);
  CAutoRunSettingDlg page(&host);
  ASSERT_TRUE(page.Create(IDD_AUTORUN_SETTING, &host));
  page.ShowWindow(SW_SHOW);
  EXPECT_EQ(page.GetCheckedRadioButton(IDC_AUTORUN_START, IDC_AUTORUN_NONE), IDC_AUTORUN_NONE);  // AutoRun 5
  EXPECT_EQ(page.GetCheckedRadioButton(IDC_FIRST_CLASSIFY_OFF, IDC_FIRST_CLASSIFY_ON), IDC_FIRST_CLASSIFY_ON);
  EXPECT_EQ(page.m_nAutoRun, 2);
  uikit::Press(page.m_hWnd, IDC_AUTORUN_VIEWER);
  uikit::Press(page.m_hWnd, IDC_FIRST_CLASSIFY_OFF);
  EXPECT_EQ(page.m_nAutoRun, 1);
  EXPECT_EQ(page.m_nFirstClassify, 0);
  EXPECT_EQ(page.GetCheckedRadioButton(IDC_AUTORUN_START, IDC_AUTORUN_NONE), IDC_AUTORUN_VIEWER);
  EXPECT_EQ(cardwatch::ReadAutoRunMode(), 5);  // the page writes nothing
  uikit::Picture pic(host.m_hWnd);
  EXPECT_FALSE(pic.Save("settings_autorun").empty());
  EXPECT_GT(pic.Count(CRect(0, 0, pic.Width(), pic.Height()), ::GetSysColor(COLOR_BTNFACE)), 1000);
  host.DestroyWindow();
}

// Runs the classify dialog: enters a folder and presses OK; the message box that follows
// is answered and the dialog then cancelled. Answers the box's text; *pResult gets the
// dialog's end (IDCANCEL when it stayed open after the box).
std::string ClassifyWithMessage(CClassifyFolderDlg& dlg, const std::string& folder, INT_PTR* pResult,
                                const std::function<void(HWND)>& before = nullptr) {
  std::string boxText;
  HWND hDialog = nullptr;
  uikit::DialogDriver driver({
      [&](HWND h) {
        hDialog = h;
        ::SetDlgItemTextA(h, IDC_CLASSIFY_FOLDER, folder.c_str());
        if (before) before(h);
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
      },
      [&](HWND box) {
        boxText = uikit::StaticTexts(box);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        // Had the dialog closed after the box, it would have ended with IDOK.
        ::PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
      },
  });
  *pResult = dlg.DoModal();
  EXPECT_EQ(driver.Ran(), 2) << folder;
  return boxText;
}

// OK with a folder that is refused: the message names the reason, the dialog stays, and
// the profile keeps the destination it had.
TEST(SettingsDialogs, ClassifyFolderIsCheckedBeforeTheProfileIsWritten) {
  shelltest::ProfileRoot root;
  CMWriteProfileString("VxClassify", "DefaultFolder", "C:\\Previous");
  char windows[MAX_PATH];
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  struct {
    std::string folder;
    UINT message;
  } cases[] = {
      {"C:\\no such folder", IDS_FOLDER_NOT_FOUND},
      {std::string(windows) + "\\system32", IDS_CLASSIFY_SYSTEM_FOLDER},
  };
  for (auto& c : cases) {
    CClassifyFolderDlg dlg;
    INT_PTR result = 0;
    std::string boxText = ClassifyWithMessage(dlg, c.folder, &result);
    EXPECT_EQ(result, IDCANCEL) << c.folder;
    EXPECT_EQ(boxText, std::string(CResourceLoader().LoadStringA(c.message))) << c.folder;
    EXPECT_EQ(CMGetProfileString("VxClassify", "DefaultFolder", ""), CString("C:\\Previous")) << c.folder;
  }
}

// A folder without pictures: the scan finds none, says so, and the dialog stays open;
// the accepted folder is now the profile's destination.
TEST(SettingsDialogs, ClassifyFolderWithoutPicturesSaysSo) {
  shelltest::ProfileRoot root;
  std::string folder = testsupport::NewTempFolder("glimora-empty");
  CClassifyFolderDlg dlg;
  INT_PTR result = 0;
  std::string boxText = ClassifyWithMessage(dlg, folder + "   ", &result, [](HWND h) {
    uikit::Press(h, IDC_CLASSIFY_NO_DESKTOP);
    uikit::Picture(h).Save("settings_classify");
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(boxText, std::string(CResourceLoader().LoadStringA(IDS_CLASSIFY_NO_PICTURES)));
  EXPECT_EQ(dlg.m_nFound, 0);
  EXPECT_EQ(CMGetProfileString("VxClassify", "DefaultFolder", ""), CString(folder.c_str()));
  EXPECT_EQ(CMGetProfileInt("VxClassify", "DesktopFolder", -1), 1);
  testsupport::RemoveTree(folder);
}

}  // namespace
