// SplitClip.dll as the toolbar loads it: the chosen key frame splits the movie into two
// files beside it that open, decode and add up to the whole; the first is "FirstPath".
// Cancel and movies it cannot split leave no file.
#include <gtest/gtest.h>

#include <Kitlib2/Profile.h>
#include <moviekit/moviekit.h>

#include <dialogwatch.h>
#include <files.h>
#include <otherwindows.h>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>

#include <string>
#include <vector>

using testsupport::Fixture;

namespace {

typedef int(WINAPI* SplitFn)(LPCSTR);
const char kCaption[] = "動画の分割";
const int kPointList = 1002;

double Duration(const std::string& path) {
  moviekit::MovieFacts facts;
  return SUCCEEDED(moviekit::ReadFacts(path.c_str(), &facts)) ? facts.durationSeconds : -1;
}

class SplitClipTool : public testing::Test {
 protected:
  void SetUp() override {
    m_library = LoadLibraryA((testsupport::ProgramFolder() + "\\SplitClip.dll").c_str());
    ASSERT_NE(m_library, nullptr);
    m_split = reinterpret_cast<SplitFn>(GetProcAddress(m_library, "SplitClip"));
    ASSERT_NE(m_split, nullptr);
    m_folder = testsupport::NewTempFolder("splitclip");
  }
  void TearDown() override {
    testsupport::RemoveTree(m_folder);
    if (m_library) FreeLibrary(m_library);
  }
  std::string Copy(const char* fixture, const std::string& name) {
    std::string path = m_folder + "\\" + name;
    EXPECT_TRUE(CopyFileA(Fixture(fixture).c_str(), path.c_str(), TRUE));
    return path;
  }
  // Splits with the dialog answered: the row chosen (-1 leaves the offered one), then OK or Cancel.
  int SplitChoosing(const std::string& movie, int row, int button, std::vector<std::string>* offered = nullptr) {
    testsupport::DialogWatch user(
        kCaption, [](HWND dlg) { return GetDlgItem(dlg, kPointList) != nullptr; },
        [=](HWND dlg) {
          HWND list = GetDlgItem(dlg, kPointList);
          if (offered) {
            char text[64];
            int selected = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
            for (int i = 0; i < (int)SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
              SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
              offered->push_back(std::string(i == selected ? "*" : "") + text);
            }
          }
          if (row >= 0) {
            SendMessageA(list, LB_SETCURSEL, row, 0);
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kPointList, LBN_SELCHANGE), (LPARAM)list);
          }
          PostMessageA(dlg, WM_COMMAND, button, 0);
        },
        10000);
    int r = m_split(movie.c_str());
    EXPECT_TRUE(user.Acted());
    return r;
  }
  testsupport::ScopedProfileRoot m_root{"splitclip"};
  HMODULE m_library = nullptr;
  SplitFn m_split = nullptr;
  std::string m_folder;
};

}  // namespace

TEST_F(SplitClipTool, SplitsAtTheChosenKeyFrameIntoTwoFilesBesideTheMovie) {
  struct Case {
    const char* fixture;
    const char* name;
    int row;       // -1: the one offered
    double first;  // the first part's length
  } cases[] = {
      {"keys.mp4", "動画.mp4", 0, 1.0},
      {"keys.m2ts", "AVCHD.m2ts", 1, 2.0},
      {"keys.mpg", "番組.mpg", -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string movie = Copy(c.fixture, c.name);
    std::vector<std::string> offered;
    ASSERT_EQ(SplitChoosing(movie, c.row, IDOK, &offered), 1);
    // The key frames inside the movie, one of the two nearest the middle offered.
    ASSERT_EQ(offered.size(), 2u);
    bool secondOffered = offered[1][0] == '*';
    EXPECT_EQ(offered, secondOffered ? (std::vector<std::string>{"0:01.00", "*0:02.00"})
                                     : (std::vector<std::string>{"*0:01.00", "0:02.00"}));
    double firstLength = c.row >= 0 ? c.first : secondOffered ? 2.0 : 1.0;
    std::string title = movie.substr(0, movie.rfind('.')), ext = movie.substr(movie.rfind('.'));
    std::string first = title + "_1" + ext, second = title + "_2" + ext;
    EXPECT_STREQ(CMGetProfileString("Tool1", "FirstPath", ""), first.c_str());
    EXPECT_NEAR(Duration(first), firstLength, 0.1);
    EXPECT_NEAR(Duration(first) + Duration(second), Duration(movie), 0.15);
    for (const std::string& part : {first, second}) {
      moviekit::Frame f;
      EXPECT_EQ(moviekit::ReadFrame(part.c_str(), 0, 0, 0, &f), S_OK) << part;
      moviekit::FreeFrame(&f);
    }
  }
  // Split again: the next free pair of numbers; the parts before stay as they were.
  std::string again = m_folder + "\\動画.mp4";
  std::string before = testsupport::ReadWholeFile(m_folder + "\\動画_1.mp4");
  ASSERT_EQ(SplitChoosing(again, 1, IDOK), 1);
  EXPECT_STREQ(CMGetProfileString("Tool1", "FirstPath", ""), (m_folder + "\\動画_3.mp4").c_str());
  EXPECT_NEAR(Duration(m_folder + "\\動画_3.mp4"), 2.0, 0.1);
  EXPECT_EQ(testsupport::ReadWholeFile(m_folder + "\\動画_1.mp4"), before);
}

TEST_F(SplitClipTool, CancelOrAMovieItCannotSplitLeavesNoFile) {
  std::string movie = Copy("keys.mp4", "a.mp4");
  CMWriteProfileString("Tool1", "FirstPath", "");
  EXPECT_EQ(SplitChoosing(movie, 1, IDCANCEL), 2);

  Copy("colours.mts", "one key.mts");
  testsupport::WriteWholeFile(m_folder + "\\garbage.mov", testsupport::ReadWholeFile(Fixture("garbage.mts")));
  Copy("tone.mp3", "sound.mp3");
  for (const char* name : {"missing.mp4", "one key.mts", "garbage.mov", "sound.mp3"}) {
    SCOPED_TRACE(name);
    std::string path = m_folder + "\\" + name;
    std::string said;
    testsupport::DialogWatch box(
        kCaption, [](HWND) { return true; },
        [&](HWND b) {
          said = testsupport::StaticTexts(b);
          PostMessageA(b, WM_COMMAND, IDOK, 0);
        });
    EXPECT_EQ(m_split(path.c_str()), 0);
    box.Stop();
    EXPECT_NE(said.find(path), std::string::npos) << said;
  }
  EXPECT_EQ(m_split(nullptr), 0);
  EXPECT_EQ(testsupport::FileNamesIn(m_folder),
            (std::vector<std::string>{"a.mp4", "garbage.mov", "one key.mts", "sound.mp3"}));
  EXPECT_STREQ(CMGetProfileString("Tool1", "FirstPath", ""), "");
}
