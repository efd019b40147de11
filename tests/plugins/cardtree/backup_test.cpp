// CardTree.psp's headless exports on a card in drive E:: the listing of what a backup
// takes and the backup into today's folder on C:, its copies registered.
#include <CardRules.h>
#include <Kitlib2/Profile.h>
#include <RecordGate.h>
#include <VxDatabase.h>
#include <card.h>
#include <dialogwatch.h>
#include <files.h>
#include <otherwindows.h>
#include <gtest/gtest.h>
#include <profileroot.h>
#include <tempfolder.h>

#include <set>

#include "host.h"

#include <ImportPlan.h>

namespace {

typedef HRESULT (*PFN_CardBackup)(const char*, const char*, CStringList*);
typedef HRESULT (*PFN_GetCardFiles)(CStringList*);

std::set<std::string> Names(const CStringList& list) {
  std::set<std::string> out;
  for (POSITION p = list.GetHeadPosition(); p;) {
    std::string s = static_cast<LPCSTR>(list.GetNext(p));
    out.insert(s.substr(s.find_last_of('\\') + 1));
  }
  return out;
}

// Presses OK on every notice the exports show while it lives, once each: a loaded machine
// may take its time to take a notice down.
struct NoticeCloser {
  std::atomic<bool> stop{false};
  std::atomic<int> closed{0};
  std::thread t{[this] {
    std::set<HWND> answered;
    while (!stop) {
      HWND box = testsupport::VisibleWindowOf(GetCurrentProcessId(), "#32770");
      if (box && answered.insert(box).second) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ++closed;
      }
      Sleep(10);
    }
  }};
  ~NoticeCloser() {
    stop = true;
    t.join();
  }
};

}  // namespace

TEST(CardBackupExport, TodayFolderOnCAndListing) {
  testsupport::ScopedProfileRoot profile("cardtree-backup");
  std::string scratch = testsupport::NewTempFolder("cardtree-backup");
  CreateDirectoryA((scratch + "\\db").c_str(), nullptr);
  VxDBSetFolder((scratch + "\\db").c_str());
  std::string cardDir = scratch + "\\card";
  testsupport::WriteWholeFile(cardDir + "\\DCIM\\100AAAAA\\ABCD0001.JPG", "picture one");
  testsupport::WriteWholeFile(cardDir + "\\DCIM\\100AAAAA\\ABCD0001.MOV", "its movie");
  testsupport::WriteWholeFile(cardDir + "\\DCIM\\100AAAAA\\MEMO.TXT", "not taken");
  testsupport::WriteWholeFile(cardDir + "\\DCIM\\101AAAAA\\EFGH0002.JPG", "picture two");
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(cardDir)), 0u);
  {
    cardtreetest::Host host;
    auto list = host.Get<PFN_GetCardFiles>("GetCardFiles");
    auto backup = host.Get<PFN_CardBackup>("CardBackup");
    ASSERT_TRUE(list && backup);

    CStringList files;
    EXPECT_EQ(list(&files), S_OK);
    EXPECT_EQ(Names(files), (std::set<std::string>{"ABCD0001.JPG", "ABCD0001.MOV", "EFGH0002.JPG"}));

    std::string dest = scratch + "\\Backup";
    std::string today = cardtree::LocaleTodayFolderName();
    NoticeCloser closer;
    CStringList copied;
    EXPECT_EQ(backup("E:", dest.c_str(), &copied), S_OK);
    EXPECT_EQ(Names(copied), (std::set<std::string>{"ABCD0001.JPG", "ABCD0001.MOV", "EFGH0002.JPG"}));
    for (POSITION p = copied.GetHeadPosition(); p;) {
      std::string c = static_cast<LPCSTR>(copied.GetNext(p));
      EXPECT_EQ(c.substr(0, dest.size() + today.size() + 2), dest + "\\" + today + "\\") << c;
      EXPECT_EQ(VxDBWIsEnrolled(c.c_str()), S_OK) << c;
    }
    EXPECT_EQ(testsupport::ReadWholeFile(dest + "\\" + today + "\\EFGH0002.JPG"), "picture two");

    // A second backup of the same card copies nothing again and overwrites nothing.
    testsupport::WriteWholeFile(cardDir + "\\DCIM\\101AAAAA\\EFGH0003.JPG", "picture three");
    CStringList again;
    EXPECT_EQ(backup("E:", dest.c_str(), &again), S_OK);
    EXPECT_EQ(Names(again), (std::set<std::string>{"EFGH0003.JPG"}));
    EXPECT_FALSE(testsupport::ReadWholeFile(dest + "\\" + today + "\\ABCD0001(1).JPG").size());

    // Refused destinations: none, and the card itself (not a fixed disk).
    CStringList none;
    EXPECT_EQ(backup("E:", "", &none), E_FAIL);
    EXPECT_EQ(backup("E:", "E:\\copy", &none), E_FAIL);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_GE(closer.closed.load(), 3);
  }
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  VxDBClose(-1);
  testsupport::RemoveTree(scratch);
}

namespace {
std::vector<std::string> Ordered(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION p = list.GetHeadPosition(); p;) {
    std::string s = static_cast<LPCSTR>(list.GetNext(p));
    out.push_back(s.substr(s.find_last_of('\\') + 1));
  }
  return out;
}
}  // namespace

// The backup's list comes newest first by the files' own times, which the copies keep; a
// stop asked by another program (CardTree\SearchProc = 1) ends the scan, is taken back,
// and the next backup takes what was left.
TEST(CardBackupExport, TheListComesNewestFirstAndTheScanStopsWhenAsked) {
  testsupport::ScopedProfileRoot profile("cardtree-backup-order");
  std::string scratch = testsupport::NewTempFolder("cardtree-backup-order");
  CreateDirectoryA((scratch + "\\db").c_str(), nullptr);
  VxDBSetFolder((scratch + "\\db").c_str());
  const std::string folder = scratch + "\\card\\DCIM\\100AAAAA\\";
  const struct {
    const char* name;
    int year;
  } files[] = {{"ABCD0001.JPG", 2021}, {"ABCD0002.JPG", 2023}, {"ABCD0003.JPG", 2022}};
  for (const auto& f : files) {
    testsupport::WriteWholeFile(folder + f.name, f.name);
    ASSERT_TRUE(testsupport::SetLocalWriteTime(folder + f.name, f.year, 6, 1));
  }
  ASSERT_EQ(testsupport::InsertCard('E', testsupport::UnixPathOf(scratch + "\\card")), 0u);
  {
    cardtreetest::Host host;
    auto backup = host.Get<PFN_CardBackup>("CardBackup");
    ASSERT_TRUE(backup);
    NoticeCloser closer;
    const std::string dest = scratch + "\\Backup";
    CStringList copied;
    EXPECT_EQ(backup("E:", dest.c_str(), &copied), S_OK);
    EXPECT_EQ(Ordered(copied), (std::vector<std::string>{"ABCD0002.JPG", "ABCD0003.JPG", "ABCD0001.JPG"}));

    testsupport::WriteWholeFile(folder + "ABCD0004.JPG", "four");
    CMWriteProfileInt("CardTree", "SearchProc", 1);
    CStringList stopped;
    EXPECT_EQ(backup("E:", dest.c_str(), &stopped), S_OK);
    EXPECT_TRUE(stopped.IsEmpty());
    EXPECT_EQ(CMGetProfileInt("CardTree", "SearchProc", -1), 0);
    CStringList rest;
    EXPECT_EQ(backup("E:", dest.c_str(), &rest), S_OK);
    EXPECT_EQ(Ordered(rest), std::vector<std::string>{"ABCD0004.JPG"});
  }
  testsupport::RemoveCard('E');
  if (!testsupport::DefaultCardDir().empty()) testsupport::InsertCard('E', testsupport::DefaultCardDir());
  VxDBClose(-1);
  testsupport::RemoveTree(scratch);
}
