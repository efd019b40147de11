// Renaming a thumbnail's file through the controller: the disk, the database record and the
// item follow; refused names and protected folders change nothing.
#include <gtest/gtest.h>

#include <RecordGate.h>
#include <VxResourceIds.h>
#include <TickCache.h>
#include <shlobj.h>

#include "ctl_fixture.h"
#include "files.h"
#include "pump.h"

namespace {
CThumbnail* ItemNamed(BrowserHost& h, const char* name) {
  for (CThumbnail* p : h.pView->m_items)
    if (lstrcmpiA(p->GetFileName(), name) == 0) return p;
  return nullptr;
}
bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

TEST(Rename, DiskRecordAndItemFollow) {
  BrowserHost h;
  std::string d = ctltest::Scratch("ren");
  ctltest::Copy("plain.jpg", d + "\\a.jpg");
  testsupport::MakeFolders(d + "\\x");
  ASSERT_EQ(S_OK, VxDBWEnrollFile((d + "\\a.jpg").c_str(), 0));
  h.ShowFolder(d);
  CThumbnail* p = ItemNamed(h, "a.jpg");
  ASSERT_NE(p, nullptr);

  // Refused names: nothing moves, not even out of the folder; refusals post their message
  // to the browser window (shown only while it is visible, as here it is not).
  BoxAnswers answers({IDOK, IDOK});
  for (const char* bad : {"..\\x\\y.jpg", "CON.jpg", "b.", ".hidden", "a:b.jpg", ""}) {
    EXPECT_EQ(h.trans()->RenameThumbnail(p, bad), 0) << bad;
    EXPECT_TRUE(Exists(d + "\\a.jpg")) << bad;
  }
  EXPECT_FALSE(Exists(d + "\\x\\y.jpg"));
  EXPECT_EQ(h.trans()->RenameThumbnail(p, "a.jpg"), 0);  // the same name
  ctltest::Pump();

  ASSERT_EQ(h.trans()->RenameThumbnail(p, "\x95\x5C.jpg"), 1);  // 表.jpg
  std::string now = d + "\\\x95\x5C.jpg";
  EXPECT_FALSE(Exists(d + "\\a.jpg"));
  EXPECT_TRUE(Exists(now));
  EXPECT_STREQ(p->GetFilePath(), now.c_str());
  EXPECT_EQ(S_OK, VxDBWIsEnrolled(now.c_str()));
  EXPECT_NE(S_OK, VxDBWIsEnrolled((d + "\\a.jpg").c_str()));
  // A change of case only.
  ASSERT_EQ(h.trans()->RenameThumbnail(p, "\x95\x5C.JPG"), 1);
  EXPECT_STREQ(p->GetFileName(), "\x95\x5C.JPG");
  ctltest::Pump();
}

// A marked file keeps its mark under its new name: the old name is no longer marked, the
// number of marks stays, and the item shows the mark.
TEST(Rename, AMarkedFileKeepsItsMarkUnderTheNewName) {
  BrowserHost h;
  std::string d = ctltest::Scratch("ren_mark");
  ctltest::Copy("plain.jpg", d + "\\a.jpg");
  ASSERT_EQ(S_OK, Mark_SetCheck((d + "\\a.jpg").c_str(), 1));
  h.ShowFolder(d);
  CThumbnail* p = ItemNamed(h, "a.jpg");
  ASSERT_NE(p, nullptr);
  int before = h.browser()->GetMarkCount();
  ASSERT_EQ(h.trans()->RenameThumbnail(p, "b.jpg"), 1);
  int state = -1;
  Mark_GetCheck((d + "\\b.jpg").c_str(), &state);
  EXPECT_EQ(state, 1);
  Mark_GetCheck((d + "\\a.jpg").c_str(), &state);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(h.browser()->GetMarkCount(), before);
  EXPECT_EQ(p->GetMarkStatus(1), 1);
  // Shown again (as after the folder trees' refresh), the item is marked.
  h.ShowFolder(d);
  CThumbnail* again = ItemNamed(h, "b.jpg");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetMarkStatus(0), 1);
  Mark_SetCheck((d + "\\b.jpg").c_str(), 0);
  Mark_SetCheck((d + "\\a.jpg").c_str(), 0);
}

// The Windows folder and the user's desktop folder are not renamed; a file inside them may be.
TEST(Rename, ProtectedFolders) {
  char win[MAX_PATH] = "", desktop[MAX_PATH] = "";
  ASSERT_TRUE(GetWindowsDirectoryA(win, MAX_PATH));
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  CThumbnail winItem(win), deskItem(desktop);
  ASSERT_TRUE(winItem.IsFolder() || GetFileAttributesA(win) & FILE_ATTRIBUTE_DIRECTORY);
  BrowserHost h;
  // Shown, the browser tells the user: the rename message, once for each refusal.
  h.pFrame->ShowWindow(SW_SHOWNOACTIVATE);
  for (CThumbnail* p : {&winItem, &deskItem}) {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->RenameThumbnail(p, "Renamed2"), 0);
    ctltest::Pump();
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(seen.size(), 1u) << p->GetFilePath();
    EXPECT_NE(seen[0].find(ctltest::Res(IDS_BROWSER_RENAME_FAILED)), std::string::npos) << seen[0];
  }
  EXPECT_TRUE(Exists(win));
  EXPECT_TRUE(Exists(desktop));
  EXPECT_FALSE(Exists(std::string(win) + "\\..\\Renamed2"));
}
