// The manager's card watcher: the rules of a pass over injected drives, and the thread
// noticing the prefix's card drive as a card comes and goes.
#include <gtest/gtest.h>

#include <card.h>
#include <cardwatch/CardMedia.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CardWatcher.h"
#include "MainWndMessages.h"
#include "shelltest.h"
#include <pump.h>

namespace {

// ---- Injected drives ---------------------------------------------------------------------

struct FakeDrive {
  UINT nType = DRIVE_REMOVABLE;
  bool bNotReady = false;
  bool bSecure = false;
};

class FakeEnv : public cardwatch::CCardScanEnv {
 public:
  std::map<char, FakeDrive> drives;
  bool bMusicProgram = false;
  DWORD dwExtraBits = 0;  // mask bits past Z
  DWORD GetLogicalDrives() override {
    DWORD dw = dwExtraBits;
    for (const auto& d : drives) dw |= 1u << (d.first - 'A');
    return dw;
  }
  char GetWindowsDriveLetter() override { return 'C'; }
  UINT GetDriveType(char ch) override { return drives.count(ch) ? drives[ch].nType : DRIVE_NO_ROOT_DIR; }
  BOOL IsRootNotReady(char ch) override { return drives.count(ch) && drives[ch].bNotReady; }
  BOOL IsCdromWatched() override { return TRUE; }
  BOOL IsSecuritySDCardDrive(int nDrive) override {
    char ch = (char)('A' + nDrive - 1);
    return drives.count(ch) && drives[ch].bSecure;
  }
  DWORD GetTreeType() override { return 0; }
  BOOL IsMusicCardProgramRunning() override { return bMusicProgram; }
  void WriteCardDrive(char) override {}
  BOOL HasCardMedia(DWORD, char, UINT) override { return FALSE; }
};

// Folders that exist, as "E:\DCIM\100ABCDE".
class FakeProbes : public cardwatch::CCardMediaProbes {
 public:
  std::set<std::string> folders;
  BOOL PathPatternExists(LPCSTR lpszPattern) override {
    std::string prefix = lpszPattern;
    prefix = prefix.substr(0, prefix.rfind('\\'));
    for (const std::string& f : folders)
      if (f.compare(0, prefix.size(), prefix) == 0) return TRUE;
    return FALSE;
  }
  void ListFolders(LPCSTR lpszPattern, std::vector<CString>& names) override {
    std::string prefix = lpszPattern;
    prefix = prefix.substr(0, prefix.rfind('\\') + 1);
    for (const std::string& f : folders)
      if (f.compare(0, prefix.size(), prefix) == 0 && f.find('\\', prefix.size()) == std::string::npos)
        names.push_back(f.substr(prefix.size()).c_str());
  }
  int IsCardFolder(LPCSTR lpszPath) override {
    std::string name = lpszPath;
    name = name.substr(name.rfind('\\') + 1);
    return name.size() == 8 && isdigit((unsigned char)name[0]) ? 0 : 1;
  }
};

std::vector<int> g_reported;
void Report(int nDrive, void*) { g_reported.push_back(nDrive); }

TEST(CardWatchRules, PassesNoticeCardsComingAndGoing) {
  FakeEnv env;
  FakeProbes probes;
  CCardWatchRules rules;
  env.drives['C'].nType = DRIVE_FIXED;
  probes.folders = {"C:\\DCIM\\100ABCDE"};  // the Windows drive never counts

  CardWatchPass pass = rules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwCome, 0u);

  env.drives['E'];  // a card with a camera's folder
  probes.folders.insert("E:\\DCIM\\100ABCDE");
  pass = rules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwCome, 1u << 4);
  EXPECT_TRUE(rules.IsFlagged(4));
  pass = rules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwCome, 0u);  // known already

  // The medium goes: reported at once, counted as gone.
  g_reported.clear();
  env.drives['E'].bNotReady = true;
  pass = rules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwGone, 1u << 4);
  EXPECT_EQ(g_reported, (std::vector<int>{4}));

  // A DCIM folder without a camera's folder counts only with TreeType bit 4.
  env.drives['E'].bNotReady = false;
  probes.folders = {"E:\\DCIM\\MISC"};
  pass = rules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwCome, 0u);
  pass = rules.Pass(env, probes, 0x10, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwCome, 1u << 4);

  // The top bit of TreeType watches removable drives only.
  CCardWatchRules fixedRules;
  env.drives['E'].nType = DRIVE_FIXED;
  probes.folders = {"E:\\DCIM\\100ABCDE"};
  EXPECT_EQ(fixedRules.Pass(env, probes, 0x80000000, &Report, NULL, NULL).dwCome, 0u);
  EXPECT_EQ(fixedRules.Pass(env, probes, 0, &Report, NULL, NULL).dwCome, 1u << 4);

  // While the music-card program runs, a card that goes is not reported.
  g_reported.clear();
  env.bMusicProgram = true;
  env.drives.erase('E');
  pass = fixedRules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwGone, 0u);
  EXPECT_TRUE(g_reported.empty());
}

TEST(CardWatchRules, ProtectedCardSlotsCountWithoutFolders) {
  FakeEnv env;
  FakeProbes probes;
  CCardWatchRules rules;
  env.drives['F'].bSecure = true;
  EXPECT_EQ(rules.Pass(env, probes, 0, NULL, NULL, NULL).dwCome, 1u << 5);
}

TEST(CardWatchRules, DriveNumbersPastZNameNoDrive) {
  FakeEnv env;
  FakeProbes probes;
  CCardWatchRules rules;
  env.dwExtraBits = 0xFC000000;  // numbers 26 to 31
  env.bMusicProgram = false;
  CardWatchPass pass = rules.Pass(env, probes, 0, &Report, NULL, NULL);
  EXPECT_EQ(pass.dwCome, 0u);
  for (int n = 26; n < 32; ++n) EXPECT_FALSE(rules.IsFlagged(n));
}

TEST(CardWatchRules, StopsWhenTheRunFlagDrops) {
  FakeEnv env;
  FakeProbes probes;
  CCardWatchRules rules;
  env.drives['E'];
  probes.folders = {"E:\\DCIM\\100ABCDE"};
  volatile LONG bRun = 0;
  EXPECT_EQ(rules.Pass(env, probes, 0, NULL, NULL, &bRun).dwCome, 0u);
}

// ---- The thread on the prefix's card drive ----------------------------------------------

class CWatchedWnd : public CWnd {
 public:
  CWatchedWnd() { CreateEx(0, AfxRegisterWndClass(0), "watched", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL); }
  ~CWatchedWnd() override {
    if (m_hWnd) DestroyWindow();
  }
  std::vector<std::pair<UINT, LPARAM>> m_got;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_REFRESH_FOLDERS || message == WM_BROWSER_RELOAD || message == WM_CARD_CHANGED)
      m_got.push_back({message, message == WM_CARD_CHANGED ? (LPARAM)wParam : lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

BOOL NotACardFolder(void*) { return FALSE; }

TEST(CardWatcher, NoticesTheCardDriveCardComingAndGoing) {
  std::string cardDir = testsupport::DefaultCardDir();
  ASSERT_FALSE(cardDir.empty()) << "no card drive in this prefix";
  shelltest::ProfileRoot root;
  ASSERT_EQ(testsupport::RemoveCard('e'), 0u);

  CWatchedWnd wnd;
  CCardWatcher watcher;
  ASSERT_TRUE(watcher.Start(wnd.m_hWnd, 100, &NotACardFolder, NULL));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return watcher.GetPassCount() >= 1; }, 5000));

  ASSERT_EQ(testsupport::InsertCard('e', cardDir), 0u);
  bool bMadeFolder = ::CreateDirectoryA("E:\\DCIM", NULL) != 0;
  bool bMadeCamera = ::CreateDirectoryA("E:\\DCIM\\100GLIMT", NULL) != 0;
  auto has = [&wnd](UINT message) {
    for (const auto& m : wnd.m_got)
      if (m.first == message) return true;
    return false;
  };
  EXPECT_TRUE(testsupport::WaitUntil([&] { return has(WM_BROWSER_RELOAD); }, 5000));
  EXPECT_TRUE(has(WM_REFRESH_FOLDERS));
  for (const auto& m : wnd.m_got) {
    if (m.first == WM_BROWSER_RELOAD) {
      EXPECT_EQ(m.second, 1);
    }
  }
  if (bMadeCamera) ::RemoveDirectoryA("E:\\DCIM\\100GLIMT");
  if (bMadeFolder) ::RemoveDirectoryA("E:\\DCIM");

  wnd.m_got.clear();
  ASSERT_EQ(testsupport::RemoveCard('e'), 0u);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return has(WM_BROWSER_RELOAD); }, 5000));
  ASSERT_TRUE(has(WM_CARD_CHANGED));
  for (const auto& m : wnd.m_got) {
    if (m.first == WM_CARD_CHANGED) {
      EXPECT_EQ(m.second, 4);  // drive E
    }
  }

  watcher.Stop();
  EXPECT_FALSE(watcher.IsRunning());
  EXPECT_EQ(testsupport::InsertCard('e', cardDir), 0u);
}

}  // namespace
