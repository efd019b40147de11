// The marked files' copy and move through the controller: the destination is chosen, the
// files go with their content files' members, a content file renamed on the way names its
// renamed members, the database and the marks follow, the browser shows the destination,
// and card streams are left out with their notice.
#include <gtest/gtest.h>

#include <RecordGate.h>
#include <TickCache.h>
#include <VxResourceIds.h>
#include <shlwapi.h>

#include "MainWndMessages.h"
#include "card.h"
#include "ctl_fixture.h"
#include "files.h"

namespace {

std::string ResString(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

int MarkOf(const std::string& p) {
  int state = 0;
  Mark_GetCheck(p.c_str(), &state);
  return state;
}

// Marks set by a test (and the ones the operation carried along), all taken off at its end:
// other tests count every marked file.
struct Marks {
  std::vector<std::string> paths;
  void Set(const std::string& p) {
    ASSERT_EQ(S_OK, Mark_SetCheck(p.c_str(), 1));
    paths.push_back(p);
  }
  void Also(const std::string& p) { paths.push_back(p); }
  ~Marks() {
    for (const std::string& p : paths) Mark_SetCheck(p.c_str(), 0);
  }
};

// The destination the chooser answers, and the title it was asked with.
std::string g_destination, g_title;
int g_answer = 1;
int Choose(HWND, LPCSTR title, LPSTR folder, int cch) {
  g_title = title;
  lstrcpynA(folder, g_destination.c_str(), cch);
  return g_answer;
}
struct Chooser {
  Chooser(const std::string& to, int answer = 1) {
    g_destination = to;
    g_answer = answer;
    g_title.clear();
    CVxGUITrans::SetFolderChooser(Choose);
  }
  ~Chooser() { CVxGUITrans::SetFolderChooser(nullptr); }
};

std::string ContText(const char* members) {
  return std::string("[Content]\r\nFormat=1\r\nMembers=") + members + "\r\nMaker=Norvane\r\nModel=NV-HD100\r\n";
}

std::string MembersOf(const std::string& cont) {
  std::string text = testsupport::ReadWholeFile(cont);
  size_t at = text.find("Members=");
  if (at == std::string::npos) return "";
  size_t end = text.find_first_of("\r\n", at);
  return text.substr(at + 8, end - at - 8);
}

// Whether the browser was asked to show the folder.
bool ShowsFolder(BrowserHost& h, const std::string& folder) {
  for (const SeenMessage& m : h.Seen(WM_COPYDATA))
    if (m.copyCode == CDID_CHANGE_FOLDER && m.copyText.find(folder) != std::string::npos) return true;
  return false;
}
}  // namespace

TEST(MarkedFiles, NothingMarkedOrCancelled) {
  BrowserHost h;
  std::string d = ctltest::Scratch("marks_none");
  ctltest::Copy("plain.jpg", d + "\\a.jpg");
  h.ShowFolder(d);
  {
    Chooser chooser(d);
    BoxAnswers answers({IDOK});
    EXPECT_EQ(1, h.trans()->MarkFilesOperation(FO_COPY));
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].find(ResString(IDS_BROWSER_NO_MARKS))) << seen[0];
    EXPECT_TRUE(g_title.empty());  // nobody was asked for a folder
  }
  Marks marks;
  marks.Set(d + "\\a.jpg");
  std::string to = ctltest::Scratch("marks_none_to");
  Chooser chooser(to, 2);
  BoxAnswers answers({});
  h.Forget();
  EXPECT_EQ(1, h.trans()->MarkFilesOperation(FO_MOVE));
  EXPECT_EQ(ResString(IDS_BROWSER_MARK_MOVE_TITLE), g_title);
  EXPECT_TRUE(answers.Seen().empty());
  EXPECT_TRUE(Exists(d + "\\a.jpg"));
  EXPECT_FALSE(Exists(to + "\\a.jpg"));
  EXPECT_FALSE(ShowsFolder(h, to));
}

// Copy and move of a picture and a content file whose names are taken at the destination:
// the copies get new names, and the content file written names its members by theirs.
TEST(MarkedFiles, CopyAndMoveWithRenamedMembers) {
  for (UINT mode : {(UINT)FO_COPY, (UINT)FO_MOVE}) {
    SCOPED_TRACE(mode == FO_COPY ? "copy" : "move");
    BrowserHost h;
    Marks marks;
    std::string from = ctltest::Scratch(mode == FO_COPY ? "marks_cfrom" : "marks_mfrom");
    std::string to = ctltest::Scratch(mode == FO_COPY ? "marks_cto" : "marks_mto");
    ctltest::Copy("plain.jpg", from + "\\a.jpg");
    ASSERT_EQ(S_OK, VxDBWEnrollFile((from + "\\a.jpg").c_str(), 0));
    ASSERT_TRUE(testsupport::WriteWholeFile(from + "\\00001.cont", ContText("00001.MTS|00001.tmb")));
    ASSERT_TRUE(testsupport::WriteWholeFile(from + "\\00001.MTS", "stream"));
    ASSERT_TRUE(testsupport::WriteWholeFile(from + "\\00001.tmb", "thumb"));
    // The destination holds a clip of the same names already.
    for (const char* n : {"00001.cont", "00001.MTS", "00001.tmb"})
      ASSERT_TRUE(testsupport::WriteWholeFile(to + "\\" + n, "older"));
    marks.Set(from + "\\00001.cont");
    marks.Set(from + "\\a.jpg");
    h.ShowFolder(from);
    h.Forget();

    Chooser chooser(to);
    BoxAnswers answers({});
    EXPECT_EQ(1, h.trans()->MarkFilesOperation(mode));
    EXPECT_TRUE(answers.Seen().empty());
    EXPECT_EQ(ResString(mode == FO_COPY ? IDS_BROWSER_MARK_COPY_TITLE : IDS_BROWSER_MARK_MOVE_TITLE), g_title);

    // The clip already there is untouched; the written one is the other content file.
    EXPECT_EQ("older", testsupport::ReadWholeFile(to + "\\00001.cont"));
    std::string written;
    WIN32_FIND_DATAA fd;
    HANDLE f = FindFirstFileA((to + "\\*.cont").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    do {
      if (lstrcmpiA(fd.cFileName, "00001.cont") != 0) written = fd.cFileName;
    } while (FindNextFileA(f, &fd));
    FindClose(f);
    ASSERT_FALSE(written.empty());
    const std::string members = MembersOf(to + "\\" + written);
    EXPECT_NE("00001.MTS|00001.tmb", members);
    for (size_t start = 0; start <= members.size();) {
      size_t bar = members.find('|', start);
      if (bar == std::string::npos) bar = members.size();
      const std::string name = members.substr(start, bar - start);
      EXPECT_TRUE(Exists(to + "\\" + name)) << name;
      EXPECT_NE("older", testsupport::ReadWholeFile(to + "\\" + name)) << name;
      start = bar + 1;
    }
    EXPECT_TRUE(Exists(to + "\\a.jpg"));
    for (const char* n : {"a.jpg", "00001.cont", "00001.MTS", "00001.tmb"})
      EXPECT_EQ(mode == FO_COPY, Exists(from + "\\" + n)) << n;

    // The marks and the database follow a move; a copy keeps the source's.
    marks.Also(to + "\\a.jpg");
    marks.Also(to + "\\" + written);
    EXPECT_EQ(1, MarkOf(to + "\\a.jpg"));
    EXPECT_EQ(mode == FO_COPY ? 1 : 0, MarkOf(from + "\\a.jpg"));
    EXPECT_EQ(S_OK, VxDBWIsEnrolled((to + "\\a.jpg").c_str()));

    // The browser shows the destination; the status bar's mark count is asked for.
    EXPECT_TRUE(ShowsFolder(h, to));
    EXPECT_FALSE(h.Seen(WM_STATUS_MARK_COUNT).empty());
  }
}

// A marked stream on the card is left out and reported after the other files went.
TEST(MarkedFiles, CardStreamsAreLeftOut) {
  BrowserHost h;
  Marks marks;
  std::string from = ctltest::Scratch("marks_card");
  std::string to = ctltest::Scratch("marks_card_to");
  ctltest::Copy("plain.jpg", from + "\\a.jpg");
  ASSERT_EQ(DRIVE_REMOVABLE, GetDriveTypeA("E:\\"));
  CreateDirectoryA("E:\\MARKTEST", nullptr);
  const std::string stream = "E:\\MARKTEST\\00009.MTS";
  ASSERT_TRUE(testsupport::WriteWholeFile(stream, "stream"));
  marks.Set(stream);
  marks.Set(from + "\\a.jpg");
  h.ShowFolder(from);

  Chooser chooser(to);
  {
    // One watcher at a time: two would race for the same box.
    BoxAnswers answers({IDOK});
    EXPECT_EQ(1, h.trans()->MarkFilesOperation(FO_COPY));
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].find(ResString(IDS_BROWSER_AVCHD_EXCLUDED))) << seen[0];
  }
  EXPECT_TRUE(Exists(to + "\\a.jpg"));
  EXPECT_FALSE(Exists(to + "\\00009.MTS"));
  marks.Also(to + "\\a.jpg");

  // Only card streams marked: nothing to do, no folder asked, the notice, answer 0.
  Mark_SetCheck((from + "\\a.jpg").c_str(), 0);
  Mark_SetCheck((to + "\\a.jpg").c_str(), 0);
  g_title.clear();
  BoxAnswers again({IDOK});
  EXPECT_EQ(0, h.trans()->MarkFilesOperation(FO_COPY));
  EXPECT_TRUE(g_title.empty());
  EXPECT_EQ(1u, again.Seen().size());
  DeleteFileA(stream.c_str());
  RemoveDirectoryA("E:\\MARKTEST");
}

// A destination folder on a disk of its own that is full: the full-disk message, nothing
// written, and the browser still goes to the destination.
TEST(MarkedFiles, AFullDestinationDiskSaysSo) {
  ctltest::FullDisk disk("marks");
  ASSERT_FALSE(disk.folder().empty());
  BrowserHost h;
  Marks marks;
  std::string from = ctltest::Scratch("marks_full");
  ctltest::Copy("plain.jpg", from + "\\a.jpg");
  marks.Set(from + "\\a.jpg");
  h.ShowFolder(from);
  ASSERT_TRUE(disk.Fill());
  Chooser chooser(disk.folder());
  h.Forget();
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(1, h.trans()->MarkFilesOperation(FO_COPY));
    std::vector<std::string> seen = answers.Seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].find(ResString(IDS_BROWSER_DISK_FULL))) << seen[0];
  }
  EXPECT_FALSE(Exists(disk.folder() + "\\a.jpg"));
  EXPECT_TRUE(Exists(from + "\\a.jpg"));
  EXPECT_TRUE(ShowsFolder(h, disk.folder()));
}

TEST(MarkedFiles, FavouritesFromSelectedFolders) {
  BrowserHost h;
  std::string d = ctltest::Scratch("favo");
  CreateDirectoryA((d + "\\one").c_str(), nullptr);
  CreateDirectoryA((d + "\\two").c_str(), nullptr);
  ctltest::Copy("plain.jpg", d + "\\p.jpg");
  h.ShowFolder(d);
  EXPECT_EQ(0, h.trans()->AddFavoriteFromSelectedFolder());  // nothing selected
  for (CThumbnail* p : h.pView->m_items) h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
  h.Forget();
  // The picture is no folder; a folder that is a favourite already is not counted again.
  EXPECT_EQ(2, h.trans()->AddFavoriteFromSelectedFolder());
  EXPECT_EQ(0, h.trans()->AddFavoriteFromSelectedFolder());
  ctltest::Pump();
  EXPECT_EQ(1u, h.Seen(WM_REFRESH_FOLDERS).size());
}
