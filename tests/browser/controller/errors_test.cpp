// The browser's error roads through the controller: a close while the program's lock file
// is there, the map command without a selection, the delete key while a name is edited, a
// reload asked for while one runs, and a full disk under a rotation.
#include <gtest/gtest.h>

#include <VxResourceIds.h>
#include <shlwapi.h>

#include "MainWndMessages.h"
#include "ctl_fixture.h"
#include "files.h"
#include "program.h"

namespace {

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

CThumbnail* ItemNamed(BrowserHost& h, const char* name) {
  for (CThumbnail* p : h.pView->m_items)
    if (lstrcmpiA(p->GetFileName(), name) == 0) return p;
  return nullptr;
}

void SelectOnly(BrowserHost& h, const char* name) {
  h.pView->UnSelectAll(TRUE);
  if (CThumbnail* p = ItemNamed(h, name)) h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
}

void Command(BrowserHost& h, UINT id) {
  CSendCommandObject cmd(id);
  h.trans()->OnUpdate(nullptr, VXHINT_COMMAND, &cmd);
  ctltest::Pump();
}

// The program's lock file, there for a scope: its folder is every test program's, so it
// stands no longer than the one call that looks at it.
struct ProgramLock {
  std::string path = testsupport::ProgramFolder() + "\\NORVANE_MARLO_PROCESS_MANAGEMENT.lock";
  ProgramLock() { testsupport::WriteWholeFile(path, "x"); }
  ~ProgramLock() { DeleteFileA(path.c_str()); }
};

}  // namespace

// While another part of the program holds the lock file, a close hides the browser's view
// and the window stays; without it the controller leaves the close to the view.
TEST(ErrorRoads, ACloseWhileTheLockFileIsThereHidesTheViewAndKeepsIt) {
  BrowserHost h;
  ASSERT_TRUE(h.view());
  ASSERT_TRUE(GetWindowLongA(h.view(), GWL_STYLE) & WS_VISIBLE);
  LRESULT r = 0;
  EXPECT_NE(h.trans()->OnTransfer(h.pView, WM_CLOSE, 0, 0, &r), 1);
  EXPECT_TRUE(GetWindowLongA(h.view(), GWL_STYLE) & WS_VISIBLE);
  {
    ProgramLock lock;
    SendMessageA(h.view(), WM_CLOSE, 0, 0);
  }
  EXPECT_TRUE(IsWindow(h.view()));
  EXPECT_FALSE(GetWindowLongA(h.view(), GWL_STYLE) & WS_VISIBLE);
}

// The map command needs a selection: without one it says so and the mode stays.
TEST(ErrorRoads, TheMapCommandWithoutASelectionSaysSo) {
  BrowserHost h;
  std::string d = ctltest::Scratch("err_map");
  ctltest::Copy("plain.jpg", d + "\\a.jpg");
  h.ShowFolder(d);
  h.pView->UnSelectAll(TRUE);
  UINT mode = h.browser()->GetViewMode();
  BoxAnswers answers({IDOK});
  Command(h, ID_VIEW_MAP);
  ASSERT_EQ(answers.Count(), 1u);
  EXPECT_NE(answers.Seen()[0].find(ctltest::Res(IDS_BROWSER_NO_SELECTION)), std::string::npos) << answers.Seen()[0];
  EXPECT_EQ((UINT)h.browser()->GetViewMode(), mode);
}

// While a name is edited the delete key belongs to the edit box: the command deletes
// nothing. With the focus back on the browser it deletes (asks first) and the edit is over,
// so that the next one deletes wherever the focus is.
TEST(ErrorRoads, TheDeleteKeyWhileANameIsEditedBelongsToTheEditBox) {
  BrowserHost h;
  std::string d = ctltest::Scratch("err_edit");
  ctltest::Copy("plain.jpg", d + "\\a.jpg");
  h.ShowFolder(d);
  SelectOnly(h, "a.jpg");
  CThumbnail* a = ItemNamed(h, "a.jpg");
  ASSERT_NE(a, nullptr);
  NMLVDISPINFOA begin = {};
  begin.hdr.hwndFrom = h.view();
  begin.hdr.idFrom = 0xBE10;
  begin.hdr.code = LVN_BEGINLABELEDITA;
  begin.item.mask = LVIF_TEXT | LVIF_PARAM;
  begin.item.iItem = (int)a->GetUniqueID(VXID_SLOT_VIEW);
  begin.item.lParam = (LPARAM)a;
  EXPECT_EQ(SendMessageA(h.view(), WM_NOTIFY, 0xBE10, (LPARAM)&begin), 0);  // the edit may begin
  CEdit box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), h.pView, 4321));
  box.SetFocus();
  ASSERT_EQ(GetFocus(), box.GetSafeHwnd());
  {
    BoxAnswers none({});
    Command(h, ID_FILE_DELETE);
    EXPECT_EQ(none.Count(), 0u);
  }
  EXPECT_TRUE(Exists(d + "\\a.jpg"));

  h.pView->SetFocus();
  {
    BoxAnswers keep({IDC_DELETE_NO});
    Command(h, ID_FILE_DELETE);
    EXPECT_EQ(keep.Count(), 1u);
  }
  EXPECT_TRUE(Exists(d + "\\a.jpg"));
  box.SetFocus();
  SelectOnly(h, "a.jpg");
  {
    BoxAnswers keep({IDC_DELETE_NO});
    Command(h, ID_FILE_DELETE);
    EXPECT_EQ(keep.Count(), 1u);
  }
  box.DestroyWindow();
}

// A reload asked for while one runs, by the command, the browser's message or the call
// itself, is not started inside it: the folder is scanned once and shown once.
TEST(ErrorRoads, AReloadAskedForWhileOneRunsIsNotStartedAgain) {
  BrowserHost h;
  std::string d = ctltest::Scratch("err_reload");
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) ctltest::Copy("plain.jpg", d + "\\" + n);
  h.ShowFolder(d);
  ASSERT_EQ(h.pView->m_items.size(), 4u);
  int added = 0;
  h.pView->m_onAdd = [&](CThumbnail*) {
    if (added++) return;
    Command(h, ID_VIEW_REFRESH);
    SendMessageA(h.view(), WM_BROWSER_RELOAD, 0, 0);
    h.trans()->ReloadAllGroups();
  };
  h.trans()->ReloadAllGroups();
  h.pView->m_onAdd = nullptr;
  EXPECT_EQ(added, 4);
  EXPECT_EQ(h.pView->Names(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
  // Once it is over, a reload runs again.
  added = 0;
  h.pView->m_onAdd = [&](CThumbnail*) { ++added; };
  h.trans()->ReloadAllGroups();
  h.pView->m_onAdd = nullptr;
  EXPECT_EQ(added, 4);
  EXPECT_EQ(h.pView->m_items.size(), 4u);
}

// A picture on a disk that is full can't be turned: the full-disk message, and the file is
// as it was.
TEST(ErrorRoads, AFullDiskStopsARotationWithItsMessage) {
  ctltest::FullDisk disk("rot");
  ASSERT_FALSE(disk.folder().empty());
  BrowserHost h;
  std::string picture = disk.folder() + "\\a.jpg";
  ASSERT_TRUE(ctltest::Copy("exif_nothumb.jpg", picture));
  std::string before = testsupport::ReadWholeFile(picture);
  h.ShowFolder(disk.folder());
  SelectOnly(h, "a.jpg");
  ASSERT_TRUE(disk.Fill());
  BoxAnswers answers({IDOK});
  Command(h, ID_ROTATE_RIGHT);
  std::vector<std::string> seen = answers.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find(ctltest::Res(IDS_BROWSER_DISK_FULL)), std::string::npos) << seen[0];
  EXPECT_EQ(testsupport::ReadWholeFile(picture), before);
}
